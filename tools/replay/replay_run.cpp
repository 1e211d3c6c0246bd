// One replay. Every frame runs exactly as the game's frame loop runs it:
// update_scene (poll, pending change, the scene's update), then the frame's
// begin, draw_scene and end. Starting at a stage first runs the scene
// initialises the game itself runs on the way there (title, then game) and
// then puts the game where it stands right after the stage's load and
// reset with its fade finished.
#include "tools/replay/replay_run.h"

#include <cstdio>

#include "game/game_scene.h"
#include "game/game_state.h"
#include "platform/headless/headless.h"
#include "platform/screenshot.h"
#include "render/device.h"
#include "render/sprite.h"
#include "scenes/fade.h"
#include "scenes/scene_manager.h"
#include "tools/replay/replay_backend.h"

namespace {

// The stars a clear gives with this many corpses on screen.
int clear_stars(int corpses, int target) {
    if (corpses < target) return 3;
    if (corpses == target) return 2;
    return 1;
}

void hold_keys(uint32_t mask) {
    for (int k = 0; k < ReplayKeyCount; ++k) headless_set_key(replay_key_code(k), (mask >> k) & 1u);
}

void key_names(uint32_t mask, char* out, size_t size) {
    if (!mask) {
        std::snprintf(out, size, "-");
        return;
    }
    size_t at = 0;
    out[0] = 0;
    for (int k = 0; k < ReplayKeyCount; ++k) {
        if (!((mask >> k) & 1u)) continue;
        const int n = std::snprintf(out + at, size - at, "%s%s", at ? "+" : "", replay_key_name(k));
        if (n < 0 || static_cast<size_t>(n) >= size - at) return;
        at += static_cast<size_t>(n);
    }
}

void trace_header(FILE* f) {
    std::fprintf(f,
                 "frame,scene,game_phase,stage,stage_step,scene_phase,fade_alpha,player_x,player_y,"
                 "fall_speed,gravity,grounded,touching_wall,facing_right,in_start_area,total_deaths,"
                 "corpse_count,selected_corpse,stage_cleared,stars,score,keys\n");
}

void trace_row(FILE* f, uint32_t frame, uint32_t mask) {
    char keys[96];
    key_names(mask, keys, sizeof keys);
    std::fprintf(f, "%u,%d,%d,%d,%d,%d,%d,%.9g,%.9g,%.9g,%.9g,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%s\n", frame,
                 scene_manager().current, game.game_phase, game.stage_number, game.stage_step,
                 game.scene_phase, fade_alpha, static_cast<double>(sprite_get_x(game.player)),
                 static_cast<double>(sprite_get_y(game.player)), static_cast<double>(game.fall_speed),
                 static_cast<double>(game.gravity), game.grounded, game.touching_wall, game.facing_right,
                 game.in_start_area, game.total_deaths, game.corpse_count, game.selected_corpse,
                 game.stage_cleared, game.stars, game.score, keys);
}

// The game as it stands right after stage `stage` was loaded and reset,
// with the fade finished. The title and game initialises run first, as
// they do on the way from process start (audio set-up, sprites, fonts,
// the tile sheet).
void start_at_stage(int stage, const char* stage_file) {
    SceneManager& m = scene_manager();
    m.current = m.next = Title;
    init_scene();
    release_scene();
    m.previous = Title;
    m.current = m.next = Game;
    init_scene();
    game_scene_start_at_stage(stage, stage_file);
}

}  // namespace

int replay_run(const ReplayOptions& options, const std::vector<ReplayStep>& steps, FILE* trace,
               const char* shots_dir, ReplaySummary* summary) {
    ReplaySummary s = {};
    // Without a device nothing is drawn: fatal only when pictures were asked for.
    if (!create_device(0) && shots_dir) return 0;
    start_scenes();
    if (options.mode != ReplayFromTitle)
        start_at_stage(options.stage, options.mode == ReplayFromStageFile ? options.stage_file : nullptr);
    if (trace) trace_header(trace);

    size_t step = 0;
    uint32_t left_in_step = steps.empty() ? 0 : steps[0].frames;
    uint32_t extra_left = options.extra_frames;
    int warned_shot = 0;
    for (uint32_t frame = 1;; ++frame) {
        uint32_t mask = 0;
        if (step < steps.size()) {
            mask = steps[step].key_mask;
            if (--left_in_step == 0 && ++step < steps.size()) left_in_step = steps[step].frames;
        } else if (extra_left > 0) {
            --extra_left;
        } else {
            break;
        }
        hold_keys(mask);

        const int cleared_before = game.stage_cleared;
        update_scene();
        device_begin_frame();
        draw_scene();
        device_end_frame();
        replay_backend_end_frame();
        s.frame = frame;

        if (trace) trace_row(trace, frame, mask);
        if (shots_dir && frame % options.every == 0) {
            char path[4096];
            std::snprintf(path, sizeof path, "%s/frame_%06u.png", shots_dir, frame);
            if (!video_save_screenshot(path) && !warned_shot) {
                std::fprintf(stderr, "quennary-replay: cannot save %s\n", path);
                warned_shot = 1;
            }
        }
        if (!cleared_before && game.stage_cleared) {
            s.cleared = 1;
            s.stars = clear_stars(game.corpse_count, game.target_corpses);
            if (options.until_clear) break;
        }
    }
    s.stage = game.stage_number;
    s.corpses = game.corpse_count;
    s.score = game.score;
    s.deaths = game.total_deaths;
    *summary = s;
    return 1;
}

void replay_print_summary(FILE* out, const ReplaySummary& s) {
    std::fprintf(out, "cleared=%d stage=%d frame=%u corpses=%d stars=%d score=%d deaths=%d\n", s.cleared, s.stage,
                 s.frame, s.corpses, s.stars, s.score, s.deaths);
}
