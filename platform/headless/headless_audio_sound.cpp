// Headless sound output: objects are counted, every voice call is logged,
// and a voice sounds until the test finishes it.
#include <cstring>
#include <new>

#include "platform/headless/headless_audio.h"
#include "platform/resources.h"
#include "platform/sound_out.h"

struct SoundLibrary {
    int entry;
};
struct SoundEntry {
    int unused;
};
struct SoundOutput {
    int unused;
};
struct SoundBuffer {
    int number;  // counted from 1 in creation order
    unsigned char* samples;
    uint32_t bytes;
    uint32_t position;
    int playing;
    int released;
};

void headless_midi_reset_state();

namespace {

HeadlessSoundCall sound_log[headless_sound_capacity];
int sound_count = 0;
int fail_library = 0, fail_entry = 0, fail_output = 0, fail_cooperation = 0;
int fail_buffer_nth = 0;  // -1: every buffer
int buffers_since_fail = 0;
int live_buffers = 0, live_outputs = 0, live_libraries = 0;
SoundEntry the_entry;

// Buffers by number: slot (number - 1) % capacity. A released buffer stays
// readable until its slot is needed again.
enum { voice_capacity = 1024 };
SoundBuffer* voices[voice_capacity];
int voices_made = 0;

enum { resource_capacity = 16 };
struct HeadlessResource {
    char name[128];
    const unsigned char* bytes;
    uint32_t size;
};
HeadlessResource resources[resource_capacity];
int resource_count = 0;

void log_call(int kind, const SoundBuffer* b, int value, const unsigned char* image = nullptr) {
    if (sound_count == headless_sound_capacity) return;
    sound_log[sound_count++] = HeadlessSoundCall{kind, b ? b->number : 0, value, image};
}

SoundBuffer* voice(int number) {
    if (number < 1 || number > voices_made || voices_made - number >= voice_capacity)
        return nullptr;
    return voices[(number - 1) % voice_capacity];
}

}  // namespace

SoundLibrary* sound_library_load() {
    if (fail_library) return nullptr;
    live_libraries += 1;
    return new SoundLibrary{!fail_entry};
}

SoundEntry* sound_library_entry(SoundLibrary* library) {
    return library && library->entry ? &the_entry : nullptr;
}

void sound_library_free(SoundLibrary* library) {
    if (!library) return;
    live_libraries -= 1;
    delete library;
}

SoundOutput* sound_output_create(SoundEntry* entry) {
    if (!entry || fail_output) return nullptr;
    live_outputs += 1;
    return new SoundOutput{0};
}

void sound_output_release(SoundOutput* output) {
    if (!output) return;
    live_outputs -= 1;
    delete output;
}

SoundWindow* sound_active_window() { return nullptr; }

int sound_output_set_cooperative(SoundOutput* output, SoundWindow*) {
    log_call(HeadlessSoundCooperative, nullptr, !fail_cooperation);
    return output && !fail_cooperation;
}

SoundBuffer* sound_buffer_create(SoundOutput* output, const unsigned char* format, uint32_t bytes) {
    if (!output || !format) return nullptr;
    SoundBuffer*& slot = voices[voices_made % voice_capacity];
    if (slot && !slot->released) return nullptr;  // every slot holds a live buffer
    buffers_since_fail += 1;
    if (fail_buffer_nth < 0 || fail_buffer_nth == buffers_since_fail) return nullptr;
    delete slot;
    SoundBuffer* b = new SoundBuffer();
    b->samples = new unsigned char[uint64_t(bytes) + 1]();
    b->bytes = bytes;
    b->number = ++voices_made;
    slot = b;
    live_buffers += 1;
    log_call(HeadlessSoundCreateBuffer, b, int(bytes));
    return b;
}

int sound_buffer_lock(SoundBuffer* buffer, uint32_t bytes, void** part, uint32_t* part_bytes) {
    if (!buffer || buffer->released) return 0;
    *part = buffer->samples;
    *part_bytes = bytes < buffer->bytes ? bytes : buffer->bytes;
    return 1;
}

void sound_buffer_unlock(SoundBuffer*, void*, uint32_t) {}

uint32_t sound_buffer_status(SoundBuffer* buffer) {
    return buffer && buffer->playing ? SoundPlaying : 0;
}

void sound_buffer_stop(SoundBuffer* buffer) {
    log_call(HeadlessSoundStop, buffer, 0);
    if (buffer) buffer->playing = 0;
}

void sound_buffer_set_pan(SoundBuffer* buffer, int pan) { log_call(HeadlessSoundPan, buffer, pan); }

void sound_buffer_set_position(SoundBuffer* buffer, uint32_t byte_offset) {
    log_call(HeadlessSoundPosition, buffer, int(byte_offset));
    if (buffer) buffer->position = byte_offset < buffer->bytes ? byte_offset : buffer->bytes;
}

int sound_buffer_play(SoundBuffer* buffer) {
    log_call(HeadlessSoundPlay, buffer, 0);
    if (!buffer || buffer->released) return 0;
    buffer->playing = 1;
    return 1;
}

void sound_buffer_release(SoundBuffer* buffer) {
    if (!buffer || buffer->released) return;
    log_call(HeadlessSoundRelease, buffer, 0);
    buffer->released = 1;
    buffer->playing = 0;
    delete[] buffer->samples;
    buffer->samples = nullptr;
    live_buffers -= 1;
}

int sound_play_memory(const unsigned char* image, uint32_t size) {
    log_call(HeadlessSoundPlayMemory, nullptr, int(size), image);
    if (!image) return 1;
    return size >= 12 && std::memcmp(image, "RIFF", 4) == 0 &&
           std::memcmp(image + 8, "WAVE", 4) == 0;
}

int resource_find(const char* name, const char*, const unsigned char** bytes, uint32_t* size) {
    for (int i = 0; i < resource_count; ++i) {
        if (std::strcmp(resources[i].name, name) != 0) continue;
        *bytes = resources[i].bytes;
        *size = resources[i].size;
        return 1;
    }
    return 0;
}

// ---- control surface

void headless_audio_reset() {
    headless_midi_reset_state();
    sound_count = 0;
    fail_library = fail_entry = fail_output = fail_cooperation = 0;
    fail_buffer_nth = 0;
    buffers_since_fail = 0;
    for (SoundBuffer* b : voices)
        if (b) b->playing = 0;
    resource_count = 0;
}

int headless_sound_count() { return sound_count; }
HeadlessSoundCall headless_sound_call(int index) {
    if (index < 0 || index >= sound_count) return HeadlessSoundCall{};
    return sound_log[index];
}
void headless_sound_clear() { sound_count = 0; }

void headless_sound_fail(int no_library, int no_entry, int no_output, int no_cooperation) {
    fail_library = no_library;
    fail_entry = no_entry;
    fail_output = no_output;
    fail_cooperation = no_cooperation;
}

void headless_sound_fail_buffer(int nth) {
    fail_buffer_nth = nth;
    buffers_since_fail = 0;
}

int headless_sound_voice_playing(int number) {
    SoundBuffer* b = voice(number);
    return b && b->playing;
}

uint32_t headless_sound_voice_position(int number) {
    SoundBuffer* b = voice(number);
    return b ? b->position : 0;
}

void headless_sound_voice_advance(int number, uint32_t bytes) {
    SoundBuffer* b = voice(number);
    if (!b || !b->playing) return;
    if (bytes >= b->bytes - b->position) {
        headless_sound_finish_voice(number);
        return;
    }
    b->position += bytes;
}

// A voice that plays to its end stops there and starts from the beginning
// when played again.
void headless_sound_finish_voice(int number) {
    SoundBuffer* b = voice(number);
    if (!b || !b->playing) return;
    b->playing = 0;
    b->position = 0;
}

void headless_sound_finish_all() {
    for (SoundBuffer* b : voices)
        if (b) headless_sound_finish_voice(b->number);
}

const unsigned char* headless_sound_voice_samples(int number, uint32_t* bytes) {
    SoundBuffer* b = voice(number);
    if (!b || b->released) return nullptr;
    *bytes = b->bytes;
    return b->samples;
}

int headless_sound_live_buffers() { return live_buffers; }
int headless_sound_live_outputs() { return live_outputs; }
int headless_sound_live_libraries() { return live_libraries; }
int headless_sound_voices_made() { return voices_made; }

void headless_resource_add(const char* name, const unsigned char* bytes, uint32_t size) {
    if (resource_count == resource_capacity) return;
    HeadlessResource& r = resources[resource_count++];
    std::strncpy(r.name, name, sizeof r.name - 1);
    r.name[sizeof r.name - 1] = 0;
    r.bytes = bytes;
    r.size = size;
}
