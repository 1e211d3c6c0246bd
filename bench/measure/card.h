#pragma once
// A sound card of our own for the audio measurements: a thread renders the
// SDL backend's stream (synthesizer and effect voices through the mixer),
// one device buffer at every buffer period on absolute deadlines, as the
// device's callback would, and keeps every sample. The real device is
// opened once (the synthesizer and the voices need it) and put away, so
// nothing else renders meanwhile.
#include <chrono>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_audio.h"

struct Card {
    // Seconds of stream to render from `start` (sdl_audio_clock seconds).
    Card(double seconds, double start)
        : buffers(int(seconds * sdl_audio_rate / sdl_audio_buffer_frames) + 1),
          start_time(start),
          samples(size_t(buffers) * sdl_audio_buffer_frames * 2),
          rendered_at(size_t(buffers)) {}
    void run() {
        thread = std::thread([this] {
            for (int k = 0; k < buffers; ++k) {
                sleep_until(buffer_time(k));
                rendered_at[size_t(k)] = sdl_audio_clock();
                sdl_audio_render(&samples[size_t(k) * sdl_audio_buffer_frames * 2], sdl_audio_buffer_frames,
                                 rendered_at[size_t(k)]);
            }
        });
    }
    void join() { thread.join(); }
    // When buffer k is due to be rendered.
    double buffer_time(int k) const { return start_time + double(k) * period(); }
    // When stream frame f entered the output stream: its buffer was
    // rendered then (a little after its deadline, as a callback runs).
    double frame_time(long f) const {
        return rendered_at[size_t(f / sdl_audio_buffer_frames)] +
               double(f % sdl_audio_buffer_frames) / sdl_audio_rate;
    }
    static double period() { return double(sdl_audio_buffer_frames) / sdl_audio_rate; }
    static void sleep_until(double t) {
        const double wait = t - sdl_audio_clock();
        if (wait > 0) std::this_thread::sleep_for(std::chrono::duration<double>(wait));
    }
    long frames() const { return long(samples.size() / 2); }

    int buffers;
    double start_time;
    std::vector<float> samples;       // interleaved left, right
    std::vector<double> rendered_at;  // sdl_audio_clock seconds, by buffer
    std::thread thread;
};
