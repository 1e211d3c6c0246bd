// Stage files and the tile list: where each cell's tile stands, the target
// counts, the stage after the last, broken and missing files, the lookups.
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

using StageTest = GameFixture;

TEST_F(StageTest, LoadBuildsColumnMajorTilesAndTakesTheTarget) {
    std::vector<std::string> rows = floor_stage();
    rows[0][1] = '5';    // cell 15: column 1, row 0
    rows[14][19] = '3';  // cell 299
    write_stage(3, rows);
    game.stage_number = 3;
    load_stage();
    ASSERT_EQ(game.tile_map.tiles.size(), 300u);
    EXPECT_EQ(game.target_corpses, 1);
    for (int k : {0, 14, 15, 16, 209, 299}) {
        EXPECT_EQ(game.tile_map.tiles[k]->x, 32.0f * (k / 15)) << k;
        EXPECT_EQ(game.tile_map.tiles[k]->y, 32.0f * (k % 15)) << k;
    }
    EXPECT_EQ(tile_type(15), 5);
    EXPECT_EQ(tile_y(15), 0.0f);
    EXPECT_EQ(tile_type(299), 3);
    EXPECT_EQ(tile_type(2 * 15 + 13), 6);
    EXPECT_EQ(game.stage_cells[2 * 15 + 13], 6);
    EXPECT_EQ(tile_type(300), 0);
    EXPECT_EQ(tile_type(-1), 0);
    EXPECT_EQ(tile_y(300), 0.0f);
}

TEST_F(StageTest, TargetsOfTheStageTable) {
    const int targets[21] = {0, 3, 5, 1, 5, 3, 3, 4, 3, 4, 6, 6, 3, 3, 3, 3, 3, 3, 3, 3, 3};
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(stage_target_corpses(n), targets[n]) << n;
        EXPECT_EQ(std::string(stage_file_path(n)), "stage/stage_" + std::to_string(n) + ".dat");
    }
    EXPECT_EQ(stage_file_path(0), nullptr);
    EXPECT_EQ(stage_file_path(21), nullptr);
}

TEST_F(StageTest, StageAfterTheLastEmptiesTheListAndRequestsTheResult) {
    start(1, floor_stage());
    game.stage_number = 21;
    load_stage();
    EXPECT_TRUE(game.tile_map.tiles.empty());
    EXPECT_EQ(game.target_corpses, 3);  // stage 1's, kept
    for (int k = 0; k < stage_cell_count; ++k) ASSERT_EQ(game.stage_cells[k], 0);
    EXPECT_EQ(scene_manager().next, Result);
    remove_tile(0);  // on an empty list: nothing
    EXPECT_TRUE(game.tile_map.tiles.empty());
}

// A file that is missing, short or too long never reads past the 300 cells
// and plays as a stage whose cells not read are empty.
TEST_F(StageTest, MissingShortAndLongFilesPlayAsPartlyEmptyStages) {
    const std::string full = stage_bytes(floor_stage());
    struct Case {
        const char* what;
        std::string bytes;  // empty: no file at all
        int cells_read;
    };
    const Case cases[] = {
        {"missing", "", 0},
        {"short by half a cell", full.substr(0, 4 * 200 + 2), 200},
        {"long", full + std::string(400, '\x01'), 300},
    };
    for (const Case& c : cases) {
        std::remove("stage/stage_4.dat");
        if (!c.bytes.empty()) write_file("stage/stage_4.dat", c.bytes);
        game.stage_number = 4;
        load_stage();
        ASSERT_EQ(game.tile_map.tiles.size(), 300u) << c.what;
        for (int k = 0; k < stage_cell_count; ++k) {
            const int expected = k < c.cells_read ? full[k * 4] : 0;
            ASSERT_EQ(game.stage_cells[k], expected) << c.what << " cell " << k;
            ASSERT_EQ(tile_type(k), expected) << c.what << " cell " << k;
        }
        EXPECT_EQ(game.target_corpses, 5) << c.what;
    }
    // The missing stage plays: the player respawns at (-10, -64) and leaves
    // the screen in every frame.
    std::remove("stage/stage_4.dat");
    game_scene_start_at_stage(4, nullptr);
    frames(3);
    EXPECT_EQ(game.total_deaths, 3);
    EXPECT_EQ(game.corpse_count, 0);
}

TEST_F(StageTest, LookupsTakeTheLastCellInColumnMajorOrder) {
    std::vector<std::string> rows(15, std::string(20, '.'));
    rows[3][4] = '6';
    rows[9][4] = '6';   // same column, lower: later
    rows[12][2] = '6';  // earlier column: earlier
    rows[1][7] = '7';
    write_stage(1, rows);
    game.stage_number = 1;
    load_stage();
    EXPECT_EQ(find_tile_x(6), 128);
    EXPECT_EQ(find_tile_y(6), 288);
    EXPECT_EQ(find_tile_x(7), 224);
    EXPECT_EQ(find_tile_y(7), 32);
    EXPECT_EQ(find_tile_x(5), 0);
    EXPECT_EQ(find_tile_y(5), 0);
    // Reloading the same stage gives the same 300 tiles again.
    load_stage();
    EXPECT_EQ(game.tile_map.tiles.size(), 300u);
}

}  // namespace
}  // namespace game_test
