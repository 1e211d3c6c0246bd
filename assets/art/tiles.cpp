// The tile sheet: eight 32 x 32 tiles in a row, one per tile type. Every
// pattern repeats every 32 px (wrapped noise, bricks and curves whose period
// divides the tile), so a tile meets its own kind without a seam.
#include "assets/art/art_common.h"
#include "assets/art/pictures.h"

namespace {

const float kTile = 32.0f;  // pixels

// Stone bricks 16 x 8 px, every other course shifted by half a brick.
void block_tile(Canvas& c, float ox) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const int course = y / 8;
            const float shifted = std::fmod(px + (course % 2) * 8.0f, 16.0f);
            const float fy = std::fmod(py, 8.0f);
            const int brick =
                (static_cast<int>((px + (course % 2) * 8.0f) / 16.0f) % 2) + 2 * course;
            // Distances to the brick's four edges; mortar where either is small.
            const float dl = shifted, dr = 16.0f - shifted, dt = fy, db = 8.0f - fy;
            const float edge = std::min(std::min(dl, dr), std::min(dt, db));
            const float grain = noise_fbm(px / 4.0f, py / 4.0f, 3, 12u, 8);
            const float tone = 0.82f + 0.18f * ((brick * 37) % 5) / 4.0f;
            Rgba col = shade(mix(pal::stone_dark, pal::stone, 0.55f + 0.45f * grain), tone);
            if (dt < 1.6f || dl < 1.6f)
                col = mix(col, pal::stone_light, 0.45f);  // lit top and left
            if (db < 1.6f || dr < 1.6f)
                col = mix(col, pal::stone_dark, 0.55f);  // shaded bottom and right
            const float mortar = 1.0f - smoothstep(0.4f, 1.0f, edge);
            col = mix(col, rgb(0x16121f), mortar);
            canvas_blend(c, static_cast<int>(ox) + x, y, col, 1.0f);
        }
}

// A shallow pool of poison: empty above, its surface 8 px below the top
// (where a corpse comes to rest), glowing fumes just over it.
void pool_tile(Canvas& c, float ox) {
    const float two_pi = 6.2831853f;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float surface = 8.0f + 0.8f * std::sin(px / kTile * two_pi * 2.0f);
            if (py < surface - 0.5f) {
                const float fume = clamp01((py - 1.0f) / (surface - 1.0f));
                const float n = noise_fbm(px / 8.0f, py / 4.0f, 2, 31u, 4);
                canvas_blend(c, static_cast<int>(ox) + x, y,
                             fade(pal::poison, 0.22f * fume * fume * n), 1.0f);
                continue;
            }
            const float cover = clamp01(py - surface + 0.5f);
            const float depth = clamp01((py - surface) / 22.0f);
            const float swirl = noise_fbm(px / 8.0f, py / 8.0f, 3, 33u, 4);
            Rgba col = mix(mix(pal::poison, pal::poison_dark, depth), rgb(0x4a8a2a), swirl * 0.4f);
            if (py - surface < 1.8f)
                col = mix(col, rgb(0xd8ff9a), 0.7f);  // the bright surface line
            canvas_blend(c, static_cast<int>(ox) + x, y, col, cover);
        }
    // Bubbles on and under the surface.
    const float bx[4] = {6.0f, 13.0f, 22.0f, 27.0f}, by[4] = {8.6f, 17.0f, 9.0f, 23.0f},
                br[4] = {2.2f, 1.4f, 1.6f, 1.2f};
    for (int i = 0; i < 4; ++i) {
        fill_sdf_color(
            c, box_around(ox + bx[i], by[i], br[i] + 1, br[i] + 1),
            [&](float x, float y) {
                return std::fabs(sd_circle(x, y, ox + bx[i], by[i], br[i])) - 0.45f;
            },
            fade(rgb(0xe8ffc0), 0.9f));
        fill_circle(c, ox + bx[i] - br[i] * 0.35f, by[i] - br[i] * 0.35f, 0.5f,
                    rgb(0xffffff, 0.9f));
    }
}

// Iron spikes, two to a tile, bloodied at the tips, on a dark base plate.
void spike_tile(Canvas& c, float ox) {
    fill_rect(c, ox, 26.0f, kTile, 6.0f, rgb(0x2a2434));
    fill_rect(c, ox, 26.0f, kTile, 1.5f, rgb(0x6a6280));
    for (int i = 0; i < 2; ++i) {
        const float cx = ox + 8.0f + 16.0f * i;
        const float left[] = {cx - 7.0f, 27.0f, cx, 3.0f, cx, 27.0f};
        const float right[] = {cx, 3.0f, cx + 7.0f, 27.0f, cx, 27.0f};
        fill_polygon(c, left, 3, rgb(0xd8d4e4));
        fill_polygon(c, right, 3, rgb(0x7a7490));
        const float tip[] = {cx - 2.3f, 11.0f, cx, 3.0f, cx + 2.3f, 11.0f};
        fill_polygon(c, tip, 3, pal::blood);
        fill_stroke(c, cx - 0.6f, 11.0f, cx - 1.4f, 15.5f, 0.7f, 0.5f, pal::blood);  // a drip
        fill_sdf_color(
            c, {cx - 7.5f, 2.5f, cx + 7.5f, 27.5f},
            [&](float x, float y) {
                const float pts[] = {cx - 7.0f, 27.0f, cx, 3.0f, cx + 7.0f, 27.0f};
                return std::fabs(sd_polygon(x, y, pts, 3)) - 0.5f;
            },
            rgb(0x1a1422));
    }
}

// A bed of coals with flames licking up to near the top.
void fire_tile(Canvas& c, float ox) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float heat = smoothstep(4.0f, 32.0f, y + 0.5f);
            canvas_blend(c, static_cast<int>(ox) + x, y, fade(pal::ember, 0.55f * heat * heat),
                         1.0f);
        }
    const float xs[3] = {6.0f, 16.0f, 26.0f}, hs[3] = {22.0f, 29.0f, 24.0f};
    for (int i = 0; i < 3; ++i) draw_flame(c, ox + xs[i], 29.0f, hs[i], 0.3f * i, 1.0f, 0);
    // Coals along the bottom.
    for (int y = 24; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float n = noise_fbm(px / 4.0f, py / 4.0f, 3, 41u, 8);
            const float cover = clamp01(py - 25.0f);
            const Rgba coal =
                mix(rgb(0x2a0c08), mix(pal::ember, pal::flame, smoothstep(0.6f, 0.85f, n)),
                    smoothstep(0.45f, 0.7f, n));
            canvas_blend(c, static_cast<int>(ox) + x, y, coal, cover);
        }
}

// A tangle of thorned brambles, dark, their thorns tipped red.
void thorn_tile(Canvas& c, float ox) {
    const float two_pi = 6.2831853f;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float n = noise_fbm(px / 8.0f, py / 8.0f, 3, 55u, 4);
            const float mass = smoothstep(0.35f, 0.5f, n) * smoothstep(1.0f, 6.0f, py);
            canvas_blend(c, static_cast<int>(ox) + x, y, fade(rgb(0x140a18), 0.85f * mass), 1.0f);
        }
    // Three vines, each a sine curve that repeats across the tile.
    struct Vine {
        float mid, amp, phase, cycles;
    };
    const Vine vines[3] = {
        {10.0f, 5.0f, 0.0f, 1.0f}, {19.0f, 7.0f, 2.0f, 1.0f}, {26.0f, 4.0f, 4.0f, 2.0f}};
    for (const Vine& v : vines) {
        auto vy = [&](float x) {
            return v.mid + v.amp * std::sin((x - ox) / kTile * two_pi * v.cycles + v.phase);
        };
        fill_sdf(
            c, {ox, v.mid - v.amp - 3, ox + kTile, v.mid + v.amp + 3},
            [&](float x, float y) { return std::fabs(y - vy(x)) - 1.6f; },
            [&](float, float y) {
                return mix(rgb(0x7a3a6a), rgb(0x3a1634), clamp01((y - vy(0) + 2) / 4));
            });
        // Thorns: small hooked triangles pointing alternately up and down.
        // Thorns: pale hooked spikes pointing alternately up and down, drawn
        // once more a tile away on either side so that one cut by the edge
        // goes on in the next tile.
        for (int k = 0; k < 4; ++k)
            for (float wrap : {-kTile, 0.0f, kTile}) {
                const float x = std::fmod(4.0f + 8.0f * k + v.phase, kTile) + ox + wrap;
                const float y = vy(x);
                const float dir = (k % 2) ? 1.0f : -1.0f;
                const float tri[] = {x - 2.2f, y, x + 2.2f, y, x + 1.4f, y + dir * 6.5f};
                fill_polygon(c, tri, 3, pal::bone_shade);
                const float tip[] = {x + 0.2f,       y + dir * 4.0f, x + 1.9f,
                                     y + dir * 4.0f, x + 1.4f,       y + dir * 6.5f};
                fill_polygon(c, tip, 3, pal::blood_light);
            }
    }
}

// A cell-sized slab with a bevelled rim, for the start and the goal.
template <class Face>
void slab_tile(Canvas& c, float ox, Rgba light, Rgba dark, Face face) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float edge = std::min(std::min(px, kTile - px), std::min(py, kTile - py));
            Rgba col = face(px, py);
            if (edge < 2.5f) col = (px + py < kTile) ? mix(col, light, 0.6f) : mix(col, dark, 0.6f);
            if (edge < 0.9f) col = rgb(0x100c18);
            canvas_blend(c, static_cast<int>(ox) + x, y, col, 1.0f);
        }
}

}  // namespace

// Draws one tile into its own cell so that nothing spills into its neighbours.
template <class Draw>
void tile_cell(Canvas& sheet, int type, Draw draw) {
    Canvas cell;
    canvas_init(cell, 32, 32);
    draw(cell);
    canvas_draw(sheet, cell, 32 * type, 0);
}

void draw_tiles(Canvas& c) {
    // Tile 0 is empty: nothing is drawn in it.
    tile_cell(c, 1, [](Canvas& t) { block_tile(t, 0.0f); });
    tile_cell(c, 2, [](Canvas& t) { pool_tile(t, 0.0f); });
    tile_cell(c, 3, [](Canvas& t) { spike_tile(t, 0.0f); });
    tile_cell(c, 4, [](Canvas& t) { fire_tile(t, 0.0f); });
    tile_cell(c, 5, [](Canvas& t) { thorn_tile(t, 0.0f); });
    // 6: the start, pale marble with a glowing blue ring of runes.
    tile_cell(c, 6, [](Canvas& t) {
        slab_tile(t, 0.0f, pal::bone, pal::bone_dark, [](float x, float y) {
            const float vein = noise_fbm(x / 8.0f, y / 8.0f, 3, 61u, 4);
            return mix(pal::bone_shade, pal::bone,
                       0.5f + 0.5f * std::sin(vein * 9.0f + x * 0.196f));
        });
        fill_circle(t, 16.0f, 16.0f, 11.0f, fade(pal::ice, 0.35f), 6.0f);
        fill_sdf_color(
            t, box_around(16.0f, 16.0f, 9.0f, 9.0f),
            [](float x, float y) { return std::fabs(sd_circle(x, y, 16.0f, 16.0f, 7.5f)) - 1.0f; },
            pal::ice_deep);
        for (int i = 0; i < 4; ++i) {
            const float a = i * 1.5707963f + 0.785f;
            fill_circle(t, 16.0f + 7.5f * std::cos(a), 16.0f + 7.5f * std::sin(a), 1.6f,
                        pal::ice_white);
        }
        fill_stroke(t, 16.0f, 11.5f, 16.0f, 20.5f, 1.0f, 1.0f, pal::ice_deep);
        fill_stroke(t, 12.5f, 14.5f, 19.5f, 14.5f, 1.0f, 1.0f, pal::ice_deep);
    });
    // 7: the goal, a dark velvet altar stone trimmed with gold.
    tile_cell(c, 7, [](Canvas& t) {
        slab_tile(t, 0.0f, pal::gold, pal::gold_dark, [](float x, float y) {
            const float n = noise_fbm(x / 4.0f, y / 4.0f, 3, 71u, 8);
            return mix(rgb(0x3a1a40), rgb(0x5a2a5e), n);
        });
        fill_rect(t, 2.5f, 2.5f, 27.0f, 2.0f, pal::gold);
        const float diamond[] = {16.0f, 9.0f, 23.0f, 17.5f, 16.0f, 26.0f, 9.0f, 17.5f};
        fill_polygon(t, diamond, 4, pal::gold_dark);
        const float inner[] = {16.0f, 11.5f, 21.0f, 17.5f, 16.0f, 23.5f, 11.0f, 17.5f};
        fill_polygon(t, inner, 4, pal::gold);
        fill_circle(t, 16.0f, 17.5f, 1.6f, rgb(0xfff0b0));
    });
}
