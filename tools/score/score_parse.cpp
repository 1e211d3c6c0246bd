// Reading scores: header lines, phrase definitions and tracks, then the
// music of each track expanded (phrases, repeats) and played out into timed
// events.
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "tools/score/score.h"

namespace {

struct Token {
    std::string text;
    int line = 0;
};

struct TrackSource {
    ScoreTrack track;
    int program = 1;  // GM numbering, 1..128
    int bank = 0, pan = 64, reverb = 40, chorus = 0;
    int velocity = 90;  // of notes before the first v
    int gate = 90;      // percent of each note's length that sounds
    int line = 0;
    std::vector<Token> music;
};

struct Reader {
    Score* score = nullptr;
    std::map<std::string, std::vector<Token>> phrases;
    std::vector<TrackSource> tracks;
    std::string error;

    int fail(int line, const std::string& what) {
        error = "line " + std::to_string(line) + ": " + what;
        return 0;
    }
};

// The state of a track while its music is played out.
struct Player {
    Reader* reader = nullptr;
    TrackSource* source = nullptr;
    uint32_t tick = 0;
    int octave = 4;
    uint32_t length = 480;  // ticks of a note without a duration
    int velocity = 90;
    int gate = 90;
    int transpose = 0;
    int depth = 0;
};

int parse_int(const std::string& text, int* value) {
    if (text.empty()) return 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < -100000 || v > 100000) return 0;
    *value = static_cast<int>(v);
    return 1;
}

// "4", "8.", "8t", "2+8": note lengths as fractions of a whole note, with
// dots, triplets and ties.
int parse_length(const std::string& text, int division, uint32_t* ticks) {
    *ticks = 0;
    std::stringstream parts(text);
    std::string part;
    int any = 0;
    while (std::getline(parts, part, '+')) {
        size_t i = 0;
        while (i < part.size() && part[i] >= '0' && part[i] <= '9') ++i;
        int n = 0;
        if (!parse_int(part.substr(0, i), &n) || n <= 0) return 0;
        const int whole = division * 4;
        if (whole % n) return 0;
        uint32_t base = static_cast<uint32_t>(whole / n), total = base;
        for (; i < part.size() && part[i] == '.'; ++i) {
            if (base % 2) return 0;
            base /= 2;
            total += base;
        }
        if (i < part.size() && part[i] == 't') {
            if (total % 3) return 0;
            total = total * 2 / 3;
            ++i;
        }
        if (i != part.size()) return 0;
        *ticks += total;
        any = 1;
    }
    return any;
}

int drum_key(const std::string& name) {
    static const std::map<std::string, int> kit = {
        {"kick", 36},   {"rim", 37},     {"snare", 38},  {"clap", 39},    {"tomlo", 45},
        {"hat", 42},    {"pedal", 44},   {"ohat", 46},   {"tommid", 47},  {"tomhi", 50},
        {"crash", 49},  {"ride", 51},    {"bell", 53},   {"tamb", 54},    {"splash", 55},
        {"cowbell", 56}, {"bongohi", 60}, {"bongolo", 61}, {"cabasa", 69}, {"shaker", 70},
        {"clave", 75},  {"woodhi", 76},  {"woodlo", 77}, {"mtri", 80},    {"tri", 81},
        {"chimes", 84}};
    const auto it = kit.find(name);
    return it == kit.end() ? -1 : it->second;
}

void add(Player& p, uint32_t tick, int rank, std::vector<uint8_t> bytes) {
    ScoreEvent e;
    e.tick = tick;
    e.rank = rank;
    e.bytes = std::move(bytes);
    p.source->track.events.push_back(std::move(e));
}

void add_control(Player& p, int controller, int value) {
    const uint8_t status = static_cast<uint8_t>(0xB0 | p.source->track.channel);
    add(p, p.tick, 1, {status, static_cast<uint8_t>(controller), static_cast<uint8_t>(value)});
    if (controller == 7) p.source->track.volume = value;
}

// The key number of a note word such as "c", "f#5", "bb3" or a drum name,
// and where its ":length" starts; -1 when the word is not a note.
int note_key(const Player& p, const std::string& word, size_t* rest) {
    const size_t colon = word.find(':');
    const std::string head = word.substr(0, colon);
    *rest = colon;
    const int drum = drum_key(head);
    if (drum >= 0) return drum;
    int key = 0;
    if (head.size() > 1 && head[0] == 'n' && parse_int(head.substr(1), &key)) return key;
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g above c
    if (head.empty() || head[0] < 'a' || head[0] > 'g') return -1;
    int semitone = steps[head[0] - 'a'];
    size_t i = 1;
    for (; i < head.size() && (head[i] == '#' || head[i] == 'b'); ++i) semitone += head[i] == '#' ? 1 : -1;
    int octave = p.octave;
    if (i < head.size() && !parse_int(head.substr(i), &octave)) return -1;
    return 12 * (octave + 1) + semitone + p.transpose;  // c4 = 60
}

int play_notes(Player& p, const std::vector<int>& keys, uint32_t length, int line) {
    const uint8_t channel = static_cast<uint8_t>(p.source->track.channel);
    uint32_t sounding = static_cast<uint32_t>(static_cast<uint64_t>(length) * p.gate / 100);
    if (sounding == 0) sounding = 1;
    for (int key : keys) {
        if (key < 0 || key > 127) return p.reader->fail(line, "note out of range");
        add(p, p.tick, 2, {static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(key), static_cast<uint8_t>(p.velocity)});
        add(p, p.tick + sounding, 0, {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(key), 64});
    }
    p.tick += length;
    return 1;
}

int run(Player& p, const std::vector<Token>& t, size_t from, size_t to);

int run_word(Player& p, const Token& token) {
    const std::string& w = token.text;
    Reader& r = *p.reader;
    const int division = r.score->division;
    int n = 0;
    const size_t eq = w.find('=');
    if (eq != std::string::npos) {
        const std::string key = w.substr(0, eq);
        const std::string value = w.substr(eq + 1);
        if (key == "tempo") {
            const double bpm = std::atof(value.c_str());
            if (bpm < 10.0 || bpm > 400.0) return r.fail(token.line, "tempo between 10 and 400");
            const uint32_t us = static_cast<uint32_t>(std::lround(60000000.0 / bpm));
            ScoreEvent e;
            e.tick = p.tick;
            e.bytes = {0xFF, 0x51, 0x03, static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us)};
            r.score->tracks[0].events.push_back(e);
            return 1;
        }
        if (!parse_int(value, &n)) return r.fail(token.line, "bad value in '" + w + "'");
        if (key == "transpose") {
            p.transpose = n;
            return 1;
        }
        if (key == "prog") {
            if (n < 1 || n > 128) return r.fail(token.line, "program is 1..128");
            add(p, p.tick, 1, {static_cast<uint8_t>(0xC0 | p.source->track.channel), static_cast<uint8_t>(n - 1)});
            return 1;
        }
        int controller = 0;
        if (key.size() > 2 && key.compare(0, 2, "cc") == 0 && parse_int(key.substr(2), &controller) &&
            controller >= 0 && controller < 120 && n >= 0 && n <= 127) {
            add_control(p, controller, n);
            return 1;
        }
        return r.fail(token.line, "unknown setting '" + w + "'");
    }
    if (w == ">" || w == "<") {
        p.octave += w == ">" ? 1 : -1;
        return 1;
    }
    if (w.size() > 1 && (w[0] == 'o' || w[0] == 'v' || w[0] == 'q') && parse_int(w.substr(1), &n)) {
        if (w[0] == 'o') p.octave = n;
        if (w[0] == 'v' && (n < 1 || n > 127)) return r.fail(token.line, "velocity is 1..127");
        if (w[0] == 'v') p.velocity = n;
        if (w[0] == 'q' && (n < 1 || n > 100)) return r.fail(token.line, "gate is 1..100 percent");
        if (w[0] == 'q') p.gate = n;
        return 1;
    }
    if (w.size() > 1 && w[0] == 'l') {
        if (!parse_length(w.substr(1), division, &p.length)) return r.fail(token.line, "bad length '" + w + "'");
        return 1;
    }
    uint32_t length = p.length;
    if (w == "r" || w.compare(0, 2, "r:") == 0) {
        if (w.size() > 2 && !parse_length(w.substr(2), division, &length)) return r.fail(token.line, "bad length '" + w + "'");
        p.tick += length;
        return 1;
    }
    size_t rest = 0;
    const int key = note_key(p, w, &rest);
    if (key < 0) return r.fail(token.line, "unknown word '" + w + "'");
    if (rest != std::string::npos && !parse_length(w.substr(rest + 1), division, &length))
        return r.fail(token.line, "bad length '" + w + "'");
    return play_notes(p, {key}, length, token.line);
}

// Plays tokens [from, to): words, chords "[...]:len", repeats "(...) *N", bar
// checks "|".
int run(Player& p, const std::vector<Token>& t, size_t from, size_t to) {
    Reader& r = *p.reader;
    for (size_t i = from; i < to; ++i) {
        const Token& token = t[i];
        if (token.text == "|") {
            const uint32_t bar = score_bar_ticks(*r.score);
            if (p.tick % bar) return r.fail(token.line, "bar line " + std::to_string(p.tick % bar) + " ticks into a bar");
        } else if (token.text == "(") {
            size_t close = i + 1;
            for (int level = 1; close < to; ++close) {
                level += t[close].text == "(" ? 1 : t[close].text == ")" ? -1 : 0;
                if (level == 0) break;
            }
            if (close >= to) return r.fail(token.line, "'(' without ')'");
            int times = 2;
            size_t next = close + 1;
            if (next < to && !t[next].text.empty() && t[next].text[0] == '*') {
                if (!parse_int(t[next].text.substr(1), &times) || times < 1 || times > 64)
                    return r.fail(t[next].line, "repeat count 1..64");
                ++next;
            }
            for (int k = 0; k < times; ++k) {
                if (!run(p, t, i + 1, close)) return 0;
            }
            i = next - 1;
        } else if (token.text == ")") {
            return r.fail(token.line, "')' without '('");
        } else if (token.text == "[") {
            std::vector<int> keys;
            const int octave = p.octave;
            size_t k = i + 1;
            for (; k < to && t[k].text != "]"; ++k) {
                if (t[k].text == ">" || t[k].text == "<") {
                    p.octave += t[k].text == ">" ? 1 : -1;
                    continue;
                }
                size_t rest = 0;
                const int key = note_key(p, t[k].text, &rest);
                if (key < 0 || rest != std::string::npos) return r.fail(t[k].line, "a chord holds notes without lengths");
                keys.push_back(key);
            }
            p.octave = octave;
            if (k >= to || keys.empty()) return r.fail(token.line, "'[' without notes and ']'");
            uint32_t length = p.length;
            if (k + 1 < to && !t[k + 1].text.empty() && t[k + 1].text[0] == ':') {
                if (!parse_length(t[k + 1].text.substr(1), r.score->division, &length))
                    return r.fail(t[k + 1].line, "bad length '" + t[k + 1].text + "'");
                ++k;
            }
            if (!play_notes(p, keys, length, token.line)) return 0;
            i = k;
        } else if (!run_word(p, token)) {
            return 0;
        }
    }
    return 1;
}

// Replaces "$name" by the phrase's tokens, phrases inside phrases included.
int expand(Reader& r, const std::vector<Token>& in, std::vector<Token>* out, int depth) {
    for (const Token& token : in) {
        if (token.text.empty() || token.text[0] != '$') {
            out->push_back(token);
            continue;
        }
        const auto it = r.phrases.find(token.text.substr(1));
        if (it == r.phrases.end()) return r.fail(token.line, "no phrase " + token.text);
        if (depth > 16) return r.fail(token.line, "phrases nest too deep");
        if (!expand(r, it->second, out, depth + 1)) return 0;
    }
    return 1;
}

void split_music(const std::string& line, int number, std::vector<Token>* out) {
    std::string word;
    auto flush = [&]() {
        if (!word.empty()) out->push_back({word, number});
        word.clear();
    };
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r') {
            flush();
        } else if (c == '[' || c == ']' || c == '(' || c == ')' || c == '|') {
            flush();
            out->push_back({std::string(1, c), number});
        } else {
            word += c;
        }
    }
    flush();
}

const char* const track_settings[] = {"channel", "program", "bank", "volume", "pan",
                                      "reverb", "chorus", "velocity", "gate"};

int read_track_setting(Reader& r, TrackSource& t, const std::string& key, const std::string& value, int line) {
    int n = 0;
    if (!parse_int(value, &n)) return r.fail(line, key + " takes a number");
    struct Range {
        const char* key;
        int low, high;
        int* field;
    };
    int channel = 0;
    const Range ranges[] = {{"channel", 1, 16, &channel},  {"program", 1, 128, &t.program},
                            {"bank", 0, 127, &t.bank},      {"volume", 0, 127, &t.track.volume},
                            {"pan", 0, 127, &t.pan},        {"reverb", 0, 127, &t.reverb},
                            {"chorus", 0, 127, &t.chorus},  {"velocity", 1, 127, &t.velocity},
                            {"gate", 1, 100, &t.gate}};
    for (const Range& range : ranges) {
        if (key != range.key) continue;
        if (n < range.low || n > range.high)
            return r.fail(line, key + " is " + std::to_string(range.low) + ".." + std::to_string(range.high));
        *range.field = n;
        if (range.field == &channel) t.track.channel = n - 1;
        return 1;
    }
    return 0;
}

int read_header(Reader& r, const std::vector<std::string>& w, const std::string& rest, int line) {
    Score& s = *r.score;
    int n = 0;
    if (w[0] == "title") {
        s.title = rest;
    } else if (w[0] == "division" && w.size() == 2 && parse_int(w[1], &n) && n >= 24 && n <= 960) {
        s.division = n;
    } else if (w[0] == "meter" && w.size() == 2) {
        const size_t slash = w[1].find('/');
        int unit = 0;
        if (slash == std::string::npos || !parse_int(w[1].substr(0, slash), &n) ||
            !parse_int(w[1].substr(slash + 1), &unit) || n < 1 || n > 16 || (unit != 2 && unit != 4 && unit != 8))
            return r.fail(line, "meter is N/2, N/4 or N/8");
        s.meter_beats = n;
        s.meter_unit = unit;
    } else if (w[0] == "tempo" && w.size() == 2) {
        s.tempo_bpm = std::atof(w[1].c_str());
        if (s.tempo_bpm < 10.0 || s.tempo_bpm > 400.0) return r.fail(line, "tempo between 10 and 400");
    } else if (w[0] == "reset" && w.size() == 2 && (w[1] == "gm" || w[1] == "gs" || w[1] == "none")) {
        s.reset = w[1] == "gm" ? 1 : w[1] == "gs" ? 2 : 0;
    } else {
        return r.fail(line, "unknown header line '" + w[0] + "'");
    }
    return 1;
}

// Plays one track's music into events, after its set-up at tick 0.
int play_track(Reader& r, TrackSource& t) {
    ScoreTrack& track = t.track;
    if (track.channel < 0) return r.fail(t.line, "track " + track.name + " has no channel");
    Player p;
    p.reader = &r;
    p.source = &t;
    p.length = static_cast<uint32_t>(r.score->division);
    p.velocity = t.velocity;
    p.gate = t.gate;
    std::vector<uint8_t> name = {0xFF, 0x03, static_cast<uint8_t>(track.name.size())};
    name.insert(name.end(), track.name.begin(), track.name.end());
    add(p, 0, 1, name);
    add_control(p, 0, t.bank);
    add(p, 0, 1, {static_cast<uint8_t>(0xC0 | track.channel), static_cast<uint8_t>(t.program - 1)});
    add_control(p, 7, track.volume);
    add_control(p, 10, t.pan);
    add_control(p, 91, t.reverb);
    add_control(p, 93, t.chorus);
    std::vector<Token> music;
    if (!expand(r, t.music, &music, 0) || !run(p, music, 0, music.size())) return 0;
    track.end = p.tick;
    return 1;
}

}  // namespace

int score_parse(const std::string& text, Score* score, std::string* error) {
    *score = Score();
    Reader r;
    r.score = score;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    std::vector<Token>* phrase = nullptr;
    int phrase_line = 0;
    while (std::getline(lines, line)) {
        ++number;
        // A comment starts at a "#" that begins a word ("c#5" is a note).
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
                line.erase(i);
                break;
            }
        }
        std::istringstream split(line);
        std::vector<std::string> w;
        for (std::string word; split >> word;) w.push_back(word);
        if (w.empty()) continue;
        const size_t after_key = line.find(w[0]) + w[0].size();
        const size_t rest_at = line.find_first_not_of(" \t", after_key);
        const std::string rest = rest_at == std::string::npos ? "" : line.substr(rest_at, line.find_last_not_of(" \t\r") + 1 - rest_at);
        int ok = 1;
        if (phrase) {
            if (w[0] == "end" && w.size() == 1) phrase = nullptr;
            else split_music(line, number, phrase);
        } else if (w[0] == "define" && w.size() == 2) {
            if (r.phrases.count(w[1])) ok = r.fail(number, "phrase " + w[1] + " defined twice");
            phrase = &r.phrases[w[1]];
            phrase_line = number;
        } else if (w[0] == "track") {
            r.tracks.emplace_back();
            r.tracks.back().track.name = rest;
            r.tracks.back().line = number;
        } else if (r.tracks.empty()) {
            ok = read_header(r, w, rest, number);
        } else {
            int setting = 0;
            for (const char* key : track_settings) setting |= w[0] == key;
            if (setting && w.size() != 2) ok = r.fail(number, w[0] + " takes one number");
            else if (setting) ok = read_track_setting(r, r.tracks.back(), w[0], w[1], number);
            else split_music(line, number, &r.tracks.back().music);
        }
        if (!ok) {
            *error = r.error;
            return 0;
        }
    }
    if (phrase) {
        *error = "line " + std::to_string(phrase_line) + ": define without end";
        return 0;
    }
    if (r.tracks.empty()) {
        *error = "no track";
        return 0;
    }

    // The conductor: the reset first of all (so it never wipes the tracks'
    // set-up at tick 0), then the tempo and the meter.
    score->tracks.emplace_back();
    ScoreTrack& conductor = score->tracks[0];
    conductor.name = score->title;
    if (score->reset == 1) conductor.events.push_back({0, 1, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}});
    if (score->reset == 2)
        conductor.events.push_back({0, 1, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}});
    const uint32_t us = static_cast<uint32_t>(std::lround(60000000.0 / score->tempo_bpm));
    conductor.events.push_back({0, 1, {0xFF, 0x51, 0x03, static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us)}});
    int log2_unit = 0;
    while ((1 << log2_unit) < score->meter_unit) ++log2_unit;
    conductor.events.push_back({0, 1, {0xFF, 0x58, 0x04, static_cast<uint8_t>(score->meter_beats), static_cast<uint8_t>(log2_unit), 24, 8}});
    if (!score->title.empty()) {
        std::vector<uint8_t> name = {0xFF, 0x03, static_cast<uint8_t>(score->title.size())};
        name.insert(name.end(), score->title.begin(), score->title.end());
        conductor.events.push_back({0, 1, name});
    }

    for (TrackSource& t : r.tracks) {
        if (!play_track(r, t)) {
            *error = r.error;
            return 0;
        }
        score->loop = std::max(score->loop, t.track.end);
    }
    if (score->loop == 0 || score->loop % score_bar_ticks(*score)) {
        *error = "the song must end on a bar line (it ends " + std::to_string(score->loop % score_bar_ticks(*score)) +
                 " ticks into a bar)";
        return 0;
    }
    for (TrackSource& t : r.tracks) score->tracks.push_back(t.track);
    // The loop point: the first track's volume again, which changes nothing
    // but makes the last bar last its full length before the song restarts.
    const ScoreTrack& first = score->tracks[1];
    const uint8_t loop_status = static_cast<uint8_t>(0xB0 | first.channel);
    const uint8_t loop_volume = static_cast<uint8_t>(first.volume);
    score->tracks[0].events.push_back({score->loop, 1, {loop_status, 7, loop_volume}});
    score->tracks[0].end = score->loop;
    return 1;
}
