// Frame pacing decisions, free of any clock: the device passes the present
// times in and sleeps until the times that come back.
#include "platform/sdl/sdl_pacing.h"

#include <algorithm>

namespace {

// Presents left out before measuring: a swap chain may take the first
// frames without waiting until its buffers are full.
constexpr int measure_skip = 4;
// Intervals measured before deciding (about 0.4 s at 60 Hz).
constexpr int measure_count = 24;
// While measuring, frames are kept at least this far apart (10 ms), so
// that a vsync that does not wait cannot run the game at hundreds of
// updates a second meanwhile; a real 60 Hz vsync is slower than this.
constexpr int64_t measure_floor_us = 10000;
// A median interval in this range (16.1 to 17.3 ms, 58 to 62 Hz) means
// vsync waits for a display of about 60 Hz and can pace the game; anything
// else, faster (no real wait, or a retrace that is not the display's) or
// slower (frames missing the retrace), gives the limiter.
constexpr int64_t vsync_shortest_us = 16100;
constexpr int64_t vsync_longest_us = 17300;
// A limiter more than this many frames behind starts again from now
// instead of running a burst of frames to catch up.
constexpr int64_t catch_up_frames = 3;

// When frame n after frame 0 is due: whole microseconds from the exact
// fraction, so the steps of 16.667 ms never add up to a drift.
int64_t limiter_deadline(const FramePacer& pacer, int64_t frames) {
    return pacer.base_us + frames * 1000000 / pacing_frames_per_second;
}

// The frame just presented counts as presented at frame 0's time, now:
// the next one is due a frame from now.
int64_t limiter_restart(FramePacer& pacer, int64_t now_us) {
    pacer.base_us = now_us;
    pacer.frames = 1;
    return limiter_deadline(pacer, 1);
}

}  // namespace

void pacer_start(FramePacer& pacer, int mode, int64_t now_us) {
    pacer.mode = mode;
    pacer.base_us = now_us;
    pacer.frames = 0;
    pacer.last_present_us = now_us;
    pacer.measured = 0;
}

int64_t pacer_after_present(FramePacer& pacer, int64_t now_us) {
    switch (pacer.mode) {
    case PacingMeasure: {
        const int64_t interval = now_us - pacer.last_present_us;
        pacer.last_present_us = now_us;
        const int index = pacer.measured - measure_skip;
        pacer.measured += 1;
        if (index >= 0) pacer.intervals_us[index] = interval;
        if (index + 1 < measure_count) return now_us + measure_floor_us;
        int64_t* begin = pacer.intervals_us;
        std::nth_element(begin, begin + measure_count / 2, begin + measure_count);
        const int64_t median = begin[measure_count / 2];
        if (median >= vsync_shortest_us && median <= vsync_longest_us) {
            pacer.mode = PacingVsync;
            return 0;
        }
        pacer.mode = PacingLimiter;
        return limiter_restart(pacer, now_us);
    }
    case PacingLimiter: {
        // After the n-th present the next frame is due n frames after
        // frame 0, counted from frame 0's time, not from this present.
        pacer.frames += 1;
        const int64_t due = limiter_deadline(pacer, pacer.frames);
        if (now_us - due > catch_up_frames * 1000000 / pacing_frames_per_second)
            return limiter_restart(pacer, now_us);
        return due > now_us ? due : 0;
    }
    default:
        return 0;
    }
}

int pacer_refresh_suits_vsync(int refresh_hz) { return refresh_hz >= 59 && refresh_hz <= 61; }
