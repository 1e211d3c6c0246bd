// The art compiler's raster library: a float RGBA canvas, anti-aliased shapes
// from signed distances, soft shadows, outlines, blur, tileable noise, text
// through real fonts and PNG output. Every picture of the game is drawn with it.
//
// Coordinates are pixels, x to the right, y downwards; the centre of pixel
// (x, y) is (x + 0.5, y + 0.5). Colours are straight (not premultiplied) RGBA
// in 0..1; the canvas itself stores premultiplied values.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------- colours

struct Rgba {
    float r, g, b, a;
};

// 0xRRGGBB with an alpha in 0..1.
inline Rgba rgb(uint32_t hex, float a = 1.0f) {
    return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f, a};
}
inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
inline Rgba mix(Rgba a, Rgba b, float t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t), lerp(a.a, b.a, t)};
}
inline Rgba fade(Rgba c, float alpha_scale) { return {c.r, c.g, c.b, c.a * alpha_scale}; }
inline Rgba shade(Rgba c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
inline float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

// ---------------------------------------------------------------- canvas

enum Blend { BlendOver, BlendAdd, BlendErase };

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<float> px;  // premultiplied r, g, b, a per pixel, row by row
};

void canvas_init(Canvas& c, int width, int height);  // fully transparent

// Blends colour p over pixel (x, y) with the given coverage (0..1). Outside the
// canvas nothing happens.
inline void canvas_blend(Canvas& c, int x, int y, Rgba p, float cover, Blend mode = BlendOver) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return;
    const float a = p.a * cover;
    if (a <= 0.0f) return;
    float* d = &c.px[(static_cast<size_t>(y) * c.width + x) * 4];
    if (mode == BlendErase) {
        for (int i = 0; i < 4; ++i) d[i] *= 1.0f - a;
        return;
    }
    const float keep = mode == BlendAdd ? 1.0f : 1.0f - a;
    d[0] = p.r * a + d[0] * keep;
    d[1] = p.g * a + d[1] * keep;
    d[2] = p.b * a + d[2] * keep;
    d[3] = a + d[3] * (1.0f - a);
}
Rgba canvas_at(const Canvas& c, int x, int y);  // straight colour; transparent outside
inline float canvas_alpha(const Canvas& c, int x, int y) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return 0.0f;
    return c.px[(static_cast<size_t>(y) * c.width + x) * 4 + 3];
}

// Draws src over dst with its top-left corner at (x, y), times an opacity.
void canvas_draw(Canvas& dst, const Canvas& src, int x, int y, float opacity = 1.0f,
                 Blend mode = BlendOver);
// Draws src's alpha only, filled with one colour (silhouettes, shadows).
void canvas_draw_tinted(Canvas& dst, const Canvas& src, int x, int y, Rgba tint);
// Gaussian-like blur: three box passes of the given radius in pixels.
void canvas_blur(Canvas& c, int radius);
// Puts a solid rim of the given width (pixels, anti-aliased) under the layer's
// content, around everything it holds.
void canvas_outline(Canvas& layer, float width, Rgba color);
// Draws the layer's blurred silhouette in a colour at an offset, then the layer.
void canvas_draw_shadowed(Canvas& dst, const Canvas& layer, int x, int y, int dx, int dy, int blur,
                          Rgba shadow);
// Draws the w x h rectangle at (sx, sy) of src scaled by `scale` (bilinear),
// its top-left corner at (x, y) of dst.
void canvas_draw_scaled(Canvas& dst, const Canvas& src, int sx, int sy, int w, int h, float x,
                        float y, float scale);
// Multiplies every pixel's alpha (and colour) by k.
void canvas_scale_alpha(Canvas& c, float k);
// Copies the w x h rectangle at (x, y) of src into a new canvas.
Canvas canvas_crop(const Canvas& src, int x, int y, int w, int h);

// Calls paint(x + 0.5, y + 0.5) for every pixel and blends the colour it gives.
template <class Paint>
void canvas_paint(Canvas& c, Paint paint, Blend mode = BlendOver) {
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            canvas_blend(c, x, y, paint(x + 0.5f, y + 0.5f), 1.0f, mode);
}

// ---------------------------------------------------------------- shapes

// A region of the canvas, in pixels: x0 <= x < x1, y0 <= y < y1.
struct Box {
    float x0, y0, x1, y1;
};
inline Box box_around(float cx, float cy, float rx, float ry) {
    return {cx - rx, cy - ry, cx + rx, cy + ry};
}

// Fills the shape whose signed distance (pixels, negative inside) is sdf(x, y),
// inside the box, with the colour paint(x, y). The edge is anti-aliased over
// `soft` pixels (1 for a crisp edge, more for a glow).
template <class Sdf, class Paint>
void fill_sdf(Canvas& c, Box b, Sdf sdf, Paint paint, float soft = 1.0f, Blend mode = BlendOver) {
    const int x0 = std::max(0, static_cast<int>(std::floor(b.x0 - soft)));
    const int y0 = std::max(0, static_cast<int>(std::floor(b.y0 - soft)));
    const int x1 = std::min(c.width, static_cast<int>(std::ceil(b.x1 + soft)));
    const int y1 = std::min(c.height, static_cast<int>(std::ceil(b.y1 + soft)));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float cover = clamp01(0.5f - sdf(px, py) / soft);
            if (cover > 0.0f) canvas_blend(c, x, y, paint(px, py), cover, mode);
        }
}
template <class Sdf>
void fill_sdf_color(Canvas& c, Box b, Sdf sdf, Rgba color, float soft = 1.0f,
                    Blend mode = BlendOver) {
    fill_sdf(
        c, b, sdf, [color](float, float) { return color; }, soft, mode);
}

// Signed distances (pixels, negative inside).
inline float sd_circle(float x, float y, float cx, float cy, float r) {
    return std::hypot(x - cx, y - cy) - r;
}
float sd_ellipse(float x, float y, float cx, float cy, float rx, float ry);
// Rectangle of half sizes hw, hh about (cx, cy) with corners rounded by `round`.
float sd_box(float x, float y, float cx, float cy, float hw, float hh, float round = 0.0f);
// A stroke from a to b whose radius goes from ra to rb (a capsule when equal).
float sd_stroke(float x, float y, float ax, float ay, float bx, float by, float ra, float rb);
// A closed polygon of n points (x0, y0, x1, y1, ...).
float sd_polygon(float x, float y, const float* pts, int n);
inline Box box_of_points(const float* pts, int n) {
    Box b{pts[0], pts[1], pts[0], pts[1]};
    for (int i = 1; i < n; ++i) {
        b.x0 = std::min(b.x0, pts[2 * i]);
        b.x1 = std::max(b.x1, pts[2 * i]);
        b.y0 = std::min(b.y0, pts[2 * i + 1]);
        b.y1 = std::max(b.y1, pts[2 * i + 1]);
    }
    return b;
}

// Ready-made fills of the common shapes.
void fill_circle(Canvas& c, float cx, float cy, float r, Rgba color, float soft = 1.0f,
                 Blend mode = BlendOver);
void fill_ellipse(Canvas& c, float cx, float cy, float rx, float ry, Rgba color, float soft = 1.0f,
                  Blend mode = BlendOver);
void fill_rect(Canvas& c, float x, float y, float w, float h, Rgba color, float round = 0.0f);
void fill_stroke(Canvas& c, float ax, float ay, float bx, float by, float ra, float rb, Rgba color,
                 float soft = 1.0f);
void fill_polygon(Canvas& c, const float* pts, int n, Rgba color, float soft = 1.0f);
// A vertical gradient from top colour at y0 to bottom colour at y1 over the whole width.
void fill_vertical_gradient(Canvas& c, float y0, float y1, Rgba top, Rgba bottom);

// ---------------------------------------------------------------- transform

// Places a figure drawn in its own coordinates: local (u, v) lands at
// origin + scale * rotate(angle) * (mirror ? -u : u, v). Figures are drawn in
// units of one pixel at scale 1.
struct Xf {
    float ox = 0.0f, oy = 0.0f;
    float scale = 1.0f;
    float angle = 0.0f;  // degrees, clockwise on screen
    int mirror = 0;
};

template <class Sdf, class Paint>
void fill_xf(Canvas& c, const Xf& t, Box local, Sdf sdf, Paint paint, float soft = 1.0f,
             Blend mode = BlendOver) {
    const float rad = t.angle * 3.14159265f / 180.0f;
    const float cs = std::cos(rad), sn = std::sin(rad);
    const float m = t.mirror ? -1.0f : 1.0f;
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    const float cu[4] = {local.x0, local.x1, local.x0, local.x1};
    const float cv[4] = {local.y0, local.y0, local.y1, local.y1};
    for (int i = 0; i < 4; ++i) {
        const float u = cu[i] * m, v = cv[i];
        const float X = t.ox + t.scale * (cs * u - sn * v), Y = t.oy + t.scale * (sn * u + cs * v);
        b.x0 = std::min(b.x0, X);
        b.x1 = std::max(b.x1, X);
        b.y0 = std::min(b.y0, Y);
        b.y1 = std::max(b.y1, Y);
    }
    auto to_local = [=](float X, float Y, float& u, float& v) {
        const float dx = (X - t.ox) / t.scale, dy = (Y - t.oy) / t.scale;
        u = (cs * dx + sn * dy) * m;
        v = -sn * dx + cs * dy;
    };
    fill_sdf(
        c, b,
        [&](float X, float Y) {
            float u, v;
            to_local(X, Y, u, v);
            return sdf(u, v) * t.scale;
        },
        [&](float X, float Y) {
            float u, v;
            to_local(X, Y, u, v);
            return paint(u, v);
        },
        soft, mode);
}
template <class Sdf>
void fill_xf_color(Canvas& c, const Xf& t, Box local, Sdf sdf, Rgba color, float soft = 1.0f,
                   Blend mode = BlendOver) {
    fill_xf(
        c, t, local, sdf, [color](float, float) { return color; }, soft, mode);
}

// ---------------------------------------------------------------- noise

// Smooth value noise in 0..1 on a unit lattice; with a period > 0 the lattice
// wraps every `period` units so the noise tiles.
float noise_value(float x, float y, uint32_t seed, int period = 0);
// Sum of octaves of value noise, 0..1; each octave doubles the frequency (and
// the period, so tiling noise stays tiling).
float noise_fbm(float x, float y, int octaves, uint32_t seed, int period = 0);

// A small deterministic random stream (xorshift).
struct Rng {
    uint32_t state;
};
float rng_float(Rng& r);  // 0..1
inline float rng_range(Rng& r, float lo, float hi) { return lo + (hi - lo) * rng_float(r); }

// ---------------------------------------------------------------- text

// A run of text rendered as coverage: w x h values in 0..1; the baseline lies
// `ascent` pixels below the top.
struct TextMask {
    int width = 0;
    int height = 0;
    int ascent = 0;
    std::vector<float> cover;
};

// Renders UTF-8 text in the font family (a fontconfig name such as
// "IPAMincho" or "DejaVu Serif:bold") at a pixel size. 1 on success; 0 when
// the family is not installed or the text cannot be rendered.
int text_render(TextMask& out, const char* family, int pixel_size, const char* utf8);
// The text as a layer: the mask filled with paint(x, y) (layer pixels).
template <class Paint>
Canvas text_layer(const TextMask& m, int margin, Paint paint) {
    Canvas layer;
    canvas_init(layer, m.width + 2 * margin, m.height + 2 * margin);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            const float a = m.cover[static_cast<size_t>(y) * m.width + x];
            if (a > 0.0f)
                canvas_blend(layer, x + margin, y + margin,
                             paint(x + margin + 0.5f, y + margin + 0.5f), a);
        }
    return layer;
}

// One line of styled text: fill colour (a vertical gradient from top to
// bottom), an outline and a soft shadow, centred on cx (or left-aligned at x
// when centre is 0) with its top at y.
struct TextStyle {
    const char* family = "IPAGothic";
    int size = 16;
    Rgba top{1, 1, 1, 1};
    Rgba bottom{1, 1, 1, 1};
    float outline = 0.0f;  // pixels; 0 for none
    Rgba outline_color{0, 0, 0, 1};
    int shadow_blur = 0;  // pixels; 0 for no shadow
    int shadow_dx = 0, shadow_dy = 0;
    Rgba shadow_color{0, 0, 0, 0.6f};
    int centre = 1;
};
// Draws the text; the result is 1 or 0 as text_render's. On success the
// drawn text's width in pixels (without outline) goes to *width if given.
int text_draw(Canvas& dst, const TextStyle& style, float x, float y, const char* utf8,
              int* width = nullptr);
// Draws the text so that the middle of its inked pixels lands on (cx, cy),
// whatever the font's side bearings and line height (digits, captions).
int text_draw_centred(Canvas& dst, const TextStyle& style, float cx, float cy, const char* utf8);

// ---------------------------------------------------------------- files

// Writes the canvas as an 8-bit RGBA PNG. 1 on success.
int canvas_save_png(const Canvas& c, const std::string& path);

// ---------------------------------------------------------------- pictures

// One picture of the game: its file under res/, its image size and the code
// that draws it into a canvas of that size.
struct ArtPicture {
    const char* file;
    int width;
    int height;
    void (*draw)(Canvas& c);
};
// The table of every picture, defined with the drawing code under assets/art/.
extern const ArtPicture art_pictures[];
extern const int art_picture_count;
