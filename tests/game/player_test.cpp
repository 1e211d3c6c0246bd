// The player on a floor stage: standing, walking, jumping, falling, the
// screen edges and self-destruction, frame by frame.
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using PlayerTest = GameFixture;

TEST_F(PlayerTest, StandsOnTheStartBlockWithoutSinking) {
    start(1, floor_stage());
    EXPECT_EQ(player_x(), 54.0f);
    EXPECT_EQ(player_y(), 352.0f);
    for (int i = 0; i < 30; ++i) {
        frame();
        ASSERT_EQ(player_y(), 352.0f) << "frame " << i;
        ASSERT_EQ(game.grounded, 1);
        ASSERT_EQ(game.in_start_area, 1);
        ASSERT_EQ(game.player.frame, 3);  // standing
    }
}

TEST_F(PlayerTest, WalksThreePixelsAFrameEitherWay) {
    start(1, floor_stage());
    frames(10, {vk_right});
    EXPECT_EQ(player_x(), 84.0f);
    EXPECT_EQ(game.facing_right, 1);
    frames(4, {vk_left});
    EXPECT_EQ(player_x(), 72.0f);
    EXPECT_EQ(game.facing_right, 0);
    // Both held: no movement, facing right, walk frames shown.
    game.walk_anim = 1.0f;
    frames(7, {vk_left, vk_right});
    EXPECT_EQ(player_x(), 72.0f);
    EXPECT_EQ(game.facing_right, 1);
    EXPECT_EQ(game.player.frame, 2);  // walk_anim 2.2 when the frame was picked
    EXPECT_EQ(player_y(), 352.0f);
    // Facing left mirrors the picture about its centre: same rectangle.
    frame({vk_left});
    ASSERT_EQ(game.player.scale_x, -1.0f);
    ASSERT_EQ(game.player.pivot_x, 32);
}

TEST_F(PlayerTest, WalkFramesCycleThroughTheFourPictures) {
    start(1, floor_stage());
    game.walk_anim = 0.0f;
    std::vector<int> shown;
    for (int i = 0; i < 22; ++i) {
        frame({vk_right});
        // A frame past the strip's four shows the strip again from its start.
        shown.push_back(game.player.frame % 4);
    }
    // walk_anim is 0.2 more each frame; about five frames a picture.
    const std::vector<int> expected = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2,
                                       2, 2, 2, 2, 3, 3, 3, 3, 3, 0, 0};
    EXPECT_EQ(shown, expected);
}

TEST_F(PlayerTest, JumpRisesAboutTwoCellsAndLandsAgain) {
    start(1, floor_stage());
    frame();
    std::vector<float> ys;
    frame({vk_space});
    EXPECT_EQ(effects(), std::vector<int>{Jump});
    ys.push_back(player_y());
    for (int i = 0; i < 40; ++i) {
        frame({vk_space});  // held, not pressed again: no second jump
        ys.push_back(player_y());
    }
    int rising = 0;
    while (rising + 1 < static_cast<int>(ys.size()) && ys[rising + 1] < ys[rising]) ++rising;
    rising += 1;  // the press frame itself rises
    EXPECT_EQ(rising, 17);
    const float top = ys[rising - 1];
    EXPECT_NEAR(352.0f - top, 64.0f, 0.2f);
    EXPECT_GT(ys[rising], top);  // the 18th frame turns downwards
    EXPECT_EQ(ys.back(), 352.0f);
    EXPECT_EQ(game.grounded, 1);
    EXPECT_TRUE(effects().empty());
}

TEST_F(PlayerTest, JumpOnlyFromTheGround) {
    start(1, floor_stage());
    frame();
    frame({vk_space});
    frames(5);
    const float speed = game.fall_speed;
    frame({vk_space});  // pressed in the air
    EXPECT_NEAR(game.fall_speed, speed + 0.47f, 1e-4f);
    EXPECT_TRUE(effects() == std::vector<int>({Jump}));
    // Down again: the first frame after landing jumps.
    while (game.grounded == 0 || player_y() != 352.0f) frame();
    frame({vk_space});
    EXPECT_LT(player_y(), 352.0f);
    EXPECT_EQ(effects(), std::vector<int>{Jump});
}

TEST_F(PlayerTest, FallSpeedGrowsOnlyBelowTen) {
    start(1, floor_stage());
    struct Case {
        float start, after;
    } cases[] = {{9.99f, 10.46f}, {10.2f, 10.2f}, {9.5f, 9.97f}};
    for (const Case& c : cases) {
        game_scene_start_at_stage(1, nullptr);
        sprite_set_position(game.player, 300.0f, 0.0f);
        game.grounded = 0;
        game.gravity = 0.47f;
        game.fall_speed = c.start;
        frame();
        EXPECT_NEAR(game.fall_speed, c.after, 1e-5f) << c.start;
        EXPECT_NEAR(player_y(), c.after, 1e-5f) << c.start;
    }
    // From rest the speed never passes 10.47 and the player lands on the floor.
    game_scene_start_at_stage(1, nullptr);
    sprite_set_position(game.player, 300.0f, 0.0f);
    float highest = 0.0f;
    for (int i = 0; i < 80; ++i) {
        frame();
        if (game.fall_speed > highest) highest = game.fall_speed;
    }
    EXPECT_GT(highest, 10.0f);
    EXPECT_LE(highest, 10.47f);
    EXPECT_EQ(player_y(), 352.0f);
    EXPECT_EQ(game.total_deaths, 0);
}

TEST_F(PlayerTest, LeavingTheScreenCountsADeathWithoutACorpse) {
    start(1, floor_stage());
    struct Case {
        float x, y;
        int dies;
    } cases[] = {
        {-0.5f, 200.0f, 1},  {0.0f, 200.0f, 0},   {640.0f, 200.0f, 0},  {640.5f, 200.0f, 1},
        {300.0f, 480.0f, 0}, {300.0f, 480.5f, 1}, {300.0f, -100.0f, 0}, {300.0f, -100.5f, 1},
    };
    for (const Case& c : cases) {
        game_scene_start_at_stage(1, nullptr);
        sprite_set_position(game.player, c.x, c.y);
        game.grounded = 0;  // no gravity this frame: the player stays where it is put
        game.gravity = 0.0f;
        frame();
        EXPECT_EQ(game.total_deaths, c.dies) << c.x << ", " << c.y;
        if (c.dies) {
            EXPECT_EQ(player_x(), 54.0f);
            EXPECT_EQ(player_y(), 352.0f);  // respawned and put on the start block
        }
    }
    // Walking off the left edge: x 0 is still on screen, -3 is not.
    game_scene_start_at_stage(1, nullptr);
    frames(18, {vk_left});
    EXPECT_EQ(player_x(), 0.0f);
    EXPECT_EQ(game.total_deaths, 0);
    frame({vk_left});
    EXPECT_EQ(game.total_deaths, 1);
    EXPECT_EQ(player_x(), 54.0f);
    frame();
    EXPECT_EQ(game.corpse_count, 0);
    EXPECT_EQ(game.blood_active, 0);
    EXPECT_TRUE(effects().empty());
}

TEST_F(PlayerTest, SelfDestructsOnlyOnTheGroundOutsideTheStartArea) {
    start(1, floor_stage());
    frame({vk_c});  // in the start area
    frame();
    EXPECT_EQ(game.total_deaths, 0);
    frames(15, {vk_right});
    frame();
    EXPECT_EQ(game.in_start_area, 0);
    frame({vk_space});
    frames(3);
    frame({vk_c});  // in the air
    EXPECT_EQ(game.total_deaths, 0);
    while (game.grounded == 0) frame();
    const float x = player_x(), y = player_y();
    effects();
    frame({vk_c});
    EXPECT_EQ(game.total_deaths, 1);
    EXPECT_EQ(effects(), std::vector<int>{Dead});
    EXPECT_EQ(sprite_get_x(game.corpse[0]), x + 10.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[0]), y + 40.0f);
    EXPECT_EQ(player_x(), 54.0f);
    EXPECT_EQ(player_y(), 352.0f);
    EXPECT_EQ(game.blood_active, 1);
    EXPECT_EQ(sprite_get_x(game.blood), x);
    EXPECT_EQ(sprite_get_y(game.blood), y + 20.0f);
}

}  // namespace
}  // namespace game_test
