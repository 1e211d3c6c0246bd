// Where sent MIDI notes land in the rendered stream. One thread plays the
// sound card: it renders a buffer of the SDL backend's stream at every
// buffer period, on absolute deadlines. Another sends a note-on (claves on
// the drum channel) about every 100 ms at uneven moments and notes the
// time it sent it. Afterwards the onset of each note is found in the
// samples; once the constant latency (the median) is taken away, what is
// left is the timing error a listener hears. Goal: at most 2 ms at p99.
//   bench_audio_midi_timing [notes]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/midi_out.h"
#include "platform/sdl/sdl_audio.h"

namespace {

constexpr double note_spacing = 0.100;  // seconds between notes
constexpr double lead_in = 0.300;       // seconds rendered before the first note
constexpr uint32_t claves = 0x6E4B99;   // note on, channel 10, key 75, velocity 110

void sleep_until(double t) {
    using namespace std::chrono;
    const double wait = t - sdl_audio_clock();
    if (wait > 0) std::this_thread::sleep_for(duration<double>(wait));
}

}  // namespace

int main(int argc, char** argv) {
    const int notes = argc > 1 ? std::max(10, std::atoi(argv[1])) : 150;
    // The synthesizer needs the device once to open; then the device is put
    // away and this program renders the stream itself, on its own clock.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    MidiOutDevice* device = nullptr;
    if (!midi_out_open(&device)) {
        std::fprintf(stderr, "no MIDI output (SoundFont or audio device missing)\n");
        return 1;
    }
    sdl_audio_close();
    sdl_audio_restart_clock();

    const double period = double(sdl_audio_buffer_frames) / sdl_audio_rate;
    const double duration = lead_in + notes * note_spacing + 0.3;
    const int buffers = int(duration / period) + 1;
    std::vector<float> stream(size_t(buffers) * sdl_audio_buffer_frames * 2);
    const double t0 = sdl_audio_clock() + 0.05;

    std::thread card([&] {
        for (int k = 0; k < buffers; ++k) {
            sleep_until(t0 + k * period);
            sdl_audio_render(&stream[size_t(k) * sdl_audio_buffer_frames * 2],
                             sdl_audio_buffer_frames, sdl_audio_clock());
        }
    });
    std::vector<double> sent(static_cast<size_t>(notes));
    uint32_t x = 2024;
    for (int i = 0; i < notes; ++i) {
        x = x * 1103515245 + 12345;
        const double uneven = double(x >> 16 & 0x3FF) / 1024 * 0.007;  // 0..7 ms
        sleep_until(t0 + lead_in + i * note_spacing + uneven);
        sent[size_t(i)] = sdl_audio_clock();
        midi_out_short(device, claves);
    }
    card.join();
    midi_out_close(device);

    // Onsets: the first sample above a tenth of the loudest one, searched
    // from 10 ms before to 40 ms after the nominal place.
    float loudest = 0;
    for (float v : stream) loudest = std::max(loudest, std::fabs(v));
    const float threshold = loudest / 10;
    const double latency = sdl_audio_latency();
    std::vector<double> error;
    int missed = 0;
    for (int i = 0; i < notes; ++i) {
        const double nominal = (sent[size_t(i)] - t0 + latency) * sdl_audio_rate;
        const long from = std::max(0L, long(nominal - 0.010 * sdl_audio_rate));
        const long to = std::min(long(stream.size() / 2), long(nominal + 0.040 * sdl_audio_rate));
        long onset = -1;
        for (long s = from; s < to && onset < 0; ++s)
            if (std::fabs(stream[size_t(2 * s)]) > threshold) onset = s;
        if (onset < 0) {
            missed += 1;
            continue;
        }
        error.push_back(double(onset) / sdl_audio_rate - (sent[size_t(i)] - t0));
    }
    if (error.size() < size_t(notes) / 2) {
        std::fprintf(stderr, "only %zu of %d notes found\n", error.size(), notes);
        return 1;
    }
    std::vector<double> sorted = error;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    std::vector<double> deviation;
    for (double e : error) deviation.push_back(std::fabs(e - median));
    std::sort(deviation.begin(), deviation.end());
    const double p50 = deviation[deviation.size() / 2];
    const double p99 = deviation[std::min(deviation.size() - 1, deviation.size() * 99 / 100)];
    std::printf("notes %d, found %zu, missed %d\n", notes, error.size(), missed);
    std::printf("latency (median) %.2f ms, model latency %.2f ms\n", median * 1000, latency * 1000);
    std::printf("deviation from the median: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", p50 * 1000,
                p99 * 1000, deviation.back() * 1000);
    std::printf("spread (latest - earliest) %.2f ms\n", (sorted.back() - sorted.front()) * 1000);
    std::printf("p99 goal 2 ms: %s\n", p99 <= 0.002 ? "met" : "MISSED");
    return p99 <= 0.002 ? 0 : 1;
}
