// The SDL backend's effect mixer, driven directly (the device is closed
// after the output object is made, so nothing else mixes): sample formats,
// rate conversion, pan, and a voice that plays to its end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/sdl/sdl_audio.h"
#include "platform/sound_out.h"
#include "tests/audio/audio_fixtures.h"

namespace {

// The 18 format bytes of a PCM WAVEFORMATEX.
Bytes pcm_format(int channels, int bits, int rate) {
    Bytes f;
    put_le16(f, 1);
    put_le16(f, uint32_t(channels));
    put_le32(f, uint32_t(rate));
    put_le32(f, uint32_t(rate * channels * bits / 8));
    put_le16(f, uint32_t(channels * bits / 8));
    put_le16(f, uint32_t(bits));
    put_le16(f, 0);
    return f;
}

class Mixer : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        output = sound_output_create(sound_library_entry(sound_library_load()));
        sdl_audio_close();
    }
    void TearDown() override { sound_output_release(output); }
    SoundBuffer* voice(int channels, int bits, int rate, const Bytes& samples) {
        const Bytes format = pcm_format(channels, bits, rate);
        SoundBuffer* b = sound_buffer_create(output, format.data(), uint32_t(samples.size()));
        void* part = nullptr;
        uint32_t n = 0;
        if (b && sound_buffer_lock(b, uint32_t(samples.size()), &part, &n))
            std::memcpy(part, samples.data(), n);
        return b;
    }
    std::vector<float> mix(int frames) {
        std::vector<float> out(size_t(frames) * 2, 0.0f);
        sdl_sound_mix(out.data(), frames);
        return out;
    }
    SoundOutput* output = nullptr;
};

TEST_F(Mixer, FormatsAndRatesComeOutAsStereoAtTheStreamRate) {
    ASSERT_NE(output, nullptr) << "no audio device";
    Bytes mono16;
    for (int v : {0, 16384, -16384, 0}) put_le16(mono16, uint32_t(uint16_t(int16_t(v))));
    const struct {
        const char* what;
        int channels, bits, rate;
        Bytes samples;
        std::vector<float> want;  // left, right of the first frames
    } cases[] = {
        {"8-bit stereo at the stream rate",
         2,
         8,
         48000,
         {0xC0, 0x40, 0x80, 0xFF},
         {0.5f, -0.5f, 0.0f, 127 / 128.0f}},
        {"16-bit mono at half the rate",
         1,
         16,
         24000,
         mono16,
         {0.0f, 0.0f, 0.25f, 0.25f, 0.5f, 0.5f, 0.0f, 0.0f, -0.5f, -0.5f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SoundBuffer* b = voice(c.channels, c.bits, c.rate, c.samples);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(sound_buffer_play(b), 1);
        const std::vector<float> out = mix(int(c.want.size() / 2));
        for (size_t i = 0; i < c.want.size(); ++i) EXPECT_NEAR(out[i], c.want[i], 1e-4) << i;
        sound_buffer_release(b);
    }
}

TEST_F(Mixer, PanAttenuatesTheOtherSideInHundredthsOfADecibel) {
    ASSERT_NE(output, nullptr) << "no audio device";
    const struct {
        int pan;
        float left, right;
    } cases[] = {{0, 1, 1}, {-2000, 1, 0.1f}, {600, 0.5012f, 1}, {10000, 0, 1}, {-10000, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pan);
        Bytes full;
        for (int i = 0; i < 8; ++i) put_le16(full, 0x4000);  // 0.5 on both sides
        SoundBuffer* b = voice(2, 16, 48000, full);
        sound_buffer_set_pan(b, c.pan);
        sound_buffer_play(b);
        const std::vector<float> out = mix(1);
        EXPECT_NEAR(out[0], 0.5f * c.left, 1e-3);
        EXPECT_NEAR(out[1], 0.5f * c.right, 1e-3);
        sound_buffer_release(b);
    }
}

TEST_F(Mixer, AVoiceThatPlaysToItsEndStopsAndStartsAgainFromTheBeginning) {
    ASSERT_NE(output, nullptr) << "no audio device";
    SoundBuffer* b = voice(1, 8, 48000, {0xC0, 0xC0, 0xC0, 0xC0});
    sound_buffer_play(b);
    EXPECT_EQ(sound_buffer_status(b), uint32_t(SoundPlaying));
    const std::vector<float> first = mix(6);
    EXPECT_NEAR(first[6], 0.5f, 1e-4);  // frame 3: the last sample
    EXPECT_EQ(first[8], 0.0f);          // frame 4: silence after the end
    EXPECT_EQ(sound_buffer_status(b), 0u);
    // Played again without a rewind, it starts from its first sample; a
    // stopped voice keeps its place until it is rewound.
    sound_buffer_play(b);
    mix(2);
    sound_buffer_stop(b);
    EXPECT_EQ(mix(1)[0], 0.0f);
    sound_buffer_set_position(b, 3);
    sound_buffer_play(b);
    const std::vector<float> last = mix(2);
    EXPECT_NEAR(last[0], 0.5f, 1e-4);
    EXPECT_EQ(last[2], 0.0f);
    sound_buffer_release(b);
}

}  // namespace
