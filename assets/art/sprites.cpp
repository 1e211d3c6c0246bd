// The pictures of the things in a stage: the character's sensors, the walk
// strip, the corpse and its sensors, blood, fire, ice, the selection marker,
// the start area, the respawn marker and the coffin.
#include "assets/art/art_common.h"
#include "assets/art/pictures.h"

namespace {

// Sensors are never drawn; a plain translucent colour shows them when debugging.
void fill_all(Canvas& c, Rgba col) { fill_rect(c, 0, 0, float(c.width), float(c.height), col); }

// Draws frame f of a strip into its cell: cells run along a row (or down a column).
template <class Draw>
void strip(Canvas& c, int frame_w, int frame_h, int frames, int columns, Draw draw) {
    for (int f = 0; f < frames; ++f) {
        Canvas cell;
        canvas_init(cell, frame_w, frame_h);
        draw(cell, f);
        canvas_draw(c, cell, (f % columns) * frame_w, (f / columns) * frame_h);
    }
}

}  // namespace

void draw_sensor_core(Canvas& c) { fill_all(c, rgb(0xff3030, 0.5f)); }
void draw_sensor_head(Canvas& c) { fill_all(c, rgb(0x3080ff, 0.5f)); }
void draw_sensor_feet(Canvas& c) { fill_all(c, rgb(0x30e060, 0.5f)); }
void draw_sensor_left(Canvas& c) { fill_all(c, rgb(0xffe030, 0.5f)); }
void draw_sensor_right(Canvas& c) { fill_all(c, rgb(0xff9020, 0.5f)); }
void draw_sensor_corpse_body(Canvas& c) { fill_all(c, rgb(0xc040ff, 0.5f)); }
void draw_sensor_corpse_foot(Canvas& c) { fill_all(c, rgb(0x40e0e0, 0.5f)); }

void draw_player_alive(Canvas& c) {
    // Feet on the frame's bottom edge, body centred on x 31 (the sensors' middle).
    strip(c, 64, 64, 4, 4,
          [](Canvas& cell, int f) { draw_character(cell, 31.0f, 64.0f, 1.0f, f); });
}

void draw_player_death(Canvas& c) { draw_corpse(c, 0.0f, 0.0f, 1.0f); }

void draw_blood(Canvas& c) {
    // A splat about the centre: an uneven blob, drops flung round it, short
    // runs pointing outwards and a wet highlight. The game scales it up from 0
    // about (32, 32), so it stays inside a circle of radius 30.
    Rng rng{913u};
    fill_sdf(
        c, {6, 6, 58, 58},
        [](float x, float y) {
            const float dx = x - 32.0f, dy = y - 32.0f;
            const float a = std::atan2(dy, dx);
            const float wobble =
                2.6f * std::sin(a * 5.0f + 0.7f) + 1.6f * std::sin(a * 8.0f + 2.1f);
            return std::hypot(dx, dy) - (14.0f + wobble);
        },
        [](float x, float y) {
            const float r = std::hypot(x - 32.0f, y - 32.0f);
            return mix(pal::blood, pal::blood_dark, clamp01(r / 17.0f));
        });
    for (int i = 0; i < 7; ++i) {
        // Runs: teardrops from the blob's edge, thick end outwards.
        const float a = (i + rng_range(rng, -0.3f, 0.3f)) * 6.2831853f / 7.0f;
        const float d0 = 12.0f, d1 = rng_range(rng, 18.0f, 23.0f), r = rng_range(rng, 2.0f, 3.0f);
        fill_stroke(c, 32 + d0 * std::cos(a), 32 + d0 * std::sin(a), 32 + d1 * std::cos(a),
                    32 + d1 * std::sin(a), r * 0.5f, r, pal::blood);
    }
    for (int i = 0; i < 12; ++i) {
        const float a = rng_range(rng, 0.0f, 6.2831853f), d = rng_range(rng, 19.0f, 28.0f);
        fill_circle(c, 32 + d * std::cos(a), 32 + d * std::sin(a), rng_range(rng, 0.9f, 2.0f),
                    pal::blood);
    }
    fill_ellipse(c, 27.0f, 26.5f, 4.5f, 2.6f, fade(pal::blood_light, 0.8f));
    fill_circle(c, 25.5f, 25.8f, 1.2f, fade(rgb(0xffd0d8), 0.9f));
}

void draw_fire(Canvas& c) {
    // Six frames over a corpse lying at (11, 41)-(53, 60): flames catch, blaze,
    // then die down to embers and smoke; the corpse chars and crumbles away.
    struct Step {
        float height, corpse, char_amount, ash;
    };
    const Step steps[6] = {{12, 1.0f, 0.1f, 0.0f}, {22, 1.0f, 0.4f, 0.0f}, {34, 1.0f, 0.75f, 0.0f},
                           {42, 0.6f, 1.0f, 0.4f}, {24, 0.0f, 1.0f, 1.0f}, {9, 0.0f, 1.0f, 0.8f}};
    strip(c, 60, 60, 6, 6, [&](Canvas& cell, int f) {
        const Step& s = steps[f];
        if (s.corpse > 0.0f) {
            Canvas body;
            canvas_init(body, 60, 60);
            draw_corpse(body, 11.0f, 41.0f, 1.0f, s.char_amount);
            canvas_draw(cell, body, 0, 0, s.corpse);
        }
        if (s.ash > 0.0f) {
            // What is left: a low heap of ash with glowing coals.
            fill_ellipse(cell, 32.0f, 58.5f, 17.0f, 3.2f, fade(rgb(0x2a2228), s.ash));
            Rng rng{51u};
            for (int i = 0; i < 9; ++i) {
                const float x = rng_range(rng, 18.0f, 46.0f), y = rng_range(rng, 56.5f, 59.0f);
                fill_circle(cell, x, y, rng_range(rng, 0.8f, 1.6f), fade(pal::candle, s.ash));
            }
        }
        // The fire's glow, kept inside the frame.
        fill_ellipse(cell, 32.0f, 56.0f - s.height * 0.4f, 24.0f, 4.0f + s.height * 0.5f,
                     fade(pal::candle, 0.10f + 0.004f * s.height), 10.0f, BlendAdd);
        // Flames along the body, tallest in the middle, each swaying its own way.
        const float xs[5] = {16.0f, 24.0f, 32.0f, 40.0f, 48.0f};
        const float hs[5] = {0.55f, 0.85f, 1.0f, 0.8f, 0.6f};
        for (int i = 0; i < 5; ++i) {
            const float h = s.height * hs[(i + f) % 5 == 2 ? 2 : i];
            draw_flame(cell, xs[i], 59.5f, std::min(h, 44.0f), 0.17f * f + 0.23f * i, 1.0f, 0);
        }
        if (f >= 4) {
            // Smoke rising from the dying fire.
            for (int i = 0; i < 3; ++i) {
                const float y = 40.0f - 9.0f * i - 6.0f * (f - 4);
                fill_circle(cell, 30.0f + 4.0f * std::sin(float(i + f)), y, 4.0f + 1.5f * i,
                            rgb(0x6a6070, 0.35f - 0.08f * i), 5.0f);
            }
        }
    });
}

void draw_ice(Canvas& c) {
    // A clear block of ice round a corpse lying at (10, 18)-(52, 37); the corpse
    // itself is drawn under it by the game. Frames 0..3 loop a glint across the
    // ice and twinkles at its corners; 4 and 5 repeat 0 and 1.
    strip(c, 60, 60, 6, 6, [](Canvas& cell, int frame) {
        const int f = frame % 4;
        const float x0 = 5.0f, y0 = 10.0f, x1 = 57.0f, y1 = 43.0f;
        const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f, hw = (x1 - x0) * 0.5f,
                    hh = (y1 - y0) * 0.5f;
        fill_sdf(
            cell, {x0, y0, x1, y1},
            [=](float x, float y) { return sd_box(x, y, cx, cy, hw, hh, 3.0f); },
            [=](float x, float y) {
                const float t = clamp01((y - y0) / (y1 - y0));
                const float facet = noise_value(x * 0.18f, y * 0.18f, 5u);
                return fade(mix(pal::ice, pal::ice_deep, t * 0.8f), 0.34f + 0.1f * facet);
            });
        // Facets: two lighter slanted planes.
        const float facet_a[] = {x0 + 2, y0 + 2, x0 + 20, y0 + 2, x0 + 8, y1 - 2, x0 + 2, y1 - 2};
        const float facet_b[] = {x1 - 14, y0 + 2, x1 - 2, y0 + 2, x1 - 2, y1 - 10};
        fill_polygon(cell, facet_a, 4, fade(pal::ice_white, 0.16f));
        fill_polygon(cell, facet_b, 3, fade(pal::ice_white, 0.22f));
        // Rim: bright top and left edges, deeper bottom and right ones.
        fill_sdf(
            cell, {x0, y0, x1, y1},
            [=](float x, float y) {
                return std::fabs(sd_box(x, y, cx, cy, hw, hh, 3.0f) + 0.9f) - 0.9f;
            },
            [=](float x, float y) {
                const float lit = clamp01(((x1 - x) / (x1 - x0) + (y1 - y) / (y1 - y0)) * 0.6f);
                return mix(fade(pal::ice_deep, 0.9f), fade(pal::ice_white, 0.95f), lit);
            });
        // The glint: a slanted band that crosses the block over the four frames.
        const float g = x0 + 6.0f + 13.0f * f;
        fill_sdf_color(
            cell, {x0, y0, x1, y1},
            [=](float x, float y) {
                const float band = std::fabs((x - g) + 0.5f * (y - cy)) - 2.2f;
                return std::max(band, sd_box(x, y, cx, cy, hw - 2.0f, hh - 2.0f, 2.0f));
            },
            fade(pal::ice_white, 0.45f), 1.5f);
        // Twinkles: four-pointed stars at the corners, in turn.
        const float tx[4] = {x0 + 4, x1 - 5, x1 - 6, x0 + 6},
                    ty[4] = {y0 + 4, y0 + 5, y1 - 5, y1 - 4};
        for (int i = 0; i < 4; ++i) {
            const float k = (i == f) ? 1.0f : ((i + 1) % 4 == f ? 0.45f : 0.0f);
            if (k <= 0.0f) continue;
            fill_stroke(cell, tx[i] - 4.5f * k, ty[i], tx[i] + 4.5f * k, ty[i], 0.7f, 0.7f,
                        fade(pal::ice_white, k));
            fill_stroke(cell, tx[i], ty[i] - 4.5f * k, tx[i], ty[i] + 4.5f * k, 0.7f, 0.7f,
                        fade(pal::ice_white, k));
            fill_circle(cell, tx[i], ty[i], 1.3f * k, pal::ice_white);
        }
    });
}

void draw_selection_marker(Canvas& c) {
    // Corner brackets that close in and out round the picked corpse, and a
    // small arrow above it that bobs; the marker's cell starts 7 px into the
    // corpse and 5 px above it.
    const float inset[4] = {0.5f, 1.8f, 3.0f, 1.8f};
    const float bob[4] = {0.0f, 1.0f, 2.0f, 1.0f};
    strip(c, 32, 32, 4, 4, [&](Canvas& cell, int f) {
        const float i = inset[f];
        const float a = 0.8f, len = 7.0f;
        const Rgba col = mix(pal::blood_light, pal::flame, 0.25f * f);
        Canvas layer;
        canvas_init(layer, 32, 32);
        const float x0 = 1.5f + i, y0 = 4.5f + i * 0.5f, x1 = 30.5f - i, y1 = 29.5f - i * 0.5f;
        const float cx[4] = {x0, x1, x0, x1}, cy[4] = {y0, y0, y1, y1};
        for (int k = 0; k < 4; ++k) {
            const float sx = k % 2 ? -1.0f : 1.0f, sy = k / 2 ? -1.0f : 1.0f;
            fill_stroke(layer, cx[k], cy[k], cx[k] + sx * len, cy[k], a, a, col);
            fill_stroke(layer, cx[k], cy[k], cx[k], cy[k] + sy * len * 0.7f, a, a, col);
        }
        const float tri[] = {12.0f, 0.5f + bob[f], 20.0f, 0.5f + bob[f], 16.0f, 6.0f + bob[f]};
        fill_polygon(layer, tri, 3, pal::flame);
        canvas_outline(layer, 1.0f, fade(pal::outline, 0.9f));
        canvas_draw(cell, layer, 0, 0);
    });
}

void draw_start_area(Canvas& c) {
    // A translucent column of pale light over the start block, with motes
    // rising through it; three frames loop the rise.
    strip(c, 60, 70, 3, 3, [](Canvas& cell, int f) {
        canvas_paint(cell, [f](float x, float y) {
            const float across = 1.0f - std::pow(std::fabs(x - 30.0f) / 27.0f, 2.0f);
            const float up = std::pow(clamp01(y / 70.0f), 1.6f);
            const float flicker = 0.9f + 0.1f * std::sin(y * 0.35f - f * 2.1f);
            return fade(mix(pal::lavender, pal::ice, up), clamp01(across) * up * 0.5f * flicker);
        });
        Rng rng{301u};
        for (int i = 0; i < 9; ++i) {
            const float x = rng_range(rng, 12.0f, 48.0f);
            const float base = rng_range(rng, 0.0f, 70.0f);
            const float y = std::fmod(base + 70.0f - f * 70.0f / 3.0f * 0.5f, 70.0f);
            const float k = clamp01(y / 40.0f);
            fill_circle(cell, x, y, 1.0f + 0.6f * (i % 2), fade(pal::ice_white, 0.75f * k), 1.5f);
        }
    });
}

void draw_respawn_marker(Canvas& c) {
    // The grave the character rises from: a small tombstone with a candle on
    // it whose flame flickers over the four frames.
    strip(c, 40, 60, 4, 4, [](Canvas& cell, int f) {
        fill_circle(cell, 20.0f, 20.0f, 9.0f, fade(pal::candle, 0.10f + 0.03f * (f % 2)), 10.0f,
                    BlendAdd);
        draw_tombstone(cell, 20.0f, 60.0f, 26.0f, 30.0f, pal::stone, pal::stone_light);
        // A cross cut into the stone.
        fill_rect(cell, 18.8f, 37.0f, 2.4f, 14.0f, pal::stone_dark, 0.6f);
        fill_rect(cell, 14.5f, 41.0f, 11.0f, 2.4f, pal::stone_dark, 0.6f);
        // The candle stub on top and its flame.
        fill_rect(cell, 17.5f, 24.0f, 5.0f, 8.0f, pal::bone, 1.2f);
        fill_rect(cell, 17.5f, 29.0f, 5.0f, 3.0f, pal::bone_shade, 0.8f);
        fill_ellipse(cell, 20.0f, 32.0f, 5.0f, 1.2f, pal::bone_shade);
        const float heights[4] = {15.0f, 17.0f, 14.0f, 16.5f};
        draw_flame(cell, 20.0f, 24.5f, heights[f], f * 0.25f, 1.0f, 0);
    });
}

void draw_coffin_picture(Canvas& c) {
    fill_ellipse(c, 20.0f, 58.5f, 17.0f, 2.2f, rgb(0x000000, 0.35f), 2.0f);
    draw_coffin(c, 3.0f, 1.0f, 34.0f, 58.6f, 0.6f);
}
