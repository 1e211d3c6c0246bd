// The screen fade: 26 frames each way, the colour of the fade rectangle, and
// a fade reversed half-way.
#include <gtest/gtest.h>

#include <vector>

#include "game/game_state.h"
#include "scenes/fade.h"

namespace {

// Taken before any test runs: the alpha the process starts with.
const int alpha_at_process_start = fade_alpha;

// Calls step until it reports the end; returns the alphas shown on the way
// (the value after each call) and the call count that returned 1.
std::vector<int> run(int (*step)(), int* ending_call) {
    std::vector<int> shown;
    for (int call = 1; call <= 100; ++call) {
        const int done = step();
        shown.push_back(fade_alpha);
        EXPECT_EQ(game.fade_sprite.color, static_cast<uint32_t>(fade_alpha) << 24);
        if (done) {
            *ending_call = call;
            return shown;
        }
    }
    *ending_call = -1;
    return shown;
}

TEST(Fade, StartsOpaqueAndTakesTwentySixFramesEachWay) {
    // The process starts on a black screen.
    ASSERT_EQ(alpha_at_process_start, 255);
    fade_alpha = 255;
    fade_make_sprite();
    EXPECT_EQ(game.fade_sprite.color, 0xFF000000u);
    EXPECT_EQ(game.fade_sprite.frame_width, 640);
    EXPECT_EQ(game.fade_sprite.frame_height, 480);
    EXPECT_EQ(game.fade_sprite.texture, nullptr);

    int ending = 0;
    std::vector<int> in = run(fade_in_step, &ending);
    EXPECT_EQ(ending, 26);
    EXPECT_EQ(in.front(), 245);
    EXPECT_EQ(in[24], 5);
    EXPECT_EQ(in.back(), 0);

    std::vector<int> out = run(fade_out_step, &ending);
    EXPECT_EQ(ending, 26);
    EXPECT_EQ(out.front(), 10);
    EXPECT_EQ(out[24], 250);
    EXPECT_EQ(out.back(), 255);
}

TEST(Fade, AtTheEndAlreadyTheStepReportsAtOnce) {
    int ending = 0;
    fade_alpha = 0;
    run(fade_in_step, &ending);
    EXPECT_EQ(ending, 1);
    EXPECT_EQ(fade_alpha, 0);
    fade_alpha = 255;
    run(fade_out_step, &ending);
    EXPECT_EQ(ending, 1);
    EXPECT_EQ(fade_alpha, 255);
}

TEST(Fade, LandingExactlyOnZeroReportsOnTheNextCall) {
    fade_alpha = 20;
    EXPECT_EQ(fade_in_step(), 0);
    EXPECT_EQ(fade_in_step(), 0);
    EXPECT_EQ(fade_alpha, 0);
    EXPECT_EQ(game.fade_sprite.color, 0x00000000u);
    EXPECT_EQ(fade_in_step(), 1);
    fade_alpha = 255;
}

TEST(Fade, FadeInInterruptedAt125ReturnsToBlackInFourteenSteps) {
    fade_alpha = 125;
    int ending = 0;
    std::vector<int> out = run(fade_out_step, &ending);
    EXPECT_EQ(ending, 14);
    EXPECT_EQ(out[0], 135);
    EXPECT_EQ(out[12], 255);
    // Re-making the rectangle keeps what is shown.
    fade_make_sprite();
    EXPECT_EQ(game.fade_sprite.color, 0xFF000000u);
}

}  // namespace
