// Nothing is allocated per frame: the whole program runs on the headless
// backend under a counting allocator, and the frames after the scenes have
// started allocate nothing.
#include <gtest/gtest.h>


#include "platform/headless/headless.h"
#include "scenes/scene_manager.h"
#include "scenes/title_scene.h"
#include "shell/shell.h"
#include "tests/counting_allocator.h"

namespace {

constexpr int settle_frames = 30;    // scene start-up may load and allocate
constexpr int counted_frames = 300;  // frames that must allocate nothing

int frames_seen = 0;
long allocations_at_settle = -1;
long allocations_at_end = -1;

// The title's own update, watched from outside.
void watched_title_update() {
    title_scene_update();
    frames_seen += 1;
    if (frames_seen == settle_frames) allocations_at_settle = allocations_made();
    if (frames_seen == settle_frames + counted_frames) allocations_at_end = allocations_made();
}

TEST(FrameLoop, TitleFramesAllocateNothing) {
    headless_reset();
    const SceneHandlers watched = {title_scene_init, watched_title_update, title_scene_draw,
                                   title_scene_release, nullptr};
    scene_set_handlers(Title, &watched);
    headless_escape_after_frames(settle_frames + counted_frames + 5);
    EXPECT_EQ(shell_main(), 1);
    scene_set_handlers(Title, nullptr);
    ASSERT_GE(allocations_at_settle, 0);
    ASSERT_GE(allocations_at_end, 0);
    EXPECT_EQ(allocations_at_end - allocations_at_settle, 0);
}

}  // namespace
