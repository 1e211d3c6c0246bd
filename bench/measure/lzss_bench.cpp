// The container decoder (pack_decode) against a plain reference decoder
// that takes the stream one byte at a time into a growing buffer, on the
// songs the game ships (the title song as its container, the others packed
// here) and on 10 MB of mixed data: song-like, text, pictures' rows and
// noise. Both must give the same bytes; the speed is MB/s of output.
//   bench_measure_lzss
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "audio/data_source.h"
#include "audio/pack_writer.h"

namespace {

using Bytes = std::vector<unsigned char>;

struct Packed {
    Bytes flags, tokens;
    uint32_t size = 0;
    Bytes original;
};

uint32_t le32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// The flag and token blocks of a container image (the writer's layout:
// a 20-byte info record, no extra block).
Packed split(const Bytes& image) {
    Packed p;
    const uint32_t info = le32(image, 12);
    const uint32_t extra = le32(image, 16 + 4), flags = le32(image, 16 + 8), tokens = le32(image, 16 + 12);
    p.size = le32(image, 16 + 16);
    const size_t at = 16 + size_t(info) + extra;
    p.flags.assign(image.begin() + long(at), image.begin() + long(at + flags));
    p.tokens.assign(image.begin() + long(at + flags), image.begin() + long(at + flags + tokens));
    return p;
}

Packed pack(const Bytes& data) {
    unsigned char* image = nullptr;
    uint32_t size = 0;
    if (!pack_write(data.data(), uint32_t(data.size()), &image, &size)) return {};
    Packed p = split(Bytes(image, image + size));
    delete[] image;
    p.original = data;
    return p;
}

Bytes read_file(const std::string& path) {
    Bytes b;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        unsigned char chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) b.insert(b.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return b;
}

// The reference: token by token, each output byte appended on its own.
Bytes reference_decode(const Packed& p) {
    Bytes out;
    size_t t = 0;
    for (size_t k = 0; t < p.tokens.size(); ++k) {
        const bool literal = (p.flags[k / 8] >> (k % 8)) & 1;
        if (literal) {
            out.push_back(p.tokens[t]);
            t += 1;
        } else {
            const unsigned code = p.tokens[t] | unsigned(p.tokens[t + 1]) << 8;
            const size_t length = (code & 0x0F) + 3, distance = (code >> 4) + 3;
            for (size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
            t += 2;
        }
    }
    return out;
}

Bytes mixed_data(size_t n) {
    std::mt19937 rng(11);
    Bytes d;
    const char* words[] = {"corpse ", "coffin ", "stage ", "frozen ", "burned ", "player ", "star "};
    while (d.size() < n) {
        switch (rng() % 4) {
            case 0:  // a bar of a song: note on, delta, note off
                for (int i = 0; i < 64; ++i) {
                    const unsigned char key = uint8_t(0x30 + rng() % 24);
                    const unsigned char bar[] = {0x00, 0x90, key, 0x64, 0x83, 0x60, 0x80, key, 0x00};
                    d.insert(d.end(), bar, bar + sizeof bar);
                }
                break;
            case 1:  // text
                for (int i = 0; i < 80; ++i)
                    for (const char* c = words[rng() % 7]; *c; ++c) d.push_back(uint8_t(*c));
                break;
            case 2: {  // rows of a picture: runs of a few colours
                const uint32_t colours[] = {0xFF000000u, 0xFFC8C800u, 0xFF2828C8u, 0x00000000u};
                for (int i = 0; i < 256; ++i) {
                    const uint32_t c = colours[rng() % 4];
                    for (int r = int(1 + rng() % 12); r > 0; --r)
                        for (int b = 0; b < 4; ++b) d.push_back(uint8_t(c >> (8 * b)));
                }
                break;
            }
            default:  // noise, which does not compress
                for (int i = 0; i < 512; ++i) d.push_back(uint8_t(rng()));
                break;
        }
    }
    d.resize(n);
    return d;
}

struct Item {
    std::string name;
    Packed packed;
};

std::vector<Item> items() {
    std::vector<Item> list;
    const std::string res = std::string(QUENNARY_GAME_DIR) + "/res/";
    // The title song as shipped: its container, expanded by the reader.
    const Bytes title = read_file(res + "title.dpa");
    if (title.size() > 36) {
        Packed p = split(title);
        p.original = reference_decode(p);
        list.push_back({"title.dpa", p});
    }
    for (const char* song : {"game.MID", "result.mid"}) {
        const Bytes b = read_file(res + song);
        if (!b.empty()) list.push_back({song, pack(b)});
    }
    list.push_back({"mixed_10MB", pack(mixed_data(10u << 20))});
    return list;
}

const std::vector<Item>& all_items() {
    static const std::vector<Item> list = items();
    return list;
}

void BM_Decoder(benchmark::State& state, const Item* item) {
    const Packed& p = item->packed;
    Bytes out(p.size);
    int ok = 0;
    for (auto _ : state) {
        ok = pack_decode(p.flags.data(), uint32_t(p.flags.size()), p.tokens.data(), uint32_t(p.tokens.size()),
                         out.data(), p.size);
        benchmark::ClobberMemory();
    }
    if (!ok || out != p.original) state.SkipWithError("the decoder's bytes differ from the original");
    state.SetBytesProcessed(int64_t(state.iterations()) * p.size);
    state.counters["packed_ratio"] = double(p.flags.size() + p.tokens.size()) / double(p.size);
}

void BM_Reference(benchmark::State& state, const Item* item) {
    Bytes out;
    for (auto _ : state) {
        out = reference_decode(item->packed);
        benchmark::DoNotOptimize(out.data());
    }
    if (out != item->packed.original) state.SkipWithError("the reference's bytes differ from the original");
    state.SetBytesProcessed(int64_t(state.iterations()) * item->packed.size);
}

}  // namespace

int main(int argc, char** argv) {
    for (const Item& item : all_items()) {
        benchmark::RegisterBenchmark(("decoder/" + item.name).c_str(), BM_Decoder, &item);
        benchmark::RegisterBenchmark(("reference/" + item.name).c_str(), BM_Reference, &item);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
