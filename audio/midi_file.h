#pragma once
// The Standard MIDI File reader: the whole image of a file becomes one
// time-ordered list of events, every track merged, with tempo changes and
// system-exclusive messages prepared for the sequencer's timer thread.
#include <cstdint>

#include "platform/midi_out.h"

// One record of the merged list. status, data1, data2 and pad read as one
// little-endian 32-bit value are the short message sent to the device.
// data1 | data2 << 8 is a 16-bit value for two statuses: 0xF0 holds the
// index of its message in the sysex table, 0xFF the low 16 bits of a tempo
// (microseconds per quarter note) whose high 16 bits the next record (status
// 0x00, delta 0) holds.
struct MidiEvent {
    uint32_t delta;  // ticks since the record before
    uint8_t status;
    uint8_t data1;
    uint8_t data2;
    uint8_t pad;  // always 0
};
static_assert(sizeof(MidiEvent) == 8, "a record is 8 bytes");

// The end marker's delta: the record after the last one carries it.
constexpr uint32_t midi_end_delta = 0xFFFFFFFFu;
// Records allocated beyond the count, the end marker among them.
constexpr uint32_t midi_spare_records = 16;

struct MidiSequence {
    uint16_t division;       // ticks per quarter note
    uint32_t count;          // records, the end marker not counted
    MidiEvent* records;      // count + spare records; null: nothing loaded
    MidiLongMessage* sysex;  // the system-exclusive messages in merge order
    uint32_t sysex_count;
    unsigned char* sysex_bytes;  // one block holding every message's bytes
    uint32_t play_index;         // next record to play (the sequencer's)
};

// The 16-bit value of a record (the sysex index, half a tempo).
inline uint32_t midi_event_value(const MidiEvent& e) {
    return uint32_t(e.data1) | uint32_t(e.data2) << 8;
}
// The record as a short message for the device.
inline uint32_t midi_event_message(const MidiEvent& e) {
    return uint32_t(e.status) | uint32_t(e.data1) << 8 | uint32_t(e.data2) << 16 |
           uint32_t(e.pad) << 24;
}

// Builds the sequence from the file image of `size` bytes, which the caller
// may free as soon as this returns. Nothing past the image or past a
// track's chunk is read: a track ends at its last whole event. An image that
// cannot be a MIDI file (shorter than its header chunk, or without a single
// track chunk header) is refused: 0, and the sequence is left as it was.
// Otherwise the old contents are freed first and the result is 1.
int midi_parse(MidiSequence* sequence, const unsigned char* image, uint32_t size);
// Frees the records and the sysex table; division and play_index become 0.
void midi_clear(MidiSequence* sequence);
