// The pictures the build drew into res/: every texture the game loads is there
// at the size its frame grid needs, with alpha; the character stands on the
// frame's bottom edge where its sensors are; the tiles, digits and animated
// strips hold what the game expects of them; and drawing again gives the same
// bytes.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string res_dir = std::string(QUENNARY_GAME_DIR) + "/res/";

// The texture table: file, frame width and height, columns and rows.
struct Texture {
    const char* file;
    int frame_w, frame_h, columns, rows;
};
const Texture textures[] = {
    {"C_core.png", 24, 25, 1, 1},       {"C_3.png", 20, 18, 1, 1},
    {"C_4.png", 20, 20, 1, 1},          {"C_1.png", 5, 20, 1, 1},
    {"C_2.png", 5, 20, 1, 1},           {"player_alive.png", 64, 64, 4, 1},
    {"player_death.png", 42, 19, 1, 1}, {"C_death.png", 24, 13, 1, 1},
    {"C_death_under.png", 24, 5, 1, 1}, {"tage.png", 32, 32, 4, 1},
    {"area.png", 60, 70, 3, 1},         {"coffin.png", 40, 60, 1, 1},
    {"resp.png", 40, 60, 4, 1},         {"blood.png", 64, 64, 1, 1},
    {"fire.png", 60, 60, 6, 1},         {"ice.png", 60, 60, 6, 1},
    {"num_001.png", 40, 40, 10, 1},     {"num_010.png", 40, 40, 10, 1},
    {"num_100.png", 40, 40, 10, 1},     {"num_bord.png", 200, 70, 1, 1},
    {"death_bord.png", 200, 70, 1, 1},  {"Tip_image4.png", 32, 32, 8, 1},
    {"game.png", 640, 480, 1, 1},       {"game_ed.png", 640, 480, 1, 1},
    {"game_op.png", 640, 480, 1, 8},    {"star.png", 192, 64, 1, 4},
    {"end_bord.png", 300, 300, 1, 1},   {"end_text.png", 192, 64, 1, 3},
    {"result.png", 640, 480, 1, 1},     {"you.png", 80, 40, 1, 1},
    {"title.png", 640, 480, 1, 1},      {"title_efect_1.png", 640, 480, 7, 1},
    {"title_start.png", 340, 75, 1, 5},
};

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// A decoded picture, 8-bit RGBA.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    int alpha(int x, int y) const { return px[(size_t(y) * w + x) * 4 + 3]; }
    const uint8_t* at(int x, int y) const { return &px[(size_t(y) * w + x) * 4]; }
};

Picture load(const char* file) {
    Picture p;
    SDL_Surface* loaded = IMG_Load((res_dir + file).c_str());
    if (!loaded) return p;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!s) return p;
    p.w = s->w;
    p.h = s->h;
    p.px.resize(size_t(p.w) * p.h * 4);
    for (int y = 0; y < p.h; ++y)
        std::copy_n(static_cast<const uint8_t*>(s->pixels) + y * s->pitch, p.w * 4,
                    &p.px[size_t(y) * p.w * 4]);
    SDL_FreeSurface(s);
    return p;
}

// The box of the pixels with alpha above a threshold inside a frame.
struct Ink {
    int x0, y0, x1, y1;  // inclusive; x1 < x0 when the frame is empty
    int count;
};
Ink ink(const Picture& p, int fx, int fy, int fw, int fh, int threshold = 128) {
    Ink k{fw, fh, -1, -1, 0};
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x)
            if (p.alpha(fx + x, fy + y) > threshold) {
                k.x0 = std::min(k.x0, x);
                k.x1 = std::max(k.x1, x);
                k.y0 = std::min(k.y0, y);
                k.y1 = std::max(k.y1, y);
                ++k.count;
            }
    return k;
}

// Sum of absolute channel differences between two frames of a picture.
long frame_difference(const Picture& p, int ax, int ay, int bx, int by, int fw, int fh) {
    long sum = 0;
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x)
            for (int ch = 0; ch < 4; ++ch)
                sum += std::abs(p.at(ax + x, ay + y)[ch] - p.at(bx + x, by + y)[ch]);
    return sum;
}

TEST(Pictures, EveryTextureIsAnRgbaPngOfItsFrameGridSize) {
    for (const Texture& t : textures) {
        SCOPED_TRACE(t.file);
        const std::vector<uint8_t> b = file_bytes(res_dir + t.file);
        ASSERT_GE(b.size(), 33u) << "missing or truncated";
        const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        EXPECT_TRUE(std::equal(signature, signature + 8, b.begin()));
        EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
        EXPECT_EQ(be32(b, 16), uint32_t(t.frame_w * t.columns));
        EXPECT_EQ(be32(b, 20), uint32_t(t.frame_h * t.rows));
        EXPECT_EQ(b[24], 8) << "bit depth";
        EXPECT_EQ(b[25], 6) << "colour type: RGBA";
    }
}

TEST(Pictures, CharacterStandsOnTheFrameBottomInsideItsSensors) {
    const Picture p = load("player_alive.png");
    ASSERT_EQ(p.w, 256);
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        const Ink k = ink(p, 64 * f, 0, 64, 64);
        // Feet on the floor: the player's bottom edge is the frame's.
        EXPECT_EQ(k.y1, 63);
        // The whole figure near the side sensors (x 16..46), 36 to 48 px tall
        // with the hood's tip; its body (below the hood, y 46..63) about 20 px
        // wide and centred on x 31.
        EXPECT_GE(k.x0, 13);
        EXPECT_LE(k.x1, 49);
        const Ink body = ink(p, 64 * f, 46, 64, 18);
        EXPECT_NEAR((body.x0 + body.x1) * 0.5, 31.0, 2.0);
        EXPECT_GE(body.x1 - body.x0 + 1, 18);
        EXPECT_GE(k.x1 - k.x0 + 1, 24);
        EXPECT_GE(63 - k.y0 + 1, 36);
        EXPECT_LE(63 - k.y0 + 1, 48);
        // The core sensor's area (19..43 x 28..53) is mostly body.
        const Ink core = ink(p, 64 * f + 19, 28, 24, 25);
        EXPECT_GT(core.count, 24 * 25 / 2);
    }
    // The walk frames are four different pictures.
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_GT(frame_difference(p, 64 * a, 0, 64 * b, 0, 64, 64), 2000) << a << b;
}

TEST(Pictures, CorpseLiesOnItsBottomEdgeAcrossItsWidth) {
    const Picture p = load("player_death.png");
    ASSERT_EQ(p.w, 42);
    const Ink k = ink(p, 0, 0, 42, 19);
    EXPECT_EQ(k.y1, 18);
    EXPECT_LE(k.x0, 3);
    EXPECT_GE(k.x1, 38);
    // Its body sensor (8..32 x 5..18) lies over the drawn body.
    EXPECT_GT(ink(p, 8, 5, 24, 13).count, 24 * 13 / 2);
}

TEST(Pictures, SensorsAreTranslucentEverywhere) {
    for (const char* file : {"C_core.png", "C_3.png", "C_4.png", "C_1.png", "C_2.png",
                             "C_death.png", "C_death_under.png"}) {
        SCOPED_TRACE(file);
        const Picture p = load(file);
        ASSERT_GT(p.w, 0);
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                ASSERT_GT(p.alpha(x, y), 40);
                ASSERT_LT(p.alpha(x, y), 215);
            }
    }
}

TEST(Pictures, TilesHoldTheirTypes) {
    const Picture p = load("Tip_image4.png");
    ASSERT_EQ(p.w, 256);
    // 0 empty: nothing at all.
    EXPECT_EQ(ink(p, 0, 0, 32, 32, 0).count, 0);
    // 1 block, 6 start, 7 goal: solid cells.
    for (int t : {1, 6, 7}) EXPECT_EQ(ink(p, 32 * t, 0, 32, 32, 250).count, 32 * 32) << t;
    // 2 shallow pool: clear above its surface, 8 px below the top; filled below it.
    EXPECT_EQ(ink(p, 64, 0, 32, 6, 128).count, 0);
    EXPECT_EQ(ink(p, 64, 10, 32, 22, 250).count, 32 * 22);
    // 3..5 hazards: each fills a good part of its cell, and no two look alike.
    for (int t : {3, 4, 5}) EXPECT_GT(ink(p, 32 * t, 0, 32, 32).count, 32 * 32 / 4) << t;
    for (int a = 1; a < 8; ++a)
        for (int b = a + 1; b < 8; ++b)
            EXPECT_GT(frame_difference(p, 32 * a, 0, 32 * b, 0, 32, 32), 32 * 32 * 40) << a << b;
}

TEST(Pictures, DigitsAreNarrowAndCentredInTheirFrames) {
    for (const char* file : {"num_001.png", "num_010.png", "num_100.png"}) {
        SCOPED_TRACE(file);
        const Picture p = load(file);
        ASSERT_EQ(p.w, 400);
        for (int d = 0; d < 10; ++d) {
            SCOPED_TRACE(d);
            const Ink k = ink(p, 40 * d, 0, 40, 40);
            ASSERT_GT(k.count, 40);
            // Three digits stand 20 px apart: each at most about 20 px wide.
            EXPECT_LE(k.x1 - k.x0 + 1, 22);
            EXPECT_NEAR((k.x0 + k.x1) * 0.5, 19.5, 2.5);
            EXPECT_NEAR((k.y0 + k.y1) * 0.5, 19.5, 3.0);
        }
    }
}

TEST(Pictures, AnimatedStripsChangeFromFrameToFrame) {
    struct Strip {
        const char* file;
        int fw, fh, frames, columns;
    };
    const Strip strips[] = {{"tage.png", 32, 32, 4, 4},
                            {"area.png", 60, 70, 3, 3},
                            {"resp.png", 40, 60, 4, 4},
                            {"fire.png", 60, 60, 6, 6},
                            {"ice.png", 60, 60, 4, 6},
                            {"star.png", 192, 64, 4, 1},
                            {"end_text.png", 192, 64, 3, 1},
                            {"game_op.png", 640, 480, 8, 1},
                            {"title_efect_1.png", 640, 480, 7, 7},
                            {"title_start.png", 340, 75, 5, 1}};
    for (const Strip& s : strips) {
        SCOPED_TRACE(s.file);
        const Picture p = load(s.file);
        ASSERT_GT(p.w, 0);
        for (int f = 0; f + 1 < s.frames; ++f) {
            const int ax = (f % s.columns) * s.fw, ay = (f / s.columns) * s.fh;
            const int bx = ((f + 1) % s.columns) * s.fw, by = ((f + 1) / s.columns) * s.fh;
            EXPECT_GT(frame_difference(p, ax, ay, bx, by, s.fw, s.fh), 1000)
                << "frames " << f << " and " << f + 1;
        }
    }
}

TEST(Pictures, StarFramesShowZeroToThreeStars) {
    const Picture p = load("star.png");
    ASSERT_EQ(p.h, 256);
    // Gold pixels: bright, red above blue.
    auto gold = [&](int frame) {
        int n = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 192; ++x) {
                const uint8_t* c = p.at(x, 64 * frame + y);
                n += c[3] > 200 && c[0] > 200 && c[0] > c[2] + 60;
            }
        return n;
    };
    EXPECT_LT(gold(0), 50);
    for (int f = 1; f < 4; ++f) EXPECT_GT(gold(f), gold(f - 1) + 500) << f;
}

TEST(Pictures, BackgroundsAreOpaqueAndTheOverlayMostlyClear) {
    for (const char* file : {"game.png", "game_ed.png", "game_op.png", "title.png", "result.png"}) {
        SCOPED_TRACE(file);
        const Picture p = load(file);
        ASSERT_GT(p.w, 0);
        EXPECT_EQ(ink(p, 0, 0, p.w, p.h, 254).count, p.w * p.h);
    }
    // The stage background stays dark so that tiles and the HUD read on it.
    const Picture game = load("game.png");
    double light = 0.0;
    for (size_t i = 0; i < game.px.size(); i += 4)
        light += (game.px[i] + game.px[i + 1] + game.px[i + 2]) / 765.0;
    EXPECT_LT(light / (game.w * game.h), 0.25);
    const Picture effect = load("title_efect_1.png");
    ASSERT_GT(effect.w, 0);
    EXPECT_LT(ink(effect, 0, 0, effect.w, effect.h, 16).count, effect.w * effect.h / 20);
}

TEST(Pictures, DrawingAgainGivesTheSameBytes) {
    const std::string dir = std::string(QUENNARY_BINARY_DIR) + "/art-redraw";
    const std::string command =
        "mkdir -p '" + dir + "' && '" QUENNARY_ART_TOOL "' '" + dir + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const Texture& t : textures) {
        SCOPED_TRACE(t.file);
        const std::vector<uint8_t> again = file_bytes(dir + "/" + t.file);
        ASSERT_FALSE(again.empty());
        EXPECT_TRUE(again == file_bytes(res_dir + t.file));
    }
}

}  // namespace
