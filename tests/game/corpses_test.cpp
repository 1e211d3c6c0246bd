// Corpses: where a death leaves one, how corpses fall, rest and stack, the
// choice of slot when the 50 are used up, and the blood splash.
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using CorpseTest = GameFixture;

// A spike cell (3) standing on the floor at x 256..288, a shallow hazard
// (2) in the floor at x 320..352 and a block step at x 416..448.
std::vector<std::string> hazard_stage() {
    std::vector<std::string> rows = floor_stage();
    rows[12][8] = '3';
    rows[13][10] = '2';
    return rows;
}

TEST_F(CorpseTest, HazardDeathLeavesACorpseWhereThePlayerStartedTheFrame) {
    start(1, hazard_stage());
    float x = 0, y = 0;
    while (game.total_deaths == 0) {
        x = player_x();
        y = player_y();
        frame({vk_right});
        ASSERT_LT(player_x(), 256.0f);
    }
    EXPECT_EQ(effects(), std::vector<int>{Dead});
    EXPECT_EQ(sprite_get_x(game.corpse[0]), x + 10.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[0]), y + 40.0f);
    EXPECT_EQ(game.corpse_seq[0], 0);
    EXPECT_EQ(game.next_corpse_seq, 1);
    EXPECT_EQ(player_x(), 54.0f);
    EXPECT_EQ(sprite_get_x(game.blood), x + 3.0f);  // where the frame's walk took it
    frame();
    EXPECT_EQ(game.corpse_count, 1);
    EXPECT_EQ(game.corpse_digits[0], 1);
    EXPECT_EQ(game.digit_ones.frame, 1);
}

TEST_F(CorpseTest, CorpsesFallAndRestOnBlocksAndInShallowHazards) {
    start(1, hazard_stage());
    sprite_set_position(game.corpse[0], 400.0f, 300.0f);  // over the floor
    sprite_set_position(game.corpse[1], 316.0f, 300.0f);  // body over the shallow hazard only
    sprite_set_position(game.corpse[2], 250.0f, 300.0f);  // over the spike: falls through it
    place_sensors();
    for (int i = 1; i <= 5; ++i) {
        frame();
        EXPECT_EQ(sprite_get_y(game.corpse[0]), 300.0f + 1.5f * i);
    }
    frames(120);
    EXPECT_EQ(sprite_get_y(game.corpse[0]), 416.0f - 19.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[1]), 416.0f - 11.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[2]), 416.0f - 19.0f);  // on the floor below the spike
    EXPECT_EQ(game.corpse_count, 3);
}

TEST_F(CorpseTest, CorpsesStackOnEachOtherAndHangTogether) {
    start(1, floor_stage());
    sprite_set_position(game.corpse[0], 400.0f, 397.0f);  // resting on the floor
    sprite_set_position(game.corpse[1], 400.0f, 300.0f);
    // Two corpses at the same place hold each other up, even in the air.
    sprite_set_position(game.corpse[2], 200.0f, 100.0f);
    sprite_set_position(game.corpse[3], 200.0f, 100.0f);
    place_sensors();
    frames(100);
    // A resting corpse falls 1.5 pixels each frame before its body sensor
    // is placed and the floor puts it back, so its body is tested at the
    // top 403.5. Corpse 1 stops at the first of its 1.5-pixel steps where
    // its foot (y + 12 .. y + 17) meets that body: 387, not 385.5.
    EXPECT_EQ(sprite_get_y(game.corpse[0]), 397.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[1]), 387.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[2]), 100.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[3]), 100.0f);
    // Taking the lower one away lets the upper one fall on.
    sprite_set_y(game.corpse[0], 1000.0f);
    place_sensors();
    frames(20);
    EXPECT_EQ(sprite_get_y(game.corpse[1]), 397.0f);
}

TEST_F(CorpseTest, CorpseBelowTheScreenFreesItsSlot) {
    std::vector<std::string> rows = floor_stage();
    rows[13][12] = '.';  // a hole in the floor at x 384..416
    rows[14][12] = '.';
    start(1, rows);
    sprite_set_position(game.corpse[0], 383.0f, 420.0f);
    place_sensors();
    frame();
    EXPECT_EQ(game.corpse_count, 1);
    frames(40);
    EXPECT_EQ(game.corpse_count, 0);
    EXPECT_EQ(game.corpse_on_screen[0], 0);
    game.prev_x = 200.0f;
    game.prev_y = 300.0f;
    kill_player();
    EXPECT_EQ(sprite_get_x(game.corpse[0]), 210.0f);  // the freed slot is the lowest free one
}

// The slot for a new corpse: the lowest free one; with all 50 on screen the
// oldest unfrozen corpse is taken from where it lies; with all frozen none.
TEST_F(CorpseTest, SlotChoice) {
    struct Case {
        const char* what;
        int off_screen;   // a slot left free, or -1
        int frozen_upto;  // slots below this are frozen
        int expected;     // the slot taken, -1 for none
    } cases[] = {
        {"lowest free", 0, 0, 0},
        {"a free slot among used ones", 23, 0, 23},
        {"all used: the oldest unfrozen", -1, 0, 7},
        {"all used, oldest frozen: the next oldest", -1, 10, 12},
        {"all used and frozen", -1, 50, -1},
        {"the only free slot frozen", 5, 50, -1},
    };
    for (const Case& c : cases) {
        start(1, floor_stage());
        for (int s = 0; s < corpse_slots; ++s) {
            // In a row on the floor, right of the start area.
            sprite_set_position(game.corpse[s], 130.0f + 9.0f * s, 397.0f);
            game.corpse_seq[s] = 200 + s;
            game.corpse_frozen[s] = s < c.frozen_upto;
        }
        game.corpse_seq[7] = 3;   // the oldest ...
        game.corpse_seq[12] = 5;  // ... and the next oldest
        if (c.off_screen >= 0) sprite_set_y(game.corpse[c.off_screen], 1000.0f);
        place_sensors();
        frame();
        const int deaths = game.total_deaths;
        const int count = game.corpse_count;
        game.next_corpse_seq = 300;
        game.prev_x = 300.0f;
        game.prev_y = 100.0f;
        kill_player();
        EXPECT_EQ(game.total_deaths, deaths + 1) << c.what;
        EXPECT_EQ(player_x(), 54.0f) << c.what;
        int moved = -1;
        for (int s = 0; s < corpse_slots; ++s)
            if (sprite_get_x(game.corpse[s]) == 310.0f && sprite_get_y(game.corpse[s]) == 140.0f)
                moved = s;
        EXPECT_EQ(moved, c.expected) << c.what;
        if (moved >= 0) {
            EXPECT_EQ(game.corpse_seq[moved], 300) << c.what;
            EXPECT_EQ(game.next_corpse_seq, 301) << c.what;
        }
        frame();
        EXPECT_EQ(game.corpse_count, count + (c.off_screen >= 0 && moved >= 0)) << c.what;
    }
}

TEST_F(CorpseTest, BloodSplashGrowsAndASecondDeathContinuesIt) {
    start(1, floor_stage());
    game.prev_x = 300.0f;
    game.prev_y = 100.0f;
    kill_player();
    std::vector<float> scales;
    for (int i = 0; i < 18; ++i) {
        frame();
        scales.push_back(game.blood.scale_x);
    }
    EXPECT_NEAR(scales[0], 0.06f, 1e-6f);
    EXPECT_NEAR(scales[16], 1.02f, 1e-5f);  // 17 frames of growth
    EXPECT_EQ(scales[17], 0.0f);            // gone in the 18th
    EXPECT_EQ(game.blood_active, 0);

    kill_player();
    frames(5);
    kill_player();
    EXPECT_NEAR(game.blood_scale, 0.30f, 1e-5f);
    frame();
    EXPECT_NEAR(game.blood.scale_x, 0.36f, 1e-5f);
}

}  // namespace
}  // namespace game_test
