// Nothing is allocated per frame of play: walking, jumping, deaths,
// corpses, selection, burning, freezing and the clear sequence run under a
// counting allocator. Only loading a stage and retrying it may allocate.

#include "tests/counting_allocator.h"
#include "tests/game/game_fixture.h"

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
    const long before = allocations_made();
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
    EXPECT_EQ(allocations_made() - before, 0);
}

}  // namespace
}  // namespace game_test
