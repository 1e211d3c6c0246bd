// Listening through the SDL backend: the music and an effect play into a
// file through SDL's disk audio driver, and sox measures what came out.
// The song is a hand-made three-track file (melody, bass, drums) played by
// the game's own reader and sequencer on the real timer thread.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/cues.h"
#include "audio/sound_effect.h"
#include "platform/sdl/sdl_audio.h"
#include "tests/audio/audio_fixtures.h"

namespace {

struct Levels {
    double rms = -1, peak = -1, frequency = -1;
};

// sox's statistics of the raw float stereo stream (channel 0: both mixed,
// 1: left, 2: right).
Levels measure(const std::string& raw, int channel) {
    std::string remix = channel ? " remix " + std::to_string(channel) : " remix 1,2";
    const std::string command = "sox -t f32 -r 48000 -c 2 '" + raw + "' -n" + remix + " stat 2>&1";
    Levels l;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return l;
    char line[256];
    while (std::fgets(line, sizeof line, p)) {
        double v;
        if (std::sscanf(line, "RMS amplitude: %lf", &v) == 1) l.rms = v;
        if (std::sscanf(line, "Maximum amplitude: %lf", &v) == 1) l.peak = v;
        if (std::sscanf(line, "Rough frequency: %lf", &v) == 1) l.frequency = v;
    }
    pclose(p);
    // QUENNARY_KEEP_AUDIO=DIR keeps the rendered streams there, to listen to.
    if (const char* keep = std::getenv("QUENNARY_KEEP_AUDIO"))
        std::system(("cp '" + raw + "' '" + keep + "'").c_str());
    std::printf("%s: rms %.4f peak %.4f frequency %.0f\n", command.c_str(), l.rms, l.peak,
                l.frequency);
    return l;
}

void use_disk_driver(const std::string& raw) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
}

// Note-on and note-off pairs of one channel: (key, length in ticks) in turn.
Bytes part(uint8_t channel, uint8_t program, std::initializer_list<std::pair<int, int>> notes) {
    Bytes t = {0x00, uint8_t(0xC0 | channel), program, 0x00, uint8_t(0xB0 | channel), 0x07, 100};
    for (const auto& n : notes) {
        t.insert(t.end(), {0x00, uint8_t(0x90 | channel), uint8_t(n.first), 96});
        const int len = n.second;
        t.insert(t.end(), {uint8_t(0x80 | len >> 7), uint8_t(len & 0x7F), uint8_t(0x80 | channel),
                           uint8_t(n.first), 0});
    }
    t.insert(t.end(), {0x00, 0xFF, 0x2F, 0x00});
    return t;
}

Bytes test_song() {
    const Bytes conductor = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00};
    const Bytes melody =
        part(0, 0, {{72, 240}, {76, 240}, {79, 240}, {76, 240}, {74, 480}, {71, 480}, {72, 960}});
    const Bytes bass = part(1, 33, {{48, 960}, {43, 960}, {48, 960}});
    const Bytes drums = part(9, 0,
                             {{36, 240},
                              {42, 240},
                              {38, 240},
                              {42, 240},
                              {36, 240},
                              {42, 240},
                              {38, 240},
                              {42, 240},
                              {36, 480},
                              {38, 480}});
    return smf(480, {conductor, melody, bass, drums});
}

TEST(SdlPlayback, TheTitleMusicIsHeardThroughTheSynthesizer) {
    ScratchDirectory scratch;
    const std::string raw = scratch.path() + "/music.raw";
    use_disk_driver(raw);
    write_bytes("res/title.MID", test_song());
    audio_setup();
    play_title_music();
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    stop_title_music();
    sdl_audio_close();
    const Levels l = measure(raw, 0);
    EXPECT_GT(l.rms, 0.02);  // well above silence
    EXPECT_GT(l.peak, 0.1);
    EXPECT_LT(l.peak, 1.0);  // not clipped
}

// A 440 Hz tone of 0.4 s, 16-bit mono at 22050 Hz: the mixer converts it.
Bytes tone() {
    Bytes s;
    for (int i = 0; i < 22050 * 4 / 10; ++i) {
        const int v = int(12000 * std::sin(2 * M_PI * 440.0 * i / 22050));
        put_le16(s, uint32_t(uint16_t(int16_t(v))));
    }
    return wav(1, 16, 22050, s);
}

TEST(SdlPlayback, AnEffectSoundsAtItsPitchAndPansAway) {
    ScratchDirectory scratch;
    write_bytes("res/tone.wav", tone());
    const struct {
        int pan;
        double left_min, right_max;
    } cases[] = {{0, 0.15, 1.0}, {-10000, 0.15, 0.0005}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pan);
        const std::string raw = scratch.path() + "/effect" + std::to_string(c.pan) + ".raw";
        use_disk_driver(raw);
        SoundEffect effect = {};
        effect_bind(&effect);
        ASSERT_EQ(effect_load(&effect, "res/tone.wav"), 1);
        ASSERT_NE(effect.voices[0], nullptr) << "no sound output";
        EXPECT_EQ(effect_play(&effect, c.pan), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        EXPECT_EQ(sound_buffer_status(effect.voices[0]), 0u);  // played to its end
        effect_release_voices(&effect);
        sound_output_release(effect.direct_sound);
        delete[] effect.image;
        sdl_audio_close();
        const Levels left = measure(raw, 1), right = measure(raw, 2);
        EXPECT_GT(left.rms, c.left_min * 0.1);
        EXPECT_GT(left.peak, c.left_min);
        EXPECT_NEAR(left.frequency, 440, 22);
        EXPECT_LE(right.peak, c.right_max);
    }
}

}  // namespace
