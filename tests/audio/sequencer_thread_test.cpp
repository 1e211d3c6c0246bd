// Stop against a running tick, with the timer on a real thread: after
// sequencer_stop returns no tick runs, nothing more is sent, and the last
// calls are the silencing, the reset and the close. Songs dense with tempo
// records and short enough to loop make the timer thread re-arm its timer
// while the main thread stops it. Built with ThreadSanitizer as well
// (QUENNARY_AUDIO_TSAN), where it shows the handshake free of races.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/sequencer.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "tests/audio/audio_fixtures.h"

namespace {

// Four notes a tick, a tempo record every tick, over 40 ticks: then it loops.
Bytes busy_song() {
    Bytes t;
    for (int tick = 0; tick < 40; ++tick) {
        t.insert(t.end(), {0x01, 0xFF, 0x51, 0x03, 0x00, 0x10, 0x00});  // 4096 us a quarter
        for (uint8_t k = 0; k < 4; ++k) t.insert(t.end(), {0x00, 0x90, uint8_t(0x30 + k), 0x40});
        t.insert(t.end(), {0x00, 0xB0, 0x07, 0x64});
    }
    t.insert(t.end(), {0x00, 0xFF, 0x2F, 0x00});
    return smf(96, {t});
}

TEST(SequencerThread, StopWaitsForTheRunningTickAndNothingFollowsIt) {
    ScratchDirectory scratch;
    headless_audio_reset();
    write_bytes("res/busy.mid", busy_song());
    static MidiSequencer seq;
    sequencer_init(&seq);
    ASSERT_EQ(sequencer_load(&seq, "res/busy.mid"), 1);
    headless_timer_start_thread(20);
    for (int round = 0; round < 60; ++round) {
        ASSERT_EQ(sequencer_play(&seq), 1);
        std::this_thread::sleep_for(std::chrono::microseconds(300 + 137 * (round % 11)));
        headless_midi_clear();
        ASSERT_EQ(sequencer_stop(&seq), 1);
        EXPECT_EQ(seq.busy.load(), 0);
        // Not even a timer that the running tick armed as the stop began.
        EXPECT_EQ(headless_timers_armed(), 0) << "round " << round;
        const int after_stop = headless_midi_count();
        ASSERT_GE(after_stop, 2);
        EXPECT_EQ(headless_midi_call(after_stop - 1).kind, HeadlessMidiClose);
        EXPECT_EQ(headless_midi_call(after_stop - 2).kind, HeadlessMidiReset);
        // Nothing is sent after the stop.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        EXPECT_EQ(headless_midi_count(), after_stop) << "round " << round;
        EXPECT_EQ(headless_midi_devices_open(), 0);
    }
    headless_timer_stop_thread();
    EXPECT_EQ(headless_timers_armed(), 0);
    EXPECT_EQ(sequencer_unload(&seq), 1);
}

}  // namespace
