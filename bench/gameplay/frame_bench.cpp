// The cost of a frame of play at its heaviest: a stage half full of blocks
// and hazards, all 50 corpses on screen, every sensor swept against the 300
// tiles. Runs headless in a temporary data folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "game/collision.h"
#include "game/corpses.h"
#include "game/game_scene.h"
#include "game/game_state.h"
#include "game/player.h"
#include "input/input.h"
#include "platform/headless/headless.h"
#include "scenes/scene_manager.h"

namespace {

// Alternating rows of blocks and hazards under an open sky, the start at
// the left of the floor and the coffin out of reach at the top right.
void write_busy_stage() {
    std::string bytes(1200, '\0');
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 15; ++r) {
            int type = 0;
            if (r >= 13)
                type = 1;
            else if (r >= 7 && (c + r) % 3 == 0)
                type = 1 + (c % 5);
            if (r == 13 && c == 2) type = 6;
            if (r == 1 && c == 19) type = 7;
            bytes[(c * 15 + r) * 4] = static_cast<char>(type);
        }
    std::filesystem::create_directories("stage");
    FILE* f = std::fopen("stage/stage_1.dat", "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

struct BusyStage {
    BusyStage() {
        char pattern[] = "/tmp/quennary-bench-XXXXXX";
        root = mkdtemp(pattern);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(root);
        write_busy_stage();
        headless_reset();
        scene_manager() = {Game, Title, Game};
        setup_input(game.input, 0, 0);
        game_scene_init();
        game_scene_start_at_stage(1, nullptr);
        // Fifty corpses frozen across the sky, so they stay on screen.
        for (int s = 0; s < corpse_slots; ++s) {
            sprite_set_position(game.corpse[s], 20.0f + 12.0f * s, 60.0f + 3.0f * (s % 10));
            game.corpse_frozen[s] = 1;
        }
        place_sensors();
    }
    ~BusyStage() {
        game_scene_release();
        scene_manager() = {None, None, None};
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::string root;
    std::filesystem::path previous;
};

void frame_of_play(benchmark::State& state) {
    BusyStage stage;
    for (auto _ : state) {
        update_scene();
        headless_clear_draws();
        draw_scene();
    }
    benchmark::DoNotOptimize(game.corpse_count);
}
BENCHMARK(frame_of_play)->Unit(benchmark::kMicrosecond);

void contact_pass(benchmark::State& state) {
    BusyStage stage;
    for (auto _ : state) {
        game.contact_lock = 0;
        sweep_tile_contacts();
    }
}
BENCHMARK(contact_pass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
