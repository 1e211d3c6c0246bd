// quennary-replay: runs the real game logic at full speed with a scripted
// input and prints a per-frame trace and a summary line. Exit 0 after a
// run, 2 with a one-line message for bad arguments or an unreadable file,
// 1 when screenshots were asked for and nothing can be drawn.
// With --screenshots the headless build hands the whole command over to
// quennary-replay-sdl beside it, which draws what the player sees.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/replay/replay_args.h"
#include "tools/replay/replay_backend.h"
#include "tools/replay/replay_run.h"
#include "tools/replay/replay_script.h"

namespace {

const char usage[] =
    "usage: quennary-replay [--data DIR] (--stage N | --stage-file FILE [--stage N] | --from-title)\n"
    "                       [--input SCRIPT] [--frames N] [--until-clear] [--trace FILE|-]\n"
    "                       [--screenshots DIR [--every K]]\n";

int fail(const char* message) {
    std::fprintf(stderr, "quennary-replay: %s\n", message);
    return 2;
}

// The whole script file, refused when it is larger than a script can be.
int read_script(const char* path, std::vector<char>& text) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    text.resize(replay_max_script_bytes + 1);
    const size_t n = std::fread(text.data(), 1, text.size(), f);
    const int failed = std::ferror(f);
    std::fclose(f);
    text.resize(n);
    return !failed;
}

// Runs quennary-replay-sdl from this program's own folder with the same
// arguments. Returns only when that fails.
int hand_over_to_drawing_build(char** argv) {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return fail("cannot find this program's folder for quennary-replay-sdl");
    self[n] = 0;
    const std::string drawing = (std::filesystem::path(self).parent_path() / "quennary-replay-sdl").string();
    argv[0] = const_cast<char*>(drawing.c_str());
    execv(drawing.c_str(), argv);
    char message[PATH_MAX + 64];
    std::snprintf(message, sizeof message, "screenshots need %s: %s", drawing.c_str(), std::strerror(errno));
    return fail(message);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage, stdout);
        return 0;
    }
    ReplayOptions options;
    char error[256];
    if (!replay_parse_args(argc, argv, &options, error, sizeof error)) return fail(error);
    if (options.screenshots && !replay_backend_draws()) return hand_over_to_drawing_build(argv);

    // Everything named on the command line is found from where the runner
    // was started; only then does it move into the data directory.
    std::vector<ReplayStep> steps;
    if (options.input) {
        std::vector<char> text;
        if (!read_script(options.input, text)) {
            std::snprintf(error, sizeof error, "cannot read the script %.200s", options.input);
            return fail(error);
        }
        uint32_t total = 0;
        char line_error[160];
        if (!replay_parse_script(text.data(), text.size(), steps, &total, line_error, sizeof line_error)) {
            std::snprintf(error, sizeof error, "%.80s: %s", options.input, line_error);
            return fail(error);
        }
    }
    std::error_code ec;
    std::string stage_file, shots;
    if (options.stage_file) {
        FILE* f = std::fopen(options.stage_file, "rb");
        if (!f) {
            std::snprintf(error, sizeof error, "cannot read the stage file %.200s", options.stage_file);
            return fail(error);
        }
        std::fclose(f);
        stage_file = std::filesystem::absolute(options.stage_file, ec).string();
        options.stage_file = stage_file.c_str();
    }
    if (options.screenshots) {
        std::filesystem::create_directories(options.screenshots, ec);
        if (!std::filesystem::is_directory(options.screenshots, ec)) {
            std::snprintf(error, sizeof error, "cannot make the folder %.200s", options.screenshots);
            return fail(error);
        }
        shots = std::filesystem::absolute(options.screenshots, ec).string();
    }
    std::string trace_path;
    if (options.trace && std::strcmp(options.trace, "-") != 0) {
        trace_path = std::filesystem::absolute(options.trace, ec).string();
    }
    if (options.data_dir && chdir(options.data_dir) != 0) {
        std::snprintf(error, sizeof error, "cannot enter the data directory %.200s", options.data_dir);
        return fail(error);
    }
    FILE* trace = nullptr;
    if (options.trace) {
        trace = trace_path.empty() ? stdout : std::fopen(trace_path.c_str(), "w");
        if (!trace) {
            std::snprintf(error, sizeof error, "cannot write the trace %.200s", options.trace);
            return fail(error);
        }
    }

    ReplaySummary summary;
    const int ran = replay_run(options, steps, trace, shots.empty() ? nullptr : shots.c_str(), &summary);
    if (trace && trace != stdout) std::fclose(trace);
    if (!ran) {
        std::fprintf(stderr, "quennary-replay: no drawing device for the screenshots\n");
        return 1;
    }
    replay_print_summary(stdout, summary);
    return 0;
}
