#pragma once
// One replay: the real game logic frame by frame with scripted keys, from
// the title or from a stage, with a per-frame trace and a summary.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "tools/replay/replay_args.h"
#include "tools/replay/replay_script.h"

struct ReplaySummary {
    int cleared;      // a stage was cleared during the run
    int stage;        // stage_number at the end
    uint32_t frame;   // frames run (the clearing frame with --until-clear)
    int corpses;      // corpse_count at the end
    int stars;        // what the last clear gives: 3 under the target, 2 at it, 1 above
    int score;
    int deaths;       // total_deaths
};

// Runs in the current directory (the data directory). trace may be null;
// shots_dir null takes no pictures. 1 with the summary filled; 0 when
// pictures were asked for and no drawing device can be made.
int replay_run(const ReplayOptions& options, const std::vector<ReplayStep>& steps, FILE* trace,
               const char* shots_dir, ReplaySummary* summary);

// The last line the runner prints: "cleared=1 stage=3 frame=200 ...".
void replay_print_summary(FILE* out, const ReplaySummary& s);
