// Rendering effect recipes into samples, and the WAV image the game reads.
#include <algorithm>
#include <cmath>

#include "tools/sfx/sfx.h"

namespace {

const double pi = 3.14159265358979323846;

double curve_at(const SfxCurve& c, double t) {
    if (c.values.empty()) return 0.0;
    if (t <= c.times.front()) return c.values.front();
    for (size_t i = 1; i < c.times.size(); ++i) {
        if (t < c.times[i]) {
            const double x = (t - c.times[i - 1]) / (c.times[i] - c.times[i - 1]);
            const double a = c.values[i - 1], b = c.values[i];
            if (c.logarithmic) return a * std::pow(b / a, x);
            return a + (b - a) * x;
        }
    }
    return c.values.back();
}

// Envelope level at t seconds after the note starts, held for `held` seconds.
// Decay and release fall on a squared curve, which sounds like a natural fade.
double envelope_at(const SfxVoice& v, double held, double t) {
    auto level_held = [&](double u) {
        if (u < v.attack) return u / v.attack;
        const double x = v.decay > 0.0 ? std::min(1.0, (u - v.attack) / v.decay) : 1.0;
        return v.sustain + (1.0 - v.sustain) * (1.0 - x) * (1.0 - x);
    };
    if (t < held) return level_held(t);
    if (v.release <= 0.0) return 0.0;
    const double x = (t - held) / v.release;
    if (x >= 1.0) return 0.0;
    return level_held(held) * (1.0 - x) * (1.0 - x);
}

// Smooths the jump of a square or saw edge over one sample (band-limited
// edges: the high notes do not fold back into hiss).
double poly_blep(double p, double dt) {
    if (dt <= 0.0) return 0.0;
    if (p < dt) {
        p /= dt;
        return p + p - p * p - 1.0;
    }
    if (p > 1.0 - dt) {
        p = (p - 1.0) / dt;
        return p * p + p + p + 1.0;
    }
    return 0.0;
}

uint32_t next_random(uint32_t* state) {
    uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *state = x;
    return x;
}

double random_sample(uint32_t* state) {
    return (next_random(state) >> 8) / 8388608.0 - 1.0;  // -1..1 from 24 bits
}

// One note of a voice: base Hz (0 takes the voice's freq curve), added into mix
// from sample `first`.
void render_note(const SfxVoice& v, double base_hz, double held, double voice_offset, int rate,
                 uint32_t* noise_state, std::vector<double>* mix) {
    const size_t first = static_cast<size_t>(std::lround((v.start + voice_offset) * rate));
    const size_t count = static_cast<size_t>(std::ceil((held + v.release) * rate));
    double phase = 0.0, mod_phase = 0.0, held_noise = random_sample(noise_state);
    double low = 0.0, high_low = 0.0, band_s1 = 0.0, band_s2 = 0.0;
    for (size_t k = 0; k < count && first + k < mix->size(); ++k) {
        const double t = static_cast<double>(k) / rate;
        const double env = envelope_at(v, held, t);
        double hz = base_hz > 0.0 ? base_hz : curve_at(v.freq, voice_offset + t);
        double semis = curve_at(v.bend, t);
        if (v.vibrato_rate > 0.0) semis += v.vibrato_depth * std::sin(2.0 * pi * v.vibrato_rate * t);
        hz *= std::pow(2.0, semis / 12.0);
        const double dt = std::min(hz / rate, 0.5);

        double offset = 0.0;  // FM, in cycles of the carrier
        if (v.fm_ratio > 0.0) {
            const double x = held > 0.0 ? std::min(1.0, t / held) : 1.0;
            const double index = v.fm_index_start + (v.fm_index_end - v.fm_index_start) * x;
            offset = index * std::sin(2.0 * pi * mod_phase) / (2.0 * pi);
            mod_phase += hz * v.fm_ratio / rate;
            mod_phase -= std::floor(mod_phase);
        }
        double p = phase + offset;
        p -= std::floor(p);
        double s = 0.0;
        switch (v.wave) {
        case SfxSine: s = std::sin(2.0 * pi * p); break;
        case SfxSquare: {
            double q = p + 1.0 - v.duty;
            q -= std::floor(q);
            // Less the mean (2 duty - 1), so a narrow pulse has no DC offset.
            s = (p < v.duty ? 1.0 : -1.0) + poly_blep(p, dt) - poly_blep(q, dt) - (2.0 * v.duty - 1.0);
            break;
        }
        case SfxSaw: s = 2.0 * p - 1.0 - poly_blep(p, dt); break;
        case SfxTriangle: s = 4.0 * std::fabs(p - 0.5) - 1.0; break;
        case SfxNoise:
            // Without a frequency: white noise; with one: a new value at that
            // rate, held in between, so the noise takes a pitch.
            if (v.freq.values.empty() && base_hz <= 0.0) {
                s = random_sample(noise_state);
            } else {
                if (phase + hz / rate >= 1.0) held_noise = random_sample(noise_state);
                s = held_noise;
            }
            break;
        }
        phase += hz / rate;
        phase -= std::floor(phase);

        if (!v.lowpass.values.empty()) {
            const double fc = std::min(curve_at(v.lowpass, t), 0.45 * rate);
            low += (1.0 - std::exp(-2.0 * pi * fc / rate)) * (s - low);
            s = low;
        }
        if (!v.highpass.values.empty()) {
            const double fc = std::min(curve_at(v.highpass, t), 0.45 * rate);
            high_low += (1.0 - std::exp(-2.0 * pi * fc / rate)) * (s - high_low);
            s -= high_low;
        }
        if (!v.bandpass.values.empty()) {
            // State-variable band pass (trapezoidal), scaled to unity gain at
            // its centre; stays stable while the centre sweeps.
            const double fc = std::min(curve_at(v.bandpass, t), 0.45 * rate);
            const double g = std::tan(pi * fc / rate), r = 1.0 / v.band_q;
            const double h = 1.0 / (1.0 + g * (g + r));
            const double band = g * h * (s - band_s2) + h * band_s1;
            const double lowpart = band_s2 + g * band;
            band_s1 = 2.0 * band - band_s1;
            band_s2 = 2.0 * lowpart - band_s2;
            s = band * r;
        }
        (*mix)[first + k] += v.gain * env * s;
    }
}

double voice_end(const SfxVoice& v) {
    if (v.run_notes.empty()) return v.start + v.gate + v.release;
    const double held = std::min(v.gate, v.run_step);
    return v.start + (v.run_notes.size() - 1) * v.run_step + held + v.release;
}

}  // namespace

int sfx_render(const SfxRecipe& r, std::vector<float>* samples, std::string* error) {
    double end = 0.0;
    for (const SfxVoice& v : r.voices) end = std::max(end, voice_end(v));
    end += r.tail;
    const size_t count = static_cast<size_t>(std::ceil(end * r.rate)) + 1;
    if (end <= 0.0 || count > static_cast<size_t>(r.rate) * 10) {
        *error = "an effect lasts more than 0 and at most 10 seconds";
        return 0;
    }
    std::vector<double> mix(count, 0.0);
    for (const SfxVoice& v : r.voices) {
        uint32_t noise = v.seed ? v.seed : 1u;
        if (v.run_notes.empty()) {
            render_note(v, 0.0, v.gate, 0.0, r.rate, &noise, &mix);
            continue;
        }
        const double held = std::min(v.gate, v.run_step);
        for (size_t i = 0; i < v.run_notes.size(); ++i) {
            if (v.run_notes[i] > 0.0) render_note(v, v.run_notes[i], held, i * v.run_step, r.rate, &noise, &mix);
        }
    }
    if (r.echo_delay > 0.0) {
        const size_t d = static_cast<size_t>(std::lround(r.echo_delay * r.rate));
        for (size_t i = d; i < mix.size(); ++i) mix[i] += r.echo_feedback * mix[i - d];
    }
    // A 20 Hz high pass takes out any offset the layers leave, so the
    // waveform swings about zero and the fades end on silence.
    const double dc_coeff = 1.0 - std::exp(-2.0 * pi * 20.0 / r.rate);
    double dc = 0.0;
    for (double& s : mix) {
        dc += dc_coeff * (s - dc);
        s -= dc;
    }
    // Raised-cosine fades that reach exactly 0 at both ends: no click.
    const size_t in = std::max<size_t>(1, static_cast<size_t>(r.fade_in * r.rate));
    const size_t out = std::max<size_t>(1, static_cast<size_t>(r.fade_out * r.rate));
    for (size_t i = 0; i < mix.size(); ++i) {
        double g = 1.0;
        if (i < in) g *= 0.5 - 0.5 * std::cos(pi * i / in);
        const size_t from_end = mix.size() - 1 - i;
        if (from_end < out) g *= 0.5 - 0.5 * std::cos(pi * from_end / out);
        mix[i] *= g;
    }
    double peak = 0.0;
    for (double s : mix) peak = std::max(peak, std::fabs(s));
    if (peak <= 0.0) {
        *error = "the effect is silent";
        return 0;
    }
    const double scale = std::pow(10.0, r.peak_db / 20.0) / peak;
    samples->resize(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) (*samples)[i] = static_cast<float>(mix[i] * scale);
    return 1;
}

std::vector<uint8_t> sfx_wav_image(const std::vector<float>& samples, int rate) {
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + data_bytes);
    auto text = [&](const char* s) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(s[i]));
    };
    auto u32 = [&](uint32_t x) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(x >> (8 * i)));
    };
    auto u16 = [&](uint32_t x) {
        out.push_back(static_cast<uint8_t>(x));
        out.push_back(static_cast<uint8_t>(x >> 8));
    };
    text("RIFF");
    u32(36 + data_bytes);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);              // PCM
    u16(1);              // mono
    u32(static_cast<uint32_t>(rate));
    u32(static_cast<uint32_t>(rate) * 2);  // bytes per second
    u16(2);              // bytes per sample frame
    u16(16);             // bits per sample
    text("data");
    u32(data_bytes);
    for (float s : samples) {
        const long v = std::lround(std::max(-1.0f, std::min(1.0f, s)) * 32767.0f);
        u16(static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(v))));
    }
    return out;
}
