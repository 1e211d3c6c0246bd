#pragma once
// Effect sounds: each effect holds its whole WAV file and three static
// voices filled with its samples, so one effect can sound three times at
// once. Without a sound output the WAV image is played by the system's
// own player instead.
#include <cstdint>

#include "platform/sound_out.h"

constexpr int effect_voice_count = 3;

struct SoundEffect {
    SoundEntry* create;            // the library's entry point, or null
    SoundLibrary* library;         // the sound library, or null
    uint32_t sample_bytes;         // length of the sample data
    const unsigned char* samples;  // first sample byte, inside image
    SoundOutput* direct_sound;     // this effect's own output object, or null
    int voice_count;               // 3 once loaded, else 0
    SoundBuffer** voices;          // voice_count entries; null where a voice failed
    SoundWindow* window;           // the window the output cooperates with
    unsigned char* image;          // the whole WAV file, or null
    uint32_t image_size;           // bytes of image
    // The system's player reads an image it was handed for as long as it
    // sounds, so an image once handed over is kept until the load after
    // the next one instead of being freed at once.
    int image_in_player;
    unsigned char* retired_image;
};

// Binds the sound library and makes the effect's output object. Whatever
// the record held from an earlier binding is released first, so binding at
// every title start costs nothing.
void effect_bind(SoundEffect* effect);
// Reads the WAV by name and fills three voices. 0 when the file is missing
// or is not a WAV file whose lengths lie inside it.
int effect_load(SoundEffect* effect, const char* name);
// Starts the sound: the first voice not sounding, else the last voice cut
// and started again. pan as sound_buffer_set_pan. 1 when it started.
int effect_play(SoundEffect* effect, int pan);
void effect_release_voices(SoundEffect* effect);
