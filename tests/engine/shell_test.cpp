// The process shell on the headless backend: refusing a second copy, the
// device failure message, quitting with Escape, and messages holding frames.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless.h"
#include "scenes/scene_manager.h"
#include "shell/shell.h"

namespace {

std::string calls;
int first_update_after_sleeps = -1;
int title_updates = 0;

int title_init() { calls += "Ti "; return 1; }
void title_update() {
    if (title_updates++ == 0) first_update_after_sleeps = headless_sleeps();
    if (title_updates == 3) request_scene(Game);  // carried out at the top of frame 4
}
void title_release() { calls += "Tr "; }
int game_init() { calls += "Gi "; return 1; }
void game_release() { calls += "Gr "; }

const SceneHandlers title = {title_init, title_update, nullptr, title_release, nullptr};
const SceneHandlers game_scene = {game_init, nullptr, nullptr, game_release, nullptr};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        calls.clear();
        first_update_after_sleeps = -1;
        title_updates = 0;
        scene_manager() = {None, None, None};
        scene_set_handlers(Title, &title);
        scene_set_handlers(Game, &game_scene);
    }
    void TearDown() override {
        scene_manager() = {None, None, None};
        scene_set_handlers(Title, nullptr);
        scene_set_handlers(Game, nullptr);
    }
};

TEST_F(ShellTest, SecondCopyEndsAtOnceWithZero) {
    headless_set_other_instance(1);
    EXPECT_EQ(shell_main(), 0);
    EXPECT_EQ(headless_window_created(), 0);
    EXPECT_EQ(headless_device_created(), 0);
    EXPECT_EQ(calls, "");
}

TEST_F(ShellTest, EscapeReleasesTheCurrentSceneAndEndsWithOne) {
    headless_escape_after_frames(200);
    EXPECT_EQ(shell_main(), 1);
    EXPECT_EQ(headless_frames_presented(), 200);
    EXPECT_EQ(calls, "Ti Tr Gi Gr ");
    EXPECT_EQ(headless_device_created(), 0);
    EXPECT_EQ(headless_window_created(), 0);
    EXPECT_EQ(headless_cursor_shown(), 1);  // shown at exit
    EXPECT_EQ(headless_timer_periods(), 0);
}

TEST_F(ShellTest, QuittingWithAChangePendingReleasesTheOldSceneOnly) {
    headless_escape_after_frames(3);  // the request is made in frame 3
    EXPECT_EQ(shell_main(), 1);
    EXPECT_EQ(calls, "Ti Tr ");
    EXPECT_EQ(scene_manager().next, Game);
}

TEST_F(ShellTest, DeviceFailureShowsTheMessageAndRunsNoFrame) {
    headless_fail_device(1);
    EXPECT_EQ(shell_main(), 1);
    EXPECT_EQ(headless_message_boxes(), 1);
    // "ダイレクトグラフィックスの初期化に失敗しました", empty caption, owned by the window.
    EXPECT_STREQ(headless_last_message_box_text(),
                 "\x83\x5f\x83\x43\x83\x8c\x83\x4e\x83\x67\x83\x4f\x83\x89\x83\x74\x83\x42\x83\x62"
                 "\x83\x4e\x83\x58\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5"
                 "\x82\xdc\x82\xb5\x82\xbd");
    EXPECT_STREQ(headless_last_message_box_caption(), "");
    EXPECT_EQ(headless_last_message_box_owned(), 1);
    EXPECT_EQ(headless_frames_presented(), 0);
    EXPECT_EQ(calls, "");
    EXPECT_EQ(headless_cursor_shown(), 1);
}

TEST_F(ShellTest, ABurstOfMessagesHoldsTheFramesBack) {
    for (int i = 0; i < 50; ++i) headless_post_message(HeadlessMessageOther);
    headless_escape_after_frames(2);
    EXPECT_EQ(shell_main(), 1);
    // Fifty passes each took one message and slept; only then did a frame run.
    EXPECT_EQ(first_update_after_sleeps, 50);
    EXPECT_EQ(headless_frames_presented(), 2);
    // Escape, close and quit took three passes: every pass sleeps once.
    EXPECT_EQ(headless_sleeps(), 50 + 2 + 2);
}

}  // namespace
