// Runs the frame loop's pattern (one event or one frame per pass, then a
// 1 ms sleep) on the real game window and device for a few seconds, and
// prints how many updates a second it made, second by second and overall,
// and what paced them (vsync or the limiter).
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/sdl/sdl_video.h"
#include "platform/video.h"
#include "platform/window.h"

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    if (!window_create(0) || !video_create_device(0)) {
        std::fprintf(stderr, "no window or device\n");
        return 1;
    }
    using Clock = std::chrono::steady_clock;
    // The first half second settles the vsync measurement; then count.
    const Clock::time_point settle = Clock::now() + std::chrono::milliseconds(500);
    Clock::time_point start = settle;
    Clock::time_point second_start = settle;
    long frames = 0;
    long second_frames = 0;
    int counting = 0;
    for (;;) {
        const int taken = window_pump_message();
        if (taken == PumpQuit) break;
        if (taken == PumpIdle) {
            video_begin_frame();
            video_end_frame();
            const Clock::time_point now = Clock::now();
            if (!counting && now >= settle) {
                counting = 1;
                start = second_start = now;
            } else if (counting) {
                frames += 1;
                second_frames += 1;
                if (now - second_start >= std::chrono::seconds(1)) {
                    std::printf("  %ld updates in %.3f s\n", second_frames,
                                std::chrono::duration<double>(now - second_start).count());
                    second_start = now;
                    second_frames = 0;
                }
                if (now - start >= std::chrono::duration<double>(seconds)) break;
            }
        }
        system_sleep_ms(1);
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%.2f updates a second over %.2f s, paced by %s\n", frames / elapsed, elapsed,
                sdl_video_vsync_paces() ? "vsync" : "the limiter");
    video_release_device();
    return 0;
}
