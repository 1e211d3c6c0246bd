// From process start to the first presented frame of the game, on SDL's
// offscreen video driver and its dummy audio driver: the time from the
// fork that starts bench_measure_startup_probe (game_windowed with a note
// of the first present, startup_probe.cpp) to that note, over several
// starts in the data folder. It covers the window, the device, the title's
// pictures and fonts, the effects and the synthesizer with its SoundFont.
//   bench_measure_startup [starts]
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double monotonic() {
    timespec t = {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// One start: seconds to the first present, or a negative number.
double one_start(const std::string& probe) {
    int out[2];
    if (pipe(out) != 0) return -1;
    const double started = monotonic();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        close(out[0]);
        execl(probe.c_str(), probe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char text[64] = "";
    const ssize_t n = read(out[0], text, sizeof text - 1);
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (n <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    text[n] = 0;
    return std::atof(text) - started;
}

}  // namespace

int main(int argc, char** argv) {
    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string probe = QUENNARY_PROBE;
    if (chdir(QUENNARY_GAME_DIR) != 0) return 1;
    std::vector<double> ms;
    for (int i = 0; i < starts; ++i) {
        const double s = one_start(probe);
        if (s < 0) {
            std::fprintf(stderr, "start %d: the game presented no frame\n", i + 1);
            return 1;
        }
        ms.push_back(s * 1000);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("process start to the first presented frame, %d starts (SDL offscreen, dummy audio):\n", starts);
    std::printf("  min %.1f ms, median %.1f ms, max %.1f ms\n", ms.front(), ms[ms.size() / 2], ms.back());
    return 0;
}
