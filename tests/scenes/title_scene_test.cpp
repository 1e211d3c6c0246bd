// The title screen: its fade-in from the black of process start, which
// decide presses count, the hand-over to the game, and the two animations.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/game_state.h"
#include "platform/headless/headless.h"
#include "render/device.h"
#include "render/sprite.h"
#include "scenes/fade.h"
#include "scenes/scene_manager.h"
#include "scenes/title_scene.h"

namespace {

constexpr int vk_return = 0x0D;

class TitleScene : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        create_device(0);
        scene_manager() = {None, None, None};
        fade_alpha = 255;  // as at process start
        start_scenes();
    }
    void TearDown() override {
        release_scene();
        scene_manager() = {None, None, None};
        release_device();
    }
    // One frame as the frame loop runs it, Enter held or not.
    static void frame(int enter_held) {
        headless_set_key(vk_return, enter_held);
        update_scene();
        draw_scene();
    }
};

TEST_F(TitleScene, FadesInFromBlackAndIsShownOnThe26thUpdate) {
    frame(0);
    EXPECT_EQ(scene_manager().current, Title);
    EXPECT_EQ(fade_alpha, 245);
    EXPECT_EQ(game.title_start.x, 140.0f);
    EXPECT_EQ(game.title_start.y, 360.0f);
    for (int i = 2; i <= 25; ++i) frame(0);
    EXPECT_EQ(game.scene_phase, 1);
    EXPECT_EQ(fade_alpha, 5);
    frame(0);
    EXPECT_EQ(game.scene_phase, 2);
    EXPECT_EQ(fade_alpha, 0);
    EXPECT_EQ(game.fade_sprite.color, 0x00000000u);
}

TEST_F(TitleScene, DecideInTheFrameTheFadeEndsStartsTheFadeOutAtOnce) {
    for (int i = 1; i <= 25; ++i) frame(0);
    frame(1);
    EXPECT_EQ(game.scene_phase, 3);
    EXPECT_EQ(fade_alpha, 0);
    // 26 fade-out steps; the last asks for the game and the title still draws.
    for (int i = 1; i <= 25; ++i) frame(0);
    EXPECT_EQ(scene_manager().next, Title);
    EXPECT_EQ(fade_alpha, 250);
    headless_clear_draws();
    frame(0);
    EXPECT_EQ(scene_manager().next, Game);
    EXPECT_EQ(scene_manager().current, Title);
    EXPECT_EQ(game.scene_phase, 1);
    EXPECT_EQ(fade_alpha, 255);
    // That frame's draw: background, effect, prompt, then the opaque fade.
    int n = 0;
    const HeadlessDraw* d = headless_draws(&n);
    ASSERT_EQ(n, 4);
    EXPECT_EQ(d[3].vertices[0].diffuse, 0xFF000000u);
    EXPECT_EQ(d[3].vertices[1].x - d[3].vertices[0].x, 640.0f);
}

TEST_F(TitleScene, DecideHeldThroughTheFadeInDoesNotStartTheGame) {
    for (int i = 1; i <= 60; ++i) frame(1);
    EXPECT_EQ(game.scene_phase, 2);
    EXPECT_EQ(fade_alpha, 0);
    frame(0);
    frame(1);  // a new press once shown
    EXPECT_EQ(game.scene_phase, 3);
}

TEST_F(TitleScene, AnimationsCycleIn36UpdatesAndNeverShowTheLastFrame) {
    game.title_effect_frame = 0.0f;
    game.title_start_frame = 0.0f;
    std::vector<int> effect, prompt;
    float effect_top = 0.0f, prompt_top = 0.0f;
    for (int i = 0; i < 36 * 4; ++i) {
        frame(0);
        effect.push_back(game.title_effect.frame);
        prompt.push_back(game.title_start.frame);
        effect_top = std::max(effect_top, game.title_effect_frame);
        prompt_top = std::max(prompt_top, game.title_start_frame);
    }
    // The highest counts before the restart.
    EXPECT_NEAR(effect_top, 6.9999976f, 1e-6f);
    EXPECT_NEAR(prompt_top, 4.9000006f, 1e-6f);
    // Frames held for how many updates, from the first restart on.
    auto runs = [](const std::vector<int>& frames) {
        std::vector<std::pair<int, int>> r;
        size_t i = 1;
        while (i < frames.size() && !(frames[i] == 0 && frames[i - 1] != 0)) ++i;
        for (; i < frames.size(); ++i) {
            if (r.empty() || r.back().first != frames[i]) r.push_back({frames[i], 0});
            r.back().second += 1;
        }
        r.pop_back();  // the last run may be cut short
        return r;
    };
    const std::vector<std::pair<int, int>> effect_cycle = {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 6}, {5, 5}, {6, 5}};
    const std::vector<std::pair<int, int>> prompt_cycle = {{0, 8}, {1, 7}, {2, 7}, {3, 7}, {4, 7}};
    const auto e = runs(effect), p = runs(prompt);
    ASSERT_GE(e.size(), 14u);
    ASSERT_GE(p.size(), 10u);
    for (size_t i = 0; i < 14; ++i) EXPECT_EQ(e[i], effect_cycle[i % 7]) << "effect run " << i;
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(p[i], prompt_cycle[i % 5]) << "prompt run " << i;
    for (int f : effect) EXPECT_LT(f, 7);
    for (int f : prompt) EXPECT_LT(f, 5);
}

}  // namespace
