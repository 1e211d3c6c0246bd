// The sequencer on the hand-stepped headless timer: the tick arithmetic,
// catching up, delta timing, the loop with its channel-state resend, and
// what stop and unload send.
#include "audio/sequencer.h"

#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "tests/audio/audio_fixtures.h"

namespace {

const Bytes end_of_track = {0x00, 0xFF, 0x2F, 0x00};

Bytes track(Bytes events) {
    events.insert(events.end(), end_of_track.begin(), end_of_track.end());
    return events;
}

// The calls the MIDI output got since `from`, as (kind, message) pairs.
std::vector<std::pair<int, uint32_t>> calls_since(int from) {
    std::vector<std::pair<int, uint32_t>> out;
    for (int i = from; i < headless_midi_count(); ++i) {
        const HeadlessMidiCall c = headless_midi_call(i);
        out.push_back({c.kind, c.message});
    }
    return out;
}

std::vector<uint32_t> shorts_since(int from) {
    std::vector<uint32_t> out;
    for (const auto& c : calls_since(from))
        if (c.first == HeadlessMidiShort) out.push_back(c.second);
    return out;
}

class Sequencer : public ::testing::Test {
protected:
    void SetUp() override {
        headless_audio_reset();
        sequencer_init(&seq);
    }
    void TearDown() override { sequencer_unload(&seq); }
    // Writes the song and loads it.
    void load(const Bytes& image) {
        write_bytes("res/song.mid", image);
        ASSERT_EQ(sequencer_load(&seq, "res/song.mid"), 1);
    }
    ScratchDirectory scratch;
    MidiSequencer seq;
};

TEST_F(Sequencer, TargetTickAfterATempoRecordCountsFromZeroAtTheNewRate) {
    // Tempo 500000 at tick 0, a note far away.
    load(smf(480,
             {track({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x8F, 0x00, 0x90, 0x3C, 0x64})}));
    ASSERT_EQ(sequencer_play(&seq), 1);
    headless_timer_advance(1);  // the first tick plays the tempo record
    EXPECT_EQ(seq.tempo, 500000u);
    EXPECT_EQ(seq.rate_numerator, 480000u);
    const struct {
        unsigned ms;      // timer events since the tempo record
        uint32_t target;  // ticks due by then
    } steps[] = {{1, 0}, {2, 1}, {25, 24}};
    unsigned elapsed = 0;
    for (const auto& s : steps) {
        headless_timer_advance(s.ms - elapsed);
        elapsed = s.ms;
        EXPECT_EQ(seq.target_tick, s.target) << "after " << s.ms << " ms";
    }
}

TEST_F(Sequencer, WithoutTempoRecordsTheSongRunsAtTheDefaultTempo) {
    load(smf(480, {track({0x00, 0x90, 0x3C, 0x64, 0x8F, 0x00, 0x80, 0x3C, 0x00})}));
    ASSERT_EQ(sequencer_play(&seq), 1);
    EXPECT_EQ(seq.tempo, sequencer_default_tempo);
    headless_timer_advance(10);
    EXPECT_EQ(seq.target_tick, 12u);  // 1.2 ticks a millisecond
    headless_timer_advance(5);
    EXPECT_EQ(seq.target_tick, 18u);
}

TEST_F(Sequencer, CatchesUpAtMostTenTicksPerTimerEvent) {
    load(smf(480, {track({0x00, 0x90, 0x3C, 0x64, 0x8F, 0x00, 0x80, 0x3C, 0x00})}));
    ASSERT_EQ(sequencer_play(&seq), 1);
    seq.ms_count = 20;  // the timer thread was held up for 20 ms
    const struct { uint32_t target, done; } events[] = {{25, 10}, {26, 20}, {27, 27}, {28, 28}};
    for (const auto& e : events) {
        headless_timer_advance(1);
        EXPECT_EQ(seq.target_tick, e.target);
        EXPECT_EQ(seq.done_ticks, e.done);
    }
}

TEST_F(Sequencer, SendsRecordsOnTheTicksTheirDeltasName) {
    // Division 400 at the default tempo: exactly one tick a millisecond.
    load(smf(400, {track({0x05, 0x90, 0x30, 0x10, 0x00, 0x90, 0x31, 0x10, 0x03, 0x90, 0x32, 0x10,
                          0x7F, 0x80, 0x30, 0x00})}));
    ASSERT_EQ(sequencer_play(&seq), 1);
    const int start = headless_midi_count();
    // The first record plays at once, though the file starts it at tick 5.
    const struct {
        unsigned ms;
        std::vector<uint32_t> sent;
    } steps[] = {{1, {0x103090, 0x103190}}, {2, {}}, {3, {}}, {4, {0x103290}}};
    int seen = start;
    for (const auto& s : steps) {
        headless_timer_advance(1);
        EXPECT_EQ(shorts_since(seen), s.sent) << "at " << s.ms << " ms";
        seen = headless_midi_count();
    }
}

// The 96 channel-state messages of a loop, for a song that set program 5
// and volume 100 on channel 2 and pan 30 on channel 0.
std::vector<uint32_t> channel_resend() {
    std::vector<uint32_t> want;
    for (uint32_t n = 0; n < 16; ++n) want.push_back((0xC0 + n) | (n == 2 ? 5u : 0u) << 8);
    const uint32_t controllers[] = {0, 10, 91, 93, 7};
    for (uint32_t c : controllers)
        for (uint32_t n = 0; n < 16; ++n) {
            uint32_t v = 0;
            if (c == 10 && n == 0) v = 30;
            if (c == 7 && n == 2) v = 100;
            want.push_back((0xB0 + n) | c << 8 | v << 16);
        }
    return want;
}

TEST_F(Sequencer, LoopsWithTheChannelStateAndReopensAMissingDevice) {
    const Bytes song = smf(400, {track({0x00, 0xC2, 0x05, 0x00, 0xB2, 0x07, 0x64, 0x00, 0xB0, 0x0A,
                                        0x1E, 0x02, 0x92, 0x3C, 0x64})});
    const uint32_t first_record = 0x05C2;
    for (int device_at_start : {1, 0}) {
        SCOPED_TRACE(device_at_start ? "device open from the start" : "device opened at the loop");
        headless_audio_reset();
        load(song);
        headless_midi_fail_open(!device_at_start);
        ASSERT_EQ(sequencer_play(&seq), 1);
        headless_timer_advance(3);  // every record sent (silently without a device)
        headless_midi_fail_open(0);
        const int before_loop = headless_midi_count();
        headless_timer_advance(1);  // the end of the list: restart
        std::vector<uint32_t> want;
        if (!device_at_start)
            for (uint32_t n = 0; n < 16; ++n) want.push_back((0xB0 + n) | 120u << 8);
        const std::vector<uint32_t> resend = channel_resend();
        want.insert(want.end(), resend.begin(), resend.end());
        EXPECT_EQ(shorts_since(before_loop), want);
        EXPECT_EQ(calls_since(before_loop).front().first,
                  device_at_start ? HeadlessMidiShort : HeadlessMidiOpen);
        const int after_loop = headless_midi_count();
        headless_timer_advance(1);  // the first record on the first due tick
        ASSERT_FALSE(shorts_since(after_loop).empty());
        EXPECT_EQ(shorts_since(after_loop).front(), first_record);
        sequencer_stop(&seq);
    }
}

TEST_F(Sequencer, StopSilencesEveryChannelThenResetsAndCloses) {
    load(smf(400, {track({0x00, 0x90, 0x3C, 0x64, 0x8F, 0x00, 0x80, 0x3C, 0x00})}));
    ASSERT_EQ(sequencer_play(&seq), 1);
    headless_timer_advance(2);
    const int before = headless_midi_count();
    EXPECT_EQ(sequencer_stop(&seq), 1);
    std::vector<std::pair<int, uint32_t>> want;
    for (uint32_t n = 0; n < 16; ++n) want.push_back({HeadlessMidiShort, (0xB0 + n) | 7u << 8});
    want.push_back({HeadlessMidiReset, 0});
    want.push_back({HeadlessMidiClose, 0});
    EXPECT_EQ(calls_since(before), want);
    EXPECT_EQ(headless_timers_armed(), 0);
    EXPECT_EQ(headless_midi_devices_open(), 0);
    // Stopped means stopped: time passes, nothing is sent.
    const int after = headless_midi_count();
    headless_timer_advance(50);
    EXPECT_EQ(headless_midi_count(), after);
    // Play starts the song again from its first record.
    ASSERT_EQ(sequencer_play(&seq), 1);
    const int replay = headless_midi_count();
    headless_timer_advance(1);
    EXPECT_EQ(shorts_since(replay), std::vector<uint32_t>{0x643C90});
}

TEST_F(Sequencer, SysexIsPreparedAndSentEachTimeItIsReached) {
    load(smf(400,
             {track({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0x00, 0x90, 0x3C, 0x64})}));
    ASSERT_EQ(sequencer_play(&seq), 1);
    const int start = headless_midi_count();
    headless_timer_advance(1);
    const auto calls = calls_since(start);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].first, HeadlessMidiPrepare);
    EXPECT_EQ(calls[1].first, HeadlessMidiLong);
    const HeadlessMidiCall sent = headless_midi_call(start + 1);
    EXPECT_EQ(sent.long_message, &seq.sequence.sysex[0]);
    EXPECT_EQ(sent.length, 6u);
    EXPECT_EQ(sent.first_byte, 0xF0);
    EXPECT_EQ(calls[2], std::make_pair(int(HeadlessMidiShort), 0x643C90u));
}

TEST_F(Sequencer, WithoutMusicNothingPlaysAndNothingIsSent) {
    const int start = headless_midi_count();
    EXPECT_EQ(sequencer_unload(&seq), 0);
    EXPECT_EQ(sequencer_load(&seq, "res/missing.mid"), 0);
    write_bytes("res/empty.mid", {});
    EXPECT_EQ(sequencer_load(&seq, "res/empty.mid"), 0);
    EXPECT_EQ(sequencer_play(&seq), 0);
    EXPECT_EQ(headless_midi_count(), start);
    EXPECT_EQ(headless_timers_armed(), 0);
}

TEST_F(Sequencer, AFailedLoadKeepsTheSongThatWasLoaded) {
    load(smf(400, {track({0x00, 0x90, 0x3C, 0x64})}));
    EXPECT_EQ(sequencer_load(&seq, "res/missing.mid"), 0);
    ASSERT_NE(seq.sequence.records, nullptr);
    EXPECT_EQ(sequencer_play(&seq), 1);
    EXPECT_EQ(sequencer_unload(&seq), 1);
    EXPECT_EQ(seq.sequence.records, nullptr);
    EXPECT_EQ(sequencer_play(&seq), 0);
}

TEST_F(Sequencer, TimerPeriodsStayBalanced) {
    const int periods = headless_timer_periods();
    load(smf(400, {track({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x90, 0x3C, 0x64})}));
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(sequencer_play(&seq), 1);
        headless_timer_advance(20);  // tempo records and loops re-arm the timer
        EXPECT_EQ(headless_timer_periods(), periods + 1);
        sequencer_stop(&seq);
        EXPECT_EQ(headless_timer_periods(), periods);
    }
}

}  // namespace

namespace {

// The timer class on its own: with no callback it calls its OnTimer.
struct CountingTimer : CDxMTimer {
    int events = 0;
    void OnTimer() override { events += 1; }
};

TEST(DxTimer, WithoutACallbackTheTimerCallsOnTimerUntilStopped) {
    const int periods = headless_timer_periods();
    CountingTimer timer;
    EXPECT_EQ(timer.timer_id.load(), 0u);
    const unsigned first = timer.Start(1, nullptr, nullptr);
    ASSERT_NE(first, 0u);
    headless_timer_advance(3);
    EXPECT_EQ(timer.events, 3);
    // Starting again replaces the timer under a new id.
    const unsigned second = timer.Start(2, nullptr, nullptr);
    EXPECT_NE(second, first);
    headless_timer_advance(4);
    EXPECT_EQ(timer.events, 5);
    EXPECT_EQ(headless_timer_periods(), periods + 1);
    timer.Stop();
    timer.Stop();
    headless_timer_advance(4);
    EXPECT_EQ(timer.events, 5);
    EXPECT_EQ(timer.timer_id.load(), 0u);
    EXPECT_EQ(headless_timer_periods(), periods);
}

}  // namespace
