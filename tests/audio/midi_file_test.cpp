// The MIDI reader: merge order, running status, tempo pairs, sysex
// buffers, dropped meta events, the end marker, and images that are cut
// short or lie about their lengths.
#include "audio/midi_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/audio/audio_fixtures.h"

namespace {

struct Record {
    uint32_t delta;
    uint8_t status, data1, data2;
};

// Parses and returns the records, the end marker not included.
std::vector<Record> parse(const Bytes& image, MidiSequence* s) {
    EXPECT_EQ(midi_parse(s, image.data(), uint32_t(image.size())), 1);
    std::vector<Record> out;
    for (uint32_t i = 0; i < s->count; ++i)
        out.push_back(
            {s->records[i].delta, s->records[i].status, s->records[i].data1, s->records[i].data2});
    if (s->records) {
        EXPECT_EQ(s->records[s->count].delta, midi_end_delta);
    }
    return out;
}

void expect_records(const std::vector<Record>& got, const std::vector<Record>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].delta, want[i].delta) << "record " << i;
        EXPECT_EQ(got[i].status, want[i].status) << "record " << i;
        EXPECT_EQ(got[i].data1, want[i].data1) << "record " << i;
        EXPECT_EQ(got[i].data2, want[i].data2) << "record " << i;
    }
}

const Bytes end_of_track = {0x00, 0xFF, 0x2F, 0x00};

Bytes track(Bytes events) {
    events.insert(events.end(), end_of_track.begin(), end_of_track.end());
    return events;
}

TEST(MidiReader, FormatZeroKeepsFileOrderAndDeltas) {
    MidiSequence s = {};
    const Bytes image =
        smf(0x01E0,
            {track({0x00, 0xC0, 0x05, 0x10, 0x90, 0x3C, 0x64, 0x83, 0x60, 0x80, 0x3C, 0x00})}, 0);
    expect_records(parse(image, &s),
                   {{0, 0xC0, 0x05, 0x00}, {16, 0x90, 0x3C, 0x64}, {480, 0x80, 0x3C, 0x00}});
    EXPECT_EQ(s.division, 480);
    EXPECT_EQ(s.play_index, 0u);
    midi_clear(&s);
    EXPECT_EQ(s.records, nullptr);
    EXPECT_EQ(s.division, 0);
}

TEST(MidiReader, ThreeTracksAtTickZeroTakeTurnsOneEventEach) {
    MidiSequence s = {};
    std::vector<Bytes> tracks;
    for (uint8_t t = 0; t < 3; ++t)
        tracks.push_back(
            track({0x00, uint8_t(0x90 + t), 0x40, 0x01, 0x00, uint8_t(0x90 + t), 0x41, 0x02}));
    expect_records(parse(smf(96, tracks), &s), {{0, 0x90, 0x40, 0x01},
                                                {0, 0x91, 0x40, 0x01},
                                                {0, 0x92, 0x40, 0x01},
                                                {0, 0x90, 0x41, 0x02},
                                                {0, 0x91, 0x41, 0x02},
                                                {0, 0x92, 0x41, 0x02}});
    midi_clear(&s);
}

TEST(MidiReader, TracksInterleaveByTime) {
    // Track 0 at ticks 0 and 100, track 1 at 50 and 100: the later tracks
    // come after the earlier ones at the same tick.
    MidiSequence s = {};
    const Bytes image = smf(96, {track({0x00, 0x90, 0x30, 0x10, 0x64, 0x90, 0x31, 0x10}),
                                 track({0x32, 0x91, 0x32, 0x10, 0x32, 0x91, 0x33, 0x10})});
    expect_records(parse(image, &s), {{0, 0x90, 0x30, 0x10},
                                      {50, 0x91, 0x32, 0x10},
                                      {50, 0x90, 0x31, 0x10},
                                      {0, 0x91, 0x33, 0x10}});
    midi_clear(&s);
}

TEST(MidiReader, RunningStatusRepeatsTheLastStatus) {
    MidiSequence s = {};
    expect_records(parse(smf(96, {track({0x00, 0x90, 0x3C, 0x64, 0x00, 0x40, 0x00, 0x05, 0xC1, 0x07,
                                         0x00, 0x08})}),
                         &s),
                   {{0, 0x90, 0x3C, 0x64},
                    {0, 0x90, 0x40, 0x00},
                    {5, 0xC1, 0x07, 0x00},
                    {0, 0xC1, 0x08, 0x00}});
    midi_clear(&s);
}

TEST(MidiReader, TempoBecomesAPairOfRecords) {
    MidiSequence s = {};
    const auto got =
        parse(smf(480, {track({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x51, 0x03,
                               0x00, 0x00, 0x00, 0x0A, 0x90, 0x3C, 0x64})}),
              &s);
    // The tempo of 0 is dropped; its time stays with the note.
    expect_records(got, {{0, 0xFF, 0x20, 0xA1}, {0, 0x00, 0x07, 0x00}, {10, 0x90, 0x3C, 0x64}});
    EXPECT_EQ(midi_event_value(s.records[0]) | midi_event_value(s.records[1]) << 16, 500000u);
    midi_clear(&s);
}

TEST(MidiReader, SysexGetsAPreparedBufferWithItsLeadingByte) {
    MidiSequence s = {};
    const auto got = parse(smf(96, {track({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0x00,
                                           0xF0, 0x02, 0x41, 0xF7})}),
                           &s);
    expect_records(got, {{0, 0xF0, 0x00, 0x00}, {0, 0xF0, 0x01, 0x00}});
    ASSERT_EQ(s.sysex_count, 2u);
    const unsigned char first[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    ASSERT_EQ(s.sysex[0].length, 6u);
    EXPECT_EQ(std::memcmp(s.sysex[0].data, first, 6), 0);
    EXPECT_EQ(s.sysex[0].flags, 0u);
    ASSERT_EQ(s.sysex[1].length, 3u);
    EXPECT_EQ(s.sysex[1].data[1], 0x41);
    midi_clear(&s);
    EXPECT_EQ(s.sysex, nullptr);
}

TEST(MidiReader, DroppedMetaEventsLeaveTheirTimeToTheNextRecord) {
    // A marker at 960 between notes at 480 and 1440; a track holding only
    // its end of track adds nothing.
    MidiSequence s = {};
    const Bytes image = smf(480, {track({0x83, 0x60, 0x90, 0x3C, 0x64, 0x83, 0x60, 0xFF, 0x06, 0x01,
                                         'A', 0x83, 0x60, 0x90, 0x3E, 0x64}),
                                  end_of_track});
    expect_records(parse(image, &s), {{480, 0x90, 0x3C, 0x64}, {960, 0x90, 0x3E, 0x64}});
    midi_clear(&s);
}

TEST(MidiReader, TruncatedAndOverlongInputIsCutAtTheLastWholeEvent) {
    struct Case {
        const char* what;
        Bytes image;
        std::vector<Record> want;
    };
    const Bytes notes = {0x00, 0x90, 0x3C, 0x64, 0x10, 0x80, 0x3C, 0x00};
    Bytes cut_note = smf(96, {notes});
    cut_note.resize(cut_note.size() - 1);  // the chunk says 8 bytes, 7 are there
    Bytes sysex_past_end = notes;
    sysex_past_end.insert(sysex_past_end.end(), {0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0x01});
    Bytes endless_delta = notes;
    endless_delta.insert(endless_delta.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    Bytes meta_past_end = notes;
    meta_past_end.insert(meta_past_end.end(), {0x00, 0xFF, 0x01, 0x40, 'x'});
    Bytes no_status = {0x00, 0x3C, 0x64};
    Bytes two_tracks_claimed_one_there = smf(96, {notes});
    two_tracks_claimed_one_there[11] = 2;
    Bytes chunk_longer_than_file = smf(96, {notes});
    chunk_longer_than_file[18 + 3] = 0xFF;  // the track's length byte: 255 bytes
    const std::vector<Record> first_only = {{0, 0x90, 0x3C, 0x64}};
    const std::vector<Record> both = {{0, 0x90, 0x3C, 0x64}, {16, 0x80, 0x3C, 0x00}};
    const Case cases[] = {
        {"last event cut", cut_note, first_only},
        {"sysex length past the track", smf(96, {sysex_past_end}), both},
        {"delta that never ends", smf(96, {endless_delta}), both},
        {"meta length past the track", smf(96, {meta_past_end}), both},
        {"data byte with no status before it", smf(96, {no_status}), {}},
        {"track count beyond the chunks", two_tracks_claimed_one_there, both},
        {"chunk length past the file", chunk_longer_than_file, both},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MidiSequence s = {};
        expect_records(parse(c.image, &s), c.want);
        midi_clear(&s);
    }
}

TEST(MidiReader, RefusesImagesWithoutHeaderOrTracksAndKeepsTheOldSong) {
    MidiSequence s = {};
    const Bytes good = smf(96, {track({0x00, 0x90, 0x3C, 0x64})});
    ASSERT_EQ(midi_parse(&s, good.data(), uint32_t(good.size())), 1);
    Bytes header_only = smf(96, {});
    header_only[11] = 1;  // one track claimed, none there
    Bytes header_past_file = good;
    header_past_file[7] = 0xF0;  // header chunk of 240 bytes
    const Bytes refused[] = {Bytes(good.begin(), good.begin() + 13), header_only, header_past_file,
                             smf(96, {})};
    for (const Bytes& image : refused) {
        EXPECT_EQ(midi_parse(&s, image.data(), uint32_t(image.size())), 0);
        EXPECT_EQ(s.count, 1u);
        EXPECT_EQ(s.records[0].status, 0x90);
    }
    EXPECT_EQ(midi_parse(&s, nullptr, 0), 0);
    midi_clear(&s);
}

}  // namespace

namespace {

// Damaged copies of a song with every kind of event: whatever the reader
// makes of them is a well-formed list (run under AddressSanitizer, this
// also shows that nothing outside the image is read).
TEST(MidiReader, RandomlyDamagedImagesStillGiveAWellFormedList) {
    const Bytes song =
        smf(480, {track({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xF0, 0x03, 0x41, 0x10,
                         0xF7, 0x10, 0xC0, 0x05, 0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0x3C, 0x00}),
                  track({0x05, 0xB0, 0x07, 0x64, 0x00, 0xFF, 0x03, 0x02, 'h', 'i', 0x81, 0x00, 0xE0,
                         0x00, 0x40})});
    uint32_t x = 99;
    auto next = [&x] { return (x = x * 1103515245 + 12345) >> 8; };
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = song;
        const int changes = 1 + int(next() % 4);
        for (int c = 0; c < changes; ++c) damaged[next() % damaged.size()] = uint8_t(next());
        damaged.resize(14 + next() % (damaged.size() - 13));
        // An exact-size copy, so that a read past the end is caught.
        unsigned char* image = new unsigned char[damaged.size()];
        std::memcpy(image, damaged.data(), damaged.size());
        MidiSequence s = {};
        if (midi_parse(&s, image, uint32_t(damaged.size()))) {
            ASSERT_NE(s.records, nullptr);
            ASSERT_EQ(s.records[s.count].delta, midi_end_delta);
            for (uint32_t i = 0; i < s.count; ++i) {
                const MidiEvent& e = s.records[i];
                if (e.status == 0xF0) {
                    ASSERT_LT(midi_event_value(e), s.sysex_count);
                }
                if (e.status == 0xFF) {
                    ASSERT_LT(i + 1, s.count);
                    ASSERT_EQ(s.records[i + 1].status, 0x00);
                }
            }
            for (uint32_t i = 0; i < s.sysex_count; ++i) ASSERT_EQ(s.sysex[i].data[0], 0xF0);
        }
        delete[] image;
        midi_clear(&s);
    }
}

}  // namespace
