// The replay runner's command line: every option at most once, every value
// checked, exactly one way to start.
#include "tools/replay/replay_args.h"

#include <cstdio>
#include <cstring>

#include "tools/replay/replay_script.h"

int replay_parse_count(const char* text, uint32_t max, uint32_t* value) {
    if (!text || !*text) return 0;
    uint64_t v = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return 0;
        v = v * 10 + static_cast<uint64_t>(*p - '0');
        if (v > max) return 0;
    }
    *value = static_cast<uint32_t>(v);
    return 1;
}

int replay_parse_args(int argc, const char* const* argv, ReplayOptions* o, char* error, size_t error_size) {
    *o = ReplayOptions{};
    o->every = 1;
    int stage_given = 0, frames_given = 0, every_given = 0, from_title = 0;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const int has_value = i + 1 < argc;
        const char* value = has_value ? argv[i + 1] : nullptr;
        // Options with a value: each once, the value present.
        struct Valued {
            const char* name;
            const char** target;
        };
        const Valued valued[] = {
            {"--data", &o->data_dir},         {"--stage-file", &o->stage_file},
            {"--input", &o->input},           {"--trace", &o->trace},
            {"--screenshots", &o->screenshots},
        };
        int taken = 0;
        for (const Valued& v : valued) {
            if (std::strcmp(a, v.name) != 0) continue;
            if (!has_value || !*value) {
                std::snprintf(error, error_size, "%s needs a value", a);
                return 0;
            }
            if (*v.target) {
                std::snprintf(error, error_size, "%s given twice", a);
                return 0;
            }
            *v.target = value;
            taken = 1;
        }
        if (taken) {
            ++i;
            continue;
        }
        // Options with a count: each once, the count in its range.
        struct Counted {
            const char* name;
            uint32_t min, max;
            int* given;
            uint32_t* target;
            const char* what;
        };
        uint32_t stage_value = 0;
        const Counted counted[] = {
            {"--stage", 1, replay_stage_count, &stage_given, &stage_value, "a stage number"},
            {"--frames", 0, replay_max_total_frames, &frames_given, &o->extra_frames, "a frame count"},
            {"--every", 1, replay_max_every, &every_given, &o->every, "a frame count"},
        };
        for (const Counted& c : counted) {
            if (std::strcmp(a, c.name) != 0) continue;
            if (*c.given) {
                std::snprintf(error, error_size, "%s given twice", a);
                return 0;
            }
            uint32_t n = 0;
            if (!has_value || !replay_parse_count(value, c.max, &n) || n < c.min) {
                std::snprintf(error, error_size, "%s needs %s from %u to %u", a, c.what, c.min, c.max);
                return 0;
            }
            *c.given = 1;
            *c.target = n;
            taken = 1;
        }
        if (taken) {
            if (stage_value) o->stage = static_cast<int>(stage_value);
            ++i;
            continue;
        }
        // Flags.
        int* flag = std::strcmp(a, "--from-title") == 0   ? &from_title
                    : std::strcmp(a, "--until-clear") == 0 ? &o->until_clear
                                                           : nullptr;
        if (flag) {
            if (*flag) {
                std::snprintf(error, error_size, "%s given twice", a);
                return 0;
            }
            *flag = 1;
            continue;
        }
        std::snprintf(error, error_size, "unknown argument '%.64s'", a);
        return 0;
    }

    if (from_title && (stage_given || o->stage_file)) {
        std::snprintf(error, error_size, "--from-title starts at the title: no --stage or --stage-file with it");
        return 0;
    }
    if (from_title) {
        o->mode = ReplayFromTitle;
    } else if (o->stage_file) {
        o->mode = ReplayFromStageFile;
        if (!stage_given) o->stage = 1;
    } else if (stage_given) {
        o->mode = ReplayFromStage;
    } else {
        std::snprintf(error, error_size, "say where to start: --stage N, --stage-file FILE or --from-title");
        return 0;
    }
    if (every_given && !o->screenshots) {
        std::snprintf(error, error_size, "--every goes with --screenshots");
        return 0;
    }
    return 1;
}
