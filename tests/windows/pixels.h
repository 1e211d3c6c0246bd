#pragma once
// Reading back what the Win32 backend put on the screen: the presented
// frame is saved as PNG through the backend's own screenshot and loaded
// into memory, so a test sees the pixels as the player does.
#include <cstdint>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, row by row from the top

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Saves the last presented frame to png_path and reads it back. 0 on failure.
int picture_from_screen(const char* png_path, Picture* picture);

// The red, green and blue parts of a pixel.
inline int red_of(uint32_t p) { return (p >> 16) & 0xFF; }
inline int green_of(uint32_t p) { return (p >> 8) & 0xFF; }
inline int blue_of(uint32_t p) { return p & 0xFF; }

// Writes a PNG of width x height pixels (0xAARRGGBB each, from the top).
int write_png(const char* png_path, int width, int height, const uint32_t* pixels);
