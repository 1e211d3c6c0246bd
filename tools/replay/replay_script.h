#pragma once
// The input script of the replay runner: one line per stretch of frames,
// "COUNT KEYS", KEYS being "-" (nothing held) or key names joined by '+'
// ("Right+Space"), held for COUNT frames. '#' starts a comment. A key held
// on two lines in a row stays down, so pressing it twice needs a line
// without it between.
#include <cstddef>
#include <cstdint>
#include <vector>

// The keys a script can hold, bit i of a key mask being key i.
enum ReplayKey {
    KeyUp, KeyDown, KeyLeft, KeyRight, KeySpace, KeyZ, KeyShift,
    KeyEnter, KeyX, KeyCtrl, KeyC, KeyV, KeyG, KeyH,
    ReplayKeyCount
};

struct ReplayStep {
    uint32_t frames;    // 1 .. replay_max_step_frames
    uint32_t key_mask;  // bit i: ReplayKey i held
};

constexpr size_t replay_max_line = 200;              // characters, line end not counted
constexpr size_t replay_max_script_bytes = 1 << 20;  // bytes of a whole script
constexpr uint32_t replay_max_step_frames = 1000000;
constexpr uint32_t replay_max_total_frames = 10000000;

// The name of key i ("Right") and its Windows virtual-key code (0x27).
const char* replay_key_name(int key);
int replay_key_code(int key);

// Parses a script. 1 on success; 0 with "line N: ..." in error. The steps
// are appended to `steps`; `total_frames` is their sum.
int replay_parse_script(const char* text, size_t size, std::vector<ReplayStep>& steps,
                        uint32_t* total_frames, char* error, size_t error_size);
