#pragma once
// The replay runner's command line.
//
//   quennary-replay [--data DIR] (--stage N | --stage-file FILE [--stage N] | --from-title)
//                   [--input SCRIPT] [--frames N] [--until-clear] [--trace FILE|-]
//                   [--screenshots DIR [--every K]]
#include <cstddef>
#include <cstdint>

enum ReplayMode {
    ReplayNoMode = 0,
    ReplayFromStage,      // --stage N
    ReplayFromStageFile,  // --stage-file FILE (stage number from --stage, else 1)
    ReplayFromTitle,      // the whole program from process start
};

struct ReplayOptions {
    int mode;
    int stage;                    // 1..20
    const char* data_dir;         // null: the current directory
    const char* stage_file;
    const char* input;            // null: no script
    uint32_t extra_frames;        // --frames, run after the script with nothing held
    int until_clear;
    const char* trace;            // null: none; "-": standard output
    const char* screenshots;      // null: none
    uint32_t every;               // a picture every K frames
};

constexpr int replay_stage_count = 20;
constexpr uint32_t replay_max_every = 1000000;

// 1 with options filled; 0 with a one-line message in error.
int replay_parse_args(int argc, const char* const* argv, ReplayOptions* options, char* error,
                      size_t error_size);

// Parses decimal digits only (no sign, no blanks) into 0..max. 1 on success.
int replay_parse_count(const char* text, uint32_t max, uint32_t* value);
