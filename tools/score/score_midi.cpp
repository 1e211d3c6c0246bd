// Writing a parsed score as a Standard MIDI File, format 1.
#include <algorithm>

#include "tools/score/score.h"

namespace {

void put_u32(std::vector<uint8_t>* out, uint32_t x) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(x >> shift));
}

void put_vlq(std::vector<uint8_t>* out, uint32_t x) {
    uint8_t bytes[5];
    int n = 0;
    do {
        bytes[n++] = static_cast<uint8_t>(x & 0x7F);
        x >>= 7;
    } while (x);
    while (n-- > 0) out->push_back(static_cast<uint8_t>(bytes[n] | (n ? 0x80 : 0)));
}

// One track chunk: events sorted by tick and rank (file order kept within
// both), running status for channel messages, end of track at `end`.
std::vector<uint8_t> track_chunk(std::vector<ScoreEvent> events, uint32_t end) {
    std::stable_sort(events.begin(), events.end(), [](const ScoreEvent& a, const ScoreEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.rank < b.rank;
    });
    std::vector<uint8_t> body;
    uint32_t now = 0;
    uint8_t running = 0;
    for (const ScoreEvent& e : events) {
        put_vlq(&body, e.tick - now);
        now = e.tick;
        const uint8_t status = e.bytes[0];
        size_t from = 0;
        if (status < 0xF0) {
            if (status == running) from = 1;  // running status: the status byte is left out
            running = status;
        } else {
            running = 0;  // system exclusive and meta events cancel running status
        }
        body.insert(body.end(), e.bytes.begin() + static_cast<long>(from), e.bytes.end());
    }
    put_vlq(&body, std::max(end, now) - now);
    body.push_back(0xFF);
    body.push_back(0x2F);
    body.push_back(0x00);

    std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
    put_u32(&chunk, static_cast<uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

}  // namespace

uint32_t score_bar_ticks(const Score& score) {
    return static_cast<uint32_t>(score.division * 4 * score.meter_beats / score.meter_unit);
}

std::vector<uint8_t> score_midi_image(const Score& score, int passes) {
    if (passes < 1) passes = 1;
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    out.push_back(static_cast<uint8_t>(score.tracks.size() >> 8));
    out.push_back(static_cast<uint8_t>(score.tracks.size()));
    out.push_back(static_cast<uint8_t>(score.division >> 8));
    out.push_back(static_cast<uint8_t>(score.division));
    for (const ScoreTrack& track : score.tracks) {
        std::vector<ScoreEvent> events;
        for (int pass = 0; pass < passes; ++pass) {
            for (ScoreEvent e : track.events) {
                // Names and the meter are said once; the rest repeats each pass.
                const bool once = e.bytes[0] == 0xFF && (e.bytes[1] == 0x03 || e.bytes[1] == 0x58);
                if (pass > 0 && once) continue;
                e.tick += static_cast<uint32_t>(pass) * score.loop;
                events.push_back(e);
            }
        }
        const uint32_t end = track.end + static_cast<uint32_t>(passes - 1) * score.loop;
        const std::vector<uint8_t> chunk = track_chunk(events, end);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}
