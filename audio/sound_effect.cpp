// Effect sounds over the platform's sound output. The WAV file is read as
// a fixed layout: "RIFF" at 0 or "WAVE" at 8, the format chunk's length L
// at 16, its 18 format bytes at 20, the sample length at 24 + L and the
// samples from 28 + L. Every offset is checked against the file's size.
#include "audio/sound_effect.h"

#include <cstring>
#include <new>

#include "audio/data_source.h"

namespace {

constexpr uint32_t wav_format_offset = 20;  // the 18 format bytes
constexpr uint32_t wav_format_bytes = 18;
constexpr uint32_t wav_smallest = 28;  // a header with an empty format chunk

uint32_t read_le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Forgets the image, keeping it for a while if the system's player has it.
void drop_image(SoundEffect* effect) {
    if (effect->image_in_player) {
        delete[] effect->retired_image;
        effect->retired_image = effect->image;
    } else {
        delete[] effect->image;
    }
    effect->image = nullptr;
    effect->image_size = 0;
    effect->image_in_player = 0;
    effect->samples = nullptr;
    effect->sample_bytes = 0;
}

SoundBuffer* make_voice(SoundEffect* effect) {
    if (!effect->direct_sound) return nullptr;
    SoundBuffer* buffer = sound_buffer_create(
        effect->direct_sound, effect->image + wav_format_offset, effect->sample_bytes);
    if (!buffer) return nullptr;
    void* part = nullptr;
    uint32_t part_bytes = 0;
    if (sound_buffer_lock(buffer, effect->sample_bytes, &part, &part_bytes)) {
        const uint32_t n = part_bytes < effect->sample_bytes ? part_bytes : effect->sample_bytes;
        std::memcpy(part, effect->samples, n);
        sound_buffer_unlock(buffer, part, part_bytes);
    }
    return buffer;
}

int play_from_memory(SoundEffect* effect) {
    if (effect->image) effect->image_in_player = 1;
    return sound_play_memory(effect->image, effect->image_size);
}

}  // namespace

void effect_bind(SoundEffect* effect) {
    effect_release_voices(effect);
    if (effect->direct_sound) sound_output_release(effect->direct_sound);
    if (effect->library) sound_library_free(effect->library);
    effect->direct_sound = nullptr;
    effect->library = nullptr;
    effect->create = nullptr;
    effect->window = nullptr;

    effect->library = sound_library_load();
    if (!effect->library) return;
    effect->create = sound_library_entry(effect->library);
    if (!effect->create) return;
    effect->direct_sound = sound_output_create(effect->create);
    if (!effect->direct_sound) return;
    if (SoundWindow* active = sound_active_window()) effect->window = active;
    sound_output_set_cooperative(effect->direct_sound, effect->window);
}

int effect_load(SoundEffect* effect, const char* name) {
    effect_release_voices(effect);
    drop_image(effect);

    DataSource source = {};
    data_source_set_type(&source, nullptr);
    if (!data_source_open(&source, name)) {
        data_source_close(&source);
        return 0;
    }
    const uint32_t size = data_source_size(&source);
    effect->image = new (std::nothrow) unsigned char[uint64_t(size) + 1]();
    int read_whole = 0;
    if (effect->image) {
        effect->image_size = size;
        const uint32_t read = data_source_read(&source, effect->image, size);
        read_whole = read == (source.kind == SourceFile ? size : 1u);
    }
    data_source_close(&source);
    if (!effect->image || !read_whole) return 0;

    const unsigned char* image = effect->image;
    const int riff = size >= 4 && std::memcmp(image, "RIFF", 4) == 0;
    const int wave = size >= 12 && std::memcmp(image + 8, "WAVE", 4) == 0;
    if (!riff && !wave) return 0;
    // The format and both lengths must lie inside the file.
    if (size < wav_smallest || size < wav_format_offset + wav_format_bytes) return 0;
    const uint64_t format_length = read_le32(image + 16);
    if (24 + format_length + 4 > size) return 0;
    const uint64_t sample_bytes = read_le32(image + 24 + format_length);
    if (28 + format_length + sample_bytes > size) return 0;
    effect->sample_bytes = uint32_t(sample_bytes);
    effect->samples = image + 28 + format_length;

    effect->voices = new (std::nothrow) SoundBuffer*[effect_voice_count]();
    if (!effect->voices) return 0;
    effect->voice_count = effect_voice_count;
    for (int i = 0; i < effect_voice_count; ++i) effect->voices[i] = make_voice(effect);
    return 1;
}

int effect_play(SoundEffect* effect, int pan) {
    if (!effect->voices || !effect->voices[0] || !effect->direct_sound)
        return play_from_memory(effect);
    if (SoundWindow* active = sound_active_window()) effect->window = active;
    if (!sound_output_set_cooperative(effect->direct_sound, effect->window))
        return play_from_memory(effect);
    for (int i = 0; i < effect->voice_count; ++i) {
        SoundBuffer* voice = effect->voices[i];
        if (!voice) continue;
        // A voice not sounding is free; it is not rewound.
        if (sound_buffer_status(voice) != SoundPlaying) {
            sound_buffer_set_pan(voice, pan);
            return sound_buffer_play(voice);
        }
    }
    // Every voice sounds: the last one is cut and starts again.
    SoundBuffer* last = effect->voices[effect->voice_count - 1];
    if (!last) return 0;
    sound_buffer_stop(last);
    sound_buffer_set_pan(last, pan);
    sound_buffer_set_position(last, 0);
    return sound_buffer_play(last);
}

void effect_release_voices(SoundEffect* effect) {
    if (!effect->voices) return;
    for (int i = 0; i < effect->voice_count; ++i)
        if (effect->voices[i]) sound_buffer_release(effect->voices[i]);
    delete[] effect->voices;
    effect->voices = nullptr;
    effect->voice_count = 0;
}
