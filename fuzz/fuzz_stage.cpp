// The stage file reader on any bytes: the input is the stage file. The
// reader must take exactly the file's whole little-endian cells (at most
// 300, the rest 0) and build the 300 tiles column by column, and the
// lookups and the drawing of the tile sheet must take any cell value.
// fuzz_stage_play plays a few frames on such stages as well.
// Works inside its own folder: give libFuzzer absolute paths.
#include <sys/stat.h>

#include "fuzz/fuzz_support.h"
#include "game/game_state.h"
#include "game/stage.h"
#include "platform/headless/headless.h"
#include "render/device.h"
#include "render/sprite.h"

namespace {

constexpr char stage_path[] = "stage/fuzz.dat";

int32_t cell_of(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void start_once() {
    static int started = 0;
    if (started) return;
    started = 1;
    fuzz_enter_work_folder();
    if (mkdir("stage", 0755) != 0) fuzz_fail("cannot make the stage folder");
    headless_reset();
    create_device(0);
    // The sheet as the game scene loads it (the picture is not there, so
    // the tiles draw untextured with the sheet's own grid).
    tile_map_init(game.tile_map);
    tile_map_load(game.tile_map, "res/Tip_image4.png", 32, 32, 8, 1, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    start_once();
    if (!fuzz_write_file(stage_path, data, size)) fuzz_fail("cannot write the stage file");
    // As the stage loader empties the stage before it reads the next one.
    for (int k = 0; k < stage_cell_count; ++k) {
        game.stage_cells[k] = 0;
        remove_tile(0);
    }
    read_stage_file(stage_path);

    FUZZ_CHECK(game.tile_map.tiles.size() == size_t(stage_cell_count));
    const size_t whole = size / 4 < size_t(stage_cell_count) ? size / 4 : size_t(stage_cell_count);
    for (int k = 0; k < stage_cell_count; ++k) {
        const int32_t expected = size_t(k) < whole ? cell_of(data + 4 * k) : 0;
        FUZZ_CHECK(game.stage_cells[k] == expected);
        FUZZ_CHECK(tile_type(k) == expected);
        const Tile* t = game.tile_map.tiles[size_t(k)];
        FUZZ_CHECK(t->x == float(tile_size * (k / stage_rows)) && t->y == float(tile_size * (k % stage_rows)));
    }
    FUZZ_CHECK(tile_type(-1) == 0 && tile_type(stage_cell_count) == 0);
    for (int type = 0; type <= 7; ++type) {
        FUZZ_CHECK(find_tile_x(type) >= 0 && find_tile_x(type) < 640);
        FUZZ_CHECK(find_tile_y(type) >= 0 && find_tile_y(type) < 480);
    }
    device_begin_frame();
    tile_map_draw(game.tile_map);
    device_end_frame();
    headless_clear_draws();
    return 0;
}
