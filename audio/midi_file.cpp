// The Standard MIDI File reader. Two passes over the tracks: the first
// counts the records and system-exclusive bytes so that everything is
// allocated once and exactly; the second merges the tracks into one list,
// one event per due track per pass, so that the events of one instant come
// track by track in file order.
#include "audio/midi_file.h"

#include <cstring>
#include <new>

namespace {

// The header chunk: "MThd", its length, format, track count and division.
constexpr uint32_t header_bytes = 14;
// Each chunk starts with its identifier and a 32-bit length.
constexpr uint32_t chunk_header_bytes = 8;
// The sysex index is a 16-bit value of its record: later messages are dropped.
constexpr uint32_t sysex_limit = 65536;
// Meta event type of a tempo change (microseconds per quarter note).
constexpr uint8_t meta_tempo = 0x51;

struct TrackCursor {
    uint32_t start;          // first event byte: chunk + 8
    uint32_t pos;            // next unread byte
    uint32_t end;            // chunk + 8 + length, cut at the image's end
    uint8_t running_status;  // last status byte read (0: none yet)
    uint32_t wait;           // ticks until the next event, from the merge's time
    int active;              // 1 while a whole next event remains
};

// What one event is, as read from a track.
struct TrackEvent {
    uint8_t status;
    uint8_t data1;
    uint8_t data2;
    uint8_t meta_type;  // 0xFF only
    uint32_t data;      // 0xF0 and 0xFF: offset of the message or meta bytes
    uint32_t length;    // 0xF0 and 0xFF: their count
};

uint32_t read_be32(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// A variable-length number: 7 bits a byte, most significant first, ending
// at the first byte below 0x80. 0 when it runs past `end`.
int read_number(const unsigned char* image, uint32_t* pos, uint32_t end, uint32_t* value) {
    uint32_t v = 0;
    for (;;) {
        if (*pos >= end) return 0;
        const unsigned char b = image[(*pos)++];
        v = v << 7 | (b & 0x7F);
        if (b < 0x80) break;
    }
    *value = v;
    return 1;
}

// Reads one event at the cursor. 0 when the event is not whole before the
// track's end, or has no status to run on: the track ends before it.
int read_event(const unsigned char* image, TrackCursor* t, TrackEvent* e) {
    uint32_t pos = t->pos;
    if (pos >= t->end) return 0;
    uint8_t status = t->running_status;
    if (image[pos] >= 0x80) status = image[pos++];
    if (status < 0x80) return 0;
    std::memset(e, 0, sizeof *e);
    e->status = status;
    if (status >= 0xC0 && status <= 0xDF) {
        if (t->end - pos < 1) return 0;
        e->data1 = image[pos++];
    } else if (status == 0xF0) {
        if (!read_number(image, &pos, t->end, &e->length)) return 0;
        if (e->length > t->end - pos) return 0;
        e->data = pos;
        pos += e->length;
    } else if (status == 0xFF) {
        if (pos >= t->end) return 0;
        e->meta_type = image[pos++];
        if (!read_number(image, &pos, t->end, &e->length)) return 0;
        if (e->length > t->end - pos) return 0;
        e->data = pos;
        pos += e->length;
    } else if (status == 0xFE) {
        // Active sensing has no data bytes and no place in a file: dropped.
    } else {
        if (t->end - pos < 2) return 0;
        e->data1 = image[pos];
        e->data2 = image[pos + 1];
        pos += 2;
    }
    t->running_status = status;
    t->pos = pos;
    return 1;
}

// The tempo of a tempo meta event: its data bytes as one big-endian number.
uint32_t tempo_of(const unsigned char* image, const TrackEvent& e) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < e.length; ++i) v = v << 8 | image[e.data + i];
    return v;
}

// Records an event leaves in the list (a sysex counts as one record).
uint32_t records_of(const unsigned char* image, const TrackEvent& e) {
    if (e.status == 0xFF) return e.meta_type == meta_tempo && tempo_of(image, e) != 0 ? 2 : 0;
    if (e.status == 0xFE) return 0;
    return 1;
}

// Reads the delta before the next event and checks that the event is whole;
// a track without one is finished (wait 0).
void next_delta(const unsigned char* image, TrackCursor* t) {
    t->active = 0;
    t->wait = 0;
    if (t->end < 2 || t->pos >= t->end - 1) return;
    uint32_t pos = t->pos;
    uint32_t delta;
    if (!read_number(image, &pos, t->end, &delta)) return;
    TrackCursor probe = *t;
    probe.pos = pos;
    TrackEvent e = {};
    if (!read_event(image, &probe, &e)) return;
    t->pos = pos;
    t->wait = delta;
    t->active = 1;
}

}  // namespace

void midi_clear(MidiSequence* sequence) {
    delete[] sequence->records;
    delete[] sequence->sysex;
    delete[] sequence->sysex_bytes;
    sequence->records = nullptr;
    sequence->sysex = nullptr;
    sequence->sysex_bytes = nullptr;
    sequence->sysex_count = 0;
    sequence->count = 0;
    sequence->division = 0;
    sequence->play_index = 0;
}

int midi_parse(MidiSequence* sequence, const unsigned char* image, uint32_t size) {
    if (!image || size < header_bytes) return 0;
    const uint32_t track_count = uint32_t(image[10]) << 8 | image[11];
    const uint16_t division = uint16_t(image[12] << 8 | image[13]);

    // The tracks: as many of the header's count as have a chunk header in
    // the image, each cut at the image's end.
    uint32_t tracks_found = 0;
    const uint64_t first_chunk = uint64_t(chunk_header_bytes) + read_be32(image + 4);
    for (uint64_t chunk = first_chunk;
         tracks_found < track_count && chunk + chunk_header_bytes <= size; ++tracks_found)
        chunk += chunk_header_bytes + uint64_t(read_be32(image + chunk + 4));
    if (tracks_found == 0) return 0;
    TrackCursor* tracks = new (std::nothrow) TrackCursor[tracks_found]();
    if (!tracks) return 0;
    uint64_t chunk = first_chunk;
    for (uint32_t i = 0; i < tracks_found; ++i) {
        const uint64_t start = chunk + chunk_header_bytes;
        const uint64_t end = start + read_be32(image + chunk + 4);
        tracks[i].start = uint32_t(start);
        tracks[i].end = uint32_t(end < size ? end : size);
        chunk = end;
    }

    // Counting pass: whole events only, as the merge will take them.
    uint32_t count = 0, sysex_total = 0;
    uint64_t sysex_bytes_total = 0;
    for (uint32_t i = 0; i < tracks_found; ++i) {
        TrackCursor t = tracks[i];
        t.pos = t.start;
        for (;;) {
            next_delta(image, &t);
            if (!t.active) break;
            TrackEvent e = {};
            read_event(image, &t, &e);
            if (e.status == 0xF0) {
                if (sysex_total == sysex_limit) continue;
                sysex_total += 1;
                sysex_bytes_total += uint64_t(e.length) + 1;
            }
            count += records_of(image, e);
        }
    }

    MidiEvent* records = new (std::nothrow) MidiEvent[uint64_t(count) + midi_spare_records]();
    MidiLongMessage* sysex = nullptr;
    unsigned char* sysex_bytes = nullptr;
    if (sysex_total) {
        sysex = new (std::nothrow) MidiLongMessage[sysex_total]();
        sysex_bytes = new (std::nothrow) unsigned char[sysex_bytes_total];
    }
    if (!records || (sysex_total && (!sysex || !sysex_bytes))) {
        delete[] records;
        delete[] sysex;
        delete[] sysex_bytes;
        delete[] tracks;
        return 0;
    }
    midi_clear(sequence);
    sequence->division = division;
    sequence->count = count;
    sequence->records = records;
    sequence->sysex = sysex;
    sequence->sysex_bytes = sysex_bytes;
    sequence->sysex_count = sysex_total;

    // Merge pass.
    for (uint32_t i = 0; i < tracks_found; ++i) {
        tracks[i].pos = tracks[i].start;
        next_delta(image, &tracks[i]);
    }
    uint32_t out = 0, sysex_next = 0;
    uint64_t sysex_used = 0;
    uint32_t carried = 0;  // ticks since the last stored record
    for (;;) {
        int any = 0;
        uint32_t min = 0;
        for (uint32_t i = 0; i < tracks_found; ++i) {
            if (!tracks[i].active) continue;
            if (!any || tracks[i].wait < min) min = tracks[i].wait;
            any = 1;
        }
        if (!any) break;
        carried += min;
        for (uint32_t i = 0; i < tracks_found; ++i) {
            TrackCursor& t = tracks[i];
            if (!t.active) continue;
            if (t.wait != min) {
                t.wait -= min;
                continue;
            }
            TrackEvent e = {};
            read_event(image, &t, &e);
            MidiEvent stored[2] = {};
            uint32_t n = records_of(image, e);
            if (e.status == 0xF0) {
                if (sysex_next == sysex_limit) n = 0;
                if (n) {
                    MidiLongMessage& m = sysex[sysex_next];
                    m.data = sysex_bytes + sysex_used;
                    m.data[0] = 0xF0;
                    std::memcpy(m.data + 1, image + e.data, e.length);
                    m.length = e.length + 1;
                    m.flags = 0;
                    sysex_used += m.length;
                    stored[0].status = 0xF0;
                    stored[0].data1 = uint8_t(sysex_next);
                    stored[0].data2 = uint8_t(sysex_next >> 8);
                    sysex_next += 1;
                }
            } else if (e.status == 0xFF) {
                const uint32_t tempo = tempo_of(image, e);
                stored[0].status = 0xFF;
                stored[0].data1 = uint8_t(tempo);
                stored[0].data2 = uint8_t(tempo >> 8);
                stored[1].status = 0x00;
                stored[1].data1 = uint8_t(tempo >> 16);
                stored[1].data2 = uint8_t(tempo >> 24);
            } else {
                stored[0].status = e.status;
                stored[0].data1 = e.data1;
                stored[0].data2 = e.data2;
            }
            for (uint32_t k = 0; k < n && out < count; ++k) {
                stored[k].delta = carried;
                carried = 0;
                records[out++] = stored[k];
            }
            next_delta(image, &t);
        }
    }
    records[out].delta = midi_end_delta;
    delete[] tracks;
    return 1;
}
