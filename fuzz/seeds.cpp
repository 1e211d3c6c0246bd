// fuzz_seeds OUT: writes the seed corpus of every harness into OUT/<name>/,
// small files of our own making, each aimed at one way a reader can go
// wrong (cut short, a length past the end, a number without an end, a
// count above what is there, sizes that wrap 32 bits), plus well-formed
// files for the fuzzer to start its changes from.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/pack_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string out_root;

void put(Bytes& b, std::initializer_list<int> values) {
    for (int v : values) b.push_back(uint8_t(v));
}
void put_text(Bytes& b, const char* s) {
    while (*s) b.push_back(uint8_t(*s++));
}
void put_be32(Bytes& b, uint32_t v) { put(b, {int(v >> 24), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)}); }
void put_be16(Bytes& b, uint32_t v) { put(b, {int(v >> 8 & 0xFF), int(v & 0xFF)}); }
void put_le32(Bytes& b, uint32_t v) { put(b, {int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24)}); }
void put_le16(Bytes& b, uint32_t v) { put(b, {int(v & 0xFF), int(v >> 8 & 0xFF)}); }
// A variable-length number, 7 bits a byte, most significant first.
void put_number(Bytes& b, uint32_t v) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = uint8_t(v & 0x7F);
        v >>= 7;
    } while (v);
    while (n > 1) b.push_back(uint8_t(groups[--n] | 0x80));
    b.push_back(groups[0]);
}
Bytes cat(const Bytes& a, const Bytes& b) {
    Bytes r = a;
    r.insert(r.end(), b.begin(), b.end());
    return r;
}

void write(const char* harness, const char* name, const Bytes& bytes) {
    const std::string folder = out_root + "/" + harness;
    mkdir(out_root.c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    const std::string path = folder + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return;
    }
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// ---------------------------------------------------------------- MIDI

Bytes midi_header(uint32_t tracks, uint32_t division, uint32_t length = 6, uint32_t format = 1) {
    Bytes b;
    put_text(b, "MThd");
    put_be32(b, length);
    put_be16(b, format);
    put_be16(b, tracks);
    put_be16(b, division);
    return b;
}
Bytes track(const Bytes& events, int64_t length = -1) {
    Bytes b;
    put_text(b, "MTrk");
    put_be32(b, length < 0 ? uint32_t(events.size()) : uint32_t(length));
    return cat(b, events);
}
const Bytes end_of_track = {0x00, 0xFF, 0x2F, 0x00};

Bytes tempo_track() {
    Bytes e;
    put(e, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000 us a quarter
    put(e, {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
    put(e, {0x83, 0x60, 0xFF, 0x51, 0x03, 0x06, 0x1A, 0x80});  // 400000 at tick 480
    return cat(e, end_of_track);
}
Bytes note_track(int channel, int key) {
    Bytes e;
    put(e, {0x00, 0xC0 | channel, 0x05});
    put(e, {0x00, 0xB0 | channel, 0x07, 0x64});
    put(e, {0x00, 0x90 | channel, key, 0x64});
    put(e, {0x83, 0x60, 0x80 | channel, key, 0x00});
    put(e, {0x00, key + 4, 0x50});  // running status
    put(e, {0x81, 0x70, key + 4, 0x00});
    put(e, {0x00, 0xE0 | channel, 0x00, 0x40});
    return cat(e, end_of_track);
}
Bytes sysex_track() {
    Bytes e;
    put(e, {0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7});  // GM on
    put(e, {0x60, 0xF0, 0x03, 0x43, 0x10, 0xF7});
    return cat(e, end_of_track);
}

Bytes midi_song() {
    Bytes b = midi_header(4, 480);
    b = cat(b, track(tempo_track()));
    b = cat(b, track(sysex_track()));
    b = cat(b, track(note_track(0, 0x3C)));
    b = cat(b, track(note_track(9, 0x24)));
    return b;
}

void midi_seeds() {
    const char* h = "midi";
    const Bytes song = midi_song();
    write(h, "song_four_tracks", song);
    {
        Bytes e = note_track(0, 0x40);
        write(h, "format0_one_track", cat(midi_header(1, 96, 6, 0), track(e)));
    }
    write(h, "truncated_track", Bytes(song.begin(), song.begin() + long(song.size()) - 9));
    write(h, "truncated_in_header", Bytes(song.begin(), song.begin() + 12));
    {
        Bytes e = note_track(1, 0x30);
        write(h, "track_length_past_end", cat(midi_header(1, 480), track(e, 0x00100000)));
        write(h, "track_length_all_ones", cat(midi_header(1, 480), track(e, 0xFFFFFFFF)));
    }
    {
        Bytes e;
        put(e, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x64});  // a five-byte delta
        put(e, {0x00, 0x80, 0x3C, 0x00});
        write(h, "five_byte_number", cat(midi_header(1, 480), track(cat(e, end_of_track))));
    }
    {
        Bytes e = {0x00, 0x90, 0x3C, 0x64};
        for (int i = 0; i < 40; ++i) e.push_back(0xFF);  // a delta that never ends
        write(h, "endless_number", cat(midi_header(1, 480), track(e)));
        Bytes s = {0x00, 0xF0};
        for (int i = 0; i < 40; ++i) s.push_back(0x81);  // a sysex length that never ends
        write(h, "endless_sysex_length", cat(midi_header(1, 480), track(s)));
    }
    {
        Bytes e = {0x00, 0x3C, 0x64, 0x10, 0x3E, 0x64};  // no status before the first event
        write(h, "running_status_at_track_start", cat(midi_header(1, 480), track(cat(e, end_of_track))));
    }
    {
        Bytes e = {0x00, 0xF0, 0x03, 0x01, 0x02, 0xF7, 0x00, 0x3C, 0x64, 0x00, 0x02, 0x11, 0x22};
        write(h, "running_status_after_sysex", cat(midi_header(1, 480), track(cat(e, end_of_track))));
    }
    {
        Bytes e = {0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x02, 'h', 'i', 0x00, 0x3C, 0x00};
        write(h, "running_status_after_meta", cat(midi_header(1, 480), track(cat(e, end_of_track))));
    }
    write(h, "track_count_above_chunks", cat(midi_header(9, 480), track(note_track(0, 0x3C))));
    write(h, "track_count_zero", cat(midi_header(0, 480), track(note_track(0, 0x3C))));
    write(h, "division_zero", cat(midi_header(2, 0), cat(track(tempo_track()), track(note_track(0, 0x3C)))));
    {
        Bytes e = {0x00, 0xF0};
        put_number(e, 0x0FFFFFFF);  // a sysex far longer than the file
        put(e, {0x7E, 0x7F, 0xF7});
        write(h, "huge_sysex_length", cat(midi_header(1, 480), track(cat(e, end_of_track))));
        Bytes m = {0x00, 0xFF, 0x01};
        put_number(m, 0xFFFFFFF);
        put_text(m, "text");
        write(h, "huge_meta_length", cat(midi_header(1, 480), track(m)));
    }
    {
        Bytes e = {0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00, 0x00, 0x90, 0x3C, 0x64};  // tempo 0
        put(e, {0x00, 0xFF, 0x51, 0x06, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06});  // six tempo bytes
        put(e, {0x00, 0xFF, 0x51, 0x01, 0x01});  // a tempo of 1 us a quarter
        put(e, {0x40, 0x80, 0x3C, 0x00});
        write(h, "odd_tempos", cat(midi_header(1, 480), track(cat(e, end_of_track))));
    }
    {
        Bytes e = {0x00, 0xFE, 0x00, 0x90, 0x3C, 0x64, 0x00, 0xFE, 0x10, 0x80, 0x3C, 0x00};
        write(h, "active_sensing_inside", cat(midi_header(1, 480), track(cat(e, end_of_track))));
    }
    {
        Bytes b = midi_header(1, 480, 0xFFFFFFF8);  // first chunk at 2^32
        write(h, "header_length_wraps", cat(b, track(note_track(0, 0x3C))));
        write(h, "header_only", midi_header(1, 480));
    }
    {
        Bytes e;
        for (int i = 0; i < 300; ++i) put(e, {0x00, 0xF0, 0x01, 0xF7});
        write(h, "many_sysex", cat(midi_header(1, 480), track(cat(e, end_of_track))));
    }
    {
        Bytes e = {0x00, 0xFF, 0x2F, 0x00};
        write(h, "end_of_track_only", cat(midi_header(2, 480), cat(track(e), track(e))));
    }
}

// ---------------------------------------------------------------- ".dpa"

Bytes packed(const Bytes& data) {
    unsigned char* image = nullptr;
    uint32_t size = 0;
    if (!pack_write(data.data(), uint32_t(data.size()), &image, &size)) return {};
    Bytes b(image, image + size);
    delete[] image;
    return b;
}
// A container by hand: header, a 20-byte info record, extra, flags, tokens.
Bytes container(uint32_t info_length, uint32_t extra, uint32_t flags, uint32_t tokens, uint32_t size,
                const Bytes& body, const char* magic = "DXMP") {
    Bytes b;
    put_text(b, magic);
    while (b.size() < 12) b.push_back(0);
    put_le32(b, info_length);
    put_le32(b, 0);
    put_le32(b, extra);
    put_le32(b, flags);
    put_le32(b, tokens);
    put_le32(b, size);
    return cat(b, body);
}
Bytes road(int r, const Bytes& b) { return cat(Bytes{uint8_t(r)}, b); }

void pack_seeds() {
    const char* h = "pack";
    const Bytes song = midi_song();
    Bytes text;
    for (int i = 0; i < 40; ++i) put_text(text, "corpse coffin stage frozen burned ");
    for (int r = 0; r < 3; ++r) {
        const std::string n = std::to_string(r);
        write(h, ("song_packed_" + n).c_str(), road(r, packed(song)));
        write(h, ("text_packed_" + n).c_str(), road(r, packed(text)));
    }
    // The six bytes 41 42 43 41 42 43: three literals and a copy 3 back.
    write(h, "literals_and_copy", road(0, container(20, 0, 1, 5, 6, {0x07, 0x41, 0x42, 0x43, 0x00, 0x00})));
    write(h, "overlapping_copy", road(0, container(20, 0, 1, 5, 12, {0x07, 0x41, 0x42, 0x43, 0x06, 0x00})));
    write(h, "copy_before_start", road(0, container(20, 0, 1, 2, 3, {0x00, 0x00, 0x00})));
    write(h, "copy_far_before_start", road(0, container(20, 0, 1, 3, 19, {0x01, 0x41, 0xFF, 0xFF})));
    write(h, "output_past_size", road(0, container(20, 0, 1, 5, 4, {0x07, 0x41, 0x42, 0x43, 0x0F, 0x00})));
    write(h, "output_short_of_size", road(0, container(20, 0, 1, 3, 60, {0x07, 0x41, 0x42, 0x43})));
    write(h, "flags_short", road(0, container(20, 0, 0, 9, 9, {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49})));
    write(h, "size_wraps_32_bits", road(1, container(20, 0, 1, 3, 0xFFFFFFFF, {0x07, 0x41, 0x42, 0x43})));
    write(h, "info_length_wraps", road(1, container(0xFFFFFFF4, 0, 1, 3, 3, {0x07, 0x41, 0x42, 0x43})));
    write(h, "info_too_short", road(0, container(12, 0, 1, 3, 3, {0x07, 0x41, 0x42, 0x43})));
    write(h, "extra_length_wraps", road(2, container(20, 0xFFFFFFF0, 1, 3, 3, {0x07, 0x41, 0x42, 0x43})));
    write(h, "flag_token_lengths_wrap", road(0, container(20, 0, 0x80000000, 0x80000004, 3, {0x07, 0x41})));
    write(h, "magic_fifth_byte", road(1, container(20, 0, 1, 3, 3, {0x07, 0x41, 0x42, 0x43}, "DXMPX")));
    write(h, "header_cut_short", road(0, Bytes{'D', 'X', 'M', 'P', 0, 0, 0, 0, 0, 0}));
    write(h, "plain_file", road(1, song));
    write(h, "round_trip_text", road(3, text));
    write(h, "round_trip_song", road(3, song));
    write(h, "round_trip_empty", road(3, {}));
}

// ---------------------------------------------------------------- WAV

Bytes wav(uint32_t format_length, uint32_t samples_claimed, uint32_t samples_present, const char* riff = "RIFF",
          const char* wave = "WAVE") {
    Bytes b;
    put_text(b, riff);
    put_le32(b, 36 + samples_present);
    put_text(b, wave);
    put_text(b, "fmt ");
    put_le32(b, format_length);
    put_le16(b, 1);      // PCM
    put_le16(b, 1);      // mono
    put_le32(b, 22050);  // samples a second
    put_le32(b, 44100);  // bytes a second
    put_le16(b, 2);      // block align
    put_le16(b, 16);     // bits a sample
    for (uint32_t i = 16; i < format_length && i < 64; ++i) b.push_back(0);
    put_text(b, "data");
    put_le32(b, samples_claimed);
    for (uint32_t i = 0; i < samples_present; ++i) b.push_back(uint8_t((i * 37) ^ (i >> 3)));
    return b;
}

void wav_seeds() {
    const char* h = "wav";
    write(h, "pcm16_mono", wav(16, 200, 200));
    write(h, "format_chunk_18", wav(18, 100, 100));
    write(h, "riff_only", wav(16, 64, 64, "RIFF", "WAVX"));
    write(h, "wave_only", wav(16, 64, 64, "XXXX", "WAVE"));
    write(h, "neither", wav(16, 64, 64, "XXXX", "XXXX"));
    write(h, "samples_past_end", wav(16, 100000, 40));
    write(h, "sample_length_all_ones", wav(16, 0xFFFFFFFF, 40));
    write(h, "format_length_wraps", wav(0xFFFFFFF0, 40, 40));
    write(h, "format_length_past_end", wav(0x7FFF, 40, 40));
    write(h, "empty_samples", wav(16, 0, 0));
    Bytes w = wav(16, 20, 20);
    write(h, "cut_at_27_bytes", Bytes(w.begin(), w.begin() + 27));
    write(h, "cut_at_11_bytes", Bytes(w.begin(), w.begin() + 11));
    // A resource may itself be a container: the effect is the item inside.
    write(h, "packed_resource", packed(wav(16, 200, 200)));
}

// ---------------------------------------------------------------- stages

Bytes stage_file(int start_cells, int goal_cells, int hazard) {
    Bytes b;
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 15; ++r) {
            int type = 0;
            if (r == 14) type = 1;
            if (r == 13 && c == 2 && start_cells > 0) type = 6;
            if (r == 13 && c == 4 && start_cells > 1) type = 6;
            if (r == 13 && c == 17 && goal_cells > 0) type = 7;
            if (r == 14 && c >= 8 && c <= 10) type = hazard;
            put_le32(b, uint32_t(type));
        }
    return b;
}
Bytes stage_input(int frames, unsigned keys, const Bytes& file) {
    Bytes b = {uint8_t(frames)};
    for (int f = 0; f < frames; ++f) put_le16(b, keys);
    return cat(b, file);
}

void stage_seeds() {
    const char* h = "stage_play";
    const Bytes plain = stage_file(1, 1, 3);
    write(h, "plain_stage", stage_input(0, 0, plain));
    write(h, "walk_and_jump", stage_input(12, 0x2 | 0x4, plain));
    write(h, "die_in_the_start_area_and_burn", stage_input(12, 0x10 | 0x40 | 0x100, plain));
    write(h, "two_start_cells", stage_input(4, 0x1, stage_file(2, 1, 2)));
    write(h, "no_start_no_goal", stage_input(8, 0x2, stage_file(0, 0, 5)));
    write(h, "short_file", stage_input(2, 0, Bytes(plain.begin(), plain.begin() + 1199)));
    write(h, "empty_file", stage_input(2, 0, {}));
    Bytes longer = plain;
    for (int i = 0; i < 100; ++i) longer.push_back(0x07);
    write(h, "longer_file", stage_input(1, 0, longer));
    Bytes odd = plain;
    const uint32_t values[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 8, 0x0A, 0x1A, 0x0D};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 4; ++k) odd[size_t(40 * i + 8 + k)] = uint8_t(values[i] >> (8 * k));
    write(h, "odd_tile_types", stage_input(6, 0x3FF, odd));

    // The reader alone takes the stage file as it is.
    const char* r = "stage";
    write(r, "plain_stage", plain);
    write(r, "two_start_cells", stage_file(2, 1, 2));
    write(r, "no_start_no_goal", stage_file(0, 0, 5));
    write(r, "short_file", Bytes(plain.begin(), plain.begin() + 1199));
    write(r, "three_cells", Bytes(plain.begin(), plain.begin() + 12));
    write(r, "empty_file", {});
    write(r, "longer_file", longer);
    write(r, "odd_tile_types", odd);
}

// ---------------------------------------------------------------- ranking

Bytes stored_score(int32_t score) {
    Bytes b;
    const uint32_t v = uint32_t(score);
    for (int i = 0; i < 4; ++i) {
        const uint8_t byte = uint8_t(v >> (8 * i));
        if (byte == 0x0A) b.push_back(0x0D);
        b.push_back(byte);
    }
    return b;
}
Bytes ranking_input(int8_t score_byte, const std::vector<Bytes>& files) {
    Bytes b = {uint8_t(score_byte)};
    for (const Bytes& f : files) {
        b.push_back(uint8_t(f.size()));
        b = cat(b, f);
    }
    return b;
}

void ranking_seeds() {
    const char* h = "ranking_save";
    std::vector<Bytes> sorted;
    const int32_t scores[] = {5000, 4000, 3000, 3000, 2000, 1000, 10, 0, 0, -100};
    for (int32_t s : scores) sorted.push_back(stored_score(s));
    write(h, "sorted_new_in_the_middle", ranking_input(30, sorted));  // 3000: below the two stored
    write(h, "equal_to_the_tenth", ranking_input(-1, sorted));
    std::vector<Bytes> odd = sorted;
    odd[0] = stored_score(6700);  // bytes 2C 1A 00 00
    odd[3] = {0x0D, 0x0D, 0x0A, 0x00};
    odd[5] = {0x01, 0x02};  // short
    odd[7] = {0x0A, 0x0A, 0x0A, 0x0A};
    write(h, "odd_bytes", ranking_input(100, odd));
    write(h, "three_files_only", ranking_input(5, {sorted[0], sorted[1], sorted[2]}));
    write(h, "no_files", Bytes{0x7F});

    // One file's bytes for the reader alone.
    const char* r = "ranking";
    write(r, "score_10", stored_score(10));
    write(r, "score_6700", stored_score(6700));
    write(r, "score_minus_100", stored_score(-100));
    write(r, "all_line_feeds", stored_score(0x0A0A0A0A));
    write(r, "carriage_returns", {0x0D, 0x0D, 0x0A, 0x0D, 0x0D, 0x0A});
    write(r, "pair_at_the_end", {0x01, 0x02, 0x03, 0x0D, 0x0A});
    write(r, "three_bytes", {0x01, 0x02, 0x03});
    write(r, "empty", {});
    write(r, "longer", {0x01, 0x02, 0x03, 0x04, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x55});
}

// ---------------------------------------------------------------- replay scripts

void script_seeds() {
    const char* h = "replay_script";
    auto text = [](const char* s) {
        Bytes b;
        put_text(b, s);
        return b;
    };
    write(h, "walk", text("# walk right and jump\n30 Right\n1 -\n10 Right+Space\n5 -\n"));
    write(h, "crlf_and_blanks", text("  12\tLeft  \r\n\r\n3 C # die\r\n2 G+H+Up+Down\r\n"));
    write(h, "count_overflow", text("99999999999 Right\n"));
    write(h, "total_too_large", text("1000000 -\n1000000 -\n1000000 -\n1000000 -\n1000000 -\n"
                                     "1000000 -\n1000000 -\n1000000 -\n1000000 -\n1000000 -\n1 -\n"));
    write(h, "zero_count", text("0 -\n"));
    write(h, "unknown_key", text("5 Right+Jump\n"));
    write(h, "empty_key_name", text("5 Left++Right\n"));
    write(h, "trailing_text", text("5 Left Right\n"));
    write(h, "no_newline_at_end", text("7 Enter"));
    Bytes long_line(300, 'x');
    write(h, "long_line", cat(text("1 -\n"), long_line));
    write(h, "arguments_stage", cat(text("--stage"), cat(Bytes{0}, cat(text("3"), cat(Bytes{0}, text("--frames"))))));
    Bytes args = text("--from-title");
    args.push_back(0);
    args = cat(args, text("--screenshots"));
    args.push_back(0);
    args = cat(args, text("shots"));
    args.push_back(0);
    args = cat(args, text("--every"));
    args.push_back(0);
    args = cat(args, text("1000001"));
    write(h, "arguments_title", args);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUT\n");
        return 2;
    }
    out_root = argv[1];
    midi_seeds();
    pack_seeds();
    wav_seeds();
    stage_seeds();
    ranking_seeds();
    script_seeds();
    return 0;
}
