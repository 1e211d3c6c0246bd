// Peak memory (the largest resident set) of a whole run of the game:
//   - quennary-replay, the game's logic on the headless backend;
//   - quennary-replay-sdl, the same drawn through SDL's offscreen window
//     with the real pictures and fonts;
//   - game_windowed itself, on SDL's offscreen and dummy drivers, left at
//     its title for a few seconds with its music playing.
// The runs go from the title through every stage to the result screen on
// the stage solutions (tests/solutions) once all are there; until then
// from the title through the first stage with the keys of a long session.
//   bench_measure_memory
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/soak/whole_flow.h"

namespace {

struct Peak {
    double mb = -1;
    int status = -1;
};

// Runs a program to its end (or for `seconds`, then stops it); its largest
// resident set in MB.
Peak run(std::vector<std::string> args, double seconds = 0) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (seconds > 0) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        kill(child, SIGTERM);
    }
    int status = 0;
    rusage usage = {};
    wait4(child, &status, 0, &usage);
    Peak p;
    p.status = status;
    p.mb = double(usage.ru_maxrss) / 1024.0;
    return p;
}

}  // namespace

int main() {
    const std::string game = QUENNARY_GAME_DIR, work = "/tmp/quennary-bench-memory-" + std::to_string(getpid());
    std::filesystem::create_directories(work + "/data");
    // A private copy of the data folder: the result screen writes its ranking.
    for (const char* sub : {"res", "stage", "ranking"})
        std::filesystem::copy(game + "/" + sub, work + "/data/" + sub, std::filesystem::copy_options::recursive);
    uint32_t frames = 0;
    std::string script = whole_flow::script(QUENNARY_SOLUTIONS_DIR, &frames);
    const char* what = "the whole flow: title, stages 1-16, 18 and 20, result screen";
    if (script.empty()) {
        what = "title, opening and 12000 frames of play on the first stage";
        script = "60 -\n1 Enter\n300 -\n";
        for (int i = 0; i < 100; ++i)
            script += "40 Right\n1 Right+Space\n30 Left\n1 C\n20 -\n1 V\n27 -\n";
    }
    std::ofstream(work + "/script.txt") << script;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::printf("peak memory (largest resident set) of %s:\n", what);
    const Peak headless = run({game + "/quennary-replay", "--data", work + "/data", "--from-title", "--input",
                               work + "/script.txt"});
    std::printf("  quennary-replay (headless):       %6.1f MB%s\n", headless.mb, headless.status ? "  (failed)" : "");
    const Peak drawn = run({game + "/quennary-replay-sdl", "--data", work + "/data", "--from-title", "--input",
                            work + "/script.txt"});
    std::printf("  quennary-replay-sdl (SDL drawn):  %6.1f MB%s\n", drawn.mb, drawn.status ? "  (failed)" : "");
    // The game itself runs in its data folder, as a player starts it.
    if (chdir((work + "/data").c_str()) == 0) {
        const Peak itself = run({game + "/game_windowed"}, 5.0);
        std::printf("  game_windowed at its title, 5 s: %6.1f MB\n", itself.mb);
    }
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
    return headless.status || drawn.status;
}
