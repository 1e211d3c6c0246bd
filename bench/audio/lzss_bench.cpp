// The container decoder's speed: expanding a 1 MB item of song-like bytes
// (repeating patterns with variation, as MIDI tracks are) and of text.
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/data_source.h"
#include "audio/pack_writer.h"

namespace {

struct Packed {
    std::vector<unsigned char> flags, tokens;
    uint32_t size = 0;
};

Packed pack(const std::vector<unsigned char>& data) {
    unsigned char* image = nullptr;
    uint32_t image_size = 0;
    Packed p;
    if (!pack_write(data.data(), uint32_t(data.size()), &image, &image_size)) return p;
    auto le32 = [&](uint32_t at) {
        return uint32_t(image[at]) | uint32_t(image[at + 1]) << 8 | uint32_t(image[at + 2]) << 16 |
               uint32_t(image[at + 3]) << 24;
    };
    const uint32_t flags = le32(24), tokens = le32(28);
    p.flags.assign(image + 36, image + 36 + flags);
    p.tokens.assign(image + 36 + flags, image + 36 + flags + tokens);
    p.size = le32(32);
    delete[] image;
    return p;
}

std::vector<unsigned char> song_like(size_t n) {
    std::vector<unsigned char> d;
    uint32_t x = 7;
    while (d.size() < n) {
        x = x * 1103515245 + 12345;
        const unsigned char key = uint8_t(0x30 + (x >> 16) % 24);
        const unsigned char bar[] = {0x00, 0x90, key, 0x64, 0x83,
                                     0x60, 0x80, key, 0x00, uint8_t(x >> 24 & 0x7F)};
        d.insert(d.end(), bar, bar + sizeof bar);
    }
    d.resize(n);
    return d;
}

std::vector<unsigned char> text_like(size_t n) {
    const char* words[] = {"corpse ", "coffin ", "stage ", "frozen ",
                           "burned ", "player ", "star "};
    std::vector<unsigned char> d;
    uint32_t x = 11;
    while (d.size() < n) {
        x = x * 1103515245 + 12345;
        for (const char* c = words[(x >> 16) % 7]; *c; ++c) d.push_back(uint8_t(*c));
    }
    d.resize(n);
    return d;
}

void decode(benchmark::State& state, const std::vector<unsigned char>& data) {
    const Packed p = pack(data);
    std::vector<unsigned char> out(p.size);
    for (auto _ : state) {
        const int ok = pack_decode(p.flags.data(), uint32_t(p.flags.size()), p.tokens.data(),
                                   uint32_t(p.tokens.size()), out.data(), p.size);
        benchmark::DoNotOptimize(ok);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * p.size);
    state.counters["ratio"] = double(p.flags.size() + p.tokens.size()) / p.size;
}

void BM_DecodeSongLike(benchmark::State& state) { decode(state, song_like(1 << 20)); }
void BM_DecodeTextLike(benchmark::State& state) { decode(state, text_like(1 << 20)); }
BENCHMARK(BM_DecodeSongLike);
BENCHMARK(BM_DecodeTextLike);

}  // namespace

BENCHMARK_MAIN();
