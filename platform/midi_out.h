#pragma once
// The system's MIDI output: the default device (the MIDI mapper), short
// messages, system-exclusive messages and reset. The music sequencer sends
// from the timer thread while the main thread opens and closes.
#include <cstdint>

struct MidiOutDevice;  // an open output; owned by whoever opened it

// One system-exclusive message as the output takes it: the bytes, their
// count and flags the output sets. `platform` is storage the backend may use
// for its own header of the message, so that preparing the message
// allocates nothing: it holds a whole Win32 MIDIHDR (64 bytes in a 32-bit
// program, 120 in a 64-bit one). The game zeroes it with the rest of the
// record and never reads it.
struct MidiLongMessage {
    unsigned char* data;  // 0xF0 followed by the message bytes
    uint32_t length;      // bytes in data
    uint32_t flags;       // 0 until the output prepares the message
    alignas(8) unsigned char platform[128];
};

// Opens the default output. 1 and a device on success; 0 and a null device
// when there is none (no synthesizer, no sound card).
int midi_out_open(MidiOutDevice** device);
// A short message: status in the lowest byte, then data1 and data2.
void midi_out_short(MidiOutDevice* device, uint32_t message);
// Prepares a long message for sending; preparing it again is harmless.
void midi_out_prepare(MidiOutDevice* device, MidiLongMessage* message);
// Sends a prepared long message. The bytes must stay valid until the device
// is reset or closed.
void midi_out_long(MidiOutDevice* device, MidiLongMessage* message);
// Turns every sounding note off.
void midi_out_reset(MidiOutDevice* device);
void midi_out_close(MidiOutDevice* device);
