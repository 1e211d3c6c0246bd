#pragma once
// What the SDL drawing device offers the rest of the SDL backend and the
// tools built on it: the window it draws into, the renderer the text code
// draws with, frame pacing, and the last presented frame.
#include <SDL.h>

#include <cstdint>

// Hands the game window to the device, before video_create_device. When no
// window was handed over, the device makes its own hidden 640 x 480 window
// (on the offscreen driver when there is no display), which is what the
// tools that take screenshots use.
void sdl_video_attach_window(SDL_Window* window, int fullscreen);
// Called before the game window is destroyed: the renderer goes with it.
// Textures and fonts still held stay safe to release afterwards.
void sdl_video_detach_window();

// Frame pacing: 1 keeps the game at 60 updates a second (vsync where the
// display runs at about 60 Hz and really waits, a sleeping limiter
// otherwise), 0 presents at once (tools run at full speed). By default
// pacing is on for the game window and off for the device's own window.
// Takes effect at the next video_create_device.
void sdl_video_set_pacing(int on);
// 1 when the frames of the present device are paced by vsync, 0 when by the
// limiter or not at all (after the first frames' measurement).
int sdl_video_vsync_paces();

// The renderer of the present device, null when there is none.
SDL_Renderer* sdl_video_renderer();
// Counts device creations: what was made with one renderer is gone once
// this number has changed (the renderer took it along).
unsigned sdl_video_generation();

// Copies the last presented 640 x 480 frame into pixels (640 * 480 values,
// 0xAARRGGBB, row by row from the top, alpha always 0xFF). 1 on success.
int sdl_video_read_frame(uint32_t* pixels);
