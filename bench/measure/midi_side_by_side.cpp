// Where the notes of a song land in the rendered stream, against the song's
// ideal tempo map, side by side for two players on the same synthesizer
// settings (48 kHz, gain 0.6, the same General MIDI SoundFont):
//   ours:  the game's sequencer on its 1 ms timer thread, through the SDL
//          backend's mixer, rendered buffer by buffer at the device's pace
//          by a card of our own (card.h) in place of the device;
//   fluid: FluidSynth's own MIDI file player, rendered on its sample clock.
// A note's place is the stream frame at which the synthesizer starts it:
// for ours the frames the synthesizer had written when the mixer handed it
// the note-on (the backend's calls into the synthesizer are wrapped at link
// time to count them), for FluidSynth's player the frame at which its
// playback callback passed the note on. The ideal place is the note's tick
// through the file's tempo map, from the moment the song was started.
// The constant delay (the median of landed minus ideal: for ours the
// device buffer and the mixer's margin) is given, then taken away; what is
// left, the error a listener hears as uneven timing, is given in rendered
// samples: p50, p99 and max.
//   bench_measure_midi [seconds per song] [MIDI file ...]
// Without files: the game's three songs and one outside multi-track file
// (Debian's openttd-openmsx music set, GPL-2). Ours plays in real time.
#include <fluidsynth.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "audio/data_source.h"
#include "audio/midi_file.h"
#include "audio/sequencer.h"
#include "bench/measure/card.h"
#include "platform/midi_out.h"
#include "platform/sdl/sdl_audio.h"

namespace {

// The same settings as the game's synthesizer (platform/sdl/sdl_midi.cpp).
constexpr double synth_gain = 0.6;
const char* const soundfont_paths[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};
const char outside_song[] = "/usr/share/games/openttd/baseset/openmsx/flying_scotsman.mid";
// Microseconds per quarter note before a song's first tempo: the game's
// sequencer takes its own default, a Standard MIDI File player 120 BPM.
constexpr double fluid_default_tempo = 500000;

// Note-ons the game's backend handed to the synthesizer, with the count
// of frames the synthesizer had written at that moment (audio thread).
constexpr size_t most_notes = 1 << 20;
std::atomic<long> synth_frames{0};
std::atomic<size_t> ours_count{0};
long ours_frames[most_notes];
std::atomic<int> counting{0};

}  // namespace

extern "C" {
int __real_fluid_synth_noteon(fluid_synth_t* synth, int channel, int key, int velocity);

// The card renders the stream: the backend's device is never opened.
// (sdl_audio_open is a C++ function: the wrap takes its mangled name.)
int __wrap__Z14sdl_audio_openv() { return 1; }
int __real_fluid_synth_write_float(fluid_synth_t* synth, int len, void* left, int loff, int lincr, void* right,
                                   int roff, int rincr);

int __wrap_fluid_synth_noteon(fluid_synth_t* synth, int channel, int key, int velocity) {
    if (counting.load() && velocity > 0) {
        const size_t i = ours_count.fetch_add(1);
        if (i < most_notes) ours_frames[i] = synth_frames.load();
    }
    return __real_fluid_synth_noteon(synth, channel, key, velocity);
}

int __wrap_fluid_synth_write_float(fluid_synth_t* synth, int len, void* left, int loff, int lincr, void* right,
                                   int roff, int rincr) {
    synth_frames.fetch_add(len);
    return __real_fluid_synth_write_float(synth, len, left, loff, lincr, right, roff, rincr);
}
}

namespace {

std::vector<unsigned char> read_item(const char* name) {
    DataSource source = {};
    data_source_set_type(&source, nullptr);
    std::vector<unsigned char> bytes;
    if (data_source_open(&source, name)) {
        bytes.resize(data_source_size(&source));
        if (bytes.empty() || !data_source_read(&source, bytes.data(), uint32_t(bytes.size()))) bytes.clear();
    }
    data_source_close(&source);
    return bytes;
}

// The seconds of every note-on (velocity above 0) through the tempo map.
std::vector<double> ideal_onsets(const std::vector<unsigned char>& file, double default_tempo) {
    MidiSequence s = {};
    std::vector<double> onsets;
    if (!midi_parse(&s, file.data(), uint32_t(file.size())) || s.division == 0) return onsets;
    double t = 0, tempo = default_tempo;
    for (uint32_t i = 0; i < s.count; ++i) {
        const MidiEvent& e = s.records[i];
        t += double(e.delta) * tempo / (double(s.division) * 1e6);
        if (e.status == 0xFF) {
            tempo = double(midi_event_value(e) | midi_event_value(s.records[i + 1]) << 16);
            i += 1;
        } else if ((e.status & 0xF0) == 0x90 && e.data2 > 0) {
            onsets.push_back(t);
        }
    }
    midi_clear(&s);
    return onsets;
}

struct Errors {
    size_t notes = 0, missing = 0;
    double offset = 0, p50 = 0, p99 = 0, max = 0;  // rendered samples
};

// Pairs the landed frames with the ideal seconds, both in time order, over
// the notes of the first `seconds` of the song.
Errors compare(std::vector<long> landed, const std::vector<double>& ideal, double seconds) {
    Errors r;
    std::vector<double> want;
    for (double t : ideal)
        if (t < seconds) want.push_back(t * sdl_audio_rate);
    std::sort(want.begin(), want.end());
    std::sort(landed.begin(), landed.end());
    const size_t n = std::min(want.size(), landed.size());
    r.notes = n;
    r.missing = want.size() - n;
    if (n == 0) return r;
    std::vector<double> error(n);
    for (size_t i = 0; i < n; ++i) error[i] = double(landed[i]) - want[i];
    std::vector<double> sorted = error;
    std::sort(sorted.begin(), sorted.end());
    r.offset = sorted[n / 2];
    std::vector<double> deviation(n);
    for (size_t i = 0; i < n; ++i) deviation[i] = std::fabs(error[i] - r.offset);
    std::sort(deviation.begin(), deviation.end());
    r.p50 = deviation[n / 2];
    r.p99 = deviation[std::min(n - 1, n * 99 / 100)];
    r.max = deviation.back();
    return r;
}

MidiSequencer player;

// The game's sequencer through the mixer, in real time, on our card.
std::vector<long> play_ours(const char* name, double seconds) {
    if (!sequencer_load(&player, name)) return {};
    sdl_audio_restart_clock();
    synth_frames = 0;
    Card card(seconds + 0.6, sdl_audio_clock() + 0.02);
    card.run();
    // The song starts 50 ms into the stream: its frames count from there.
    constexpr double lead = 0.05;
    Card::sleep_until(card.start_time + lead);
    ours_count = 0;
    counting = 1;
    if (!sequencer_play(&player)) {
        card.join();
        return {};
    }
    Card::sleep_until(card.start_time + lead + seconds + 0.2);
    counting = 0;
    sequencer_stop(&player);
    sequencer_unload(&player);
    card.join();
    std::vector<long> landed(ours_frames, ours_frames + std::min(ours_count.load(), most_notes));
    for (long& f : landed) f -= long(lead * sdl_audio_rate);
    return landed;
}

struct FluidRun {
    long frames = 0;  // the stream frame the render has reached
    fluid_synth_t* synth = nullptr;
    std::vector<long> landed;
};

int pass_on(void* data, fluid_midi_event_t* event) {
    FluidRun* run = static_cast<FluidRun*>(data);
    if (fluid_midi_event_get_type(event) == 0x90 && fluid_midi_event_get_velocity(event) > 0)
        run->landed.push_back(run->frames);
    return fluid_synth_handle_midi_event(run->synth, event);
}

// FluidSynth's own player on its sample clock, rendered as fast as it goes
// in blocks of the synthesizer's own 64 frames.
std::vector<long> play_fluid(const std::vector<unsigned char>& file, const char* soundfont, double seconds) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", sdl_audio_rate);
    fluid_settings_setnum(settings, "synth.gain", synth_gain);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    FluidRun run;
    run.synth = new_fluid_synth(settings);
    fluid_synth_sfload(run.synth, soundfont, 1);
    fluid_player_t* p = new_fluid_player(run.synth);
    fluid_player_set_playback_callback(p, pass_on, &run);
    fluid_player_add_mem(p, file.data(), file.size());
    fluid_player_play(p);
    constexpr int block = 64;
    std::vector<float> left(block), right(block);
    const long total = long((seconds + 0.2) * sdl_audio_rate);
    for (run.frames = 0; run.frames < total; run.frames += block)
        __real_fluid_synth_write_float(run.synth, block, left.data(), 0, 1, right.data(), 0, 1);
    fluid_player_stop(p);
    delete_fluid_player(p);
    delete_fluid_synth(run.synth);
    delete_fluid_settings(settings);
    return run.landed;
}

void print(const char* who, const Errors& e) {
    std::printf("  %-6s %5zu notes (%zu not landed)  delay %7.1f  |error| p50 %6.1f  p99 %6.1f  max %6.1f samples\n",
                who, e.notes, e.missing, e.offset, e.p50, e.p99, e.max);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::max(2.0, std::atof(argv[1])) : 30.0;
    std::vector<std::string> songs;
    for (int i = 2; i < argc; ++i) songs.push_back(argv[i]);
    if (songs.empty()) {
        for (const char* s : {"res/title.MID", "res/game.MID", "res/result.mid"})
            songs.push_back(std::string(QUENNARY_GAME_DIR) + "/" + s);
        songs.push_back(outside_song);
    }
    const char* soundfont = nullptr;
    for (const char* path : soundfont_paths)
        if (access(path, R_OK) == 0 && !soundfont) soundfont = path;
    if (!soundfont) {
        std::fprintf(stderr, "no General MIDI SoundFont in /usr/share/sounds/sf2\n");
        return 1;
    }
    // The game's synthesizer is made on the first open of its MIDI output:
    // made now, it renders every frame of every card, so its count of
    // frames is the stream's.
    MidiOutDevice* device = nullptr;
    if (!midi_out_open(&device)) {
        std::fprintf(stderr, "no MIDI output (no SoundFont)\n");
        return 1;
    }
    midi_out_close(device);
    std::printf("note onsets against the ideal tempo map, %.0f s of each song, %d Hz, %d frames a buffer, %s\n",
                seconds, sdl_audio_rate, sdl_audio_buffer_frames, soundfont);
    int failed = 0;
    for (const std::string& song : songs) {
        const std::vector<unsigned char> file = read_item(song.c_str());
        if (file.empty()) {
            std::printf("%s: not found\n", song.c_str());
            failed = 1;
            continue;
        }
        const std::vector<double> ideal_ours = ideal_onsets(file, sequencer_default_tempo);
        const std::vector<double> ideal_fluid = ideal_onsets(file, fluid_default_tempo);
        const double length = ideal_ours.empty() ? 0 : *std::max_element(ideal_ours.begin(), ideal_ours.end());
        // Notes in the first `seconds`, and never the loop's second pass.
        const double window = std::min(seconds, length + 0.001);
        std::printf("%s (%zu notes, %.1f s):\n", song.c_str(), ideal_ours.size(), length);
        print("ours", compare(play_ours(song.c_str(), window), ideal_ours, window));
        print("fluid", compare(play_fluid(file, soundfont, window), ideal_fluid, window));
    }
    return failed;
}
