// Tile contact responses by sensor kind and tile type, and the lock that a
// hazard death puts on the rest of the frame's contacts.
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using ContactTest = GameFixture;

// Column 5 holds one tile of each type 0..7 in rows 3..10 (and 9 in row
// 11): tile index 5 * 15 + row.
std::vector<std::string> type_column_stage() {
    std::vector<std::string> rows = floor_stage();
    const char* types = "012345679";
    for (int i = 0; i < 9; ++i) rows[3 + i][5] = types[i];
    return rows;
}
int tile_of_type(int type) { return 5 * 15 + 3 + (type == 9 ? 8 : type); }

struct PlayerState {
    float x, y, fall_speed, gravity;
    int grounded, touching_wall, deaths;
    float corpse_y;
};

PlayerState snapshot() {
    return {sprite_get_x(game.player),
            sprite_get_y(game.player),
            game.fall_speed,
            game.gravity,
            game.grounded,
            game.touching_wall,
            game.total_deaths,
            sprite_get_y(game.corpse[4])};
}

TEST_F(ContactTest, ResponsesByKindAndType) {
    start(1, type_column_stage());
    for (int kind = 0; kind <= 6; ++kind) {
        for (int type : {0, 1, 2, 3, 4, 5, 6, 7, 9}) {
            game_scene_start_at_stage(1, nullptr);
            sprite_set_position(game.player, 300.0f, 200.5f);
            game.fall_speed = 4.0f;
            game.gravity = 0.47f;
            game.grounded = 0;
            game.touching_wall = 0;
            game.contact_lock = 0;
            game.sweep_corpse = 4;
            sprite_set_position(game.corpse[4], 160.0f, 50.0f);
            game.prev_x = 290.0f;
            game.prev_y = 190.0f;
            const PlayerState before = snapshot();
            game_tile_contact(tile_of_type(type), kind);
            const PlayerState after = snapshot();
            const float top = tile_y(tile_of_type(type));
            const int solid = type == 1 || type == 6 || type == 7;
            const int deadly = type >= 2 && type <= 5;
            PlayerState expected = before;
            if (kind == 0 && deadly) {
                // The column's start block (later than column 2's) is the start cell.
                expected = {150.0f, 224.0f, 0.0f, 0.0f, 0, 0, before.deaths + 1, before.corpse_y};
                EXPECT_EQ(game.contact_lock, 1);
                EXPECT_EQ(sprite_get_x(game.corpse[0]), 300.0f);  // prev + (10, 40)
                EXPECT_EQ(sprite_get_y(game.corpse[0]), 230.0f);
                EXPECT_EQ(sprite_get_x(game.core_sensor), 150.0f + 19.0f);  // sensors followed
            } else if (kind == 1 && solid) {
                expected.y += 3.0f;
                expected.fall_speed = 0.0f;
            } else if (kind == 2 && solid) {
                expected.y = top - 64.0f;
                expected.fall_speed = expected.gravity = 0.0f;
                expected.grounded = 1;
            } else if ((kind == 3 || kind == 4) && solid) {
                expected.x += kind == 3 ? 1.0f : -1.0f;
                expected.touching_wall = 1;
            } else if (kind == 5 && solid) {
                expected.corpse_y = top - 19.0f;
            } else if (kind == 5 && type == 2) {
                expected.corpse_y = top + 8.0f - 19.0f;
            }
            const std::string what =
                "kind " + std::to_string(kind) + " type " + std::to_string(type);
            EXPECT_EQ(after.x, expected.x) << what;
            EXPECT_EQ(after.y, expected.y) << what;
            EXPECT_EQ(after.fall_speed, expected.fall_speed) << what;
            EXPECT_EQ(after.gravity, expected.gravity) << what;
            EXPECT_EQ(after.grounded, expected.grounded) << what;
            EXPECT_EQ(after.touching_wall, expected.touching_wall) << what;
            EXPECT_EQ(after.deaths, expected.deaths) << what;
            EXPECT_EQ(after.corpse_y, expected.corpse_y) << what;
        }
    }
}

TEST_F(ContactTest, FeetOnBlockAndCorpsesOnBlockAndShallowHazard) {
    std::vector<std::string> rows = floor_stage();
    rows[10][0] = '#';  // top y 320
    rows[12][6] = '2';  // top y 384
    start(1, rows);
    game_tile_contact(0 * 15 + 10, SensorFeet);
    EXPECT_EQ(player_y(), 256.0f);
    EXPECT_EQ(game.fall_speed, 0.0f);
    EXPECT_EQ(game.gravity, 0.0f);
    EXPECT_EQ(game.grounded, 1);
    game.sweep_corpse = 2;
    game_tile_contact(6 * 15 + 12, SensorCorpse);  // type 2, top 384
    EXPECT_EQ(sprite_get_y(game.corpse[2]), 373.0f);
    game_tile_contact(6 * 15 + 13, SensorCorpse);  // block, top 416
    EXPECT_EQ(sprite_get_y(game.corpse[2]), 397.0f);
}

// In one frame the core reaches a hazard and the feet a block: the death
// comes in the core sweep, and the feet sweep after it responds no more.
TEST_F(ContactTest, HazardDeathLocksTheRestOfTheFramesContacts) {
    std::vector<std::string> rows = floor_stage();
    rows[12][8] = '3';  // a spike cell standing on the floor at x 256..288
    start(1, rows);
    // Falling onto the spike's cell: core (y + 28 .. y + 53) reaches 384,
    // feet reach the floor at 416.
    sprite_set_position(game.player, 240.0f, 352.0f);
    place_sensors();
    game.grounded = 0;
    frame();
    EXPECT_EQ(game.total_deaths, 1);
    EXPECT_EQ(game.contact_lock, 1);
    EXPECT_EQ(player_x(), 54.0f);
    EXPECT_EQ(player_y(), 352.0f);  // at the respawn point, not put on any floor
    EXPECT_EQ(game.grounded, 0);
    EXPECT_EQ(game.fall_speed, 0.0f);
    EXPECT_EQ(effects(), std::vector<int>{Dead});
    // The next frame the contacts act again: the player lands on the start block.
    frame();
    EXPECT_EQ(game.contact_lock, 0);
    EXPECT_EQ(game.grounded, 1);
    EXPECT_EQ(player_y(), 352.0f);
}

}  // namespace
}  // namespace game_test
