// Text through the SDL device: cell heights, placement, clipping, colour
// and opacity, line breaks, and the CP932 conversion underneath.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/sdl/sdl_encoding.h"
#include "platform/sdl/sdl_video.h"
#include "platform/text.h"
#include "platform/video.h"
#include "tests/sdl/offscreen.h"

namespace {

// "Score　2800" (an ideographic space after Score).
const char score_text[] = "Score\x81\x40" "2800";
// "目標屍数" (target corpse count).
const char target_text[] = "\x96\xda\x95\x57\x8e\x72\x90\x94";

struct Ink {
    int left = 640, top = 480, right = -1, bottom = -1;  // lit pixels' box, inclusive
    int brightest = 0;                                   // largest channel seen
    int off_colour = 0;                                  // lit pixels with red or blue
};

class SdlText : public ::testing::Test {
protected:
    static void SetUpTestSuite() { use_offscreen_video(); }
    void SetUp() override {
        ASSERT_EQ(video_create_device(0), 1);
        frame.assign(640 * 480, 0);
    }
    void TearDown() override { video_release_device(); }

    Ink draw(TextFont* font, const char* text, int left, int top, int right, int bottom,
             uint32_t color, int* height = nullptr) {
        video_begin_frame();
        const int h = text_draw(font, text, left, top, right, bottom, color);
        if (height) *height = h;
        video_end_frame();
        EXPECT_EQ(sdl_video_read_frame(frame.data()), 1);
        Ink ink;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint32_t p = frame[y * 640 + x];
                const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
                const int m = std::max(r, std::max(g, b));
                if (m == 0) continue;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ink.brightest = std::max(ink.brightest, m);
                if (r || b) ink.off_colour += 1;
            }
        return ink;
    }

    std::vector<uint32_t> frame;
};

}  // namespace

TEST_F(SdlText, FontsOfTheGameHaveTheCellHeightAsked) {
    for (int height : {15, 25, 36}) {
        TextFont* font = text_create_font(height, "");
        ASSERT_NE(font, nullptr) << height;
        int drawn = 0;
        const Ink ink = draw(font, score_text, 100, 200, 640, 480, 0xFF00FF00, &drawn);
        EXPECT_EQ(drawn, height);
        // The glyphs stay inside the cell below the top-left corner.
        EXPECT_GE(ink.top, 200) << height;
        EXPECT_LT(ink.bottom, 200 + height) << height;
        EXPECT_GE(ink.left, 100) << height;
        EXPECT_LE(ink.left, 100 + height / 4) << height;
        // The capital S reaches well up into the cell: cell height, not em size.
        EXPECT_LT(ink.top, 200 + height / 3) << height;
        text_release_font(font);
    }
}

TEST_F(SdlText, ColourAndOpacityComeFromTheColour) {
    TextFont* font = text_create_font(36, "");
    ASSERT_NE(font, nullptr);
    Ink green = draw(font, target_text, 10, 10, 640, 480, 0xFF00FF00);
    EXPECT_EQ(green.brightest, 255);
    EXPECT_EQ(green.off_colour, 0);
    // Four full-width characters of a 36-pixel font are about 144 wide.
    EXPECT_GT(green.right - green.left, 120);
    EXPECT_LT(green.right - green.left, 150);
    Ink faint = draw(font, target_text, 10, 10, 640, 480, 0xC8FFFFFF);
    EXPECT_NEAR(faint.brightest, 200, 2);
    Ink none = draw(font, "", 10, 10, 640, 480, 0xFFFFFFFF);
    EXPECT_EQ(none.right, -1);
    text_release_font(font);
}

TEST_F(SdlText, TextIsClippedToItsRectangle) {
    TextFont* font = text_create_font(36, "");
    ASSERT_NE(font, nullptr);
    // Past the screen's right edge: cut at x 640, nothing wraps to the left.
    Ink edge = draw(font, score_text, 600, 100, 640, 480, 0xFFFFFFFF);
    EXPECT_GE(edge.left, 600);
    EXPECT_EQ(edge.right, 639);
    // A narrower rectangle cuts the text at its own right and bottom.
    Ink cut = draw(font, score_text, 100, 100, 130, 120, 0xFFFFFFFF);
    EXPECT_LT(cut.right, 130);
    EXPECT_LT(cut.bottom, 120);
    text_release_font(font);
}

TEST_F(SdlText, LinesBreakOnlyAtLineBreaks) {
    TextFont* font = text_create_font(25, "");
    ASSERT_NE(font, nullptr);
    int height = 0;
    Ink two = draw(font, "1\r\n2", 50, 50, 640, 480, 0xFFFFFFFF, &height);
    EXPECT_EQ(height, 50);
    EXPECT_GT(two.bottom, 75);  // the second line is one cell lower
    EXPECT_LT(two.right, 50 + 25);  // and starts at the left again
    // A tab moves the next character to the stop eight average characters on.
    Ink tab = draw(font, "1\t2", 50, 50, 640, 480, 0xFFFFFFFF);
    Ink plain = draw(font, "12", 50, 50, 640, 480, 0xFFFFFFFF);
    EXPECT_GT(tab.right - plain.right, 40);
    text_release_font(font);
}

TEST_F(SdlText, ChangedTextIsDrawnAfreshAndOldFontsDoNotLinger) {
    TextFont* a = text_create_font(15, "");
    ASSERT_NE(a, nullptr);
    Ink one = draw(a, "1", 10, 10, 640, 480, 0xFFFFFFFF);
    Ink wide = draw(a, "1111111", 10, 10, 640, 480, 0xFFFFFFFF);
    EXPECT_GT(wide.right, one.right + 20);
    text_release_font(a);
    TextFont* b = text_create_font(36, "");  // may take the old font's address
    ASSERT_NE(b, nullptr);
    Ink big = draw(b, "1", 10, 10, 640, 480, 0xFFFFFFFF);
    EXPECT_GT(big.bottom - big.top, one.bottom - one.top + 10);
    text_release_font(b);
}

TEST(SdlEncoding, Cp932BecomesUtf8) {
    char out[64];
    EXPECT_EQ(sdl_cp932_to_utf8(target_text, out, sizeof out), 12u);
    EXPECT_STREQ(out, "\xe7\x9b\xae\xe6\xa8\x99\xe5\xb1\x8d\xe6\x95\xb0");  // 目標屍数
    sdl_cp932_to_utf8(score_text, out, sizeof out);
    EXPECT_STREQ(out, "Score\xe3\x80\x80" "2800");
    // A lone lead byte at the end is shown as '?'.
    sdl_cp932_to_utf8("A\x82", out, sizeof out);
    EXPECT_STREQ(out, "A?");
    // Too little room: cut at a whole character, always terminated.
    char small[5];
    EXPECT_EQ(sdl_cp932_to_utf8(target_text, small, sizeof small), 3u);
    EXPECT_STREQ(small, "\xe7\x9b\xae");
    EXPECT_EQ(sdl_cp932_to_utf8(nullptr, out, sizeof out), 0u);
}
