// The music cues: each track reloads its file, plays from its start and
// stops when its scene ends; a missing file means no music.
#include "audio/cues.h"

#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "tests/audio/audio_fixtures.h"

namespace {

Bytes one_note_song(uint8_t key) {
    return smf(400, {{0x00, 0x90, key, 0x40, 0x10, 0x80, key, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
}

TEST(MusicCues, ResultToTitleStopsOneTrackBeforeTheOtherStartsFromItsBeginning) {
    ScratchDirectory scratch;
    headless_audio_reset();
    write_bytes("res/title.MID", one_note_song(0x3C));
    write_bytes("res/result.mid", one_note_song(0x48));
    audio_setup();
    play_title_music();
    headless_timer_advance(5);
    stop_title_music();
    play_result_music();
    headless_timer_advance(5);
    const int from = headless_midi_count();
    stop_result_music();
    play_title_music();
    headless_timer_advance(1);
    std::vector<int> kinds;
    for (int i = from; i < headless_midi_count(); ++i) kinds.push_back(headless_midi_call(i).kind);
    // Result: 16 volumes, reset, close; then the title opens and plays its first note.
    ASSERT_EQ(kinds.size(), 16u + 2 + 1 + 1);
    EXPECT_EQ(kinds[16], HeadlessMidiReset);
    EXPECT_EQ(kinds[17], HeadlessMidiClose);
    EXPECT_EQ(kinds[18], HeadlessMidiOpen);
    EXPECT_EQ(headless_midi_call(from + 19).message, 0x403C90u);
    stop_title_music();
    EXPECT_EQ(headless_timers_armed(), 0);
    EXPECT_EQ(headless_midi_devices_open(), 0);
}

TEST(MusicCues, AMissingTrackPlaysNothing) {
    ScratchDirectory scratch;
    headless_audio_reset();
    audio_setup();
    const int from = headless_midi_count();
    play_game_music();
    headless_timer_advance(10);
    stop_game_music();
    EXPECT_EQ(headless_midi_count(), from);
    EXPECT_EQ(headless_timers_armed(), 0);
}

}  // namespace
