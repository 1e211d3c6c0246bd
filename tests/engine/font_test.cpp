// Text drawing: the clip rectangle reaches the screen's edges, the colour
// passes through, and a holder whose font failed draws nothing.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "render/font.h"

namespace {

TEST(Font, TextIsClippedFromItsCornerToTheScreenEdges) {
    headless_reset();
    Font f;
    font_init(f);
    font_create(f, 36, "");
    headless_clear_draws();
    // " 1位 00123" in the first place's colour.
    font_draw_text(f, "\x20\x31\x88\xca\x20\x30\x30\x31\x32\x33", 120, 180, 0xFFC8C800u);
    font_draw_text(f, "x", 600, 470, 0xC8FFFFFFu);
    int n = 0;
    const HeadlessDraw* d = headless_draws(&n);
    ASSERT_EQ(n, 2);
    EXPECT_STREQ(d[0].text, "\x20\x31\x88\xca\x20\x30\x30\x31\x32\x33");
    EXPECT_EQ(d[0].left, 120);
    EXPECT_EQ(d[0].top, 180);
    EXPECT_EQ(d[0].right, 640);
    EXPECT_EQ(d[0].bottom, 480);
    EXPECT_EQ(d[0].color, 0xFFC8C800u);
    EXPECT_EQ(d[0].font_height, 36);
    EXPECT_EQ(d[1].left, 600);
    EXPECT_EQ(d[1].color >> 24, 0xC8u);
    font_release(f);
    EXPECT_EQ(f.font, nullptr);
}

TEST(Font, CreatingAgainReplacesTheFontAndAnEmptyHolderDrawsNothing) {
    headless_reset();
    Font f;
    font_init(f);
    font_create(f, 15, "");
    font_create(f, 25, "");
    headless_clear_draws();
    font_draw_text(f, "Score", 250, 340, 0xFF00FF00u);
    int n = 0;
    const HeadlessDraw* d = headless_draws(&n);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(d[0].font_height, 25);
    font_release(f);
    font_release(f);  // a second release finds nothing to give back
    headless_clear_draws();
    EXPECT_EQ(font_draw_text(f, "Score", 250, 340, 0xFF00FF00u), 0);
    headless_draws(&n);
    EXPECT_EQ(n, 0);
}

}  // namespace
