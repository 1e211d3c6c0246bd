// Collision geometry in single precision, as the sprites are drawn.
#include "game/collision.h"

#include <cmath>

#include "game/game_state.h"
#include "scenes/scene_manager.h"

namespace {

constexpr float screen_width = 640.0f;
constexpr float screen_height = 480.0f;

// The unrotated corners in quad order, transformed about the pivot as a
// draw does. An angle of 0 takes cos 1 and sin 0 without asking the maths
// library, which gives the same values.
Quad make_quad(float x, float y, float angle, float scale_x, float scale_y, int32_t frame_width,
               int32_t frame_height, int32_t pivot_x, int32_t pivot_y) {
    const float w = static_cast<float>(frame_width);
    const float h = static_cast<float>(frame_height);
    const float corner_x[4] = {0.0f, 0.0f, w, w};
    const float corner_y[4] = {0.0f, h, h, 0.0f};
    float c = 1.0f;
    float s = 0.0f;
    if (angle != 0.0f) {
        const float theta = angle * degrees_to_radians;
        c = std::cos(theta);
        s = std::sin(theta);
    }
    const float px = static_cast<float>(pivot_x);
    const float py = static_cast<float>(pivot_y);
    Quad q;
    for (int i = 0; i < 4; ++i) {
        const float dx = (corner_x[i] - px) * scale_x;
        const float dy = (corner_y[i] - py) * scale_y;
        q.x[i] = (dx * c - dy * s) + (x + px);
        q.y[i] = (dy * c + dx * s) + (y + py);
    }
    return q;
}

// The integer part of (value + 0.5), truncated towards zero: 2.5 gives 3,
// -0.7 gives 0, -1.5 gives -1. The sum is exact in double precision.
int round_corner(float value) { return static_cast<int>(static_cast<double>(value) + 0.5); }

// An unrotated quad at least a pixel wide and high, corners in their
// proper roles: its point test is the closed rectangle of its rounded
// corners, which lies within half a pixel of the quad.
int upright(const Quad& q) {
    return q.x[0] == q.x[1] && q.x[2] == q.x[3] && q.y[0] == q.y[3] && q.y[1] == q.y[2] &&
           q.x[2] - q.x[0] >= 1.0f && q.y[1] - q.y[0] >= 1.0f;
}

// Two upright quads more than a pixel apart on one axis: no corner of one
// lies in the other's rounded rectangle and no edges cross, so the full
// test could only answer 0. Anything nearer goes through the full test.
int clearly_apart(const Quad& p, const Quad& q) {
    constexpr float margin = 1.0f;  // pixels, twice the rounding of a corner
    if (!upright(p) || !upright(q)) return 0;
    return q.x[0] > p.x[2] + margin || p.x[0] > q.x[2] + margin || q.y[0] > p.y[1] + margin ||
           p.y[0] > q.y[1] + margin;
}

float min2(float a, float b) { return a < b ? a : b; }
float max2(float a, float b) { return a > b ? a : b; }

}  // namespace

Quad sprite_quad(const Sprite& sprite) {
    return make_quad(sprite.x, sprite.y, sprite.angle, sprite.scale_x, sprite.scale_y,
                     sprite.frame_width, sprite.frame_height, sprite.pivot_x, sprite.pivot_y);
}

Quad tile_quad(const TileMap& tile_map, const Tile& tile) {
    return make_quad(tile.x, tile.y, tile.angle, tile.scale_x, tile.scale_y, tile_map.frame_width,
                     tile_map.frame_height, tile_map.pivot_x, tile_map.pivot_y);
}

int quad_off_screen(const Quad& q) {
    int left = 1, above = 1, right = 1, below = 1;
    for (int i = 0; i < 4; ++i) {
        if (!(q.x[i] < 0.0f)) left = 0;
        if (!(q.y[i] < 0.0f)) above = 0;
        if (!(q.x[i] >= screen_width)) right = 0;
        if (!(q.y[i] >= screen_height)) below = 0;
    }
    return left || above || right || below;
}

int point_in_quad(const Quad& q, float px, float py) {
    int cx[4], cy[4];
    for (int i = 0; i < 4; ++i) {
        cx[i] = round_corner(q.x[i]);
        cy[i] = round_corner(q.y[i]);
    }
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        if (cy[i] != cy[j]) {
            // Where the edge's line meets the point's row.
            const float xm = static_cast<float>(cx[i]) + (py - static_cast<float>(cy[i])) *
                                                             static_cast<float>(cx[j] - cx[i]) /
                                                             static_cast<float>(cy[j] - cy[i]);
            if (i <= 1 ? xm > px : px > xm) return 0;
        }
        if (cx[i] != cx[j]) {
            // Where the edge's line meets the point's column.
            const float ym = static_cast<float>(cy[i]) + (px - static_cast<float>(cx[i])) *
                                                             static_cast<float>(cy[j] - cy[i]) /
                                                             static_cast<float>(cx[j] - cx[i]);
            if (i == 0 || i == 3 ? ym > py : py > ym) return 0;
        }
    }
    return 1;
}

int quad_edges_cross(const Quad& p, int a, const Quad& q, int b) {
    const int a2 = (a + 1) % 4;
    const int b2 = (b + 1) % 4;
    const float pax = p.x[a], pay = p.y[a], pbx = p.x[a2], pby = p.y[a2];
    const float qax = q.x[b], qay = q.y[b], qbx = q.x[b2], qby = q.y[b2];
    const float dx_a = pbx - pax;
    const float dy_a = pby - pay;
    const float c_a = dx_a * pay - dy_a * pax;
    const float dx_b = qbx - qax;
    const float dy_b = qby - qay;
    const float c_b = dx_b * qay - dy_b * qax;
    const float det = dy_b * dx_a - dx_b * dy_a;
    if (det == 0.0f) return 0;
    // The meeting point of the two lines.
    const float x = (dx_b * c_a - dx_a * c_b) / det;
    const float y = (dy_b * c_a - dy_a * c_b) / det;
    return min2(pax, pbx) <= x && x <= max2(pax, pbx) && min2(pay, pby) <= y &&
           y <= max2(pay, pby) && min2(qax, qbx) <= x && x <= max2(qax, qbx) &&
           min2(qay, qby) <= y && y <= max2(qay, qby);
}

int quads_overlap(const Quad& p, const Quad& q) {
    if (clearly_apart(p, q)) return 0;
    for (int i = 0; i < 4; ++i)
        if (point_in_quad(q, p.x[i], p.y[i])) return 1;
    for (int i = 0; i < 4; ++i)
        if (point_in_quad(p, q.x[i], q.y[i])) return 1;
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            if (quad_edges_cross(p, a, q, b)) return 1;
    return 0;
}

int sprites_overlap(const Sprite& a, const Sprite& b) {
    const Quad qa = sprite_quad(a);
    if (quad_off_screen(qa)) return 0;
    const Quad qb = sprite_quad(b);
    if (quad_off_screen(qb)) return 0;
    return quads_overlap(qa, qb);
}

int sprite_touch_tiles(TileMap& tile_map, const Sprite& sprite, int kind) {
    int result = 0;
    if (!sprite.visible) return 0;
    // Built once: a response that moves the sprite does not change this sweep.
    const Quad s = sprite_quad(sprite);
    if (quad_off_screen(s)) return 0;
    for (size_t i = 0; i < tile_map.tiles.size(); ++i) {
        const Tile& tile = *tile_map.tiles[i];
        if (!tile.visible) continue;
        const Quad t = tile_quad(tile_map, tile);
        if (quad_off_screen(t)) continue;
        // Tile corners in the sprite first, then the sprite's in the tile.
        if (!quads_overlap(t, s)) continue;
        if (!game.contact_lock) scene_contact(static_cast<int>(i), kind);
        result = 1;
    }
    return result;
}
