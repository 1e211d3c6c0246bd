// Sprites and the tile sheet. Every draw computes its four vertices on the
// processor in single precision and hands them straight to the device.
#include "render/sprite.h"

#include <cmath>

#include "render/device.h"

namespace {

// The texture last bound to stage 0 by a draw of this file.
VideoTexture* current_texture = nullptr;

void bind_texture(VideoTexture* texture) {
    if (texture != current_texture) {
        current_texture = texture;
        video_set_texture(texture);
    }
}

// The unscaled frame in vertex order bottom-left, bottom-right, top-left,
// top-right, untransformed, as a load leaves it.
void fill_unscaled(SpriteVertex v[4], int32_t frame_width, int32_t frame_height, uint32_t diffuse) {
    const float w = static_cast<float>(frame_width);
    const float h = static_cast<float>(frame_height);
    const float corners[4][4] = {{0, h, 0, 1}, {w, h, 1, 1}, {0, 0, 0, 0}, {w, 0, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        v[i].x = corners[i][0];
        v[i].y = corners[i][1];
        v[i].z = 0.0f;
        v[i].rhw = 1.0f;
        v[i].diffuse = diffuse;
        v[i].u = corners[i][2];
        v[i].v = corners[i][3];
    }
}

// Position, colour and texture coordinates of one frame, scaled and rotated
// about the pivot. rhw is left as the load set it.
void build_quad(SpriteVertex v[4], float x, float y, float angle, float scale_x, float scale_y,
                uint32_t color, int32_t frame, int32_t frame_width, int32_t frame_height,
                int32_t columns, int32_t image_width, int32_t image_height, int32_t pivot_x,
                int32_t pivot_y) {
    const float w = static_cast<float>(frame_width);
    const float h = static_cast<float>(frame_height);
    const float corners[4][2] = {{0, h}, {w, h}, {0, 0}, {w, 0}};
    const float theta = angle * degrees_to_radians;
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const float px = static_cast<float>(pivot_x);
    const float py = static_cast<float>(pivot_y);
    const uint32_t alpha = static_cast<uint32_t>(get_global_alpha() * static_cast<float>(color >> 24));
    const uint32_t diffuse = (color & 0x00FFFFFFu) | (alpha << 24);
    for (int i = 0; i < 4; ++i) {
        const float dx = (corners[i][0] - px) * scale_x;
        const float dy = (corners[i][1] - py) * scale_y;
        v[i].x = px + x + (dx * c - dy * s);
        v[i].y = py + y + (dy * c + dx * s);
        v[i].z = 0.0f;
        v[i].diffuse = diffuse;
    }
    const int32_t col = frame % columns;
    const int32_t row = frame / columns;
    const float iw = static_cast<float>(image_width);
    const float ih = static_cast<float>(image_height);
    const float left = w * static_cast<float>(col) / iw;
    const float right = w * static_cast<float>(col + 1) / iw;
    const float top = h * static_cast<float>(row) / ih;
    const float bottom = h * static_cast<float>(row + 1) / ih;
    v[0].u = left;  v[0].v = bottom;
    v[1].u = right; v[1].v = bottom;
    v[2].u = left;  v[2].v = top;
    v[3].u = right; v[3].v = top;
}

// Loads the image; a file that does not load leaves the texture empty and
// gives the grid's own size, so the untextured quad still draws harmlessly.
VideoTexture* load_image(const char* path, int tile_sheet, uint32_t color_key, int32_t frame_width,
                         int32_t frame_height, int32_t columns, int32_t rows, int32_t* image_width,
                         int32_t* image_height) {
    int w = 0, h = 0;
    VideoTexture* texture = video_load_texture(path, tile_sheet, color_key, &w, &h);
    if (!texture) {
        w = frame_width * (columns > 0 ? columns : 1);
        h = frame_height * (rows > 0 ? rows : 1);
    }
    *image_width = w;
    *image_height = h;
    return texture;
}

void reset_transform(Sprite& sprite) {
    sprite.x = sprite.y = 0.0f;
    sprite.frame = 0;
    sprite.angle = 0.0f;
    sprite.scale_x = sprite.scale_y = 1.0f;
    sprite.visible = 1;
    sprite.color = 0xFFFFFFFFu;
}

}  // namespace

const VideoTexture* sprite_current_texture() { return current_texture; }
void sprite_forget_current_texture() { current_texture = nullptr; }

void sprite_init(Sprite& sprite) {
    reset_transform(sprite);
    sprite.columns = 1;
    sprite.rows = 1;
    sprite.texture = nullptr;  // forgotten, not released
}

int sprite_load(Sprite& sprite, const char* path, int32_t frame_width, int32_t frame_height,
                int32_t columns, int32_t rows, uint32_t color_key) {
    sprite_release(sprite);
    reset_transform(sprite);
    sprite.frame_width = frame_width;
    sprite.frame_height = frame_height;
    fill_unscaled(sprite.vertices, frame_width, frame_height, 0xFFFFFFFFu);
    sprite.texture = load_image(path, 0, color_key, frame_width, frame_height, columns, rows,
                                &sprite.image_width, &sprite.image_height);
    sprite.columns = columns;
    sprite.rows = rows;
    sprite.frame = 0;
    return 1;
}

int sprite_make_rect(Sprite& sprite, int32_t width, int32_t height, uint32_t color) {
    sprite_release(sprite);
    reset_transform(sprite);
    sprite.frame_width = sprite.image_width = width;
    sprite.frame_height = sprite.image_height = height;
    fill_unscaled(sprite.vertices, width, height, color);
    sprite.columns = sprite.rows = 1;
    sprite.frame = 0;
    sprite.color = color;
    return 1;
}

void sprite_release(Sprite& sprite) {
    if (sprite.texture) {
        video_release_texture(sprite.texture);
        sprite.texture = nullptr;
    }
}

void sprite_draw(Sprite& sprite) {
    if (!sprite.visible) return;
    bind_texture(sprite.texture);
    video_set_world_translation(sprite.x, sprite.y);
    build_quad(sprite.vertices, sprite.x, sprite.y, sprite.angle, sprite.scale_x, sprite.scale_y,
               sprite.color, sprite.frame, sprite.frame_width, sprite.frame_height, sprite.columns,
               sprite.image_width, sprite.image_height, sprite.pivot_x, sprite.pivot_y);
    video_set_vertex_format();
    video_draw_quad(sprite.vertices);
}

float sprite_get_x(const Sprite& sprite) { return sprite.x; }
float sprite_get_y(const Sprite& sprite) { return sprite.y; }
float sprite_get_right(const Sprite& sprite) {
    return sprite.x + static_cast<float>(sprite.frame_width);
}
void sprite_set_position(Sprite& sprite, float x, float y) {
    sprite.x = x;
    sprite.y = y;
}
void sprite_set_x(Sprite& sprite, float value) { sprite.x = value; }
void sprite_set_y(Sprite& sprite, float value) { sprite.y = value; }
void sprite_set_right(Sprite& sprite, float value) {
    sprite.x = value - static_cast<float>(sprite.frame_width);
}
void sprite_set_bottom(Sprite& sprite, float value) {
    sprite.y = value - static_cast<float>(sprite.frame_height);
}
void sprite_move_x(Sprite& sprite, float delta) { sprite.x += delta; }
void sprite_move_y(Sprite& sprite, float delta) { sprite.y += delta; }
void sprite_set_color(Sprite& sprite, uint32_t color) { sprite.color = color; }
void sprite_set_frame(Sprite& sprite, int32_t frame) { sprite.frame = frame; }
void sprite_set_pivot(Sprite& sprite, int32_t pivot_x, int32_t pivot_y) {
    sprite.pivot_x = pivot_x;
    sprite.pivot_y = pivot_y;
}
void sprite_set_pivot_x(Sprite& sprite, int32_t pivot_x) { sprite.pivot_x = pivot_x; }
void sprite_set_scale(Sprite& sprite, float scale) { sprite.scale_x = sprite.scale_y = scale; }
void sprite_set_scale_x(Sprite& sprite, float scale) { sprite.scale_x = scale; }
void sprite_set_scale_y(Sprite& sprite, float scale) { sprite.scale_y = scale; }

void tile_map_init(TileMap& tile_map) {
    tile_map.columns = 1;
    tile_map.rows = 1;
    tile_map.texture = nullptr;  // forgotten, not released
    tile_map.visible = 1;
}

int tile_map_load(TileMap& tile_map, const char* path, int32_t frame_width, int32_t frame_height,
                  int32_t columns, int32_t rows, uint32_t color_key) {
    tile_map_clear(tile_map);
    if (tile_map.texture) {
        video_release_texture(tile_map.texture);
        tile_map.texture = nullptr;
    }
    tile_map.frame_width = frame_width;
    tile_map.frame_height = frame_height;
    fill_unscaled(tile_map.vertices, frame_width, frame_height, 0xFFFFFFFFu);
    tile_map.texture = load_image(path, 1, color_key, frame_width, frame_height, columns, rows,
                                  &tile_map.image_width, &tile_map.image_height);
    tile_map.columns = columns;
    tile_map.rows = rows;
    return 1;
}

void tile_map_clear(TileMap& tile_map) {
    for (Tile* tile : tile_map.tiles) delete tile;
    tile_map.tiles.clear();
}

void tile_map_draw(TileMap& tile_map) {
    if (!tile_map.visible) return;
    bind_texture(tile_map.texture);
    video_set_vertex_format();
    for (Tile* tile : tile_map.tiles) {
        if (!tile->visible) continue;
        video_set_world_translation(tile->x, tile->y);
        build_quad(tile_map.vertices, tile->x, tile->y, tile->angle, tile->scale_x, tile->scale_y,
                   tile->color, tile->frame, tile_map.frame_width, tile_map.frame_height,
                   tile_map.columns, tile_map.image_width, tile_map.image_height, tile_map.pivot_x,
                   tile_map.pivot_y);
        video_draw_quad(tile_map.vertices);
    }
}
