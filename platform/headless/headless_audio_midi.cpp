// Headless MIDI output: every call is logged for the tests. The sequencer
// sends from the timer thread, so the log is locked.
#include <cstring>
#include <mutex>

#include "platform/headless/headless_audio.h"
#include "platform/midi_out.h"

struct MidiOutDevice {
    int open;
};

namespace {

std::mutex midi_lock;
HeadlessMidiCall midi_log[headless_midi_capacity];
int midi_count = 0;
int midi_fail_open = 0;
int midi_open_devices = 0;
enum { device_capacity = 8 };
MidiOutDevice devices[device_capacity];

void log_call(int kind, uint32_t message, const MidiLongMessage* m) {
    std::lock_guard<std::mutex> hold(midi_lock);
    if (midi_count == headless_midi_capacity) return;
    HeadlessMidiCall& c = midi_log[midi_count++];
    c.kind = kind;
    c.message = message;
    c.long_message = m;
    c.length = m ? m->length : 0;
    c.first_byte = m && m->data && m->length ? m->data[0] : 0;
}

}  // namespace

int midi_out_open(MidiOutDevice** device) {
    *device = nullptr;
    {
        std::lock_guard<std::mutex> hold(midi_lock);
        if (midi_fail_open) return 0;
        for (MidiOutDevice& d : devices) {
            if (d.open) continue;
            d.open = 1;
            midi_open_devices += 1;
            *device = &d;
            break;
        }
    }
    if (!*device) return 0;
    log_call(HeadlessMidiOpen, 0, nullptr);
    return 1;
}

void midi_out_short(MidiOutDevice*, uint32_t message) {
    log_call(HeadlessMidiShort, message, nullptr);
}

void midi_out_prepare(MidiOutDevice*, MidiLongMessage* message) {
    message->flags |= 1;
    log_call(HeadlessMidiPrepare, 0, message);
}

void midi_out_long(MidiOutDevice*, MidiLongMessage* message) {
    log_call(HeadlessMidiLong, 0, message);
}

void midi_out_reset(MidiOutDevice*) { log_call(HeadlessMidiReset, 0, nullptr); }

void midi_out_close(MidiOutDevice* device) {
    log_call(HeadlessMidiClose, 0, nullptr);
    std::lock_guard<std::mutex> hold(midi_lock);
    if (device && device->open) {
        device->open = 0;
        midi_open_devices -= 1;
    }
}

int headless_midi_count() {
    std::lock_guard<std::mutex> hold(midi_lock);
    return midi_count;
}

HeadlessMidiCall headless_midi_call(int index) {
    std::lock_guard<std::mutex> hold(midi_lock);
    if (index < 0 || index >= midi_count) return HeadlessMidiCall{};
    return midi_log[index];
}

void headless_midi_clear() {
    std::lock_guard<std::mutex> hold(midi_lock);
    midi_count = 0;
}

void headless_midi_fail_open(int fail) {
    std::lock_guard<std::mutex> hold(midi_lock);
    midi_fail_open = fail;
}

int headless_midi_devices_open() {
    std::lock_guard<std::mutex> hold(midi_lock);
    return midi_open_devices;
}

void headless_midi_reset_state() {
    std::lock_guard<std::mutex> hold(midi_lock);
    midi_count = 0;
    midi_fail_open = 0;
}
