// The HUD and the clear display: the corpse counter's digits and board, the
// board under the target and death lines, the clear banner, the stars, the
// rating captions and the ranking's YOU marker.
#include <cstdio>

#include "assets/art/art_common.h"
#include "assets/art/pictures.h"

namespace {

// Ten 40 x 40 frames, frame n showing the digit n, centred and about 18 px wide
// (three of them stand 20 px apart on the corpse board).
void digit_strip(Canvas& c, Rgba top, Rgba bottom) {
    TextStyle st;
    st.family = "DejaVu Serif:bold";
    st.size = 28;
    st.top = top;
    st.bottom = bottom;
    st.outline = 2.0f;
    st.outline_color = rgb(0x140a1c);
    st.shadow_blur = 1;
    st.shadow_dy = 2;
    st.shadow_color = rgb(0x000000, 0.7f);
    for (int d = 0; d < 10; ++d) {
        char text[2] = {static_cast<char>('0' + d), 0};
        Canvas cell;
        canvas_init(cell, 40, 40);
        text_draw_centred(cell, st, 20.0f, 20.0f, text);
        canvas_draw(c, cell, 40 * d, 0);
    }
}

// A plaque with rounded corners: a dark gradient face and a thin bone rim.
void plaque(Canvas& c, float x, float y, float w, float h, float round, Rgba face_top,
            Rgba face_bottom, Rgba rim, float face_alpha) {
    const float cx = x + w * 0.5f, cy = y + h * 0.5f;
    fill_sdf_color(
        c, {x, y + 3, x + w, y + h + 3},
        [=](float px, float py) {
            return sd_box(px, py, cx, cy + 3.0f, w * 0.5f, h * 0.5f, round);
        },
        rgb(0x000000, 0.45f), 4.0f);
    fill_sdf(
        c, {x, y, x + w, y + h},
        [=](float px, float py) { return sd_box(px, py, cx, cy, w * 0.5f, h * 0.5f, round); },
        [=](float, float py) {
            return fade(mix(face_top, face_bottom, clamp01((py - y) / h)), face_alpha);
        });
    fill_sdf_color(
        c, {x, y, x + w, y + h},
        [=](float px, float py) {
            return std::fabs(
                       sd_box(px, py, cx, cy, w * 0.5f - 2.5f, h * 0.5f - 2.5f, round - 2.0f)) -
                   0.7f;
        },
        fade(rim, 0.9f));
    fill_sdf_color(
        c, {x, y, x + w, y + h},
        [=](float px, float py) {
            return std::fabs(sd_box(px, py, cx, cy, w * 0.5f - 0.6f, h * 0.5f - 0.6f, round)) -
                   0.6f;
        },
        pal::outline);
}

void small_skull(Canvas& c, float cx, float cy, float s, Rgba col) {
    fill_circle(c, cx, cy, 5.0f * s, col);
    fill_rect(c, cx - 3.0f * s, cy + 2.5f * s, 6.0f * s, 4.0f * s, col, 1.0f * s);
    fill_circle(c, cx - 2.0f * s, cy + 0.2f * s, 1.5f * s, pal::outline);
    fill_circle(c, cx + 2.0f * s, cy + 0.2f * s, 1.5f * s, pal::outline);
    for (int i = -1; i <= 1; ++i)
        fill_rect(c, cx + i * 1.8f * s - 0.4f * s, cy + 4.6f * s, 0.8f * s, 2.0f * s, pal::outline);
}

}  // namespace

void draw_digits_ones(Canvas& c) { digit_strip(c, pal::bone, pal::bone_shade); }
void draw_digits_tens(Canvas& c) { digit_strip(c, rgb(0xf6e6d8), rgb(0xd8b8a0)); }
void draw_digits_hundreds(Canvas& c) { digit_strip(c, rgb(0xf8dcd0), rgb(0xd09a8a)); }

void draw_corpse_board(Canvas& c) {
    // The corpse counter at (15, 400): the label on the left, a recessed slot
    // for the three digits at x 95..175 (they stand at y 25..65 of the board).
    plaque(c, 2.0f, 8.0f, 194.0f, 58.0f, 10.0f, rgb(0x3a2a5a), rgb(0x1a1230), pal::bone_shade,
           0.96f);
    fill_rect(c, 94.0f, 26.0f, 84.0f, 38.0f, rgb(0x0a0612, 0.85f), 6.0f);
    fill_sdf_color(
        c, {94, 26, 178, 64},
        [](float x, float y) {
            return std::fabs(sd_box(x, y, 136.0f, 45.0f, 42.0f, 19.0f, 6.0f)) - 0.6f;
        },
        fade(pal::lavender, 0.6f));
    small_skull(c, 22.0f, 35.0f, 1.6f, pal::bone);
    TextStyle st;
    st.family = "IPAMincho";
    st.size = 26;
    st.top = pal::blood_light;
    st.bottom = pal::blood;
    st.outline = 2.0f;
    st.outline_color = rgb(0x12060c);
    text_draw_centred(c, st, 62.0f, 38.0f, "屍数");
}

void draw_death_board(Canvas& c) {
    // At (180, 400), its left end under the corpse board; the two 15-px lines
    // of text run across its middle (y 20..55), which stays plain and dark.
    plaque(c, 1.0f, 12.0f, 196.0f, 52.0f, 8.0f, rgb(0x1a1430), rgb(0x0c0818), rgb(0x8a78c0), 0.88f);
    for (float x : {187.0f}) {
        fill_circle(c, x, 22.0f, 2.2f, pal::bone_shade);
        fill_circle(c, x, 54.0f, 2.2f, pal::bone_shade);
    }
}

void draw_end_board(Canvas& c) {
    // A banner hanging from a rod, unrolled downwards when a stage is cleared.
    // The stars sit at y 80..144, the rating at 150..214 and the score line at
    // 220..250 of it: those bands are plain cloth.
    const float x0 = 16.0f, x1 = 284.0f, top = 8.0f, bottom = 296.0f, notch = 24.0f;
    const float cloth[] = {x0, top, x1, top, x1, bottom, 150.0f, bottom - notch, x0, bottom};
    fill_sdf_color(
        c, {x0, top, x1 + 6, bottom + 4},
        [&](float x, float y) { return sd_polygon(x - 4.0f, y - 3.0f, cloth, 5); },
        rgb(0x000000, 0.4f), 5.0f);
    fill_sdf(
        c, box_of_points(cloth, 5), [&](float x, float y) { return sd_polygon(x, y, cloth, 5); },
        [&](float x, float y) {
            const float fold = 0.5f + 0.5f * std::sin((x - x0) / (x1 - x0) * 6.2831853f * 2.0f);
            const float n = noise_fbm(x * 0.05f, y * 0.05f, 3, 90u);
            const Rgba velvet = mix(rgb(0x241844), rgb(0x3a2766), 0.35f + 0.35f * fold + 0.2f * n);
            return fade(velvet, 0.96f);
        });
    // Gold stitching just inside the edge, and the dark edge itself.
    fill_sdf_color(
        c, box_of_points(cloth, 5),
        [&](float x, float y) { return std::fabs(sd_polygon(x, y, cloth, 5) + 7.0f) - 1.0f; },
        pal::gold_dark);
    fill_sdf_color(
        c, box_of_points(cloth, 5),
        [&](float x, float y) { return std::fabs(sd_polygon(x, y, cloth, 5) + 0.6f) - 0.7f; },
        pal::outline);
    // The rod with its knobs.
    fill_rect(c, 6.0f, 2.0f, 288.0f, 10.0f, rgb(0x4a2a22), 5.0f);
    fill_rect(c, 8.0f, 3.0f, 284.0f, 3.0f, rgb(0x8a5a3a), 1.5f);
    fill_circle(c, 8.0f, 7.0f, 7.0f, pal::gold);
    fill_circle(c, 292.0f, 7.0f, 7.0f, pal::gold);
    fill_circle(c, 6.0f, 5.0f, 2.5f, rgb(0xfff0c0));
    fill_circle(c, 290.0f, 5.0f, 2.5f, rgb(0xfff0c0));
    TextStyle st;
    st.family = "IPAMincho";
    st.size = 30;
    st.top = rgb(0xfff0c0);
    st.bottom = pal::gold;
    st.outline = 2.0f;
    st.outline_color = rgb(0x1a0c10);
    st.shadow_blur = 2;
    st.shadow_dy = 2;
    text_draw_centred(c, st, 150.0f, 44.0f, "ステージクリア");
    fill_rect(c, 70.0f, 64.0f, 160.0f, 1.5f, fade(pal::gold, 0.7f));
    small_skull(c, 56.0f, 63.0f, 0.8f, pal::bone_shade);
    small_skull(c, 244.0f, 63.0f, 0.8f, pal::bone_shade);
    // A little candle flame at either lower corner.
    draw_flame(c, 40.0f, 270.0f, 14.0f, 0.2f);
    draw_flame(c, 260.0f, 270.0f, 14.0f, 0.7f);
    fill_rect(c, 36.5f, 270.0f, 7.0f, 12.0f, pal::bone, 1.5f);
    fill_rect(c, 256.5f, 270.0f, 7.0f, 12.0f, pal::bone, 1.5f);
}

void draw_stars(Canvas& c) {
    // Four 192 x 64 frames in a column: frame n shows n gold stars of three,
    // the rest as dim empty slots.
    const float cx[3] = {36.0f, 96.0f, 156.0f}, cy[3] = {34.0f, 30.0f, 34.0f},
                r[3] = {25.0f, 29.0f, 25.0f};
    for (int n = 0; n < 4; ++n) {
        Canvas cell;
        canvas_init(cell, 192, 64);
        for (int i = 0; i < 3; ++i) {
            float pts[20];
            star_points(pts, cx[i], cy[i], r[i]);
            Canvas layer;
            canvas_init(layer, 192, 64);
            if (i < n) {
                fill_sdf(
                    layer, box_of_points(pts, 10),
                    [&](float x, float y) { return sd_polygon(x, y, pts, 10) - 1.5f; },
                    [&](float x, float y) {
                        const float t =
                            clamp01((y - (cy[i] - r[i])) / (2 * r[i]) + (x - cx[i]) * 0.008f);
                        return mix(rgb(0xfff4b0), mix(pal::gold, pal::candle, 0.4f), t);
                    });
                float inner[20];
                star_points(inner, cx[i] - 1.5f, cy[i] - 2.0f, r[i] * 0.45f);
                fill_polygon(layer, inner, 10, fade(rgb(0xffffff), 0.45f));
                canvas_outline(layer, 2.0f, rgb(0x3a200a));
                fill_circle(cell, cx[i], cy[i], r[i] * 0.9f, fade(pal::flame, 0.25f), r[i],
                            BlendAdd);
            } else {
                fill_sdf_color(
                    layer, box_of_points(pts, 10),
                    [&](float x, float y) { return sd_polygon(x, y, pts, 10) - 1.5f; },
                    rgb(0x120c20, 0.7f));
                fill_sdf_color(
                    layer, box_of_points(pts, 10),
                    [&](float x, float y) {
                        return std::fabs(sd_polygon(x, y, pts, 10) - 1.0f) - 1.0f;
                    },
                    fade(pal::lavender, 0.7f));
            }
            canvas_draw(cell, layer, 0, 0);
        }
        canvas_draw(c, cell, 0, 64 * n);
    }
}

void draw_end_text(Canvas& c) {
    // Three 192 x 64 captions in a column: row 0 for three stars, row 1 for
    // one, row 2 for two.
    struct Caption {
        const char* text;
        Rgba top, bottom, glow;
    };
    const Caption caps[3] = {{"パーフェクト！", rgb(0xfff6c0), pal::gold, pal::flame},
                             {"クリア", pal::ice_white, pal::lavender, pal::lavender},
                             {"グッド！", rgb(0xffe0b0), pal::candle, pal::candle}};
    for (int i = 0; i < 3; ++i) {
        Canvas cell;
        canvas_init(cell, 192, 64);
        fill_ellipse(cell, 96.0f, 32.0f, 80.0f, 18.0f, fade(caps[i].glow, 0.22f), 16.0f, BlendAdd);
        TextStyle st;
        st.family = "IPAGothic";
        st.size = 28;
        st.top = caps[i].top;
        st.bottom = caps[i].bottom;
        st.outline = 2.5f;
        st.outline_color = rgb(0x1a0c18);
        st.shadow_blur = 2;
        st.shadow_dy = 2;
        text_draw_centred(cell, st, 96.0f, 32.0f, caps[i].text);
        canvas_draw(c, cell, 0, 64 * i);
    }
}

void draw_you_marker(Canvas& c) {
    // A red pennant pointing right at the new entry's line, "YOU" on it.
    const float pts[] = {3.0f,  9.0f,  54.0f, 9.0f,  54.0f, 3.0f,  77.0f, 20.0f,
                         54.0f, 37.0f, 54.0f, 31.0f, 3.0f,  31.0f, 10.0f, 20.0f};
    Canvas layer;
    canvas_init(layer, 80, 40);
    fill_sdf(
        layer, box_of_points(pts, 8), [&](float x, float y) { return sd_polygon(x, y, pts, 8); },
        [](float, float y) {
            return mix(pal::blood_light, pal::blood, clamp01((y - 3.0f) / 34.0f));
        });
    fill_sdf_color(
        layer, box_of_points(pts, 8),
        [&](float x, float y) { return std::fabs(sd_polygon(x, y, pts, 8) + 2.2f) - 0.6f; },
        fade(rgb(0xffc0c8), 0.8f));
    canvas_outline(layer, 1.2f, pal::outline);
    canvas_draw(c, layer, 0, 0);
    TextStyle st;
    st.family = "DejaVu Sans:bold";
    st.size = 16;
    st.top = rgb(0xffffff);
    st.bottom = pal::bone;
    st.outline = 1.5f;
    st.outline_color = pal::blood_dark;
    text_draw_centred(c, st, 34.0f, 20.0f, "YOU");
}
