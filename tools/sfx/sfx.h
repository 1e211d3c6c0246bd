#pragma once
// The effect synthesizer: a recipe (text) is parsed into an SfxRecipe, rendered
// into 16-bit mono samples and written as the plain WAV layout the game reads
// ("RIFF" size "WAVE", a 16-byte "fmt " chunk, then "data" and the samples).
//
// A recipe is a list of layers ("voice" blocks) mixed together, then an
// optional echo, a peak normalisation and short fades at both ends. The
// recipe language is described in tools/sfx/README.md.
#include <cstdint>
#include <string>
#include <vector>

// A value that moves over time: (seconds, value) points, held after the last
// one. Frequencies glide in the log domain (an even sweep in pitch), gains and
// bends linearly.
struct SfxCurve {
    std::vector<double> times;   // seconds from the start of the voice or note
    std::vector<double> values;  // Hz, semitones or linear amount
    int logarithmic = 0;         // 1: interpolate log(value)
};

enum SfxWave { SfxSine = 0, SfxSquare, SfxSaw, SfxTriangle, SfxNoise };

struct SfxVoice {
    int wave = SfxSine;
    double start = 0.0;  // seconds after the start of the effect
    double gate = 0.1;   // seconds the note is held before its release
    double attack = 0.002, decay = 0.05, sustain = 1.0, release = 0.05;  // s, s, level, s
    double gain = 1.0;                  // linear, from "gain <dB>"
    double duty = 0.5;                  // square: fraction of the period that is high
    SfxCurve freq;                      // Hz over the voice (noise: sample-and-hold rate)
    SfxCurve bend;                      // semitones over each note
    std::vector<double> run_notes;      // Hz of each note of a run; 0 is a rest
    double run_step = 0.0;              // seconds per note of a run
    double fm_ratio = 0.0;              // modulator frequency / carrier frequency (0: no FM)
    double fm_index_start = 0.0;        // modulation index at the note start, radians
    double fm_index_end = 0.0;          // ... at the end of the gate
    double vibrato_rate = 0.0;          // Hz
    double vibrato_depth = 0.0;         // semitones
    SfxCurve lowpass, highpass, bandpass;  // cutoff / centre in Hz, empty: off
    double band_q = 2.0;                   // band-pass resonance
    uint32_t seed = 1;                     // noise generator seed
};

struct SfxRecipe {
    int rate = 44100;            // samples per second: 44100 or 22050
    double peak_db = -3.0;       // the loudest sample after mixing, dBFS
    double fade_in = 0.002;      // seconds
    double fade_out = 0.008;     // seconds
    double tail = 0.0;           // seconds kept after the last voice ends (echo)
    double echo_delay = 0.0;     // seconds, 0: no echo
    double echo_feedback = 0.0;  // gain of each repeat
    uint32_t seed = 1;
    std::vector<SfxVoice> voices;
};

// Parses recipe text. On failure returns 0 and puts "line N: what" in error.
int sfx_parse(const std::string& text, SfxRecipe* recipe, std::string* error);

// Renders the recipe into samples in -1..1, peak-normalised, faded, with the
// first and last sample exactly 0.
int sfx_render(const SfxRecipe& recipe, std::vector<float>* samples, std::string* error);

// The WAV file image of 16-bit mono samples at the given rate.
std::vector<uint8_t> sfx_wav_image(const std::vector<float>& samples, int rate);

// Hz of a note name such as "A4" (440), "C#5", "Eb3"; 0 when it is not one.
double sfx_note_hz(const std::string& name);
