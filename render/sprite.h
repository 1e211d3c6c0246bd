#pragma once
// Sprites and the tile sheet: textured screen quads with a position, pivot,
// scale, angle, colour and frame grid. The geometry computed here is also
// what collision tests use, so the arithmetic is kept exactly as drawn.
#include <cstdint>
#include <vector>

#include "platform/video.h"

struct Sprite {
    VideoTexture* texture;   // owned; null draws untextured
    SpriteVertex vertices[4];// bottom-left, bottom-right, top-left, top-right
    float x;                 // top-left of the frame before pivot, scale, angle
    float y;
    uint8_t visible;         // 0: not drawn, not tested against tiles
    float angle;             // degrees, clockwise on screen
    float scale_x;           // about the pivot; negative mirrors
    float scale_y;
    uint32_t color;          // ARGB tint; alpha in the top byte
    int32_t frame;           // left to right, then top to bottom
    int32_t image_width;     // size of the image file
    int32_t image_height;
    int32_t frame_width;     // size of one frame, the unscaled quad
    int32_t frame_height;
    int32_t columns;         // frames per row, at least 1
    int32_t rows;            // frames per column, kept as given
    int32_t pivot_x;         // from the frame's left edge
    int32_t pivot_y;         // from the frame's top edge
};

// One tile of the tile sheet; its frame is the tile type.
struct Tile {
    float x;
    float y;
    uint8_t visible;
    float angle;
    float scale_x;
    float scale_y;
    uint32_t color;
    int32_t frame;
};

struct TileMap {
    VideoTexture* texture;   // owned
    int32_t image_width;
    int32_t image_height;
    int32_t frame_width;
    int32_t frame_height;
    int32_t columns;
    int32_t rows;
    int32_t pivot_x;         // shared by every tile; always 0
    int32_t pivot_y;
    std::vector<Tile*> tiles;// owned, in insertion order (index = cell)
    uint8_t visible;
    SpriteVertex vertices[4];// scratch quad rewritten for every tile

    // The tiles go with the map (the game's map at process exit). A map
    // owns its tiles, so it is never copied.
    TileMap() = default;
    TileMap(const TileMap&) = delete;
    TileMap& operator=(const TileMap&) = delete;
    ~TileMap() {
        for (Tile* tile : tiles) delete tile;
    }
};

void sprite_init(Sprite& sprite);
int sprite_load(Sprite& sprite, const char* path, int32_t frame_width, int32_t frame_height,
                int32_t columns, int32_t rows, uint32_t color_key);
int sprite_make_rect(Sprite& sprite, int32_t width, int32_t height, uint32_t color);
void sprite_release(Sprite& sprite);
void sprite_draw(Sprite& sprite);

float sprite_get_x(const Sprite& sprite);
float sprite_get_y(const Sprite& sprite);
float sprite_get_right(const Sprite& sprite);
void sprite_set_position(Sprite& sprite, float x, float y);
void sprite_set_x(Sprite& sprite, float value);
void sprite_set_y(Sprite& sprite, float value);
void sprite_set_right(Sprite& sprite, float value);
void sprite_set_bottom(Sprite& sprite, float value);
void sprite_move_x(Sprite& sprite, float delta);
void sprite_move_y(Sprite& sprite, float delta);
void sprite_set_color(Sprite& sprite, uint32_t color);
void sprite_set_frame(Sprite& sprite, int32_t frame);
void sprite_set_pivot(Sprite& sprite, int32_t pivot_x, int32_t pivot_y);
void sprite_set_pivot_x(Sprite& sprite, int32_t pivot_x);
void sprite_set_scale(Sprite& sprite, float scale);
void sprite_set_scale_x(Sprite& sprite, float scale);
void sprite_set_scale_y(Sprite& sprite, float scale);

void tile_map_init(TileMap& tile_map);
int tile_map_load(TileMap& tile_map, const char* path, int32_t frame_width, int32_t frame_height,
                  int32_t columns, int32_t rows, uint32_t color_key);
void tile_map_clear(TileMap& tile_map);
void tile_map_draw(TileMap& tile_map);

// The texture last bound by a sprite or tile sheet draw (null at start).
const VideoTexture* sprite_current_texture();
// Forgets the cached binding, for a device created anew.
void sprite_forget_current_texture();

// pi / 180 in single precision: degrees to radians.
constexpr float degrees_to_radians = 0.017453292f;
