// The SDL drawing device read back pixel by pixel: untextured and textured
// quads, frames of a sheet, mirroring, the image's own alpha, a texture
// released while bound, and the screenshot file.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/screenshot.h"
#include "platform/sdl/sdl_video.h"
#include "platform/video.h"
#include "render/device.h"
#include "render/sprite.h"
#include "tests/sdl/offscreen.h"

namespace {

// A 4 x 2 sheet of two 2 x 2 frames. Frame 0 (left): red, green / blue,
// white. Frame 1 (right): yellow, magenta / cyan, and one clear texel.
const uint32_t sheet_texels[8] = {
    0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFFFF00FF,
    0xFF0000FF, 0xFFFFFFFF, 0xFF00FFFF, 0x00000000,
};

std::string write_sheet() {
    const std::string path = std::string(::testing::TempDir()) + "sdl_sheet.png";
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(sheet_texels), 4, 2,
                                                        32, 16, SDL_PIXELFORMAT_ARGB8888);
    EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0);
    SDL_FreeSurface(s);
    return path;
}

class SdlVideo : public ::testing::Test {
protected:
    static void SetUpTestSuite() { use_offscreen_video(); }
    void SetUp() override {
        ASSERT_EQ(create_device(0), 1);
        sprite_forget_current_texture();
        frame.assign(640 * 480, 0);
    }
    void TearDown() override { release_device(); }

    // Presents the frame and reads it back.
    void present() {
        video_end_frame();
        ASSERT_EQ(sdl_video_read_frame(frame.data()), 1);
    }
    uint32_t at(int x, int y) const { return frame[y * 640 + x] & 0xFFFFFF; }

    std::vector<uint32_t> frame;
};

void quad(float left, float top, float right, float bottom, uint32_t color) {
    SpriteVertex v[4] = {{left, bottom, 0, 1, color, 0, 1}, {right, bottom, 0, 1, color, 1, 1},
                         {left, top, 0, 1, color, 0, 0},    {right, top, 0, 1, color, 1, 0}};
    video_draw_quad(v);
}

int near(uint32_t rgb, int r, int g, int b) {
    const int dr = static_cast<int>((rgb >> 16) & 255) - r;
    const int dg = static_cast<int>((rgb >> 8) & 255) - g;
    const int db = static_cast<int>(rgb & 255) - b;
    return dr * dr <= 4 && dg * dg <= 4 && db * db <= 4;
}

}  // namespace

TEST_F(SdlVideo, UntexturedQuadsBlendTheirColourOverTheFrame) {
    video_begin_frame();
    video_set_texture(nullptr);
    quad(0, 0, 640, 480, 0x80FF0000);          // half red over the black clear
    quad(100, 100, 200, 200, 0xFFFFFFFF);      // opaque white
    quad(100, 100, 200, 200, 0x80000000);      // the fade overlay: black at half
    quad(300, 300, 340, 340, 0x0000FF00);      // alpha 0 leaves the picture alone
    present();
    EXPECT_TRUE(near(at(10, 10), 128, 0, 0)) << std::hex << at(10, 10);
    EXPECT_TRUE(near(at(639, 479), 128, 0, 0)) << std::hex << at(639, 479);
    EXPECT_TRUE(near(at(150, 150), 127, 127, 127)) << std::hex << at(150, 150);
    EXPECT_TRUE(near(at(320, 320), 128, 0, 0)) << std::hex << at(320, 320);
    // The next frame starts from opaque black again.
    video_begin_frame();
    present();
    EXPECT_EQ(at(150, 150), 0u);
}

TEST_F(SdlVideo, SpriteFramesLandOnTheirPixelsAndMirrorInPlace) {
    const std::string path = write_sheet();
    Sprite s = {};
    sprite_init(s);
    sprite_load(s, path.c_str(), 2, 2, 2, 1, 0);
    EXPECT_EQ(s.image_width, 4);
    EXPECT_EQ(s.image_height, 2);
    ASSERT_NE(s.texture, nullptr);
    sprite_set_scale(s, 8.0f);  // 16 x 16 on screen, about the top-left corner
    sprite_set_position(s, 40, 24);
    Sprite mirrored = s;
    mirrored.texture = s.texture;
    sprite_set_frame(mirrored, 1);
    sprite_set_pivot(mirrored, 1, 0);  // the middle of the frame
    sprite_set_scale_x(mirrored, -8.0f);
    sprite_set_position(mirrored, 200, 24);  // spans 193 .. 209 about the pivot
    video_begin_frame();
    sprite_draw(s);
    sprite_draw(mirrored);
    present();
    // Frame 0: each texel is an 8 x 8 block.
    EXPECT_EQ(at(40, 24), 0xFF0000u);
    EXPECT_EQ(at(55, 24), 0x00FF00u);
    EXPECT_EQ(at(40, 39), 0x0000FFu);
    EXPECT_EQ(at(55, 39), 0xFFFFFFu);
    EXPECT_EQ(at(39, 24), 0u);
    EXPECT_EQ(at(56, 24), 0u);
    EXPECT_EQ(at(40, 40), 0u);
    // Frame 1 mirrored about its centre: same pixels, left and right swapped;
    // the clear texel shows the black beneath.
    EXPECT_EQ(at(193, 24), 0xFF00FFu);
    EXPECT_EQ(at(208, 24), 0xFFFF00u);
    EXPECT_EQ(at(193, 39), 0u);
    EXPECT_EQ(at(208, 39), 0x00FFFFu);
    EXPECT_EQ(at(192, 24), 0u);
    EXPECT_EQ(at(209, 24), 0u);
    sprite_release(s);
}

TEST_F(SdlVideo, FramesPastTheEndOfTheStripShowTheStripAgain) {
    const std::string path = write_sheet();
    Sprite s = {};
    sprite_init(s);
    sprite_load(s, path.c_str(), 2, 2, 2, 1, 0);
    sprite_set_scale(s, 8.0f);
    video_begin_frame();
    // Frame 2 is past the two-frame strip: it shows frame 0; frame 5 shows frame 1.
    sprite_set_frame(s, 2);
    sprite_set_position(s, 40, 24);
    sprite_draw(s);
    sprite_set_frame(s, 5);
    sprite_set_position(s, 100, 24);
    sprite_draw(s);
    present();
    EXPECT_EQ(at(40, 24), 0xFF0000u);
    EXPECT_EQ(at(55, 39), 0xFFFFFFu);
    EXPECT_EQ(at(100, 24), 0xFFFF00u);
    EXPECT_EQ(at(115, 24), 0xFF00FFu);
    sprite_release(s);
}

TEST_F(SdlVideo, TextureReleasedWhileBoundDrawsUntilTheNextBind) {
    const std::string path = write_sheet();
    int w = 0, h = 0;
    VideoTexture* texture = video_load_texture(path.c_str(), 1, 0, &w, &h);
    ASSERT_NE(texture, nullptr);
    video_begin_frame();
    video_set_texture(texture);
    video_release_texture(texture);
    quad(0, 0, 4, 2, 0xFFFFFFFF);
    video_set_texture(nullptr);
    quad(10, 0, 14, 2, 0xFF00FF00);
    present();
    EXPECT_EQ(at(0, 0), 0xFF0000u);
    EXPECT_EQ(at(3, 0), 0xFF00FFu);
    EXPECT_EQ(at(10, 0), 0x00FF00u);
    EXPECT_EQ(video_load_texture("no/such/file.png", 0, 0, &w, &h), nullptr);
}

TEST_F(SdlVideo, ScreenshotHoldsTheLastPresentedFrame) {
    const std::string path = std::string(::testing::TempDir()) + "sdl_shot.png";
    std::remove(path.c_str());
    video_begin_frame();
    quad(0, 0, 320, 480, 0xFF2040C0);
    present();
    ASSERT_EQ(video_save_screenshot(path.c_str()), 1);
    SDL_Surface* shot = IMG_Load(path.c_str());
    ASSERT_NE(shot, nullptr);
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(shot, SDL_PIXELFORMAT_ARGB8888, 0);
    ASSERT_EQ(argb->w, 640);
    ASSERT_EQ(argb->h, 480);
    const uint32_t* p = static_cast<const uint32_t*>(argb->pixels);
    EXPECT_EQ(p[100 * argb->pitch / 4 + 10], 0xFF2040C0u);
    EXPECT_EQ(p[100 * argb->pitch / 4 + 400], 0xFF000000u);
    SDL_FreeSurface(argb);
    SDL_FreeSurface(shot);
}

TEST(SdlVideoLifetime, ReleasingTwiceAndReleasingTexturesAfterTheDeviceIsHarmless) {
    use_offscreen_video();
    EXPECT_EQ(video_save_screenshot("/nonexistent/x.png"), 0);  // no device, no picture
    ASSERT_EQ(video_create_device(0), 1);
    const std::string path = write_sheet();
    int w = 0, h = 0;
    VideoTexture* texture = video_load_texture(path.c_str(), 0, 0, &w, &h);
    ASSERT_NE(texture, nullptr);
    const unsigned generation = sdl_video_generation();
    video_release_device();
    video_release_device();
    video_release_texture(texture);  // its renderer is gone: only the record goes
    ASSERT_EQ(video_create_device(0), 1);
    EXPECT_NE(sdl_video_generation(), generation);
    video_release_device();
}
