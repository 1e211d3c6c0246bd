#pragma once
// The input script of a whole game from the title: the title's decide
// button, the opening, each stage's shipped solution after its load, the
// clear display and the decide button; then the result screen and back to
// the title. Built from tests/solutions/stage_N.txt, which each clear
// their stage from its start with few corpses, so a run takes stages 1 to
// 16, 18 and 20.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace whole_flow {

// Frames of the title's fade-in before the decide button, and of its
// fade-out and the opening before the first stage plays (with room to
// spare); of the clear display before the decide button, and of the fade,
// the next load and the player's landing after it; of the result screen
// before and after its decide button.
constexpr uint32_t title_frames = 60;
constexpr uint32_t opening_frames = 260;
constexpr uint32_t clear_frames = 160;
constexpr uint32_t next_stage_frames = 120;
constexpr uint32_t result_frames = 120;

constexpr int stages[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20};

// The script, with its frame count in *total; empty when a solution is
// missing (the stages are still being made).
inline std::string script(const std::string& solutions, uint32_t* total) {
    std::ostringstream s;
    uint32_t frames = 0;
    auto line = [&](uint32_t n, const char* keys) {
        s << n << ' ' << keys << '\n';
        frames += n;
    };
    line(title_frames, "-");
    line(1, "Enter");
    line(opening_frames, "-");
    for (int stage : stages) {
        std::ifstream f(solutions + "/stage_" + std::to_string(stage) + ".txt");
        if (!f) return "";
        std::string text;
        while (std::getline(f, text)) {
            const size_t hash = text.find('#');
            if (hash != std::string::npos) text.resize(hash);
            uint32_t n = 0;
            char keys[201] = "";
            if (std::sscanf(text.c_str(), "%u %200s", &n, keys) == 2) line(n, keys);
        }
        line(clear_frames, "-");
        line(1, "Enter");
        line(next_stage_frames, "-");
    }
    line(result_frames, "-");
    line(1, "Enter");
    line(result_frames, "-");
    *total = frames;
    return s.str();
}

}  // namespace whole_flow
