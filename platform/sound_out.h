#pragma once
// The system's sound output for effects: a sound library bound at run time,
// output objects made through its entry point, static buffers (voices)
// that play a sound once, and the system's own player of a whole WAV image
// in memory, the fallback when there is no output.
//
// Results follow the game's rule: 1 for success, 0 for failure, except the
// buffer status, which is a set of SoundStatus bits.
#include <cstdint>

struct SoundLibrary;  // the loaded sound library
struct SoundEntry;    // the library's entry point that makes output objects
struct SoundOutput;   // one output object on the default device
struct SoundBuffer;   // one static buffer of samples
struct SoundWindow;   // the window an output cooperates with

// Loads the sound library (null when the system has none) and finds its
// entry point (null when the library lacks it). A library stays loaded
// until sound_library_free.
SoundLibrary* sound_library_load();
SoundEntry* sound_library_entry(SoundLibrary* library);
void sound_library_free(SoundLibrary* library);

// Makes an output object on the default device through the entry point.
// Null when there is no device.
SoundOutput* sound_output_create(SoundEntry* entry);
void sound_output_release(SoundOutput* output);

// The active window of the program, or null when it has none.
SoundWindow* sound_active_window();
// Asks to share the device with other programs (normal cooperation) while
// `window` is active. 1 on success.
int sound_output_set_cooperative(SoundOutput* output, SoundWindow* window);

// A static buffer of `bytes` sample bytes whose format is the 18-byte
// WAVEFORMATEX at `format` (format tag, channels, samples per second,
// average bytes per second, block align, bits per sample, extra size; all
// little-endian). It can change its frequency, pan and volume. Null when
// the format is not one the output plays or the buffer cannot be made.
SoundBuffer* sound_buffer_create(SoundOutput* output, const unsigned char* format, uint32_t bytes);
// Locks `bytes` from the start of the buffer for writing: 1 with the part
// that may be written and its size, 0 when it cannot be locked. Unlock
// with the part and the count of bytes written.
int sound_buffer_lock(SoundBuffer* buffer, uint32_t bytes, void** part, uint32_t* part_bytes);
void sound_buffer_unlock(SoundBuffer* buffer, void* part, uint32_t part_bytes);

enum SoundStatus {
    SoundPlaying = 1,  // the buffer is sounding
    SoundLost = 2,     // the buffer's memory was taken back by the system
    SoundLooping = 4,  // the buffer is sounding and loops
};
uint32_t sound_buffer_status(SoundBuffer* buffer);
void sound_buffer_stop(SoundBuffer* buffer);
// pan: -10000 (left only) .. 10000 (right only), in hundredths of a decibel
// of attenuation of the other side; 0 is the centre.
void sound_buffer_set_pan(SoundBuffer* buffer, int pan);
// Moves the play position to `byte_offset` from the start.
void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset);
// Plays once from the present position, not looping. A buffer that played
// to its end plays again from its start. 1 on success.
int sound_buffer_play(SoundBuffer* buffer);
void sound_buffer_release(SoundBuffer* buffer);

// Plays a whole WAV image of `size` bytes from memory asynchronously,
// replacing whatever this player was playing; a null image stops it. The
// image must stay valid while it sounds; nothing past `size` is read (the
// system's own player may take the length from the image's RIFF header).
// 1 when the sound started (or, for null, stopped).
int sound_play_memory(const unsigned char* image, uint32_t size);
