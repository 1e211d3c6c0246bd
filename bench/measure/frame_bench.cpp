// The cost of one frame of play on the headless backend: update and draw
// with 0, 10 and 50 corpses on screen, and the tile sweep alone (the 50
// corpse bodies and the five player sensors against the 300 tiles). Each
// prints its headroom: how many times it fits into a 60 Hz frame (16.7 ms).
// Every frame of play also counts its allocations, which must be 0.
//   bench_measure_frame [--benchmark_filter=...]
// Runs in a temporary data folder holding the shipped stage 1 (or, before
// the stages are built, a stage of blocks and hazards of the same kind).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <time.h>

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
#include "tests/counting_allocator.h"

namespace {

constexpr double frame_budget_us = 1e6 / 60.0;  // one 60 Hz frame, in microseconds

// A stage of the shipped kind when the build has none: a floor, two rows of
// blocks and hazards, the start on the left and the coffin on the right.
void write_fallback_stage(const std::string& path) {
    std::string bytes(1200, '\0');
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 15; ++r) {
            int type = r == 14 ? 1 : 0;
            if ((r == 9 || r == 11) && c % 3 != 0) type = 1 + (c % 5);
            if (r == 13 && c == 2) type = 6;
            if (r == 13 && c == 17) type = 7;
            bytes[size_t(c * 15 + r) * 4] = char(type);
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// The game at stage 1, `corpses` of them frozen on screen above the floor,
// the player standing at the start.
struct StageWithCorpses {
    explicit StageWithCorpses(int corpses) {
        char pattern[] = "/tmp/quennary-bench-frame-XXXXXX";
        root = mkdtemp(pattern);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(root);
        std::filesystem::create_directories("stage");
        const std::string shipped = std::string(QUENNARY_GAME_DIR) + "/stage/stage_1.dat";
        if (std::filesystem::exists(shipped))
            std::filesystem::copy_file(shipped, "stage/stage_1.dat");
        else
            write_fallback_stage("stage/stage_1.dat");
        headless_reset();
        scene_manager() = {Game, Title, Game};
        setup_input(game.input, 0, 0);
        game_scene_init();
        game_scene_start_at_stage(1, nullptr);
        for (int s = 0; s < corpses; ++s) {
            sprite_set_position(game.corpse[s], 30.0f + 10.0f * float(s), 40.0f + 4.0f * float(s % 10));
            game.corpse_frozen[s] = 1;
        }
        place_sensors();
        for (int i = 0; i < 120; ++i) frame();  // the player lands, the corpses settle in place
    }
    ~StageWithCorpses() {
        game_scene_release();
        scene_manager() = {None, None, None};
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    static void frame() {
        update_scene();
        headless_clear_draws();
        draw_scene();
    }
    std::string root;
    std::filesystem::path previous;
};

double thread_seconds() {
    timespec t = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Allocations per frame, and the headroom: how many of these frames fit
// into one 60 Hz frame, from the processor time this thread spent (other
// programs on the machine do not count against it).
void report(benchmark::State& state, long allocated, double seconds) {
    state.counters["allocs_per_frame"] =
        benchmark::Counter(double(allocated), benchmark::Counter::kAvgIterations);
    const double per_frame_us = seconds * 1e6 / double(state.iterations() ? state.iterations() : 1);
    state.counters["headroom_x"] = frame_budget_us / per_frame_us;
}

void BM_FrameOfPlay(benchmark::State& state) {
    StageWithCorpses stage(int(state.range(0)));
    const long before = allocations_made();
    const double started = thread_seconds();
    for (auto _ : state) StageWithCorpses::frame();
    report(state, allocations_made() - before, thread_seconds() - started);
    state.counters["corpses_on_screen"] = game.corpse_count;
}
BENCHMARK(BM_FrameOfPlay)->Arg(0)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_TileSweep(benchmark::State& state) {
    StageWithCorpses stage(50);
    const long before = allocations_made();
    const double started = thread_seconds();
    for (auto _ : state) {
        game.contact_lock = 0;
        sweep_tile_contacts();
    }
    report(state, allocations_made() - before, thread_seconds() - started);
}
BENCHMARK(BM_TileSweep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
