#pragma once
// The score compiler: a text score (tools/score/README.md) becomes a Standard
// MIDI File of format 1 that loops without a seam in the game's sequencer.
//
// Track 0 is the conductor: the reset system-exclusive message and the first
// tempo at tick 0, later tempo changes, and one harmless controller (a
// volume that changes nothing) exactly on the loop point, so the last bar
// keeps its full length when the song restarts. Every note ends at or before
// the loop point.
#include <cstdint>
#include <string>
#include <vector>

struct ScoreEvent {
    uint32_t tick = 0;
    int rank = 1;                // order within a tick: 0 note off, 1 others, 2 note on
    std::vector<uint8_t> bytes;  // a channel message, or FF type len data, or F0 len data
};

struct ScoreTrack {
    std::string name;
    int channel = -1;    // 0..15 once set
    int volume = 100;    // the last channel volume the track sent
    uint32_t end = 0;    // ticks: where the track's music ends
    std::vector<ScoreEvent> events;
};

struct Score {
    int division = 480;            // ticks per quarter note
    int meter_beats = 4, meter_unit = 4;
    double tempo_bpm = 120.0;      // the tempo at tick 0
    int reset = 1;                 // 1: GM System On, 2: GS reset, 0: none
    std::string title;
    uint32_t loop = 0;             // ticks: the loop point, the end of the longest track
    std::vector<ScoreTrack> tracks;  // [0] is the conductor
};

// Parses and expands a score. On failure returns 0 and puts "line N: what"
// in error.
int score_parse(const std::string& text, Score* score, std::string* error);

// The file image; with passes > 1 the song is written that many times back to
// back, as the game's loop plays it (a listening check of the seam).
std::vector<uint8_t> score_midi_image(const Score& score, int passes);

// Ticks per bar of the score's meter.
uint32_t score_bar_ticks(const Score& score);
