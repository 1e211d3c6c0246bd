// Canvas operations, shape distances and noise of the art compiler.
#include "tools/art/art.h"

void canvas_init(Canvas& c, int width, int height) {
    c.width = width;
    c.height = height;
    c.px.assign(static_cast<size_t>(width) * height * 4, 0.0f);
}

Rgba canvas_at(const Canvas& c, int x, int y) {
    if (x < 0 || y < 0 || x >= c.width || y >= c.height) return {0, 0, 0, 0};
    const float* p = &c.px[(static_cast<size_t>(y) * c.width + x) * 4];
    if (p[3] <= 0.0f) return {0, 0, 0, 0};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void canvas_draw(Canvas& dst, const Canvas& src, int x, int y, float opacity, Blend mode) {
    for (int sy = 0; sy < src.height; ++sy) {
        const int dy = y + sy;
        if (dy < 0 || dy >= dst.height) continue;
        for (int sx = 0; sx < src.width; ++sx) {
            const int dx = x + sx;
            if (dx < 0 || dx >= dst.width) continue;
            const float* s = &src.px[(static_cast<size_t>(sy) * src.width + sx) * 4];
            const float a = s[3] * opacity;
            if (a <= 0.0f) continue;
            float* d = &dst.px[(static_cast<size_t>(dy) * dst.width + dx) * 4];
            if (mode == BlendErase) {
                for (int i = 0; i < 4; ++i) d[i] *= 1.0f - a;
                continue;
            }
            const float keep = mode == BlendAdd ? 1.0f : 1.0f - a;
            for (int i = 0; i < 3; ++i) d[i] = s[i] * opacity + d[i] * keep;
            d[3] = a + d[3] * (1.0f - a);
        }
    }
}

void canvas_draw_tinted(Canvas& dst, const Canvas& src, int x, int y, Rgba tint) {
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) {
            const float a = src.px[(static_cast<size_t>(sy) * src.width + sx) * 4 + 3];
            if (a > 0.0f) canvas_blend(dst, x + sx, y + sy, tint, a);
        }
}

// One box pass along rows (or columns) with edges treated as transparent.
static void box_pass(Canvas& c, int radius, int horizontal) {
    const int n = horizontal ? c.width : c.height;
    const int lines = horizontal ? c.height : c.width;
    std::vector<float> line(static_cast<size_t>(n) * 4), out(static_cast<size_t>(n) * 4);
    const float k = 1.0f / (2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < n; ++i) {
            const size_t at = horizontal ? (static_cast<size_t>(l) * c.width + i)
                                         : (static_cast<size_t>(i) * c.width + l);
            for (int ch = 0; ch < 4; ++ch) line[i * 4 + ch] = c.px[at * 4 + ch];
        }
        float sum[4] = {0, 0, 0, 0};
        for (int i = -radius; i <= radius; ++i)
            if (i >= 0 && i < n)
                for (int ch = 0; ch < 4; ++ch) sum[ch] += line[i * 4 + ch];
        for (int i = 0; i < n; ++i) {
            for (int ch = 0; ch < 4; ++ch) out[i * 4 + ch] = sum[ch] * k;
            const int add = i + radius + 1, drop = i - radius;
            for (int ch = 0; ch < 4; ++ch) {
                if (add < n) sum[ch] += line[add * 4 + ch];
                if (drop >= 0) sum[ch] -= line[drop * 4 + ch];
            }
        }
        for (int i = 0; i < n; ++i) {
            const size_t at = horizontal ? (static_cast<size_t>(l) * c.width + i)
                                         : (static_cast<size_t>(i) * c.width + l);
            for (int ch = 0; ch < 4; ++ch) c.px[at * 4 + ch] = std::max(0.0f, out[i * 4 + ch]);
        }
    }
}

void canvas_blur(Canvas& c, int radius) {
    if (radius <= 0) return;
    for (int pass = 0; pass < 3; ++pass) {
        box_pass(c, radius, 1);
        box_pass(c, radius, 0);
    }
}

void canvas_outline(Canvas& layer, float width, Rgba color) {
    const int r = static_cast<int>(std::ceil(width));
    std::vector<float> grown(static_cast<size_t>(layer.width) * layer.height, 0.0f);
    for (int y = 0; y < layer.height; ++y)
        for (int x = 0; x < layer.width; ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r && best < 1.0f; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const float w = clamp01(width + 0.5f - std::hypot(float(dx), float(dy)));
                    if (w <= 0.0f) continue;
                    best = std::max(best, canvas_alpha(layer, x + dx, y + dy) * w);
                }
            grown[static_cast<size_t>(y) * layer.width + x] = best;
        }
    // The rim goes under the content: content over rim, pixel by pixel.
    for (size_t i = 0; i < grown.size(); ++i) {
        float* p = &layer.px[i * 4];
        const float ra = color.a * grown[i], keep = 1.0f - p[3];
        p[0] += color.r * ra * keep;
        p[1] += color.g * ra * keep;
        p[2] += color.b * ra * keep;
        p[3] += ra * keep;
    }
}

void canvas_draw_shadowed(Canvas& dst, const Canvas& layer, int x, int y, int dx, int dy, int blur,
                          Rgba shadow) {
    Canvas s;
    canvas_init(s, layer.width + 4 * blur, layer.height + 4 * blur);
    canvas_draw_tinted(s, layer, 2 * blur, 2 * blur, {1, 1, 1, 1});
    canvas_blur(s, blur);
    canvas_draw_tinted(dst, s, x + dx - 2 * blur, y + dy - 2 * blur, shadow);
    canvas_draw(dst, layer, x, y);
}

void canvas_draw_scaled(Canvas& dst, const Canvas& src, int sx, int sy, int w, int h, float x,
                        float y, float scale) {
    const int x0 = std::max(0, static_cast<int>(std::floor(x)));
    const int y0 = std::max(0, static_cast<int>(std::floor(y)));
    const int x1 = std::min(dst.width, static_cast<int>(std::ceil(x + w * scale)));
    const int y1 = std::min(dst.height, static_cast<int>(std::ceil(y + h * scale)));
    // Samples are clamped to the rectangle, so nothing of a neighbouring frame
    // bleeds in and scaled tiles still meet without a seam.
    auto texel = [&](int tx, int ty, int ch) {
        tx = std::min(std::max(tx, 0), w - 1);
        ty = std::min(std::max(ty, 0), h - 1);
        return src.px[(static_cast<size_t>(sy + ty) * src.width + sx + tx) * 4 + ch];
    };
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) {
            const float u = (px + 0.5f - x) / scale - 0.5f, v = (py + 0.5f - y) / scale - 0.5f;
            const int iu = static_cast<int>(std::floor(u)), iv = static_cast<int>(std::floor(v));
            const float fu = u - iu, fv = v - iv;
            float s[4];
            for (int ch = 0; ch < 4; ++ch)
                s[ch] = lerp(lerp(texel(iu, iv, ch), texel(iu + 1, iv, ch), fu),
                             lerp(texel(iu, iv + 1, ch), texel(iu + 1, iv + 1, ch), fu), fv);
            if (s[3] <= 0.0f) continue;
            float* d = &dst.px[(static_cast<size_t>(py) * dst.width + px) * 4];
            for (int ch = 0; ch < 3; ++ch) d[ch] = s[ch] + d[ch] * (1.0f - s[3]);
            d[3] = s[3] + d[3] * (1.0f - s[3]);
        }
}

void canvas_scale_alpha(Canvas& c, float k) {
    for (float& v : c.px) v *= k;
}

Canvas canvas_crop(const Canvas& src, int x, int y, int w, int h) {
    Canvas out;
    canvas_init(out, w, h);
    canvas_draw(out, src, -x, -y);
    return out;
}

// ---------------------------------------------------------------- shapes

float sd_ellipse(float x, float y, float cx, float cy, float rx, float ry) {
    // The usual first-order estimate: exact on the axes, close elsewhere.
    const float px = (x - cx) / rx, py = (y - cy) / ry;
    const float k0 = std::hypot(px, py);
    const float k1 = std::hypot(px / rx, py / ry);
    if (k1 <= 1e-6f) return -std::min(rx, ry);
    return k0 * (k0 - 1.0f) / k1;
}

float sd_box(float x, float y, float cx, float cy, float hw, float hh, float round) {
    const float qx = std::fabs(x - cx) - hw + round, qy = std::fabs(y - cy) - hh + round;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - round;
}

float sd_stroke(float x, float y, float ax, float ay, float bx, float by, float ra, float rb) {
    const float pax = x - ax, pay = y - ay, bax = bx - ax, bay = by - ay;
    const float len2 = bax * bax + bay * bay;
    const float h = len2 > 0.0f ? clamp01((pax * bax + pay * bay) / len2) : 0.0f;
    return std::hypot(pax - bax * h, pay - bay * h) - lerp(ra, rb, h);
}

float sd_polygon(float x, float y, const float* pts, int n) {
    float d = 1e30f;
    int inside = 0;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const float xi = pts[2 * i], yi = pts[2 * i + 1], xj = pts[2 * j], yj = pts[2 * j + 1];
        const float ex = xj - xi, ey = yj - yi, wx = x - xi, wy = y - yi;
        const float len2 = ex * ex + ey * ey;
        const float h = len2 > 0.0f ? clamp01((wx * ex + wy * ey) / len2) : 0.0f;
        d = std::min(d, std::hypot(wx - ex * h, wy - ey * h));
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside ? -d : d;
}

void fill_circle(Canvas& c, float cx, float cy, float r, Rgba color, float soft, Blend mode) {
    fill_sdf_color(
        c, box_around(cx, cy, r, r), [=](float x, float y) { return sd_circle(x, y, cx, cy, r); },
        color, soft, mode);
}

void fill_ellipse(Canvas& c, float cx, float cy, float rx, float ry, Rgba color, float soft,
                  Blend mode) {
    fill_sdf_color(
        c, box_around(cx, cy, rx, ry),
        [=](float x, float y) { return sd_ellipse(x, y, cx, cy, rx, ry); }, color, soft, mode);
}

void fill_rect(Canvas& c, float x, float y, float w, float h, Rgba color, float round) {
    const float cx = x + w * 0.5f, cy = y + h * 0.5f;
    fill_sdf_color(
        c, {x, y, x + w, y + h},
        [=](float px, float py) { return sd_box(px, py, cx, cy, w * 0.5f, h * 0.5f, round); },
        color);
}

void fill_stroke(Canvas& c, float ax, float ay, float bx, float by, float ra, float rb, Rgba color,
                 float soft) {
    const float r = std::max(ra, rb);
    const Box b{std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r,
                std::max(ay, by) + r};
    fill_sdf_color(
        c, b, [=](float x, float y) { return sd_stroke(x, y, ax, ay, bx, by, ra, rb); }, color,
        soft);
}

void fill_polygon(Canvas& c, const float* pts, int n, Rgba color, float soft) {
    fill_sdf_color(
        c, box_of_points(pts, n), [=](float x, float y) { return sd_polygon(x, y, pts, n); }, color,
        soft);
}

void fill_vertical_gradient(Canvas& c, float y0, float y1, Rgba top, Rgba bottom) {
    for (int y = 0; y < c.height; ++y) {
        const Rgba col = mix(top, bottom, clamp01((y + 0.5f - y0) / (y1 - y0)));
        for (int x = 0; x < c.width; ++x) canvas_blend(c, x, y, col, 1.0f);
    }
}

// ---------------------------------------------------------------- noise

static uint32_t hash2(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

static float lattice(int x, int y, uint32_t seed, int period) {
    if (period > 0) {
        x = ((x % period) + period) % period;
        y = ((y % period) + period) % period;
    }
    return (hash2(x, y, seed) & 0xFFFFFF) / 16777215.0f;
}

float noise_value(float x, float y, uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3.0f - 2.0f * tx), sy = ty * ty * (3.0f - 2.0f * ty);
    const float a = lattice(ix, iy, seed, period), b = lattice(ix + 1, iy, seed, period);
    const float c = lattice(ix, iy + 1, seed, period), d = lattice(ix + 1, iy + 1, seed, period);
    return lerp(lerp(a, b, sx), lerp(c, d, sx), sy);
}

float noise_fbm(float x, float y, int octaves, uint32_t seed, int period) {
    float sum = 0.0f, amp = 0.5f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * noise_value(x, y, seed + 101u * o, period);
        total += amp;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
        amp *= 0.5f;
    }
    return sum / total;
}

float rng_float(Rng& r) {
    uint32_t s = r.state ? r.state : 0x1234567u;
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    r.state = s;
    return (s >> 8) / 16777216.0f;
}
