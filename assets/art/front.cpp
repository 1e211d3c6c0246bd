// The title picture, its looping overlay and start prompt, and the ranking
// screen's background.
#include "assets/art/art_common.h"
#include "assets/art/pictures.h"

namespace {

// Where the title's candles stand: their stubs are in the title picture, their
// flames in the overlay, so the overlay's seven frames make them flicker.
struct Candle {
    float x, y, height;  // the stub's top centre, and its length (pixels)
};
const Candle title_candles[4] = {{206.0f, 318.0f, 26.0f},
                                 {236.0f, 330.0f, 16.0f},
                                 {556.0f, 322.0f, 22.0f},
                                 {584.0f, 334.0f, 14.0f}};

void candle_stub(Canvas& c, const Candle& k) {
    const float w = 9.0f;
    fill_rect(c, k.x - w * 0.5f, k.y, w, k.height, pal::bone, 2.0f);
    fill_rect(c, k.x + w * 0.1f, k.y, w * 0.4f, k.height, pal::bone_shade, 1.5f);
    // Wax running down from the rim.
    fill_stroke(c, k.x - 2.5f, k.y + 1.0f, k.x - 2.5f, k.y + 7.0f, 1.4f, 1.2f, pal::bone);
    fill_ellipse(c, k.x, k.y + k.height, w * 0.9f, 2.5f, pal::bone_shade);
    fill_stroke(c, k.x, k.y, k.x, k.y - 3.0f, 0.6f, 0.5f, rgb(0x2a1a10));
}

TextStyle title_style() {
    TextStyle st;
    st.family = "DejaVu Serif:bold";
    st.size = 86;
    st.top = rgb(0xfbf4e6);
    st.bottom = rgb(0xb8a4e8);
    st.outline = 4.0f;
    st.outline_color = rgb(0x1a0e2c);
    st.shadow_blur = 6;
    st.shadow_dy = 5;
    st.shadow_color = rgb(0x000000, 0.8f);
    return st;
}

}  // namespace

void draw_title(Canvas& c) {
    NightScene s;
    s.seed = 11;
    s.horizon = 330.0f;
    s.moon_x = 62.0f;
    s.moon_y = 62.0f;
    s.moon_r = 36.0f;
    s.brightness = 0.95f;
    draw_night(c, s);
    // The goal coffin on the right, the character before it, candles about them.
    fill_ellipse(c, 470.0f, 352.0f, 70.0f, 8.0f, rgb(0x000000, 0.45f), 8.0f);
    draw_coffin(c, 430.0f, 212.0f, 80.0f, 140.0f, 1.0f);
    fill_ellipse(c, 320.0f, 352.0f, 40.0f, 6.0f, rgb(0x000000, 0.45f), 6.0f);
    draw_character(c, 320.0f, 352.0f, 3.2f, 3);
    for (const Candle& k : title_candles) candle_stub(c, k);
    // A purple glow behind the name so that it stands off the sky.
    fill_ellipse(c, 320.0f, 104.0f, 210.0f, 50.0f, fade(pal::purple, 0.45f), 50.0f);
    text_draw_centred(c, title_style(), 320.0f, 100.0f, "Quennary");
    // Drops of blood running from the name's underline.
    fill_rect(c, 150.0f, 152.0f, 340.0f, 3.0f, pal::blood, 1.5f);
    const float drips[5][2] = {
        {186.0f, 12.0f}, {252.0f, 20.0f}, {318.0f, 9.0f}, {401.0f, 16.0f}, {462.0f, 11.0f}};
    for (const auto& d : drips) {
        fill_stroke(c, d[0], 153.0f, d[0], 153.0f + d[1], 1.5f, 1.1f, pal::blood);
        fill_circle(c, d[0], 153.0f + d[1], 2.2f, pal::blood);
    }
    TextStyle line;
    line.family = "IPAMincho";
    line.size = 26;
    line.top = pal::bone;
    line.bottom = pal::bone_shade;
    line.outline = 2.5f;
    line.outline_color = rgb(0x120a1e);
    line.shadow_blur = 3;
    line.shadow_dy = 2;
    text_draw_centred(c, line, 320.0f, 196.0f, "しかばねを積んで、道をひらけ。");
}

void draw_title_effect(Canvas& c) {
    // Seven frames that loop over the title: the candles' flames flicker,
    // will-o'-the-wisps drift on closed paths, and sparkles wink in the sky.
    // Everything else is transparent.
    const float two_pi = 6.2831853f;
    for (int f = 0; f < 7; ++f) {
        Canvas cell;
        canvas_init(cell, 640, 480);
        const float t = f / 7.0f;
        for (int i = 0; i < 4; ++i) {
            const Candle& k = title_candles[i];
            const float flicker =
                1.0f + 0.12f * std::sin(two_pi * (t * (i % 2 ? 2.0f : 1.0f) + i * 0.37f));
            draw_flame(cell, k.x, k.y - 1.0f, 20.0f * flicker, t + 0.25f * i);
        }
        Rng rng{707u};
        for (int w = 0; w < 6; ++w) {
            const float bx = rng_range(rng, 40.0f, 600.0f), by = rng_range(rng, 220.0f, 420.0f);
            const float rx = rng_range(rng, 14.0f, 30.0f), ry = rng_range(rng, 8.0f, 16.0f);
            const float phase = rng_float(rng);
            const Rgba col = w % 2 ? pal::ice : pal::lavender;
            // A short trail of fading orbs behind the wisp.
            for (int k = 4; k >= 0; --k) {
                const float a = two_pi * (t + phase) - k * 0.18f;
                const float x = bx + rx * std::cos(a), y = by + ry * std::sin(2.0f * a) * 0.6f;
                const float fadeout = 1.0f - k / 5.0f;
                fill_circle(cell, x, y, 9.0f * fadeout, fade(col, 0.18f * fadeout), 10.0f,
                            BlendAdd);
                fill_circle(cell, x, y, 2.6f * fadeout, fade(pal::ice_white, 0.7f * fadeout), 1.5f);
            }
        }
        for (int k = 0; k < 14; ++k) {
            const float x = rng_range(rng, 20.0f, 620.0f), y = rng_range(rng, 10.0f, 300.0f);
            const float phase = rng_float(rng);
            const float b = std::pow(std::max(0.0f, std::sin(two_pi * (t + phase))), 3.0f);
            if (b < 0.05f) continue;
            const Rgba col = fade(pal::bone, b);
            fill_stroke(cell, x - 6.0f * b, y, x + 6.0f * b, y, 0.6f, 0.6f, col);
            fill_stroke(cell, x, y - 6.0f * b, x, y + 6.0f * b, 0.6f, 0.6f, col);
            fill_circle(cell, x, y, 1.2f + b, fade(pal::ice_white, b), 1.5f);
        }
        canvas_draw(c, cell, 640 * f, 0);
    }
}

void draw_title_start(Canvas& c) {
    // The start prompt, five 340 x 75 frames in a column that pulse once over
    // their loop: brightest in frame 0, fading to frame 3, brightening again in
    // frame 4 (no two frames alike, so the pulse never stalls).
    const float pulse[5] = {1.0f, 0.72f, 0.38f, 0.1f, 0.5f};
    for (int f = 0; f < 5; ++f) {
        Canvas cell;
        canvas_init(cell, 340, 75);
        const float p = pulse[f];
        fill_ellipse(cell, 170.0f, 30.0f, 128.0f, 14.0f, fade(pal::candle, 0.08f + 0.30f * p),
                     16.0f, BlendAdd);
        TextStyle big;
        big.family = "DejaVu Serif:bold";
        big.size = 32;
        big.top = fade(mix(pal::bone_shade, rgb(0xfffaf0), p), 0.7f + 0.3f * p);
        big.bottom = fade(mix(pal::ember, pal::flame, p), 0.7f + 0.3f * p);
        big.outline = 2.5f;
        big.outline_color = rgb(0x1a0c14);
        big.shadow_blur = 2;
        big.shadow_dy = 2;
        text_draw_centred(cell, big, 170.0f, 28.0f, "PRESS ENTER");
        TextStyle small;
        small.family = "IPAGothic";
        small.size = 17;
        small.top = small.bottom = fade(pal::bone, 0.75f + 0.25f * p);
        small.outline = 2.0f;
        small.outline_color = rgb(0x120a1e);
        text_draw_centred(cell, small, 170.0f, 60.0f, "Enterキーでスタート");
        canvas_draw(c, cell, 0, 75 * f);
    }
}

void draw_result(Canvas& c) {
    // The ranking: a darker night with the heading on top; the ten lines are
    // written by the game over two plain panels (x 120 and 400, y 180..416).
    NightScene s;
    s.seed = 23;
    s.horizon = 380.0f;
    s.moon_x = 560.0f;
    s.moon_y = 70.0f;
    s.moon_r = 30.0f;
    s.brightness = 0.7f;
    draw_night(c, s);
    for (float x : {100.0f, 380.0f})
        fill_sdf_color(
            c, {x, 166.0f, x + 228.0f, 432.0f},
            [x](float px, float py) {
                return sd_box(px, py, x + 114.0f, 299.0f, 114.0f, 133.0f, 12.0f);
            },
            rgb(0x06040e, 0.72f), 3.0f);
    for (float x : {100.0f, 380.0f})
        fill_sdf_color(
            c, {x, 166.0f, x + 228.0f, 432.0f},
            [x](float px, float py) {
                return std::fabs(sd_box(px, py, x + 114.0f, 299.0f, 111.0f, 130.0f, 10.0f)) - 0.7f;
            },
            fade(pal::lavender, 0.55f));
    fill_ellipse(c, 320.0f, 84.0f, 200.0f, 44.0f, fade(pal::purple, 0.5f), 50.0f);
    TextStyle st;
    st.family = "IPAMincho";
    st.size = 54;
    st.top = rgb(0xfff0c0);
    st.bottom = pal::gold;
    st.outline = 3.5f;
    st.outline_color = rgb(0x1a0c14);
    st.shadow_blur = 5;
    st.shadow_dy = 4;
    text_draw_centred(c, st, 320.0f, 80.0f, "ランキング");
    TextStyle sub;
    sub.family = "DejaVu Serif:bold";
    sub.size = 16;
    sub.top = sub.bottom = fade(pal::mist, 0.9f);
    sub.outline = 1.5f;
    sub.outline_color = rgb(0x120a1e);
    text_draw_centred(c, sub, 320.0f, 132.0f, "- RANKING -");
    for (float x : {148.0f, 492.0f}) {
        fill_rect(c, x - 4.5f, 88.0f, 9.0f, 24.0f, pal::bone, 2.0f);
        draw_flame(c, x, 87.0f, 22.0f, x * 0.01f);
    }
}
