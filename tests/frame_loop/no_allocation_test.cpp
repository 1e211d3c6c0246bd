// Nothing is allocated per frame: the whole program runs on the headless
// backend under a counting allocator, and the frames after the scenes have
// started allocate nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/headless/headless.h"
#include "scenes/scene_manager.h"
#include "scenes/title_scene.h"
#include "shell/shell.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// The game allocates with new (std::nothrow) too: counted alike, and taken
// from the same heap as the delete below gives it back to.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
    if (frames_seen == settle_frames) allocations_at_settle = allocations.load();
    if (frames_seen == settle_frames + counted_frames) allocations_at_end = allocations.load();
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
