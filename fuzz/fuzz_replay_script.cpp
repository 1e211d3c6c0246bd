// The replay runner's input-script parser (and its argument parser) on any
// bytes. A script that parses must give steps of 1..1000000 frames whose
// sum is the total, with known keys only; written back in the plain form
// it must parse again to the very same steps. The input also becomes a
// command line (split at zero bytes) for the argument parser, whose
// options must then hold what the options promise.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "tools/replay/replay_args.h"
#include "tools/replay/replay_script.h"

namespace {

std::string plain_form(const std::vector<ReplayStep>& steps) {
    std::string text;
    char line[replay_max_line + 1];
    for (const ReplayStep& s : steps) {
        std::string keys;
        for (int k = 0; k < ReplayKeyCount; ++k) {
            if (!((s.key_mask >> k) & 1u)) continue;
            if (!keys.empty()) keys += '+';
            keys += replay_key_name(k);
        }
        std::snprintf(line, sizeof line, "%u %s\n", s.frames, keys.empty() ? "-" : keys.c_str());
        text += line;
    }
    return text;
}

void check_args(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<const char*> argv = {"quennary-replay"};
    for (size_t at = 0; at <= text.size() && argv.size() < 16;) {
        const size_t end = text.find('\0', at);
        argv.push_back(text.c_str() + at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    ReplayOptions options;
    char error[256];
    if (replay_parse_args(int(argv.size()), argv.data(), &options, error, sizeof error)) {
        FUZZ_CHECK(options.mode == ReplayFromStage || options.mode == ReplayFromStageFile ||
                   options.mode == ReplayFromTitle);
        if (options.mode != ReplayFromTitle)
            FUZZ_CHECK(options.stage >= 1 && options.stage <= replay_stage_count);
        if (options.screenshots) FUZZ_CHECK(options.every >= 1 && options.every <= replay_max_every);
    } else {
        FUZZ_CHECK(std::memchr(error, 0, sizeof error) != nullptr && error[0] != 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16)) return 0;
    const char* text = reinterpret_cast<const char*>(data);
    std::vector<ReplayStep> steps;
    uint32_t total = 0;
    char error[160];
    if (replay_parse_script(text, size, steps, &total, error, sizeof error)) {
        uint64_t sum = 0;
        for (const ReplayStep& s : steps) {
            FUZZ_CHECK(s.frames >= 1 && s.frames <= replay_max_step_frames);
            FUZZ_CHECK(s.key_mask < (1u << ReplayKeyCount));
            sum += s.frames;
        }
        FUZZ_CHECK(sum == total && total <= replay_max_total_frames);
        const std::string again = plain_form(steps);
        std::vector<ReplayStep> steps_again;
        uint32_t total_again = 0;
        FUZZ_CHECK(replay_parse_script(again.data(), again.size(), steps_again, &total_again, error,
                                       sizeof error));
        FUZZ_CHECK(steps_again.size() == steps.size() && total_again == total);
        for (size_t i = 0; i < steps.size(); ++i)
            FUZZ_CHECK(steps_again[i].frames == steps[i].frames &&
                       steps_again[i].key_mask == steps[i].key_mask);
    } else {
        FUZZ_CHECK(std::strncmp(error, "line ", 5) == 0 || std::strncmp(error, "the script", 10) == 0);
    }
    check_args(data, size);
    return 0;
}
