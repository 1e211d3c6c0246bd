// Reading effect recipes: one directive a line, a word starting with "#"
// starts a comment.
// Lines before the first "voice" set the whole effect; every line after a
// "voice" sets that layer.
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tools/sfx/sfx.h"

namespace {

int parse_number(const std::string& word, double* value) {
    if (word.empty()) return 0;
    char* end = nullptr;
    *value = std::strtod(word.c_str(), &end);
    return end && *end == '\0' && std::isfinite(*value);
}

// A frequency is a number of Hz or a note name.
int parse_hz(const std::string& word, double* hz) {
    if (parse_number(word, hz)) return *hz > 0.0;
    *hz = sfx_note_hz(word);
    return *hz > 0.0;
}

// "V" (at time 0) or "V@T"; the times of a curve must rise.
int parse_curve(const std::vector<std::string>& words, int hz, int logarithmic, SfxCurve* curve,
                std::string* why) {
    curve->times.clear();
    curve->values.clear();
    curve->logarithmic = logarithmic;
    if (words.size() < 2) {
        *why = "needs at least one value";
        return 0;
    }
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const size_t at = word.find('@');
        double value = 0.0, time = 0.0;
        const std::string value_text = word.substr(0, at);
        if (!(hz ? parse_hz(value_text, &value) : parse_number(value_text, &value))) {
            *why = "bad value '" + value_text + "'";
            return 0;
        }
        if (at != std::string::npos && !parse_number(word.substr(at + 1), &time)) {
            *why = "bad time in '" + word + "'";
            return 0;
        }
        if (at == std::string::npos && i > 1) {
            *why = "every point after the first needs @time";
            return 0;
        }
        if (!curve->times.empty() && time <= curve->times.back()) {
            *why = "times must rise";
            return 0;
        }
        curve->times.push_back(time);
        curve->values.push_back(value);
    }
    return 1;
}

// Reads exactly count numbers after the directive.
int parse_numbers(const std::vector<std::string>& words, size_t count, double* out,
                  std::string* why) {
    if (words.size() != count + 1) {
        *why = "takes " + std::to_string(count) + " number(s)";
        return 0;
    }
    for (size_t i = 0; i < count; ++i) {
        if (!parse_number(words[i + 1], &out[i])) {
            *why = "bad number '" + words[i + 1] + "'";
            return 0;
        }
    }
    return 1;
}

int parse_wave(const std::string& name, int* wave) {
    static const char* const names[] = {"sine", "square", "saw", "triangle", "noise"};
    for (int i = 0; i < 5; ++i) {
        if (name == names[i]) {
            *wave = i;
            return 1;
        }
    }
    return 0;
}

int parse_effect_line(const std::vector<std::string>& w, SfxRecipe* r, std::string* why) {
    double n[3] = {0, 0, 0};
    const std::string& key = w[0];
    if (key == "rate") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        if (n[0] != 44100.0 && n[0] != 22050.0) {
            *why = "the game takes 44100 or 22050";
            return 0;
        }
        r->rate = static_cast<int>(n[0]);
    } else if (key == "peak") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        if (n[0] > -1.0) {
            *why = "peak must stay below -1 dBFS";
            return 0;
        }
        r->peak_db = n[0];
    } else if (key == "fade") {
        if (!parse_numbers(w, 2, n, why)) return 0;
        r->fade_in = n[0];
        r->fade_out = n[1];
    } else if (key == "echo") {
        if (!parse_numbers(w, 2, n, why)) return 0;
        if (n[0] <= 0.0 || n[1] < 0.0 || n[1] >= 1.0) {
            *why = "echo takes a delay > 0 s and a feedback in 0..1";
            return 0;
        }
        r->echo_delay = n[0];
        r->echo_feedback = n[1];
    } else if (key == "tail") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        r->tail = n[0];
    } else if (key == "seed") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        r->seed = static_cast<uint32_t>(n[0]);
    } else {
        *why = "unknown directive '" + key + "' before the first voice";
        return 0;
    }
    return 1;
}

int parse_voice_line(const std::vector<std::string>& w, SfxVoice* v, std::string* why) {
    double n[4] = {0, 0, 0, 0};
    const std::string& key = w[0];
    if (key == "wave") {
        if (w.size() != 2 || !parse_wave(w[1], &v->wave)) {
            *why = "wave is sine, square, saw, triangle or noise";
            return 0;
        }
    } else if (key == "at") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        v->start = n[0];
    } else if (key == "gate") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        v->gate = n[0];
    } else if (key == "adsr") {
        if (!parse_numbers(w, 4, n, why)) return 0;
        v->attack = n[0];
        v->decay = n[1];
        v->sustain = n[2];
        v->release = n[3];
    } else if (key == "gain") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        v->gain = std::pow(10.0, n[0] / 20.0);
    } else if (key == "duty") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        if (n[0] <= 0.0 || n[0] >= 1.0) {
            *why = "duty lies between 0 and 1";
            return 0;
        }
        v->duty = n[0];
    } else if (key == "freq") {
        return parse_curve(w, 1, 1, &v->freq, why);
    } else if (key == "bend") {
        return parse_curve(w, 0, 0, &v->bend, why);
    } else if (key == "lowpass") {
        return parse_curve(w, 1, 1, &v->lowpass, why);
    } else if (key == "highpass") {
        return parse_curve(w, 1, 1, &v->highpass, why);
    } else if (key == "bandpass") {
        return parse_curve(w, 1, 1, &v->bandpass, why);
    } else if (key == "q") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        if (n[0] < 0.3) {
            *why = "q must be at least 0.3";
            return 0;
        }
        v->band_q = n[0];
    } else if (key == "notes") {
        if (w.size() < 3 || !parse_number(w[1], &v->run_step) || v->run_step <= 0.0) {
            *why = "notes takes a step in seconds and the notes ('-' rests)";
            return 0;
        }
        v->run_notes.clear();
        for (size_t i = 2; i < w.size(); ++i) {
            double hz = 0.0;
            if (w[i] != "-" && !parse_hz(w[i], &hz)) {
                *why = "bad note '" + w[i] + "'";
                return 0;
            }
            v->run_notes.push_back(hz);
        }
    } else if (key == "fm") {
        if (!parse_numbers(w, 3, n, why)) return 0;
        v->fm_ratio = n[0];
        v->fm_index_start = n[1];
        v->fm_index_end = n[2];
    } else if (key == "vibrato") {
        if (!parse_numbers(w, 2, n, why)) return 0;
        v->vibrato_rate = n[0];
        v->vibrato_depth = n[1];
    } else if (key == "seed") {
        if (!parse_numbers(w, 1, n, why)) return 0;
        v->seed = static_cast<uint32_t>(n[0]);
    } else {
        *why = "unknown voice directive '" + key + "'";
        return 0;
    }
    return 1;
}

}  // namespace

double sfx_note_hz(const std::string& name) {
    // Semitones of C D E F G A B above C.
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // indexed by letter - 'A'
    if (name.size() < 2) return 0.0;
    const char letter = name[0];
    if (letter < 'A' || letter > 'G') return 0.0;
    int semitone = steps[letter - 'A'];
    size_t i = 1;
    for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i) semitone += name[i] == '#' ? 1 : -1;
    if (i >= name.size()) return 0.0;
    char* end = nullptr;
    const long octave = std::strtol(name.c_str() + i, &end, 10);
    if (*end != '\0' || octave < 0 || octave > 9) return 0.0;
    const int midi = static_cast<int>(12 * (octave + 1) + semitone);  // C4 = 60
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

int sfx_parse(const std::string& text, SfxRecipe* recipe, std::string* error) {
    *recipe = SfxRecipe();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    SfxVoice* voice = nullptr;
    while (std::getline(lines, line)) {
        ++number;
        // A comment starts at a "#" that begins a word ("C#5" is a note).
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
                line.erase(i);
                break;
            }
        }
        std::istringstream split(line);
        std::vector<std::string> words;
        for (std::string word; split >> word;) words.push_back(word);
        if (words.empty()) continue;
        std::string why;
        int ok = 1;
        if (words[0] == "voice" && words.size() == 1) {
            recipe->voices.emplace_back();
            voice = &recipe->voices.back();
            // Each layer gets its own noise unless it asks for a seed.
            voice->seed = recipe->seed * 7919u + static_cast<uint32_t>(recipe->voices.size());
        } else if (voice) {
            ok = parse_voice_line(words, voice, &why);
        } else {
            ok = parse_effect_line(words, recipe, &why);
        }
        if (!ok) {
            *error = "line " + std::to_string(number) + ": " + why;
            return 0;
        }
    }
    if (recipe->voices.empty()) {
        *error = "no voice";
        return 0;
    }
    for (size_t i = 0; i < recipe->voices.size(); ++i) {
        const SfxVoice& v = recipe->voices[i];
        if (v.freq.values.empty() && v.run_notes.empty() && v.wave != SfxNoise) {
            *error = "voice " + std::to_string(i + 1) + ": no freq and no notes";
            return 0;
        }
    }
    return 1;
}
