// Sprite geometry as drawn: positions, mirroring, frames of a grid, colour
// and alpha, the texture cache, and a picture that fails to load.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/headless/headless.h"
#include "render/device.h"
#include "render/sprite.h"

namespace {

// Taken before any test runs: the device alpha before a device exists.
const float alpha_before_any_device = get_global_alpha();

// A PNG header is all the headless loader reads: write one of a given size.
std::string write_png_header(const char* name, int width, int height) {
    std::string path = std::string(::testing::TempDir()) + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    const unsigned char h[24] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H',
                                 'D', 'R', static_cast<unsigned char>(width >> 24),
                                 static_cast<unsigned char>(width >> 16),
                                 static_cast<unsigned char>(width >> 8),
                                 static_cast<unsigned char>(width),
                                 static_cast<unsigned char>(height >> 24),
                                 static_cast<unsigned char>(height >> 16),
                                 static_cast<unsigned char>(height >> 8),
                                 static_cast<unsigned char>(height)};
    std::fwrite(h, 1, sizeof h, f);
    std::fclose(f);
    return path;
}

struct Box {
    float left, top, right, bottom;
};

Box box_of(const HeadlessDraw& d) {
    Box b = {1e9f, 1e9f, -1e9f, -1e9f};
    for (const SpriteVertex& v : d.vertices) {
        b.left = std::min(b.left, v.x);
        b.top = std::min(b.top, v.y);
        b.right = std::max(b.right, v.x);
        b.bottom = std::max(b.bottom, v.y);
    }
    return b;
}

class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        create_device(0);
        sprite_forget_current_texture();
        sheet_path = write_png_header("sheet.png", 256, 64);  // 4 columns of 64 x 64
        column_path = write_png_header("column.png", 640, 3840);  // 1 column, 8 rows of 640 x 480
    }
    void TearDown() override { release_device(); }

    // Draws the sprite and returns the recorded quad.
    static HeadlessDraw draw(Sprite& s) {
        headless_clear_draws();
        sprite_draw(s);
        int n = 0;
        const HeadlessDraw* d = headless_draws(&n);
        EXPECT_EQ(n, 1);
        return n ? d[0] : HeadlessDraw{};
    }

    std::string sheet_path;
    std::string column_path;
};

TEST_F(SpriteTest, LoadedSpriteSpansItsFrameWhateverThePivot) {
    Sprite s = {};
    sprite_init(s);
    ASSERT_EQ(sprite_load(s, sheet_path.c_str(), 64, 64, 4, 1, 0), 1);
    EXPECT_EQ(s.image_width, 256);
    EXPECT_EQ(s.image_height, 64);
    sprite_set_position(s, 100.5f, 200.0f);
    for (int pivot : {0, 32, 50}) {
        sprite_set_pivot(s, pivot, pivot / 2);
        Box b = box_of(draw(s));
        EXPECT_FLOAT_EQ(b.left, 100.5f);
        EXPECT_FLOAT_EQ(b.right, 164.5f);
        EXPECT_FLOAT_EQ(b.top, 200.0f);
        EXPECT_FLOAT_EQ(b.bottom, 264.0f);
    }
    // Vertex order bottom-left, bottom-right, top-left, top-right; rhw 1, z 0.
    HeadlessDraw d = draw(s);
    EXPECT_FLOAT_EQ(d.vertices[0].y, 264.0f);
    EXPECT_FLOAT_EQ(d.vertices[1].x, 164.5f);
    EXPECT_FLOAT_EQ(d.vertices[2].x, 100.5f);
    EXPECT_FLOAT_EQ(d.vertices[3].y, 200.0f);
    for (const SpriteVertex& v : d.vertices) {
        EXPECT_EQ(v.z, 0.0f);
        EXPECT_EQ(v.rhw, 1.0f);
    }
    sprite_release(s);
}

TEST_F(SpriteTest, MirroringAboutTheCentreCoversTheSameRectangle) {
    Sprite s = {};
    sprite_init(s);
    sprite_load(s, sheet_path.c_str(), 64, 64, 4, 1, 0);
    sprite_set_position(s, 37.25f, 90.0f);
    sprite_set_pivot_x(s, 32);
    sprite_set_scale_x(s, 1.0f);
    HeadlessDraw right = draw(s);
    sprite_set_scale_x(s, -1.0f);
    HeadlessDraw left = draw(s);
    Box a = box_of(right), b = box_of(left);
    EXPECT_FLOAT_EQ(a.left, b.left);
    EXPECT_FLOAT_EQ(a.right, b.right);
    EXPECT_FLOAT_EQ(a.top, b.top);
    EXPECT_FLOAT_EQ(a.bottom, b.bottom);
    // Mirrored: the vertex that carries the left texture edge is now on the right.
    EXPECT_FLOAT_EQ(left.vertices[0].x, a.right);
    EXPECT_FLOAT_EQ(left.vertices[0].u, right.vertices[0].u);
    sprite_release(s);
}

TEST_F(SpriteTest, ScalingAboutThePivotKeepsThePivotPoint) {
    Sprite blood = {};
    sprite_init(blood);
    sprite_load(blood, sheet_path.c_str(), 64, 64, 4, 1, 0);
    sprite_set_position(blood, 200.0f, 120.0f);
    sprite_set_pivot(blood, 32, 32);
    sprite_set_scale(blood, 0.5f);
    Box b = box_of(draw(blood));
    EXPECT_FLOAT_EQ(b.left, 216.0f);
    EXPECT_FLOAT_EQ(b.right, 248.0f);
    EXPECT_FLOAT_EQ(b.top, 136.0f);
    EXPECT_FLOAT_EQ(b.bottom, 168.0f);
    sprite_release(blood);
}

TEST_F(SpriteTest, FramesOfAGridPickTheirTextureCoordinates) {
    struct Case {
        int frame;
        float left, right, top, bottom;
    };
    Sprite s = {};
    sprite_init(s);
    // 4 columns, 2 rows of 32 x 32 on a 128 x 64 image.
    std::string path = write_png_header("grid.png", 128, 64);
    sprite_load(s, path.c_str(), 32, 32, 4, 2, 0);
    for (Case c : {Case{0, 0.0f, 0.25f, 0.0f, 0.5f}, Case{5, 0.25f, 0.5f, 0.5f, 1.0f},
                   Case{3, 0.75f, 1.0f, 0.0f, 0.5f}}) {
        sprite_set_frame(s, c.frame);
        HeadlessDraw d = draw(s);
        EXPECT_FLOAT_EQ(d.vertices[0].u, c.left) << c.frame;   // bottom-left
        EXPECT_FLOAT_EQ(d.vertices[0].v, c.bottom) << c.frame;
        EXPECT_FLOAT_EQ(d.vertices[3].u, c.right) << c.frame;  // top-right
        EXPECT_FLOAT_EQ(d.vertices[3].v, c.top) << c.frame;
    }
    sprite_release(s);
    // One column of eight rows: frame 0 is the top picture, frame 7 the bottom one.
    sprite_init(s);
    sprite_load(s, column_path.c_str(), 640, 480, 1, 8, 0);
    HeadlessDraw top = draw(s);
    EXPECT_FLOAT_EQ(top.vertices[2].v, 0.0f);
    EXPECT_FLOAT_EQ(top.vertices[0].v, 0.125f);
    sprite_set_frame(s, 7);
    HeadlessDraw bottom = draw(s);
    EXPECT_FLOAT_EQ(bottom.vertices[2].v, 0.875f);
    EXPECT_FLOAT_EQ(bottom.vertices[0].v, 1.0f);
    EXPECT_FLOAT_EQ(bottom.vertices[1].u, 1.0f);
    sprite_release(s);
}

TEST_F(SpriteTest, ColourAlphaIsMultipliedByTheDeviceAlpha) {
    Sprite rect = {};
    sprite_init(rect);
    sprite_make_rect(rect, 640, 480, 0x80000000u);
    HeadlessDraw d = draw(rect);
    EXPECT_EQ(d.texture, nullptr);
    for (const SpriteVertex& v : d.vertices) EXPECT_EQ(v.diffuse, 0x80000000u);
    sprite_set_color(rect, 0x80FFC020u);
    EXPECT_EQ(draw(rect).vertices[2].diffuse, 0x80FFC020u);
    EXPECT_EQ(alpha_before_any_device, 0.0f);
    EXPECT_EQ(get_global_alpha(), 1.0f);
}

TEST_F(SpriteTest, SameTextureIsBoundOnceAndInvisibleSpritesDrawNothing) {
    Sprite a = {}, b = {}, hidden = {};
    sprite_init(a);
    sprite_load(a, sheet_path.c_str(), 64, 64, 4, 1, 0);
    b = a;  // a second sprite sharing the picture (never released twice below)
    sprite_init(hidden);
    sprite_load(hidden, column_path.c_str(), 640, 480, 1, 8, 0);
    hidden.visible = 0;
    const int binds = headless_texture_binds();
    headless_clear_draws();
    sprite_draw(a);
    sprite_draw(hidden);
    sprite_draw(b);
    int n = 0;
    headless_draws(&n);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(headless_texture_binds() - binds, 1);
    EXPECT_EQ(sprite_current_texture(), a.texture);
    sprite_release(a);
    sprite_release(hidden);
}

TEST_F(SpriteTest, PictureThatFailsToLoadStillReportsSuccessAndDrawsUntextured) {
    Sprite s = {};
    sprite_init(s);
    EXPECT_EQ(sprite_load(s, "no/such/picture.png", 40, 60, 4, 1, 0), 1);
    EXPECT_EQ(s.texture, nullptr);
    sprite_set_position(s, 10.0f, 20.0f);
    sprite_set_frame(s, 3);
    HeadlessDraw d = draw(s);
    EXPECT_EQ(d.texture, nullptr);
    Box b = box_of(d);
    EXPECT_FLOAT_EQ(b.right - b.left, 40.0f);
    EXPECT_FLOAT_EQ(b.bottom - b.top, 60.0f);
    EXPECT_FLOAT_EQ(d.vertices[1].u, 1.0f);  // the grid's own size keeps the numbers finite
}

TEST_F(SpriteTest, EdgeSettersUseTheUnscaledFrame) {
    Sprite s = {};
    sprite_init(s);
    sprite_load(s, sheet_path.c_str(), 64, 64, 4, 1, 0);
    sprite_set_scale(s, 2.0f);
    sprite_set_right(s, 300.0f);
    EXPECT_FLOAT_EQ(sprite_get_x(s), 236.0f);
    EXPECT_FLOAT_EQ(sprite_get_right(s), 300.0f);
    sprite_set_bottom(s, 100.0f);
    EXPECT_FLOAT_EQ(sprite_get_y(s), 36.0f);
    sprite_move_x(s, -1.5f);
    sprite_move_y(s, 2.0f);
    EXPECT_FLOAT_EQ(sprite_get_x(s), 234.5f);
    EXPECT_FLOAT_EQ(sprite_get_y(s), 38.0f);
    sprite_release(s);
}

TEST_F(SpriteTest, TileSheetDrawsEveryVisibleTileWithOneBind) {
    TileMap map;
    tile_map_init(map);
    std::string path = write_png_header("tiles.png", 256, 32);
    tile_map_load(map, path.c_str(), 32, 32, 8, 1, 0);
    const int frames[3] = {0, 7, 2};
    for (int i = 0; i < 3; ++i) {
        Tile* t = new Tile{32.0f * i, 448.0f, 1, 0.0f, 1.0f, 1.0f, 0xFFFFFFFFu, frames[i]};
        map.tiles.push_back(t);
    }
    map.tiles[1]->visible = 0;
    const int binds = headless_texture_binds();
    headless_clear_draws();
    tile_map_draw(map);
    int n = 0;
    const HeadlessDraw* d = headless_draws(&n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(headless_texture_binds() - binds, 1);
    EXPECT_FLOAT_EQ(box_of(d[1]).left, 64.0f);
    EXPECT_FLOAT_EQ(d[1].vertices[0].u, 0.25f);  // frame 2 of 8
    EXPECT_FLOAT_EQ(d[1].vertices[1].u, 0.375f);
    map.visible = 0;
    headless_clear_draws();
    tile_map_draw(map);
    headless_draws(&n);
    EXPECT_EQ(n, 0);
    // Loading again deletes every tile.
    tile_map_load(map, path.c_str(), 32, 32, 8, 1, 0);
    EXPECT_TRUE(map.tiles.empty());
    video_release_texture(map.texture);
}

}  // namespace
