// Sound output over the shared SDL audio device: static voices that a
// small mixer plays into the stream, each 8- or 16-bit PCM, mono or
// stereo, at its own rate (resampled linearly to the stream's), panned as
// the game's pan value says. The library and its entry point are the SDL
// output itself; an output object exists while the device can play.
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>

#include "platform/resources.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sound_out.h"

struct SoundLibrary {
    int unused;
};
struct SoundEntry {
    int unused;
};
struct SoundOutput {
    int unused;
};
struct SoundBuffer {
    unsigned char* data;
    uint32_t bytes;
    int channels;     // 1 or 2
    int bits;         // 8 (unsigned) or 16 (signed little-endian)
    uint32_t block;   // bytes per frame
    uint32_t frames;  // frames in data
    double step;      // source frames per stream frame
    double position;  // in source frames
    float gain_left, gain_right;
    int playing;
};

namespace {

constexpr uint16_t wave_format_pcm = 1;
enum { voice_capacity = 256 };

std::mutex voice_lock;  // the voices' states, against the mixer
SoundBuffer* voices[voice_capacity];
// The system player of the fallback path: one WAV image at a time.
SoundBuffer player;

SoundLibrary the_library;
SoundEntry the_entry;

uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Reads the PCM format; 0 when the mixer cannot play it.
int read_format(SoundBuffer* b, const unsigned char* format) {
    const uint16_t tag = le16(format);
    const int channels = le16(format + 2);
    const uint32_t rate = le32(format + 4);
    const int bits = le16(format + 14);
    if (tag != wave_format_pcm || (channels != 1 && channels != 2) || (bits != 8 && bits != 16) ||
        rate < 1000 || rate > 384000)
        return 0;
    b->channels = channels;
    b->bits = bits;
    b->block = uint32_t(channels * bits / 8);
    b->step = double(rate) / sdl_audio_rate;
    b->gain_left = b->gain_right = 1.0f;
    return 1;
}

float sample_at(const SoundBuffer* b, uint32_t frame, int channel) {
    if (frame >= b->frames) return 0.0f;
    const unsigned char* p = b->data + frame * b->block + (channel % b->channels) * (b->bits / 8);
    if (b->bits == 8) return (float(p[0]) - 128.0f) / 128.0f;
    return float(int16_t(le16(p))) / 32768.0f;
}

void mix_voice(SoundBuffer* b, float* out, int frames) {
    for (int i = 0; i < frames; ++i) {
        const uint32_t f = uint32_t(b->position);
        if (f >= b->frames) {
            // Played to its end: it stops, and plays from the start next time.
            b->playing = 0;
            b->position = 0.0;
            return;
        }
        const float t = float(b->position - f);
        const float left = sample_at(b, f, 0) * (1 - t) + sample_at(b, f + 1, 0) * t;
        const float right = sample_at(b, f, 1) * (1 - t) + sample_at(b, f + 1, 1) * t;
        out[2 * i] += left * b->gain_left;
        out[2 * i + 1] += right * b->gain_right;
        b->position += b->step;
    }
}

// The gains of a pan: the far side is attenuated by |pan| hundredths of a
// decibel; -10000 and 10000 silence it.
void set_gains(SoundBuffer* b, int pan) {
    if (pan < -10000) pan = -10000;
    if (pan > 10000) pan = 10000;
    const float far =
        pan <= -10000 || pan >= 10000 ? 0.0f : float(std::pow(10.0, -std::abs(pan) / 2000.0));
    b->gain_left = pan > 0 ? far : 1.0f;
    b->gain_right = pan < 0 ? far : 1.0f;
}

}  // namespace

void sdl_sound_mix(float* out, int frames) {
    std::lock_guard<std::mutex> hold(voice_lock);
    for (SoundBuffer* b : voices)
        if (b && b->playing) mix_voice(b, out, frames);
    if (player.playing) mix_voice(&player, out, frames);
}

SoundLibrary* sound_library_load() { return &the_library; }
SoundEntry* sound_library_entry(SoundLibrary* library) { return library ? &the_entry : nullptr; }
void sound_library_free(SoundLibrary*) {}

SoundOutput* sound_output_create(SoundEntry* entry) {
    if (!entry || !sdl_audio_open()) return nullptr;
    return new (std::nothrow) SoundOutput();
}

void sound_output_release(SoundOutput* output) { delete output; }

SoundWindow* sound_active_window() { return nullptr; }

int sound_output_set_cooperative(SoundOutput* output, SoundWindow*) { return output != nullptr; }

SoundBuffer* sound_buffer_create(SoundOutput* output, const unsigned char* format, uint32_t bytes) {
    if (!output || !format) return nullptr;
    SoundBuffer* b = new (std::nothrow) SoundBuffer();
    if (!b) return nullptr;
    b->data = new (std::nothrow) unsigned char[uint64_t(bytes) + 1]();
    if (!b->data || !read_format(b, format)) {
        delete[] b->data;
        delete b;
        return nullptr;
    }
    b->bytes = bytes;
    b->frames = bytes / b->block;
    std::lock_guard<std::mutex> hold(voice_lock);
    for (SoundBuffer*& slot : voices) {
        if (slot) continue;
        slot = b;
        return b;
    }
    delete[] b->data;
    delete b;
    return nullptr;
}

// The mixer reads the samples only while a voice plays, and a voice is
// filled before it first plays: the lock needs no mixer lock.
int sound_buffer_lock(SoundBuffer* buffer, uint32_t bytes, void** part, uint32_t* part_bytes) {
    if (!buffer) return 0;
    *part = buffer->data;
    *part_bytes = bytes < buffer->bytes ? bytes : buffer->bytes;
    return 1;
}

void sound_buffer_unlock(SoundBuffer*, void*, uint32_t) {}

uint32_t sound_buffer_status(SoundBuffer* buffer) {
    std::lock_guard<std::mutex> hold(voice_lock);
    return buffer && buffer->playing ? SoundPlaying : 0;
}

void sound_buffer_stop(SoundBuffer* buffer) {
    std::lock_guard<std::mutex> hold(voice_lock);
    if (buffer) buffer->playing = 0;
}

void sound_buffer_set_pan(SoundBuffer* buffer, int pan) {
    std::lock_guard<std::mutex> hold(voice_lock);
    if (buffer) set_gains(buffer, pan);
}

void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset) {
    std::lock_guard<std::mutex> hold(voice_lock);
    if (buffer) buffer->position = double(byte_offset / buffer->block);
}

int sound_buffer_play(SoundBuffer* buffer) {
    std::lock_guard<std::mutex> hold(voice_lock);
    if (!buffer || buffer->frames == 0) return 0;
    buffer->playing = 1;
    return 1;
}

void sound_buffer_release(SoundBuffer* buffer) {
    if (!buffer) return;
    {
        std::lock_guard<std::mutex> hold(voice_lock);
        for (SoundBuffer*& slot : voices)
            if (slot == buffer) slot = nullptr;
    }
    delete[] buffer->data;
    delete buffer;
}

// The fallback player: finds the format and data chunks of the RIFF image
// (inside `size` bytes) and plays the samples in place.
int sound_play_memory(const unsigned char* image, uint32_t size) {
    {
        std::lock_guard<std::mutex> hold(voice_lock);
        player.playing = 0;
    }
    if (!image) return 1;
    if (size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0)
        return 0;
    if (!sdl_audio_open()) return 0;
    SoundBuffer b = {};
    const unsigned char* data = nullptr;
    uint32_t data_bytes = 0;
    int have_format = 0;
    for (uint64_t at = 12; at + 8 <= size;) {
        const uint32_t length = le32(image + at + 4);
        const uint64_t body = at + 8;
        const uint64_t inside = body + length <= size ? length : size - body;
        if (std::memcmp(image + at, "fmt ", 4) == 0 && inside >= 16)
            have_format = read_format(&b, image + body);
        if (std::memcmp(image + at, "data", 4) == 0) {
            data = image + body;
            data_bytes = uint32_t(inside);
            break;
        }
        at = body + length + (length & 1);
    }
    if (!have_format || !data) return 0;
    std::lock_guard<std::mutex> hold(voice_lock);
    player = b;
    player.data = const_cast<unsigned char*>(data);
    player.bytes = data_bytes;
    player.frames = data_bytes / b.block;
    player.position = 0.0;
    player.playing = player.frames > 0;
    return player.playing;
}

int resource_find(const char*, const char*, const unsigned char**, uint32_t*) { return 0; }
