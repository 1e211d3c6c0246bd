// A few frames of play on a stage of any bytes. Input: byte 0 is the
// number of frames to play (0..12), then two bytes of held keys per frame,
// then the stage file itself. The stage is started as the replay runner
// starts one; play must survive any tile type, any start and goal, or
// none at all, and keep its corpse count within the 50 slots.
// Works inside its own folder: give libFuzzer absolute paths.
#include <sys/stat.h>

#include <cstring>

#include "fuzz/fuzz_support.h"
#include "game/game_scene.h"
#include "game/game_state.h"
#include "game/stage.h"
#include "platform/headless/headless.h"
#include "render/device.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int most_frames = 12;
// The keys a frame may hold, bit i of the frame's mask being key i: walk,
// jump, decide, die, retry, pick left/right, burn, freeze.
constexpr int frame_keys[] = {0x25, 0x27, 0x20, 0x0D, 0x43, 0x56, 0x47, 0x48, 0x26, 0x28};
constexpr char stage_path[] = "stage/fuzz.dat";

// The game as the replay runner starts it at a stage: the title's and the
// game's initialises have run, as on the way from process start.
void start_game_once() {
    static int started = 0;
    if (started) return;
    started = 1;
    fuzz_enter_work_folder();
    if (mkdir("stage", 0755) != 0) fuzz_fail("cannot make the stage folder");
    headless_reset();
    create_device(0);
    start_scenes();
    SceneManager& m = scene_manager();
    m.current = m.next = Title;
    init_scene();
    release_scene();
    m.previous = Title;
    m.current = m.next = Game;
    init_scene();
}

int32_t cell_of(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 4096) return 0;
    start_game_once();
    const int frames = data[0] % (most_frames + 1);
    const size_t keys_bytes = size_t(frames) * 2;
    if (size < 1 + keys_bytes) return 0;
    const uint8_t* keys = data + 1;
    const uint8_t* file = keys + keys_bytes;
    const size_t file_size = size - 1 - keys_bytes;
    if (!fuzz_write_file(stage_path, file, file_size)) fuzz_fail("cannot write the stage file");

    game_scene_start_at_stage(1, stage_path);
    FUZZ_CHECK(game.tile_map.tiles.size() == size_t(stage_cell_count));
    const size_t whole = file_size / 4 < size_t(stage_cell_count) ? file_size / 4 : stage_cell_count;
    for (int k = 0; k < stage_cell_count; ++k) {
        const int32_t expected = size_t(k) < whole ? cell_of(file + 4 * k) : 0;
        FUZZ_CHECK(game.stage_cells[k] == expected);
        FUZZ_CHECK(tile_type(k) == expected);
        const Tile* t = game.tile_map.tiles[k];
        FUZZ_CHECK(t->x == float(tile_size * (k / stage_rows)) && t->y == float(tile_size * (k % stage_rows)));
    }
    FUZZ_CHECK(tile_type(-1) == 0 && tile_type(stage_cell_count) == 0);
    for (int type = 0; type <= 7; ++type) {
        FUZZ_CHECK(find_tile_x(type) >= 0 && find_tile_x(type) < 640);
        FUZZ_CHECK(find_tile_y(type) >= 0 && find_tile_y(type) < 480);
    }

    for (int f = 0; f < frames; ++f) {
        const unsigned mask = unsigned(keys[2 * f]) | unsigned(keys[2 * f + 1]) << 8;
        for (size_t k = 0; k < sizeof frame_keys / sizeof frame_keys[0]; ++k)
            headless_set_key(frame_keys[k], (mask >> k) & 1u);
        update_scene();
        device_begin_frame();
        draw_scene();
        device_end_frame();
        headless_clear_draws();
        FUZZ_CHECK(game.corpse_count >= 0 && game.corpse_count <= corpse_slots);
    }
    headless_release_all_keys();
    // A clear or a retry may have asked for another scene: the next input
    // starts at a stage again from the game scene.
    scene_manager().next = scene_manager().current = Game;
    return 0;
}
