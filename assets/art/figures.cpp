// The figures drawn in more than one picture: the hooded character walking
// and lying dead, candle flames, stars and the coffin.
#include "assets/art/art_common.h"

namespace {

// One walk pose in the character's own pixels (feet on v = 0, body on u = 0).
struct Pose {
    float front_x, front_lift;  // the near leg's foot: x offset and height above ground
    float back_x, back_lift;    // the far leg's foot
    float bob;                  // body offset, negative up
    float swing;                // arm swing, -1..1 (near arm forward when positive)
};
// Frames 0..3 of the walk: near foot forward, passing, far foot forward, and
// the standing pose, which also passes between the strides.
const Pose walk_poses[4] = {
    {5.0f, 0.0f, -4.0f, 0.4f, 0.0f, -1.0f},
    {1.0f, 2.5f, -1.0f, 0.0f, -1.0f, 0.0f},
    {-4.0f, 0.4f, 5.0f, 0.0f, 0.0f, 1.0f},
    {2.4f, 0.0f, -2.4f, 0.0f, 0.0f, 0.0f},
};

struct Painter {
    Canvas& c;
    Xf t;
    template <class Sdf>
    void solid(Box b, Sdf sdf, Rgba col) {
        fill_xf_color(c, t, b, sdf, col);
    }
    template <class Sdf, class Paint>
    void paint(Box b, Sdf sdf, Paint p) {
        fill_xf(c, t, b, sdf, p);
    }
    void circle(float x, float y, float r, Rgba col) {
        solid(
            box_around(x, y, r, r), [=](float u, float v) { return sd_circle(u, v, x, y, r); },
            col);
    }
    void ellipse(float x, float y, float rx, float ry, Rgba col) {
        solid(
            box_around(x, y, rx, ry),
            [=](float u, float v) { return sd_ellipse(u, v, x, y, rx, ry); }, col);
    }
    void stroke(float ax, float ay, float bx, float by, float ra, float rb, Rgba col) {
        const float r = std::max(ra, rb);
        solid(
            {std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r,
             std::max(ay, by) + r},
            [=](float u, float v) { return sd_stroke(u, v, ax, ay, bx, by, ra, rb); }, col);
    }
    void polygon(const float* pts, int n, Rgba col, float round = 0.0f) {
        Box b = box_of_points(pts, n);
        b = {b.x0 - round, b.y0 - round, b.x1 + round, b.y1 + round};
        solid(
            b, [=](float u, float v) { return sd_polygon(u, v, pts, n) - round; }, col);
    }
};

void character_body(Painter& p, const Pose& q) {
    const float b = q.bob;
    // Far arm and far leg first, a shade darker.
    p.stroke(-5.0f, -15.0f + b, -6.5f - 2.5f * q.swing, -10.0f + b, 1.9f, 1.7f,
             shade(pal::cloak_light, 0.75f));
    p.circle(-6.5f - 2.5f * q.swing, -9.6f + b, 1.7f, pal::skin_shade);
    p.stroke(-2.0f, -8.0f + b, q.back_x, -2.2f - q.back_lift, 2.0f, 1.8f,
             shade(pal::stocking, 0.72f));
    p.ellipse(q.back_x + 0.8f, -2.0f - q.back_lift, 3.2f, 2.0f, shade(pal::boot, 0.8f));
    p.ellipse(q.back_x + 1.4f, -2.8f - q.back_lift, 1.4f, 0.7f, shade(pal::hood, 0.7f));
    // Hood behind the head, with its tip drooping back.
    p.stroke(-5.5f, -35.5f + b, -12.5f, -40.5f + b, 5.0f, 1.5f, pal::hood_dark);
    p.stroke(-12.5f, -40.5f + b, -15.5f, -37.0f + b, 1.5f, 1.0f, pal::hood_dark);
    p.circle(-15.5f, -36.6f + b, 1.6f, pal::bone);  // the tassel
    p.paint(
        box_around(-0.3f, -27.5f + b, 12.0f, 12.0f),
        [=](float u, float v) { return sd_circle(u, v, -0.3f, -27.5f + b, 11.8f); },
        [=](float u, float v) {
            const float light = clamp01(0.55f + 0.05f * (u + 2.0f) - 0.045f * (v + 27.5f - b));
            return mix(pal::hood_dark, pal::hood_light, light);
        });
    // Cloak: a bell from the shoulders to the hem.
    const float cloak_pts[] = {-5.0f, -18.0f + b, 5.5f,  -18.0f + b,
                               9.0f,  -7.5f + b,  -8.5f, -7.5f + b};
    p.paint(
        box_of_points(cloak_pts, 4),
        [=](float u, float v) { return sd_polygon(u, v, cloak_pts, 4) - 1.0f; },
        [=](float u, float v) {
            return mix(pal::cloak_light, pal::cloak, clamp01((v + 18.0f - b) / 11.0f + 0.04f * -u));
        });
    p.stroke(-7.5f, -7.6f + b, 8.0f, -7.6f + b, 1.1f, 1.1f, pal::hood);  // hem band
    // Near leg.
    p.stroke(2.0f, -8.0f + b, q.front_x, -2.2f - q.front_lift, 2.0f, 1.8f, pal::stocking);
    p.ellipse(q.front_x + 0.8f, -2.0f - q.front_lift, 3.2f, 2.0f, pal::boot);
    p.ellipse(q.front_x + 1.4f, -2.8f - q.front_lift, 1.4f, 0.7f, pal::hood);  // the boot's shine
    // Collar and the red bow.
    p.ellipse(0.5f, -17.5f + b, 6.0f, 2.4f, pal::bone);
    const float bow_l[] = {1.0f, -16.5f + b, -2.2f, -18.6f + b, -2.2f, -14.6f + b};
    const float bow_r[] = {1.0f, -16.5f + b, 4.2f, -18.6f + b, 4.2f, -14.6f + b};
    p.polygon(bow_l, 3, pal::blood, 0.4f);
    p.polygon(bow_r, 3, pal::blood, 0.4f);
    p.circle(1.0f, -16.5f + b, 1.2f, pal::blood_light);
    // Head: the hood's dark inside, the face, bangs, eyes, blush and mouth.
    p.ellipse(2.1f, -25.8f + b, 8.8f, 8.4f, pal::hood_inside);
    p.paint(
        box_around(2.3f, -25.3f + b, 7.8f, 7.4f),
        [=](float u, float v) { return sd_ellipse(u, v, 2.3f, -25.3f + b, 7.6f, 7.2f); },
        [=](float u, float v) {
            return mix(pal::skin, pal::skin_shade, clamp01((v + 25.3f - b) / 9.0f + 0.03f * -u));
        });
    const float bangs[] = {-5.6f,      -31.0f + b, 9.6f,       -31.0f + b, 9.6f,
                           -27.6f + b, 7.4f,       -29.0f + b, 5.2f,       -27.0f + b,
                           3.0f,       -28.9f + b, 0.6f,       -27.3f + b, -1.8f,
                           -29.2f + b, -4.4f,      -27.6f + b, -5.6f,      -28.4f + b};
    p.polygon(bangs, 10, pal::hood_inside, 0.3f);
    for (float ex : {0.9f, 5.8f}) {
        p.ellipse(ex, -24.4f + b, 1.5f, 2.3f, pal::eye);
        p.circle(ex + 0.5f, -25.3f + b, 0.75f, pal::ice_white);
    }
    p.ellipse(-1.6f, -21.6f + b, 1.7f, 1.0f, pal::blush);
    p.ellipse(8.0f, -21.6f + b, 1.5f, 1.0f, pal::blush);
    p.stroke(3.0f, -21.0f + b, 4.4f, -21.0f + b, 0.55f, 0.55f, rgb(0xa04060));
    // Hood rim over the face's edge.
    p.paint(
        box_around(2.1f, -25.8f + b, 10.0f, 10.0f),
        [=](float u, float v) {
            const float ring = sd_ellipse(u, v, 2.1f, -25.8f + b, 9.2f, 8.8f);
            return std::max(ring, -ring - 1.4f) + std::max(0.0f, (v - (-21.0f + b)) * 2.0f);
        },
        [](float, float) { return pal::hood_light; });
    // Near arm.
    p.stroke(5.0f, -15.0f + b, 6.8f + 2.5f * q.swing, -10.0f + b, 1.9f, 1.7f, pal::cloak_light);
    p.circle(6.8f + 2.5f * q.swing, -9.6f + b, 1.8f, pal::skin);
}

}  // namespace

void draw_character(Canvas& c, float x, float y, float scale, int frame, int mirror, float angle) {
    // The figure is drawn on a layer of its own so that one outline runs round all of it.
    const int half = static_cast<int>(std::ceil(52.0f * scale));
    Canvas layer;
    canvas_init(layer, 2 * half, 2 * half);
    const int left = static_cast<int>(std::floor(x)) - half,
              top = static_cast<int>(std::floor(y)) - half;
    Painter p{layer, Xf{x - left, y - top, scale, angle, mirror}};
    character_body(p, walk_poses[((frame % 4) + 4) % 4]);
    canvas_outline(layer, 0.8f * scale, fade(pal::outline, 0.85f));
    canvas_draw(c, layer, left, top);
}

void draw_corpse(Canvas& c, float x, float y, float scale, float char_amount) {
    const int w = static_cast<int>(std::ceil(46.0f * scale)),
              h = static_cast<int>(std::ceil(24.0f * scale));
    const int pad = static_cast<int>(std::ceil(2.0f * scale));
    Canvas layer;
    canvas_init(layer, w + 2 * pad, h + 2 * pad);
    const int left = static_cast<int>(std::floor(x)) - pad,
              top = static_cast<int>(std::floor(y)) - pad;
    Painter p{layer, Xf{x - left, y - top, scale, 0.0f, 0}};
    // Legs and boots at the left end, one over the other.
    p.stroke(12.0f, 15.5f, 4.0f, 14.6f, 2.0f, 1.8f, shade(pal::stocking, 0.72f));
    p.ellipse(3.0f, 13.6f, 2.2f, 3.0f, shade(pal::boot, 0.8f));
    p.stroke(12.0f, 17.0f, 5.0f, 17.0f, 2.0f, 1.8f, pal::stocking);
    p.ellipse(4.2f, 16.2f, 2.2f, 2.8f, pal::boot);
    // Cloak lying along the ground, hem to the left.
    const float cloak_pts[] = {10.5f, 10.5f, 24.5f, 12.0f, 24.5f, 18.0f, 10.5f, 18.0f};
    p.paint(
        box_of_points(cloak_pts, 4),
        [=](float u, float v) { return sd_polygon(u, v, cloak_pts, 4) - 1.0f; },
        [](float, float v) {
            return mix(pal::cloak_light, pal::cloak, clamp01((v - 10.0f) / 8.0f));
        });
    p.stroke(10.0f, 10.5f, 10.0f, 18.0f, 1.1f, 1.1f, pal::hood);
    // The arm flung over the chest.
    p.stroke(21.0f, 12.0f, 14.5f, 10.2f, 1.8f, 1.6f, pal::cloak_light);
    p.circle(14.0f, 10.0f, 1.7f, pal::skin);
    p.ellipse(24.0f, 15.0f, 2.2f, 4.2f, pal::bone);  // collar
    // Hood and head at the right end, face up, its tip spilling on the ground.
    p.stroke(37.5f, 16.0f, 41.0f, 17.6f, 3.0f, 1.2f, pal::hood_dark);
    p.paint(
        box_around(31.5f, 10.2f, 9.3f, 9.3f),
        [](float u, float v) { return sd_circle(u, v, 31.5f, 10.2f, 8.8f); },
        [](float u, float v) {
            return mix(pal::hood_dark, pal::hood_light,
                       clamp01(0.6f + 0.04f * (u - 31.0f) - 0.05f * (v - 10.0f)));
        });
    p.ellipse(31.3f, 10.6f, 6.8f, 6.5f, pal::hood_inside);
    p.ellipse(31.3f, 10.9f, 5.9f, 5.6f, pal::skin);
    p.ellipse(31.3f, 5.8f, 5.6f, 1.4f, pal::hood_inside);  // bangs
    // Eyes as crosses and a little round mouth.
    for (float ex : {28.9f, 33.8f}) {
        p.stroke(ex - 1.3f, 8.9f, ex + 1.3f, 11.5f, 0.55f, 0.55f, pal::eye);
        p.stroke(ex - 1.3f, 11.5f, ex + 1.3f, 8.9f, 0.55f, 0.55f, pal::eye);
    }
    p.ellipse(31.4f, 14.1f, 1.0f, 0.8f, rgb(0x8a3050));
    p.ellipse(27.0f, 13.6f, 1.3f, 0.7f, pal::blush);
    p.ellipse(35.8f, 13.6f, 1.3f, 0.7f, pal::blush);
    // Bow at the neck.
    p.circle(25.5f, 14.6f, 1.4f, pal::blood);
    if (char_amount > 0.0f) {
        // Burning: the colours sink towards soot and ember.
        for (size_t i = 0; i < layer.px.size(); i += 4) {
            const float a = layer.px[i + 3];
            if (a <= 0.0f) continue;
            const Rgba soot = rgb(0x1a0f14);
            for (int ch = 0; ch < 3; ++ch) {
                const float s = ch == 0 ? soot.r : (ch == 1 ? soot.g : soot.b);
                layer.px[i + ch] = lerp(layer.px[i + ch], s * a, char_amount);
            }
        }
    }
    canvas_outline(layer, 0.8f * scale, fade(pal::outline, 0.85f));
    canvas_draw(c, layer, left, top);
}

void draw_flame(Canvas& c, float x, float y, float h, float phase, float alpha, int halo) {
    const float sway = std::sin(phase * 6.2831853f) * h * 0.08f;
    const float w = h * 0.32f;
    // Outer orange tongue, then the yellow heart, then a white core: a teardrop
    // whose tip sways.
    auto tongue = [&](float scale_w, float scale_h, Rgba col, float soft) {
        const float tip_x = x + sway * 1.6f, tip_y = y - h * scale_h;
        const float cx = x + sway * 0.4f, cy = y - w * scale_w;
        fill_sdf_color(
            c, {std::min(cx, tip_x) - w * scale_w, tip_y, std::max(cx, tip_x) + w * scale_w, y},
            [=](float px, float py) {
                return std::min(sd_circle(px, py, cx, cy, w * scale_w),
                                sd_stroke(px, py, cx, cy, tip_x, tip_y, w * scale_w, 0.2f));
            },
            fade(col, alpha), soft);
    };
    if (halo)
        fill_circle(c, x, y - h * 0.45f, h * 0.75f, fade(pal::candle, 0.16f * alpha), h * 0.9f,
                    BlendAdd);
    tongue(1.0f, 1.0f, pal::ember, 1.0f);
    tongue(0.78f, 0.82f, pal::candle, 1.0f);
    tongue(0.52f, 0.58f, pal::flame, 1.0f);
    tongue(0.26f, 0.3f, rgb(0xfff6d8), 1.0f);
}

void star_points(float* pts, float cx, float cy, float r, float inner) {
    for (int i = 0; i < 10; ++i) {
        const float a = (-90.0f + 36.0f * i) * 3.14159265f / 180.0f;
        const float rr = (i % 2) ? r * inner : r;
        pts[2 * i] = cx + rr * std::cos(a);
        pts[2 * i + 1] = cy + rr * std::sin(a);
    }
}

void draw_coffin(Canvas& c, float x, float y, float w, float h, float glow) {
    // An upright six-sided coffin: widest at the shoulders, a third of the way down.
    const float cx = x + w * 0.5f;
    const float pts[] = {x + w * 0.26f, y,     x + w * 0.74f, y,     x + w, y + h * 0.3f,
                         x + w * 0.78f, y + h, x + w * 0.22f, y + h, x,     y + h * 0.3f};
    if (glow > 0.0f)
        fill_sdf_color(
            c, box_of_points(pts, 6),
            [&](float px, float py) { return sd_polygon(px, py, pts, 6); },
            fade(pal::gold, 0.5f * glow), w * 0.35f, BlendAdd);
    fill_sdf(
        c, box_of_points(pts, 6), [&](float px, float py) { return sd_polygon(px, py, pts, 6); },
        [&](float px, float py) {
            // Dark wood lit from the upper right, with a grain of fine noise.
            const float grain = noise_fbm(px * 0.9f, py * 0.12f, 3, 77u);
            const float light = clamp01(0.35f + (px - cx) / w * 0.5f - (py - y) / h * 0.25f);
            return shade(mix(rgb(0x3a1f2c), rgb(0x7a4650), light), 0.85f + 0.3f * grain);
        });
    // The lid's bevel: an inset outline of the same shape.
    const float inset = std::max(1.5f, w * 0.09f);
    fill_sdf_color(
        c, box_of_points(pts, 6),
        [&](float px, float py) {
            const float d = sd_polygon(px, py, pts, 6) + inset;
            return std::fabs(d) - std::max(0.6f, w * 0.022f);
        },
        pal::gold_dark);
    fill_sdf_color(
        c, box_of_points(pts, 6),
        [&](float px, float py) { return std::fabs(sd_polygon(px, py, pts, 6) + 0.5f) - 0.6f; },
        pal::outline);
    // A golden cross on the lid.
    const float arm = w * 0.07f;
    const Rgba cross = mix(pal::gold, pal::flame, 0.3f * glow);
    fill_rect(c, cx - arm, y + h * 0.16f, 2 * arm, h * 0.5f, cross, arm * 0.4f);
    fill_rect(c, cx - w * 0.22f, y + h * 0.28f, w * 0.44f, 2 * arm, cross, arm * 0.4f);
    fill_rect(c, cx - arm * 0.4f, y + h * 0.17f, arm * 0.6f, h * 0.48f, fade(rgb(0xfff2c0), 0.6f));
}
