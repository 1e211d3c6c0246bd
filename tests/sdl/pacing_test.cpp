// The pacing decisions with made-up clocks: the limiter's deadlines, its
// restart after falling behind, and what the first frames' present
// intervals say about vsync.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_pacing.h"

namespace {

// Runs the measurement with presents spaced interval_us apart (or as soon
// as the pacer lets them, if later) and returns the mode it ends in.
int measure_with_interval(int64_t interval_us) {
    FramePacer pacer = {};
    int64_t now = 1000000;
    pacer_start(pacer, PacingMeasure, now);
    for (int frame = 0; frame < 200 && pacer.mode == PacingMeasure; ++frame) {
        const int64_t wake = pacer_after_present(pacer, now);
        now = std::max(now + interval_us, wake);
    }
    return pacer.mode;
}

}  // namespace

TEST(Pacing, LimiterKeepsAbsoluteDeadlinesWithoutDrift) {
    FramePacer pacer = {};
    const int64_t start = 5000000;
    pacer_start(pacer, PacingLimiter, start);
    // Presents come 3 ms after each wake-up (the frame's work): the
    // deadlines stay on the 1/60 s grid counted from the start.
    int64_t now = start;
    int64_t wake = 0;
    for (int frame = 1; frame <= 600; ++frame) {
        wake = pacer_after_present(pacer, now);
        ASSERT_GT(wake, now);
        now = wake + 3000;
    }
    EXPECT_EQ(wake, start + 10000000);  // 600 frames are exactly 10 s
}

TEST(Pacing, LimiterRunsLateFramesAtOnceAndRestartsWhenFarBehind) {
    FramePacer pacer = {};
    pacer_start(pacer, PacingLimiter, 0);
    EXPECT_EQ(pacer_after_present(pacer, 0), 16666);
    // 2 frames late: no sleep, catch up on the same grid.
    EXPECT_EQ(pacer_after_present(pacer, 50000), 0);
    EXPECT_EQ(pacer_after_present(pacer, 51000), 0);
    EXPECT_EQ(pacer_after_present(pacer, 60000), 66666);
    // A stall of a second: start again one frame from now, no burst.
    EXPECT_EQ(pacer_after_present(pacer, 1060000), 1060000 + 16666);
    EXPECT_EQ(pacer_after_present(pacer, 1076666), 1060000 + 33333);
}

TEST(Pacing, FirstIntervalsDecideBetweenVsyncAndLimiter) {
    const struct {
        int64_t interval_us;
        int mode;
    } cases[] = {
        {16667, PacingVsync},   // vsync waits for a 60 Hz display
        {16393, PacingVsync},   // a 61 Hz display is close enough
        {16949, PacingVsync},   // and so is a 59 Hz one
        {15750, PacingLimiter}, // a retrace of 63.5 Hz is not the display's
        {500, PacingLimiter},   // vsync asked for but nothing waits
        {10000, PacingLimiter}, // a 100 Hz display
        {6944, PacingLimiter},  // a 144 Hz display
        {33333, PacingLimiter}, // frames missing every other retrace
    };
    for (const auto& c : cases) EXPECT_EQ(measure_with_interval(c.interval_us), c.mode) << c.interval_us;
}

TEST(Pacing, MeasuringNeverRunsFasterThanTenMillisecondsAFrame) {
    FramePacer pacer = {};
    pacer_start(pacer, PacingMeasure, 0);
    EXPECT_EQ(pacer_after_present(pacer, 1000), 11000);
    FramePacer off = {};
    pacer_start(off, PacingOff, 0);
    EXPECT_EQ(pacer_after_present(off, 1000), 0);
}

TEST(Pacing, OnlyDisplaysOfAbout60HzTryVsync) {
    const int suits[][2] = {{0, 0}, {50, 0}, {58, 0}, {59, 1}, {60, 1}, {61, 1}, {75, 0}, {144, 0}};
    for (const auto& c : suits) EXPECT_EQ(pacer_refresh_suits_vsync(c[0]), c[1]) << c[0];
}
