// From play_effect to the first sounding sample of the effect in the
// output stream, at the game's audio buffer size (512 frames at 48 kHz).
// The game's own cue plays the jump effect at random moments while a card
// of our own renders the stream at buffer pace (card.h); the effect's own
// leading silence is taken away, so what is left is the pipeline's delay.
// A device then plays each buffer after the one before it: one buffer more
// before it is heard.
//   bench_measure_effect [trials]
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "audio/cues.h"
#include "bench/measure/card.h"

namespace {

constexpr double spacing = 0.250;  // seconds between starts: each effect has ended
constexpr double lead_in = 0.100;  // seconds rendered before the first start

// Frames of exact silence at the start of a 16-bit PCM WAV's samples.
long leading_silence(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return -1;
    std::vector<unsigned char> b(1 << 20);
    b.resize(std::fread(b.data(), 1, b.size(), f));
    std::fclose(f);
    if (b.size() < 44) return -1;
    const uint32_t format_length = b[16] | b[17] << 8 | b[18] << 16 | uint32_t(b[19]) << 24;
    const int channels = b[22] | b[23] << 8;
    const size_t data = 28 + format_length;
    for (size_t i = data; i + 1 < b.size(); i += 2)
        if (b[i] != 0 || b[i + 1] != 0) return long((i - data) / 2 / size_t(channels));
    return -1;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    const int trials = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (chdir(QUENNARY_GAME_DIR) != 0) return 1;
    const long silence = leading_silence("res/jump_1.wav");
    if (silence < 0) {
        std::fprintf(stderr, "res/jump_1.wav is not there or silent: build the game first\n");
        return 1;
    }
    audio_setup();  // the effects' voices, on the device
    sdl_audio_close();
    sdl_audio_restart_clock();

    Card card(lead_in + trials * spacing + 0.3, sdl_audio_clock() + 0.05);
    card.run();
    std::vector<double> called(static_cast<size_t>(trials));
    std::mt19937 rng(5);
    for (int i = 0; i < trials; ++i) {
        // Anywhere within a buffer period.
        Card::sleep_until(card.start_time + lead_in + i * spacing + Card::period() * double(rng() % 1000) / 1000);
        called[size_t(i)] = sdl_audio_clock();
        play_effect(Jump);
    }
    card.join();

    std::vector<double> stream_ms;
    for (int i = 0; i < trials; ++i) {
        const long from = long((called[size_t(i)] - card.start_time) * sdl_audio_rate) - sdl_audio_buffer_frames;
        const long to = std::min(card.frames(), from + long(spacing * sdl_audio_rate));
        for (long f = std::max(0L, from); f < to; ++f) {
            if (card.samples[size_t(2 * f)] == 0.0f && card.samples[size_t(2 * f + 1)] == 0.0f) continue;
            const double onset = card.frame_time(f - silence);
            stream_ms.push_back((onset - called[size_t(i)]) * 1000);
            break;
        }
    }
    if (stream_ms.size() < size_t(trials) * 9 / 10) {
        std::fprintf(stderr, "only %zu of %d effects found in the stream\n", stream_ms.size(), trials);
        return 1;
    }
    const double buffer_ms = Card::period() * 1000;
    std::printf("effect latency, %zu starts at %d frames a buffer (%.1f ms):\n", stream_ms.size(),
                sdl_audio_buffer_frames, buffer_ms);
    std::printf("  play_effect to the stream: min %.2f ms, p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                percentile(stream_ms, 0), percentile(stream_ms, 0.5), percentile(stream_ms, 0.99),
                percentile(stream_ms, 1.0));
    std::printf("  heard (one device buffer later): p50 %.2f ms, max %.2f ms\n", percentile(stream_ms, 0.5) + buffer_ms,
                percentile(stream_ms, 1.0) + buffer_ms);
    return 0;
}
