// The shared SDL audio device. It is opened on first use by either output
// and renders, every buffer, the synthesizer and then the effect voices.
//
// MIDI messages carry the steady-clock time they were sent at. A smoothed
// model of the stream clock maps those times onto sample frames, one
// buffer plus a margin later, so that the music keeps the sequencer's
// millisecond timing instead of landing on buffer boundaries.
#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <mutex>

namespace {

// Extra latency that covers a callback running early, in seconds.
constexpr double latency_margin = 0.004;
// How fast the model follows the observed callback times: a fraction of
// each buffer's error.
constexpr double clock_gain = 1.0 / 16.0;
// An error beyond this (seconds) means the stream stalled: start afresh.
constexpr double clock_resync = 0.030;

std::mutex device_lock;  // opening and closing
SDL_AudioDeviceID device = 0;
int device_tried = 0;

// Stream clock model; touched by the render only.
double stream_origin = 0.0;  // clock time of frame 0, as the model has it
unsigned long long frames_rendered = 0;
int clock_synced = 0;

void device_callback(void*, Uint8* stream, int bytes) {
    sdl_audio_render(reinterpret_cast<float*>(stream), bytes / int(2 * sizeof(float)),
                     sdl_audio_clock());
}

}  // namespace

double sdl_audio_clock() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double sdl_audio_latency() {
    return double(sdl_audio_buffer_frames) / sdl_audio_rate + latency_margin;
}

void sdl_audio_restart_clock() {
    clock_synced = 0;
    frames_rendered = 0;
}

void sdl_audio_render(float* out, int frames, double now) {
    const double observed = now - double(frames_rendered) / sdl_audio_rate;
    if (!clock_synced || std::fabs(observed - stream_origin) > clock_resync) {
        stream_origin = observed;
        clock_synced = 1;
    } else {
        stream_origin += (observed - stream_origin) * clock_gain;
    }
    const double first_frame_time =
        stream_origin + double(frames_rendered) / sdl_audio_rate - sdl_audio_latency();
    frames_rendered += unsigned(frames);

    sdl_midi_render(out, frames, first_frame_time);
    sdl_sound_mix(out, frames);
    for (int i = 0; i < 2 * frames; ++i) {
        if (out[i] > 1.0f) out[i] = 1.0f;
        if (out[i] < -1.0f) out[i] = -1.0f;
    }
}

int sdl_audio_open() {
    std::lock_guard<std::mutex> hold(device_lock);
    if (device) return 1;
    if (device_tried) return 0;
    device_tried = 1;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    SDL_AudioSpec want = {};
    SDL_AudioSpec have = {};
    want.freq = sdl_audio_rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = sdl_audio_buffer_frames;
    want.callback = device_callback;
    // No changes allowed: SDL converts to whatever the hardware takes, so
    // the render always sees this very format.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    sdl_audio_restart_clock();
    SDL_PauseAudioDevice(device, 0);
    return 1;
}

void sdl_audio_close() {
    std::lock_guard<std::mutex> hold(device_lock);
    if (device) {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    device = 0;
    device_tried = 0;
}
