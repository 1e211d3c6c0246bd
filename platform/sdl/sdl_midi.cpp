// MIDI output through an embedded synthesizer with a General MIDI
// SoundFont, rendered into the shared audio stream. Messages are queued
// with the time they were sent and applied inside the render at the frame
// that time maps to, so the song's rhythm survives the buffering.
#include <fluidsynth.h>

#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/midi_out.h"
#include "platform/sdl/sdl_audio.h"

struct MidiOutDevice {
    int open;
};

namespace {

// Where Debian's General MIDI SoundFonts live, the small one first.
const char* const soundfont_paths[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};
// The synthesizer's output gain: the instruments sit well below full scale.
constexpr double synth_gain = 0.6;

enum QueuedKind {
    QueuedShort = 1,
    QueuedSysex = 2,
    QueuedSystemReset = 3,  // a newly opened device starts from the GM defaults
    QueuedNotesOff = 4,     // midi_out_reset
    QueuedSoundsOff = 5,    // midi_out_close
};

// System-exclusive bytes carried in a queue entry (the resets and the small
// settings that songs send); longer messages are not sent.
enum { sysex_capacity = 48 };

struct QueuedMessage {
    double time;  // sdl_audio_clock seconds at the send
    uint32_t message;
    uint8_t kind;
    uint8_t sysex_length;  // without the leading 0xF0 and the final 0xF7
    uint8_t sysex[sysex_capacity];
};

enum { queue_capacity = 4096, due_capacity = 1024 };

std::mutex queue_lock;  // held only to push or to take entries
QueuedMessage queue[queue_capacity];
int queue_head = 0, queue_size = 0;

QueuedMessage due[due_capacity];  // the render's own copy of a buffer's messages

std::mutex synth_setup_lock;
fluid_settings_t* settings = nullptr;
std::atomic<fluid_synth_t*> synth{nullptr};
int synth_tried = 0;

enum { device_capacity = 8 };
MidiOutDevice devices[device_capacity];

void push(uint8_t kind, uint32_t message, const unsigned char* sysex = nullptr, uint32_t n = 0) {
    const double now = sdl_audio_clock();
    std::lock_guard<std::mutex> hold(queue_lock);
    if (queue_size == queue_capacity) return;  // a flood beyond any song: dropped
    QueuedMessage& q = queue[(queue_head + queue_size) % queue_capacity];
    q.time = now;
    q.kind = kind;
    q.message = message;
    q.sysex_length = uint8_t(n);
    if (n) std::memcpy(q.sysex, sysex, n);
    queue_size += 1;
}

int make_synth() {
    std::lock_guard<std::mutex> hold(synth_setup_lock);
    if (synth.load()) return 1;
    if (synth_tried) return 0;
    synth_tried = 1;
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
        fluid_set_log_function(level, nullptr, nullptr);
    settings = new_fluid_settings();
    if (!settings) return 0;
    fluid_settings_setnum(settings, "synth.sample-rate", sdl_audio_rate);
    fluid_settings_setnum(settings, "synth.gain", synth_gain);
    fluid_synth_t* made = new_fluid_synth(settings);
    if (!made) return 0;
    int loaded = 0;
    for (const char* path : soundfont_paths)
        if (!loaded && fluid_is_soundfont(path) &&
            fluid_synth_sfload(made, path, 1) != FLUID_FAILED)
            loaded = 1;
    if (!loaded) {
        delete_fluid_synth(made);
        return 0;
    }
    synth.store(made);
    return 1;
}

void apply(fluid_synth_t* s, const QueuedMessage& q) {
    switch (q.kind) {
        case QueuedSysex:
            fluid_synth_sysex(s, reinterpret_cast<const char*>(q.sysex), q.sysex_length, nullptr,
                              nullptr, nullptr, 0);
            return;
        case QueuedSystemReset:
            fluid_synth_system_reset(s);
            return;
        case QueuedNotesOff:
            fluid_synth_all_notes_off(s, -1);
            return;
        case QueuedSoundsOff:
            fluid_synth_all_sounds_off(s, -1);
            return;
        default:
            break;
    }
    const int status = int(q.message & 0xFF);
    const int channel = status & 0x0F;
    const int d1 = int(q.message >> 8 & 0x7F);
    const int d2 = int(q.message >> 16 & 0x7F);
    switch (status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(s, channel, d1);
            break;
        case 0x90:
            if (d2)
                fluid_synth_noteon(s, channel, d1, d2);
            else
                fluid_synth_noteoff(s, channel, d1);
            break;
        case 0xA0:
            fluid_synth_key_pressure(s, channel, d1, d2);
            break;
        case 0xB0:
            fluid_synth_cc(s, channel, d1, d2);
            break;
        case 0xC0:
            fluid_synth_program_change(s, channel, d1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(s, channel, d1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(s, channel, d1 | d2 << 7);
            break;
        default:
            break;  // system messages: nothing for the synthesizer
    }
}

void render_synth(fluid_synth_t* s, float* out, int from, int to) {
    if (to > from)
        fluid_synth_write_float(s, to - from, out + 2 * from, 0, 2, out + 2 * from, 1, 2);
}

}  // namespace

void sdl_midi_render(float* out, int frames, double first_frame_time) {
    fluid_synth_t* s = synth.load();
    // Take the messages whose frame lies inside this buffer.
    int taken = 0;
    const double buffer_end = first_frame_time + double(frames) / sdl_audio_rate;
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        while (queue_size && taken < due_capacity && queue[queue_head].time < buffer_end) {
            due[taken++] = queue[queue_head];
            queue_head = (queue_head + 1) % queue_capacity;
            queue_size -= 1;
        }
    }
    if (!s) {
        std::memset(out, 0, sizeof(float) * 2 * size_t(frames));
        return;
    }
    int done = 0;
    for (int i = 0; i < taken; ++i) {
        int frame = int((due[i].time - first_frame_time) * sdl_audio_rate);
        if (frame < done) frame = done;  // late, or stamped out of order
        if (frame > frames) frame = frames;
        render_synth(s, out, done, frame);
        done = frame;
        apply(s, due[i]);
    }
    render_synth(s, out, done, frames);
}

int midi_out_open(MidiOutDevice** device) {
    *device = nullptr;
    if (!make_synth() || !sdl_audio_open()) return 0;
    {
        std::lock_guard<std::mutex> hold(queue_lock);
        for (MidiOutDevice& d : devices) {
            if (d.open) continue;
            d.open = 1;
            *device = &d;
            break;
        }
    }
    if (!*device) return 0;
    push(QueuedSystemReset, 0);
    return 1;
}

void midi_out_short(MidiOutDevice* device, uint32_t message) {
    if (device) push(QueuedShort, message);
}

void midi_out_prepare(MidiOutDevice*, MidiLongMessage* message) { message->flags |= 1; }

void midi_out_long(MidiOutDevice* device, MidiLongMessage* message) {
    if (!device || !message->data || message->length < 2 || message->data[0] != 0xF0) return;
    uint32_t n = message->length - 1;  // without 0xF0
    if (message->data[message->length - 1] == 0xF7) n -= 1;
    if (n > sysex_capacity) return;
    push(QueuedSysex, 0, message->data + 1, n);
}

void midi_out_reset(MidiOutDevice* device) {
    if (device) push(QueuedNotesOff, 0);
}

void midi_out_close(MidiOutDevice* device) {
    if (!device) return;
    push(QueuedSoundsOff, 0);
    std::lock_guard<std::mutex> hold(queue_lock);
    device->open = 0;
}
