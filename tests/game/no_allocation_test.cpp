// Nothing is allocated per frame of play: walking, jumping, deaths,
// corpses, selection, burning, freezing and the clear sequence run under a
// counting allocator. Only loading a stage and retrying it may allocate.
#include <atomic>
#include <cstdlib>
#include <new>

#include "tests/game/game_fixture.h"

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

namespace game_test {
namespace {

using FrameAllocation = GameFixture;

TEST_F(FrameAllocation, FramesOfPlayAndClearAllocateNothing) {
    std::vector<std::string> rows = floor_stage();
    rows[12][8] = '3';   // a spike to die on
    rows[13][12] = '2';  // a shallow hazard
    start(1, rows);
    sprite_set_position(game.corpse[0], 300.0f, 397.0f);
    place_sensors();
    frame();
    const long before = allocations.load();
    frame({vk_h});
    frame({vk_down});        // freeze it
    frames(40, {vk_right});  // walk into the spike
    frames(5);
    frame({vk_space});
    frames(30, {vk_right});
    frame({vk_c});
    frames(20);
    frame({vk_h});
    frame({vk_up});  // burn, from the start area if the player is back there
    frames(60);
    // The clear: the coffin reached by putting the player beside it.
    sprite_set_position(game.player, 520.0f, 352.0f);
    place_sensors();
    frames(30, {vk_right});
    EXPECT_EQ(game.stage_step, 3);
    frames(300);
    EXPECT_GT(game.total_deaths, 0);
    EXPECT_GT(game.shown_score, 0);
    EXPECT_EQ(allocations.load() - before, 0);
}

}  // namespace
}  // namespace game_test
