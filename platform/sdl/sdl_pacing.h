#pragma once
// Frame pacing of the SDL backend: one update per presented frame, 60 a
// second. On a display that runs at about 60 Hz with vsync that really
// waits, the presentation paces the game; everywhere else a limiter sleeps
// to absolute deadlines 1/60 s apart. Kept apart from the device so the
// decisions can be checked with made-up clocks.
#include <cstdint>

// Updates a second the game is made for; a frame lasts 1/60 s (16.667 ms).
constexpr int64_t pacing_frames_per_second = 60;

enum PacingMode {
    PacingOff = 0,      // present at once, no waiting (tools)
    PacingMeasure = 1,  // vsync asked for: measuring whether it really waits
    PacingVsync = 2,    // vsync waits: presentation paces the game
    PacingLimiter = 3,  // sleep to the next deadline after each present
};

struct FramePacer {
    int mode;
    int64_t base_us;           // limiter: the time of frame 0
    int64_t frames;            // limiter: frames presented since frame 0
    int64_t last_present_us;   // measuring: the previous present
    int measured;              // measuring: presents seen so far
    int64_t intervals_us[32];  // measuring: the intervals kept for the median
};

// mode PacingOff, PacingMeasure (vsync was turned on) or PacingLimiter.
void pacer_start(FramePacer& pacer, int mode, int64_t now_us);
// Called right after a present at now_us; returns the time to sleep until
// (0: no sleep). When the measurement ends the mode becomes PacingVsync or
// PacingLimiter; the caller turns vsync off in the second case.
int64_t pacer_after_present(FramePacer& pacer, int64_t now_us);
// True when a display of this refresh rate (Hz, 0 unknown) suits vsync.
int pacer_refresh_suits_vsync(int refresh_hz);
