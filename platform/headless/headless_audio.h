#pragma once
// Control surface of the headless audio: the MIDI output and the sound
// output record every call, the sound output's voices finish when a test
// says so, resources are whatever a test registers, and the timer may run
// on a real thread for tests of the sequencer against the main thread.
#include <cstdint>

#include "platform/midi_out.h"

// Forgets the MIDI and sound logs, the failure switches, the voices'
// states and the registered resources. Objects made before stay valid.
void headless_audio_reset();

// ---- MIDI output
enum HeadlessMidiKind {
    HeadlessMidiOpen = 1,
    HeadlessMidiShort = 2,
    HeadlessMidiPrepare = 3,
    HeadlessMidiLong = 4,
    HeadlessMidiReset = 5,
    HeadlessMidiClose = 6,
};
struct HeadlessMidiCall {
    int kind;
    uint32_t message;                     // short: the message as sent
    const MidiLongMessage* long_message;  // prepare, long: the record handed over
    uint32_t length;                      // prepare, long: its length at the call
    unsigned char first_byte;             // prepare, long: its first byte at the call
};
enum { headless_midi_capacity = 1 << 16 };
// Calls since the last clear (at most the capacity are kept).
int headless_midi_count();
HeadlessMidiCall headless_midi_call(int index);
void headless_midi_clear();
// Makes midi_out_open fail (1) or succeed (0).
void headless_midi_fail_open(int fail);
int headless_midi_devices_open();  // opened and not yet closed

// ---- sound output
enum HeadlessSoundKind {
    HeadlessSoundCreateBuffer = 1,  // value: sample bytes
    HeadlessSoundPlay = 2,
    HeadlessSoundStop = 3,
    HeadlessSoundPan = 4,       // value: the pan
    HeadlessSoundPosition = 5,  // value: the byte offset
    HeadlessSoundRelease = 6,
    HeadlessSoundPlayMemory = 7,  // image: the image handed over (null: stop)
    HeadlessSoundCooperative = 8,
};
struct HeadlessSoundCall {
    int kind;
    int voice;  // the buffer's number, counted from 1 in creation order
    int value;
    const unsigned char* image;
};
enum { headless_sound_capacity = 4096 };
int headless_sound_count();
HeadlessSoundCall headless_sound_call(int index);
void headless_sound_clear();
// Switches for the failure paths (all 0 after a reset): no library, no
// entry point in it, no output object, cooperation refused, buffers
// refused (every one, or only the `nth` made from now on, counted from 1).
void headless_sound_fail(int no_library, int no_entry, int no_output, int no_cooperation);
void headless_sound_fail_buffer(int nth);
// The voices: sounding or not, play position, and finishing them as the
// end of their samples would.
int headless_sound_voice_playing(int voice);
uint32_t headless_sound_voice_position(int voice);
void headless_sound_voice_advance(int voice, uint32_t bytes);
void headless_sound_finish_voice(int voice);
void headless_sound_finish_all();
// The samples a voice was filled with.
const unsigned char* headless_sound_voice_samples(int voice, uint32_t* bytes);
int headless_sound_live_buffers();
int headless_sound_live_outputs();
int headless_sound_live_libraries();
int headless_sound_voices_made();  // the number the next voice would follow

// ---- resources
// Makes `bytes` findable as the resource `name` (any type). The bytes must
// stay valid while registered; at most 16 are kept.
void headless_resource_add(const char* name, const unsigned char* bytes, uint32_t size);

// ---- timer on a thread
// Runs the headless timers on a thread of their own, a millisecond of timer
// time about every `pace_us` microseconds, until stopped.
void headless_timer_start_thread(unsigned pace_us);
void headless_timer_stop_thread();
