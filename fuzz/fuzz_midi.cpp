// The MIDI reader on any bytes, then the sequencer playing what it read.
// The input is a whole file image. The reader must stay inside the image
// and its chunks and either refuse the file or build a list that keeps its
// promises: an end marker after the last record, every sysex record naming
// a message of the table, every tempo record followed by its second half.
// The song is then played for a few dozen milliseconds of headless timer
// time, from a program resource, exactly as the game loads its music.
#include <cstring>

#include "audio/midi_file.h"
#include "audio/sequencer.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"

namespace {

// Timer time each song plays, in milliseconds.
constexpr unsigned play_ms = 40;

void check_sequence(const MidiSequence& s) {
    FUZZ_CHECK(s.records != nullptr);
    FUZZ_CHECK(s.records[s.count].delta == midi_end_delta);
    for (uint32_t i = 0; i < s.count; ++i) {
        const MidiEvent& e = s.records[i];
        FUZZ_CHECK(e.pad == 0);
        if (e.status == 0xF0) {
            const uint32_t index = midi_event_value(e);
            FUZZ_CHECK(index < s.sysex_count);
            FUZZ_CHECK(s.sysex[index].data[0] == 0xF0);
            FUZZ_CHECK(s.sysex[index].length >= 1);
        } else if (e.status == 0xFF) {
            // A tempo pair: the second half has status 0 and no delta, and
            // a tempo of 0 never gets into the list.
            FUZZ_CHECK(i + 1 < s.count);
            FUZZ_CHECK(s.records[i + 1].status == 0x00 && s.records[i + 1].delta == 0);
            FUZZ_CHECK((midi_event_value(e) | midi_event_value(s.records[i + 1]) << 16) != 0);
            i += 1;
        } else {
            FUZZ_CHECK(e.status >= 0x80);
            if (e.status >= 0xC0 && e.status <= 0xDF) FUZZ_CHECK(e.data2 == 0);
        }
    }
}

MidiSequencer player;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    MidiSequence s = {};
    if (midi_parse(&s, data, uint32_t(size))) check_sequence(s);
    midi_clear(&s);

    // The same bytes as the game meets them: a named item through a data
    // source, parsed by the load, played by the timer.
    headless_audio_reset();
    headless_resource_add("fuzz/song.mid", data, uint32_t(size));
    if (sequencer_load(&player, "fuzz/song.mid") && sequencer_play(&player)) {
        headless_timer_advance(play_ms);
        sequencer_stop(&player);
    }
    sequencer_unload(&player);
    headless_midi_clear();
    return 0;
}
