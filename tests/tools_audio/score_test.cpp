// The score compiler: a score becomes a format 1 MIDI file whose conductor
// resets the synthesizer before anything else and sets the tempo at tick 0,
// whose tracks set themselves up and use running status, and whose last event
// stands exactly on the loop point with every note over by then. The shipped
// songs are checked for the same, and for their length and instruments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/score/score.h"

namespace {

struct MidiEvent {
    uint32_t tick = 0;
    std::vector<uint8_t> bytes;  // with the status byte, also under running status
};

struct MidiFile {
    int format = -1, division = 0;
    std::vector<std::vector<MidiEvent>> tracks;  // each ends with its end of track
    std::vector<std::vector<uint8_t>> bodies;    // the raw track data
};

uint32_t big(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t x = 0;
    for (int i = 0; i < n; ++i) x = x << 8 | b.at(at + i);
    return x;
}

// A strict reader: every chunk and every event must be whole.
MidiFile read_midi(const std::vector<uint8_t>& b) {
    MidiFile m;
    if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || big(b, 4, 4) != 6) {
        ADD_FAILURE() << "no MThd";
        return m;
    }
    m.format = static_cast<int>(big(b, 8, 2));
    const uint32_t count = big(b, 10, 2);
    m.division = static_cast<int>(big(b, 12, 2));
    size_t at = 14;
    for (uint32_t t = 0; t < count; ++t) {
        if (at + 8 > b.size() || std::string(b.begin() + at, b.begin() + at + 4) != "MTrk") {
            ADD_FAILURE() << "track " << t << " missing";
            return m;
        }
        const size_t end = at + 8 + big(b, at + 4, 4);
        if (end > b.size()) {
            ADD_FAILURE() << "track " << t << " runs past the file";
            return m;
        }
        m.bodies.emplace_back(b.begin() + at + 8, b.begin() + end);
        std::vector<MidiEvent> events;
        size_t p = at + 8;
        uint32_t tick = 0;
        uint8_t running = 0;
        auto vlq = [&]() {
            uint32_t v = 0;
            uint8_t c = 0;
            do {
                c = b.at(p++);
                v = v << 7 | (c & 0x7F);
            } while (c & 0x80);
            return v;
        };
        while (p < end) {
            tick += vlq();
            MidiEvent e;
            e.tick = tick;
            uint8_t status = b.at(p);
            if (status & 0x80) ++p;
            else status = running;
            e.bytes.push_back(status);
            size_t n = 0;
            if (status == 0xFF) {
                e.bytes.push_back(b.at(p++));
                n = vlq();
                running = 0;
            } else if (status == 0xF0) {
                n = vlq();
                running = 0;
            } else {
                EXPECT_GE(status, 0x80) << "data byte without a status";
                n = (status & 0xE0) == 0xC0 ? 1 : 2;
                running = status;
            }
            EXPECT_LE(p + n, end);
            e.bytes.insert(e.bytes.end(), b.begin() + p, b.begin() + std::min(p + n, end));
            p += n;
            events.push_back(e);
        }
        EXPECT_TRUE(!events.empty() && events.back().bytes == std::vector<uint8_t>({0xFF, 0x2F}))
            << "track " << t << " has no end of track last";
        m.tracks.push_back(events);
        at = end;
    }
    EXPECT_EQ(at, b.size()) << "bytes after the last track";
    return m;
}

MidiFile compile(const std::string& text, Score* score_out = nullptr, int passes = 1) {
    Score score;
    std::string error;
    EXPECT_TRUE(score_parse(text, &score, &error)) << error;
    if (score_out) *score_out = score;
    return read_midi(score_midi_image(score, passes));
}

struct Note {
    int channel, key;
    uint32_t on, off;
};

// Pairs note ons with their note offs, over all tracks.
std::vector<Note> notes_of(const MidiFile& m) {
    std::vector<Note> notes;
    for (const auto& track : m.tracks) {
        std::vector<Note> open;
        for (const MidiEvent& e : track) {
            const int kind = e.bytes[0] & 0xF0, channel = e.bytes[0] & 0x0F;
            if (kind == 0x90 && e.bytes[2] > 0) {
                open.push_back({channel, e.bytes[1], e.tick, 0});
            } else if (kind == 0x80 || (kind == 0x90 && e.bytes[2] == 0)) {
                const auto it = std::find_if(open.begin(), open.end(), [&](const Note& n) {
                    return n.channel == channel && n.key == e.bytes[1];
                });
                if (it == open.end()) {
                    ADD_FAILURE() << "note off without a note on, key " << int(e.bytes[1]);
                    continue;
                }
                it->off = e.tick;
                notes.push_back(*it);
                open.erase(it);
            }
        }
        EXPECT_TRUE(open.empty()) << open.size() << " notes never end";
    }
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) { return a.on < b.on; });
    return notes;
}

const std::vector<uint8_t> gm_reset = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};

const char* const two_tracks =
    "tempo 100\n"
    "track Lead\nchannel 1\nprogram 9\nvolume 90\npan 30\nreverb 70\nchorus 5\nvelocity 90\n"
    "o4 [c e g]:4 r:4 c:2 |\n"
    "track Drums\nchannel 10\nkick:4 hat:4 snare:4 hat:8 hat:8 |\n";

TEST(ScoreCompile, ResetsFirstThenSetsTempoAndEveryTrack) {
    const MidiFile m = compile(two_tracks);
    EXPECT_EQ(m.format, 1);
    EXPECT_EQ(m.division, 480);
    ASSERT_EQ(m.tracks.size(), 3u);

    // The reset is the conductor's very first event, so it comes before every
    // track's set-up when the tracks are merged, and the tempo stands at tick 0.
    const auto& conductor = m.tracks[0];
    ASSERT_GE(conductor.size(), 3u);
    EXPECT_EQ(conductor[0].tick, 0u);
    EXPECT_EQ(conductor[0].bytes, std::vector<uint8_t>({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_EQ(conductor[1].tick, 0u);
    EXPECT_EQ(conductor[1].bytes, std::vector<uint8_t>({0xFF, 0x51, 0x09, 0x27, 0xC0}));  // 600000 us
    for (const auto& track : m.tracks) EXPECT_EQ(track.front().tick, 0u);

    // Bank, program (GM 9 is sent as 8), volume, pan, reverb and chorus at tick 0.
    std::vector<std::vector<uint8_t>> setup;
    for (const MidiEvent& e : m.tracks[1]) {
        if (e.tick == 0 && e.bytes[0] != 0xFF && (e.bytes[0] & 0xF0) != 0x90) setup.push_back(e.bytes);
    }
    const std::vector<std::vector<uint8_t>> expected = {{0xB0, 0, 0},  {0xC0, 8},      {0xB0, 7, 90},
                                                        {0xB0, 10, 30}, {0xB0, 91, 70}, {0xB0, 93, 5}};
    EXPECT_EQ(setup, expected);
    const std::vector<Note> drums = notes_of(MidiFile{1, 480, {m.tracks[2]}, {}});
    ASSERT_EQ(drums.size(), 5u);
    EXPECT_EQ(drums[0].channel, 9);
    EXPECT_EQ(drums[0].key, 36);
}

TEST(ScoreCompile, ChordsUseRunningStatus) {
    const MidiFile m = compile(two_tracks);
    const std::vector<uint8_t>& body = m.bodies[1];
    // Three note ons at tick 0 (velocity 90), then after 432 ticks (90 % of a
    // quarter) three note offs: one status byte each.
    const std::vector<uint8_t> ons = {0x90, 0x3C, 90, 0x00, 0x40, 90, 0x00, 0x43, 90};
    const std::vector<uint8_t> offs = {0x83, 0x30, 0x80, 0x3C, 64, 0x00, 0x40, 64, 0x00, 0x43, 64};
    EXPECT_NE(std::search(body.begin(), body.end(), ons.begin(), ons.end()), body.end());
    EXPECT_NE(std::search(body.begin(), body.end(), offs.begin(), offs.end()), body.end());
}

TEST(ScoreCompile, LengthsOctavesRepeatsAndPhrases) {
    struct Case {
        const char* music;
        std::vector<int> keys;
        std::vector<uint32_t> ons;
        std::vector<uint32_t> lengths;
    };
    const Case cases[] = {
        {"l8 c4 d4", {60, 62}, {0, 240}, {240, 240}},
        {"c4:4. d4", {60, 62}, {0, 720}, {720, 480}},
        {"c4:8t d4:8t e4:8t f4", {60, 62, 64, 65}, {0, 160, 320, 480}, {160, 160, 160, 480}},
        {"c4:2+8 r:8 d4:4.. r:16", {60, 62}, {0, 1440}, {1200, 840}},
        {"( c4:8 ( d4:8 )*2 )*2", {60, 62, 62, 60, 62, 62}, {0, 240, 480, 720, 960, 1200}, {240, 240, 240, 240, 240, 240}},
        {"[c4 e4 g4]:2 d4", {60, 64, 67, 62}, {0, 0, 0, 960}, {960, 960, 960, 480}},
        {"o5 c > c < < c", {72, 84, 60}, {0, 480, 960}, {480, 480, 480}},
        {"c#4 eb4 bb3 b3", {61, 63, 58, 59}, {0, 480, 960, 1440}, {480, 480, 480, 480}},
        {"transpose=2 c4 transpose=0 c4", {62, 60}, {0, 480}, {480, 480}},
        {"$up $up", {60, 64, 60, 64}, {0, 240, 480, 720}, {240, 240, 240, 240}},
        {"kick:8 n42:8 q50 ride:4", {36, 42, 51}, {0, 240, 480}, {240, 240, 240}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.music);
        const std::string text = std::string("meter 1/8\ndefine up\nc4:8 e4:8\nend\n") +
                                 "track T\nchannel 2\ngate 100\n" + c.music + "\n";
        const std::vector<Note> notes = notes_of(compile(text));
        ASSERT_EQ(notes.size(), c.keys.size());
        for (size_t i = 0; i < notes.size(); ++i) {
            EXPECT_EQ(notes[i].channel, 1);
            EXPECT_EQ(notes[i].key, c.keys[i]) << i;
            EXPECT_EQ(notes[i].on, c.ons[i]) << i;
            EXPECT_EQ(notes[i].off - notes[i].on, c.lengths[i]) << i;
        }
    }
}

TEST(ScoreCompile, RefusesMistakesWithTheLineAtFault) {
    struct Case {
        const char* text;
        const char* error_start;
    };
    const Case cases[] = {
        {"track T\nchannel 1\nc4:4 d4:4 e4:4 |\n", "line 3:"},             // bar line mid-bar
        {"track T\nchannel 1\nc:1\nwiggle:4\n", "line 4:"},                // unknown word
        {"track T\nchannel 1\nc10:1\n", "line 3:"},                        // note out of range
        {"track T\nchannel 1\nc4:7\n", "line 3:"},                         // no such length
        {"track T\nchannel 1\nv0 c4:1\n", "line 3:"},                      // silent velocity
        {"track T\nchannel 17\n", "line 2:"},                              // no such channel
        {"tempo 500\ntrack T\nchannel 1\nc:1\n", "line 1:"},               // tempo out of range
        {"track T\nc4:1\n", "line 1:"},                                    // track without a channel
        {"track T\nchannel 1\n$missing\n", "line 3:"},                     // undefined phrase
        {"track T\nchannel 1\n( c4:4\n", "line 3:"},                       // unclosed repeat
        {"track T\nchannel 1\nc4:4 )*2\n", "line 3:"},                     // stray ')'
        {"define a\nc4:4\n", "line 1:"},                                   // define without end
        {"track T\nchannel 1\nc4:2.\n", "the song must end on a bar line"},
        {"tempo 90\n", "no track"},
    };
    for (const Case& c : cases) {
        Score score;
        std::string error;
        EXPECT_FALSE(score_parse(c.text, &score, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.error_start, 0), 0u) << c.text << " -> " << error;
    }
}

TEST(ScoreLoop, TheLastEventStandsOnTheLoopPointAndPassesRepeat) {
    Score score;
    // The lead ends a bar early; the bass's last note ends before bar 3 does.
    const MidiFile m = compile(
        "track Lead\nchannel 1\nvolume 77\nc5:1 |\n"
        "track Bass\nchannel 2\nc2:1 | c2:2 r:2 | g2:1 |\n",
        &score);
    EXPECT_EQ(score.loop, 3u * 1920u);
    uint32_t last = 0;
    for (const auto& track : m.tracks) {
        for (const MidiEvent& e : track) {
            if (e.bytes[0] != 0xFF) last = std::max(last, e.tick);
        }
    }
    EXPECT_EQ(last, score.loop);
    // The event on the loop point is the lead's own volume: it changes nothing.
    const auto& conductor = m.tracks[0];
    ASSERT_GE(conductor.size(), 2u);
    const MidiEvent& marker = conductor[conductor.size() - 2];
    EXPECT_EQ(marker.tick, score.loop);
    EXPECT_EQ(marker.bytes, std::vector<uint8_t>({0xB0, 7, 77}));
    for (const Note& n : notes_of(m)) EXPECT_LT(n.off, score.loop);

    // Two passes back to back: the second starts with the reset and the tempo
    // exactly on the loop point, and every note comes twice.
    const MidiFile twice = compile("track Lead\nchannel 1\nvolume 77\nc5:1 |\ntrack Bass\nchannel 2\nc2:1 | c2:2 r:2 | g2:1 |\n",
                                   nullptr, 2);
    EXPECT_EQ(notes_of(twice).size(), 2 * notes_of(m).size());
    int resets = 0;
    for (const MidiEvent& e : twice.tracks[0]) {
        if (e.bytes[0] == 0xF0) {
            EXPECT_EQ(e.tick, resets++ * score.loop);
        }
    }
    EXPECT_EQ(resets, 2);
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Seconds from tick 0 to `tick` under the conductor's tempo changes.
double seconds_at(const MidiFile& m, uint32_t tick) {
    double seconds = 0.0;
    uint32_t at = 0, tempo = 500000;
    for (const MidiEvent& e : m.tracks[0]) {
        if (e.tick >= tick) break;
        if (e.bytes[0] == 0xFF && e.bytes[1] == 0x51) {
            seconds += (e.tick - at) * double(tempo) / m.division / 1e6;
            at = e.tick;
            tempo = e.bytes[2] << 16 | e.bytes[3] << 8 | e.bytes[4];
        }
    }
    return seconds + (tick - at) * double(tempo) / m.division / 1e6;
}

TEST(ShippedSongs, LoopCleanlyAndLastAsLongAsPlanned) {
    struct Song {
        const char* file;
        double shortest, longest;  // seconds before the loop
        std::vector<int> programs;  // GM programs, sent 0-based, that must be there
        bool drums;
    };
    const Song songs[] = {
        {"title.MID", 30.0, 90.0, {8, 10, 48}, false},        // celesta, music box, strings
        {"game.MID", 60.0, 90.0, {12, 32}, true},            // marimba lead, bass, drums
        {"result.mid", 30.0, 90.0, {60, 48}, false},          // horn, strings
    };
    for (const Song& s : songs) {
        SCOPED_TRACE(s.file);
        const MidiFile m = read_midi(read_file(std::string(QUENNARY_BINARY_DIR) + "/music/" + s.file));
        ASSERT_EQ(m.format, 1);
        ASSERT_GE(m.tracks.size(), 4u);
        ASSERT_GE(m.tracks[0].size(), 2u);
        EXPECT_EQ(m.tracks[0][0].tick, 0u);
        EXPECT_EQ(m.tracks[0][0].bytes, gm_reset);
        EXPECT_EQ(m.tracks[0][1].tick, 0u);
        EXPECT_EQ(m.tracks[0][1].bytes[0], 0xFF);
        EXPECT_EQ(m.tracks[0][1].bytes[1], 0x51);

        uint32_t last = 0;
        std::vector<int> programs;
        bool drums = false;
        for (const auto& track : m.tracks) {
            for (const MidiEvent& e : track) {
                if (e.bytes[0] != 0xFF) last = std::max(last, e.tick);
                if ((e.bytes[0] & 0xF0) == 0xC0) programs.push_back(e.bytes[1]);
                if ((e.bytes[0] & 0xF0) == 0x90 && (e.bytes[0] & 0x0F) == 9) drums = true;
                if (e.bytes[0] == 0xF0) {
                    EXPECT_EQ(e.tick, 0u) << "a reset in mid-song";
                }
            }
        }
        // The loop point is a whole bar and the last event stands on it.
        EXPECT_EQ(last % (m.division * 4u), 0u);
        const std::vector<Note> notes = notes_of(m);
        EXPECT_GT(notes.size(), 100u);
        for (const Note& n : notes) EXPECT_LT(n.off, last);
        const double length = seconds_at(m, last);
        EXPECT_GE(length, s.shortest);
        EXPECT_LE(length, s.longest);
        for (int p : s.programs) EXPECT_NE(std::find(programs.begin(), programs.end(), p), programs.end()) << p;
        EXPECT_EQ(drums, s.drums);
    }
    // The title song ships in its container, and without a plain file that
    // would be read in its place.
    const std::vector<uint8_t> pack = read_file(std::string(QUENNARY_GAME_DIR) + "/res/title.dpa");
    if (!pack.empty()) {
        ASSERT_GE(pack.size(), 16u);
        EXPECT_EQ(std::string(pack.begin(), pack.begin() + 5), std::string("DXMP\0", 5));
        EXPECT_TRUE(read_file(std::string(QUENNARY_GAME_DIR) + "/res/title.MID").empty());
    } else {
        EXPECT_FALSE(read_file(std::string(QUENNARY_GAME_DIR) + "/res/title.MID").empty());
    }
    for (const char* plain : {"game.MID", "result.mid"})
        EXPECT_EQ(read_file(std::string(QUENNARY_GAME_DIR) + "/res/" + plain), read_file(std::string(QUENNARY_BINARY_DIR) + "/music/" + plain));
}

}  // namespace
