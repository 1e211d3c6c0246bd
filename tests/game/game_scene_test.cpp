// The game scene's flow: the opening, the first stage's fade-in, the HUD
// lines, the order of stages, the retry, and the hand-over to the result.
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using GameSceneTest = GameFixture;

std::vector<HeadlessDraw> drawn_texts() {
    std::vector<HeadlessDraw> found;
    int n = 0;
    const HeadlessDraw* d = headless_draws(&n);
    for (int i = 0; i < n; ++i)
        if (d[i].kind == HeadlessText) found.push_back(d[i]);
    return found;
}

TEST_F(GameSceneTest, OpeningThenTheFirstStageFadesIn) {
    write_stage(1, floor_stage());
    fade_alpha = 255;  // the title hands over on black
    fade_make_sprite();
    game.opening_tick = 0;
    game.opening_frame = 0;
    game.opening_timer = 0;
    std::vector<int> pictures;
    int shown_at = 0, fading_out_at = 0, stages_at = 0;
    for (int f = 1; f <= 100 && !stages_at; ++f) {
        frame();
        pictures.push_back(game.opening_picture.frame);
        if (!shown_at && game.scene_phase == 2) shown_at = f;
        if (!fading_out_at && game.scene_phase == 3) fading_out_at = f;
        if (game.game_phase == 1) stages_at = f;
    }
    EXPECT_EQ(shown_at, 26);
    EXPECT_EQ(fading_out_at, 52);
    EXPECT_EQ(stages_at, 78);
    EXPECT_EQ(fade_alpha, 255);
    // A new picture every five frames, eight of them, then round again; the
    // count's ninth value shows the first picture too, so it stays ten frames.
    EXPECT_EQ(pictures[3], 0);
    EXPECT_EQ(pictures[4], 1);
    EXPECT_EQ(pictures[9], 2);
    EXPECT_EQ(pictures[34], 7);
    EXPECT_EQ(pictures[39], 0);
    EXPECT_EQ(pictures[44], 0);
    EXPECT_EQ(pictures[49], 1);
    frame();  // stage step 0: load and reset
    EXPECT_EQ(game.stage_step, 1);
    EXPECT_EQ(game.target_corpses, 3);
    int faded_in_at = 0;
    for (int f = 1; f <= 30 && !faded_in_at; ++f) {
        frame();
        if (game.intro_fade_done) faded_in_at = f;
    }
    EXPECT_EQ(faded_in_at, 26);
    EXPECT_EQ(fade_alpha, 0);
    EXPECT_EQ(game.scene_phase, 0);
}

// After a reset the feet sensor sits 2 pixels higher than after every
// later placing.
TEST_F(GameSceneTest, FeetSensorOffsetAfterTheResetAndAfter) {
    start(1, floor_stage());
    EXPECT_EQ(sprite_get_y(game.feet_sensor), player_y() + 44.0f);
    EXPECT_EQ(sprite_get_x(game.feet_sensor), player_x() + 21.0f);
    EXPECT_EQ(sprite_get_y(game.feet_sensor) - sprite_get_y(game.head_sensor), 16.0f);
    frame();
    // Placed while the player had sunk 0.47 pixels, before the floor put it back.
    EXPECT_NEAR(sprite_get_y(game.head_sensor), 352.47f + 28.0f, 1e-4f);
    EXPECT_EQ(sprite_get_y(game.feet_sensor) - sprite_get_y(game.head_sensor), 18.0f);
}

TEST_F(GameSceneTest, StartAtAStageIsAsRightAfterItsLoadWithTheFadeDone) {
    std::vector<std::string> rows = floor_stage();
    rows[13][2] = '#';
    rows[13][7] = '6';  // the start block at column 7
    write_stage(7, rows);
    game.total_deaths = 12;
    game.score = 900;
    game_scene_start_at_stage(7, nullptr);
    EXPECT_EQ(game.game_phase, 1);
    EXPECT_EQ(game.stage_step, 1);
    EXPECT_EQ(game.stage_number, 7);
    EXPECT_EQ(game.target_corpses, 4);
    EXPECT_EQ(game.scene_phase, 0);
    EXPECT_EQ(game.intro_fade_done, 1);
    EXPECT_EQ(fade_alpha, 0);
    EXPECT_EQ(game.fade_sprite.color, 0x00000000u);
    EXPECT_EQ(game.total_deaths, 0);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(player_x(), 214.0f);
    EXPECT_EQ(player_y(), 352.0f);
    EXPECT_EQ(sprite_get_x(game.start_area), 215.0f);
    EXPECT_EQ(sprite_get_y(game.respawn_marker), 356.0f);
    frame();
    EXPECT_EQ(game.grounded, 1);
    EXPECT_EQ(game.in_start_area, 1);
    EXPECT_EQ(fade_alpha, 0);
    // Another file for the same stage number and target.
    rows[13][7] = '#';
    rows[13][12] = '6';
    write_file("other.dat", stage_bytes(rows));
    game_scene_start_at_stage(7, "other.dat");
    EXPECT_EQ(game.tile_map.tiles.size(), 300u);
    EXPECT_EQ(game.target_corpses, 4);
    EXPECT_EQ(player_x(), 374.0f);
}

TEST_F(GameSceneTest, HudLinesInShiftJis) {
    start(2, floor_stage());
    game.total_deaths = 1234;
    frame();
    const std::vector<HeadlessDraw> texts = drawn_texts();
    ASSERT_EQ(texts.size(), 2u);
    // "目標屍数　5体以内 " and "累計死亡数　   1234回"
    EXPECT_EQ(std::string(texts[0].text),
              "\x96\xda\x95\x57\x8e\x72\x90\x94\x81\x40"
              "5"
              "\x91\xcc\x88\xc8\x93\xe0 ");
    EXPECT_EQ(std::string(texts[1].text),
              "\x97\xdd\x8c\x76\x8e\x80\x96\x53\x90\x94\x81\x40"
              "   1234\x89\xf1");
    EXPECT_EQ(texts[0].left, 220);
    EXPECT_EQ(texts[0].top, 420);
    EXPECT_EQ(texts[0].color, 0xFF00FF00u);
    EXPECT_EQ(texts[1].left, 220);
    EXPECT_EQ(texts[1].top, 440);
    EXPECT_EQ(texts[1].color, 0xFFFF0000u);
    EXPECT_EQ(texts[0].font_height, 15);
    // The fade rectangle is the frame's last draw, over the texts.
    int n = 0;
    const HeadlessDraw* d = headless_draws(&n);
    ASSERT_GT(n, 0);
    EXPECT_EQ(d[n - 1].kind, HeadlessQuad);
    EXPECT_EQ(d[n - 1].vertices[1].x - d[n - 1].vertices[0].x, 640.0f);
    EXPECT_EQ(d[n - 1].vertices[0].y - d[n - 1].vertices[2].y, 480.0f);
    EXPECT_EQ(d[n - 2].kind, HeadlessText);
}

TEST_F(GameSceneTest, StageOrder) {
    struct Case {
        int n, deaths, next;
    } cases[] = {{1, 0, 2},   {15, 999, 16}, {16, 250, 18}, {16, 251, 19},
                 {17, 0, 18}, {18, 0, 20},   {19, 0, 20},   {20, 0, 21}};
    for (const Case& c : cases) {
        game.total_deaths = c.deaths;
        EXPECT_EQ(next_stage_number(c.n), c.next) << c.n << " after " << c.deaths << " deaths";
    }
}

TEST_F(GameSceneTest, AfterTheLastStageTheResultIsRequested) {
    std::vector<std::string> rows = floor_stage();
    rows[13] = "##6##7##############";
    start(20, rows);
    frames(25, {vk_right});
    ASSERT_EQ(game.stage_step, 3);
    frames(30);
    frame({vk_return});
    for (int i = 0; i < 40 && game.stage_step != 0; ++i) frame();
    ASSERT_EQ(game.stage_number, 21);
    EXPECT_EQ(scene_manager().next, Game);
    game_scene_update();  // the load step, here without the scene change that follows
    EXPECT_EQ(scene_manager().next, Result);
    EXPECT_TRUE(game.tile_map.tiles.empty());
    EXPECT_EQ(game.score, 2000 + 1000);
}

TEST_F(GameSceneTest, RetryFadesOutPutsTheStageBackAndFadesIn) {
    start(1, floor_stage());
    const Tile* first_tile = game.tile_map.tiles[0];
    frames(15, {vk_right});
    frame({vk_c});  // a corpse on the floor
    frames(3);
    game.score = 700;
    ASSERT_EQ(game.corpse_count, 1);
    frame({vk_v});
    EXPECT_EQ(game.scene_phase, 1);
    EXPECT_EQ(game.restart_requested, 1);
    frame({vk_v});           // held: no new request
    frames(10, {vk_right});  // play goes on during the fade-out
    EXPECT_GT(player_x(), 54.0f);
    frames(15);
    EXPECT_EQ(game.scene_phase, 2);
    EXPECT_EQ(fade_alpha, 255);
    frame();  // black: the reset, then the first fade-in step
    EXPECT_EQ(game.scene_phase, 3);
    EXPECT_EQ(game.restart_requested, 0);
    EXPECT_EQ(fade_alpha, 245);
    EXPECT_EQ(sprite_get_x(game.corpse[0]), 1000.0f);
    frame();
    EXPECT_EQ(game.corpse_count, 0);
    EXPECT_EQ(player_x(), 54.0f);
    EXPECT_EQ(game.tile_map.tiles[0], first_tile);  // the stage is not reloaded
    frames(25);
    EXPECT_EQ(game.scene_phase, 0);
    EXPECT_EQ(fade_alpha, 0);
    EXPECT_EQ(game.total_deaths, 1);
    EXPECT_EQ(game.score, 700);
    EXPECT_EQ(game.stage_number, 1);
}

TEST_F(GameSceneTest, RetryIsRefusedDuringTheFirstFadeInAndWhileFading) {
    start(1, floor_stage());
    game.intro_fade_done = 0;
    fade_alpha = 200;
    frame({vk_v});
    EXPECT_EQ(game.scene_phase, 0);
    EXPECT_EQ(game.restart_requested, 0);
    frame();
    game.scene_phase = 3;  // a stage fading in
    frame({vk_v});
    EXPECT_EQ(game.restart_requested, 0);
}

}  // namespace
}  // namespace game_test
