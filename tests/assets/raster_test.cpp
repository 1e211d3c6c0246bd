// The art compiler's raster library: edges are anti-aliased by coverage,
// wrapped noise tiles, text refuses a font that is not installed instead of
// falling back to another, and a saved PNG keeps its colours and alpha.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tools/art/art.h"

namespace {

double total_alpha(const Canvas& c) {
    double sum = 0.0;
    for (size_t i = 3; i < c.px.size(); i += 4) sum += c.px[i];
    return sum;
}

TEST(Raster, FilledShapesCoverTheirArea) {
    struct Case {
        float r;
    } cases[] = {{2.5f}, {7.0f}, {15.3f}};
    for (const Case& k : cases) {
        Canvas c;
        canvas_init(c, 40, 40);
        fill_circle(c, 20.2f, 19.7f, k.r, {1, 1, 1, 1});
        EXPECT_NEAR(total_alpha(c), 3.14159265 * k.r * k.r, 0.02 * 3.14159265 * k.r * k.r + 1.0)
            << k.r;
        // The edge is soft: some pixels are partly covered.
        int partial = 0;
        for (size_t i = 3; i < c.px.size(); i += 4) partial += c.px[i] > 0.05f && c.px[i] < 0.95f;
        EXPECT_GT(partial, 4);
    }
    Canvas box;
    canvas_init(box, 20, 20);
    fill_rect(box, 2.5f, 3.0f, 10.0f, 6.0f, {1, 0, 0, 0.5f});
    EXPECT_NEAR(total_alpha(box), 30.0, 0.5);
    EXPECT_FLOAT_EQ(canvas_at(box, 5, 5).r, 1.0f);
}

TEST(Raster, OutlineSurroundsTheContentAndDrawsUnderIt) {
    Canvas c;
    canvas_init(c, 30, 30);
    fill_rect(c, 10, 10, 10, 10, {1, 1, 1, 1});
    canvas_outline(c, 2.0f, {0, 0, 0, 1});
    EXPECT_FLOAT_EQ(canvas_at(c, 15, 15).r, 1.0f);  // content stays on top
    EXPECT_GT(canvas_alpha(c, 9, 15), 0.99f);       // the rim: solid 1 px out,
    EXPECT_FLOAT_EQ(canvas_at(c, 9, 15).r, 0.0f);
    EXPECT_NEAR(canvas_alpha(c, 8, 15), 0.5f, 0.01f);  // half covered at 2 px
    EXPECT_FLOAT_EQ(canvas_alpha(c, 6, 15), 0.0f);     // nothing beyond it
}

TEST(Raster, WrappedNoiseTiles) {
    for (float y : {0.3f, 2.7f, 5.1f})
        for (float x : {0.0f, 1.4f, 3.9f}) {
            EXPECT_NEAR(noise_fbm(x, y, 3, 9u, 4), noise_fbm(x + 4.0f, y, 3, 9u, 4), 1e-5f);
            EXPECT_NEAR(noise_fbm(x, y, 3, 9u, 4), noise_fbm(x, y + 8.0f, 3, 9u, 4), 1e-5f);
        }
    // Without a period it does not repeat there.
    EXPECT_GT(std::fabs(noise_fbm(1.4f, 2.7f, 3, 9u) - noise_fbm(5.4f, 2.7f, 3, 9u)), 1e-3f);
}

TEST(Raster, TextNeedsItsOwnFont) {
    TextMask m;
    ASSERT_EQ(text_render(m, "IPAGothic", 20, "屍"), 1);
    EXPECT_GT(m.width, 10);
    EXPECT_GT(m.height, 15);
    float ink = 0.0f;
    for (float a : m.cover) ink += a;
    EXPECT_GT(ink, 20.0f);
    EXPECT_EQ(text_render(m, "No Such Font Family", 20, "A"), 0);
}

TEST(Raster, SavedPngKeepsColourAndAlpha) {
    Canvas c;
    canvas_init(c, 4, 2);
    canvas_blend(c, 0, 0, {1.0f, 0.5f, 0.0f, 1.0f}, 1.0f);
    canvas_blend(c, 1, 0, {0.0f, 0.0f, 1.0f, 0.5f}, 1.0f);
    const std::string path = std::string(QUENNARY_BINARY_DIR) + "/raster_test.png";
    ASSERT_EQ(canvas_save_png(c, path), 1);
    SDL_Surface* loaded = IMG_Load(path.c_str());
    ASSERT_NE(loaded, nullptr);
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->w, 4);
    ASSERT_EQ(s->h, 2);
    const uint8_t* p = static_cast<const uint8_t*>(s->pixels);
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 128);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 255);
    EXPECT_EQ(p[6], 255);    // blue, straight colour
    EXPECT_EQ(p[7], 128);    // at half alpha
    EXPECT_EQ(p[8 + 3], 0);  // untouched pixels stay clear
    SDL_FreeSurface(s);
}

}  // namespace
