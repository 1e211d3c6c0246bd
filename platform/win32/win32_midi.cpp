// MIDI output over WinMM: the MIDI mapper, short messages, and
// system-exclusive messages sent through prepared MIDIHDR headers.
//
// A 64-bit MIDIHDR is 120 bytes, more than the storage a MidiLongMessage
// offers, so the headers live here: every open device record carries a
// fixed table of them, and a message's storage only names its header (the
// record, the record's opening and the slot). Preparing takes a slot of the
// table and allocates nothing, also when the music's timer thread prepares.
#include <cstring>

#include "platform/midi_out.h"
#include "platform/win32/win32_backend.h"

// After windows.h, which it builds on.
#include <mmsystem.h>

// The system-exclusive messages one opening of the output can have prepared
// at once; a song's messages beyond these are not sent.
enum { midi_header_capacity = 256 };

struct MidiOutDevice {
    HMIDIOUT handle;      // null: free record
    unsigned opening;     // counts the openings of this record
    int headers_used;
    MIDIHDR headers[midi_header_capacity];
};

namespace {

// One record per output open at the same time: the three songs of the game
// each open their own while they play.
enum { device_capacity = 4 };
MidiOutDevice devices[device_capacity];
unsigned openings = 0;

CRITICAL_SECTION device_lock;
INIT_ONCE device_once = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK init_device_lock(PINIT_ONCE, PVOID, PVOID*) {
    InitializeCriticalSection(&device_lock);
    return TRUE;
}

void lock_devices() {
    InitOnceExecuteOnce(&device_once, init_device_lock, nullptr, nullptr);
    EnterCriticalSection(&device_lock);
}

void unlock_devices() { LeaveCriticalSection(&device_lock); }

// What a message's storage holds: which header of which opening is its own.
struct HeaderName {
    MidiOutDevice* device;
    unsigned opening;
    int slot;
};
static_assert(sizeof(HeaderName) <= sizeof(MidiLongMessage::platform), "the name fits the storage");

HeaderName name_of(const MidiLongMessage* message) {
    HeaderName name;
    std::memcpy(&name, message->platform, sizeof name);
    return name;
}

// The message's header on this device, or null when it has none here yet
// (never prepared, or prepared for an output closed since).
MIDIHDR* header_of(MidiOutDevice* device, const MidiLongMessage* message) {
    const HeaderName name = name_of(message);
    if (name.device != device || name.opening != device->opening) return nullptr;
    if (name.slot < 0 || name.slot >= device->headers_used) return nullptr;
    return &device->headers[name.slot];
}

}  // namespace

int midi_out_open(MidiOutDevice** device) {
    *device = nullptr;
    lock_devices();
    MidiOutDevice* record = nullptr;
    for (MidiOutDevice& d : devices) {
        if (!d.handle) {
            record = &d;
            break;
        }
    }
    HMIDIOUT handle = nullptr;
    if (record &&
        midiOutOpen(&handle, MIDI_MAPPER, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR && handle) {
        record->handle = handle;
        record->opening = ++openings;
        record->headers_used = 0;
        *device = record;
    }
    unlock_devices();
    return *device != nullptr;
}

void midi_out_short(MidiOutDevice* device, uint32_t message) {
    if (device) midiOutShortMsg(device->handle, message);
}

void midi_out_prepare(MidiOutDevice* device, MidiLongMessage* message) {
    if (!device || !message || !message->data || message->length == 0) return;
    MIDIHDR* header = header_of(device, message);
    if (!header) {
        if (device->headers_used == midi_header_capacity) return;
        const HeaderName name = {device, device->opening, device->headers_used};
        header = &device->headers[device->headers_used++];
        std::memset(header, 0, sizeof *header);
        header->lpData = reinterpret_cast<LPSTR>(message->data);
        header->dwBufferLength = message->length;
        header->dwBytesRecorded = message->length;
        std::memcpy(message->platform, &name, sizeof name);
    }
    // Preparing a prepared header again does nothing.
    midiOutPrepareHeader(device->handle, header, sizeof *header);
    message->flags = header->dwFlags;
}

void midi_out_long(MidiOutDevice* device, MidiLongMessage* message) {
    if (!device || !message) return;
    MIDIHDR* header = header_of(device, message);
    if (!header || !(header->dwFlags & MHDR_PREPARED)) return;
    // A message still being sent from its last time is refused by the
    // system, which is all that can be done with it.
    midiOutLongMsg(device->handle, header, sizeof *header);
    message->flags = header->dwFlags;
}

void midi_out_reset(MidiOutDevice* device) {
    if (device) midiOutReset(device->handle);
}

void midi_out_close(MidiOutDevice* device) {
    if (!device) return;
    lock_devices();
    // The reset before a close has returned every message; the headers are
    // given back so that the system holds nothing of the game's bytes.
    for (int i = 0; i < device->headers_used; ++i)
        midiOutUnprepareHeader(device->handle, &device->headers[i], sizeof(MIDIHDR));
    midiOutClose(device->handle);
    device->handle = nullptr;
    device->headers_used = 0;
    unlock_devices();
}
