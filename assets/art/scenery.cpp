// The night graveyard that stands behind the stages, the title and the
// ranking, and the two full-screen pictures made from it: the stage
// background and the ending.
#include "assets/art/art_common.h"
#include "assets/art/pictures.h"

void draw_tombstone(Canvas& c, float x, float y, float w, float h, Rgba body, Rgba rim) {
    const float r = w * 0.5f, top = y - h + r;
    auto sd = [=](float px, float py) {
        const float slab = sd_box(px, py, x, (top + y) * 0.5f + 0.5f, r, (y - top) * 0.5f + 0.5f);
        return std::min(slab, sd_circle(px, py, x, top, r));
    };
    const Box b{x - r, y - h, x + r, y};
    fill_sdf(c, b, sd, [=](float px, float py) {
        const float n = noise_fbm(px * 0.25f, py * 0.25f, 3, 19u);
        const float lit = clamp01((px - (x - r)) / w);
        return shade(mix(shade(body, 0.7f), body, lit), 0.8f + 0.35f * n);
    });
    // Moonlight catches the right-hand edge.
    fill_sdf_color(
        c, b,
        [=](float px, float py) { return std::max(std::fabs(sd(px, py) + 0.8f) - 0.8f, x - px); },
        fade(rim, 0.8f));
}

namespace {

void draw_cross(Canvas& c, float x, float y, float h, Rgba col) {
    const float t = std::max(1.5f, h * 0.12f);
    fill_rect(c, x - t * 0.5f, y - h, t, h, col, t * 0.3f);
    fill_rect(c, x - h * 0.32f, y - h * 0.75f, h * 0.64f, t, col, t * 0.3f);
}

// A bare tree: branches split in two, thinning, leaning as the seed says.
void draw_branch(Canvas& c, Rng& rng, float x, float y, float angle, float len, float width,
                 int depth, Rgba col) {
    const float a = angle * 3.14159265f / 180.0f;
    const float ex = x + len * std::sin(a), ey = y - len * std::cos(a);
    fill_stroke(c, x, y, ex, ey, width, width * 0.65f, col);
    if (depth == 0) return;
    const int kids = depth > 2 ? 2 : 2 + (rng_float(rng) < 0.4f);
    for (int k = 0; k < kids; ++k) {
        const float turn =
            (k == 0 ? -1.0f : 1.0f) * rng_range(rng, 18.0f, 38.0f) + rng_range(rng, -8.0f, 8.0f);
        draw_branch(c, rng, ex, ey, angle + turn, len * rng_range(rng, 0.62f, 0.78f), width * 0.65f,
                    depth - 1, col);
    }
}

float hill_height(float x, uint32_t seed, float amp, float freq) {
    return amp * (noise_fbm(x * freq, 0.5f, 4, seed) - 0.5f) * 2.0f;
}

}  // namespace

void draw_night(Canvas& c, const NightScene& s) {
    const float k = s.brightness;
    const float h = s.horizon;
    // Sky: near black overhead, indigo at the hills, thin purple clouds.
    canvas_paint(c, [&](float x, float y) {
        const float t = clamp01(y / h);
        Rgba sky = mix(pal::night0, mix(pal::night2, pal::indigo, 0.6f), t * t);
        const float cloud = noise_fbm(x * 0.006f + 3.0f, y * 0.018f, 5, s.seed + 7u);
        const float band = smoothstep(0.52f, 0.75f, cloud) * (0.3f + 0.7f * t);
        sky = mix(sky, pal::purple, band * 0.35f);
        // The moon's glow spreads over the sky around it.
        const float d = std::hypot(x - s.moon_x, y - s.moon_y);
        sky = mix(sky, pal::lavender, 0.35f * std::exp(-d / (s.moon_r * 2.6f)));
        return shade(sky, k);
    });
    Rng rng{s.seed * 31u + 5u};
    for (int i = 0; i < 140; ++i) {
        const float x = rng_range(rng, 0.0f, float(c.width)), y = rng_range(rng, 0.0f, h * 0.95f);
        const float b = rng_float(rng);
        if (std::hypot(x - s.moon_x, y - s.moon_y) < s.moon_r * 1.8f) continue;
        const float fadeout = 1.0f - clamp01(y / h) * 0.7f;
        fill_circle(c, x, y, 0.45f + 0.7f * b * b,
                    fade(pal::mist, (0.35f + 0.6f * b) * fadeout * k), 1.0f);
        if (b > 0.93f) {
            const Rgba glint = fade(pal::bone, 0.5f * fadeout * k);
            fill_stroke(c, x - 3.5f, y, x + 3.5f, y, 0.45f, 0.45f, glint);
            fill_stroke(c, x, y - 3.5f, x, y + 3.5f, 0.45f, 0.45f, glint);
        }
    }
    // Moon with a halo and a few soft seas on its face.
    fill_circle(c, s.moon_x, s.moon_y, s.moon_r * 1.6f, fade(pal::mist, 0.12f * k), s.moon_r * 1.6f,
                BlendAdd);
    fill_sdf(
        c, box_around(s.moon_x, s.moon_y, s.moon_r, s.moon_r),
        [&](float x, float y) { return sd_circle(x, y, s.moon_x, s.moon_y, s.moon_r); },
        [&](float x, float y) {
            const float sea = noise_fbm((x - s.moon_x) / s.moon_r * 1.6f,
                                        (y - s.moon_y) / s.moon_r * 1.6f, 3, s.seed + 11u);
            const float rim = clamp01(std::hypot(x - s.moon_x, y - s.moon_y) / s.moon_r);
            Rgba m = mix(rgb(0xfbf6e4), rgb(0xd8cebe), smoothstep(0.5f, 0.8f, sea) * 0.45f);
            return shade(mix(m, rgb(0xd8cce8), rim * rim * 0.5f), 0.3f + 0.7f * k);
        });
    // Far hills, then the graveyard hill in front of them.
    canvas_paint(c, [&](float x, float y) {
        const float far = h - 30.0f + hill_height(x, s.seed + 3u, 22.0f, 0.004f);
        if (y < far) return Rgba{0, 0, 0, 0};
        const float t = clamp01((y - far) / 120.0f);
        return shade(mix(mix(pal::indigo, pal::night2, 0.5f), pal::night1, t), k);
    });
    canvas_paint(c, [&](float x, float y) {
        const float near = h + 12.0f + hill_height(x, s.seed + 4u, 14.0f, 0.006f);
        if (y < near) return Rgba{0, 0, 0, 0};
        const float t = clamp01((y - near) / 90.0f);
        const float grass = noise_value(x * 0.4f, y * 0.1f, s.seed + 9u);
        return shade(mix(pal::night1, pal::night0, t), k * (0.9f + 0.2f * grass));
    });
    if (s.graves) {
        // Tombstones, crosses and trees along the near hill's crest.
        Rng g{s.seed * 17u + 3u};
        for (int tree = 0; tree < 2; ++tree) {
            const float x = tree == 0 ? rng_range(g, 40.0f, 150.0f) : rng_range(g, 430.0f, 600.0f);
            const float base = h + 16.0f + hill_height(x, s.seed + 4u, 14.0f, 0.006f);
            Rng branches{s.seed + 41u * tree};
            draw_branch(c, branches, x, base, rng_range(g, -6.0f, 6.0f), 44.0f, 5.0f, 5,
                        shade(mix(pal::night0, pal::night1, 0.5f), k));
        }
        for (int i = 0; i < 11; ++i) {
            const float x = 30.0f + i * 56.0f + rng_range(g, -18.0f, 18.0f);
            const float base =
                h + 22.0f + hill_height(x, s.seed + 4u, 14.0f, 0.006f) + rng_range(g, 0.0f, 8.0f);
            const float size = rng_range(g, 0.7f, 1.2f);
            const Rgba body = shade(mix(pal::night2, pal::purple, 0.35f), k);
            const Rgba rim = shade(pal::lavender, k * 0.7f);
            if (rng_float(g) < 0.3f)
                draw_cross(c, x, base, 30.0f * size, shade(pal::night2, k));
            else
                draw_tombstone(c, x, base, 18.0f * size, 24.0f * size, body, rim);
        }
    }
    // Ground mist drifting low over the graves.
    canvas_paint(c, [&](float x, float y) {
        const float n = noise_fbm(x * 0.008f, y * 0.03f, 4, s.seed + 21u);
        const float band = std::exp(-std::pow((y - (h + 40.0f)) / 38.0f, 2.0f));
        return fade(pal::mist, smoothstep(0.4f, 0.8f, n) * band * 0.22f * k);
    });
}

void draw_game_background(Canvas& c) {
    // Behind the tiles: the graveyard, dimmed so that tiles and the HUD read
    // over it, with the moon high up out of the way and the bottom darkest.
    NightScene s;
    s.seed = 3;
    s.horizon = 330.0f;
    s.moon_x = 500.0f;
    s.moon_y = 86.0f;
    s.moon_r = 34.0f;
    s.brightness = 0.62f;
    draw_night(c, s);
    canvas_paint(
        c, [](float, float y) { return fade(pal::night0, 0.55f * smoothstep(360.0f, 480.0f, y)); });
}

void draw_ending(Canvas& c) {
    // Dawn over the graveyard: the night pales to rose and gold, and the
    // character stands beside the coffin it reached at last.
    canvas_paint(c, [](float x, float y) {
        const float t = clamp01(y / 360.0f);
        Rgba sky = mix(pal::indigo, rgb(0xb0609a), smoothstep(0.15f, 0.75f, t));
        sky = mix(sky, rgb(0xffc27a), smoothstep(0.7f, 1.0f, t));
        const float cloud = noise_fbm(x * 0.006f, y * 0.02f, 5, 88u);
        return mix(sky, rgb(0xffd8c0), smoothstep(0.55f, 0.8f, cloud) * 0.35f);
    });
    fill_circle(c, 320.0f, 372.0f, 150.0f, fade(rgb(0xffd890), 0.35f), 160.0f, BlendAdd);
    fill_circle(c, 320.0f, 372.0f, 52.0f, rgb(0xfff0c8));
    Rng rng{77u};
    for (int i = 0; i < 40; ++i) {
        const float x = rng_range(rng, 0.0f, 640.0f), y = rng_range(rng, 0.0f, 120.0f);
        fill_circle(c, x, y, 0.7f, fade(pal::bone, 0.5f - y / 300.0f));
    }
    canvas_paint(c, [](float x, float y) {
        const float near = 372.0f + hill_height(x, 5u, 12.0f, 0.006f);
        if (y < near) return Rgba{0, 0, 0, 0};
        return mix(rgb(0x3a2450), rgb(0x1a1028), clamp01((y - near) / 100.0f));
    });
    for (int i = 0; i < 7; ++i) {
        const float x = 40.0f + i * 95.0f;
        if (x > 220.0f && x < 440.0f) continue;
        draw_tombstone(c, x, 392.0f + (i % 2) * 6.0f, 20.0f, 26.0f, rgb(0x4a3460), rgb(0xffc890));
    }
    draw_coffin(c, 330.0f, 270.0f, 64.0f, 112.0f, 1.0f);
    draw_character(c, 282.0f, 384.0f, 2.6f, 3);
    TextStyle title;
    title.family = "IPAMincho";
    title.size = 44;
    title.top = pal::bone;
    title.bottom = rgb(0xffd8a8);
    title.outline = 3.0f;
    title.outline_color = rgb(0x2a1838);
    title.shadow_blur = 4;
    title.shadow_dy = 3;
    text_draw(c, title, 320.0f, 70.0f, "おやすみなさい");
    TextStyle sub = title;
    sub.family = "DejaVu Serif:bold";
    sub.size = 22;
    sub.outline = 2.0f;
    text_draw(c, sub, 320.0f, 134.0f, "THE END");
}
