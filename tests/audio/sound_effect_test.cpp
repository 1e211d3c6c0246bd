// Effects on the headless sound output: which voice a start takes, the
// fallback to the system's player, the WAV layout and its bounds, and
// binding again without leaking.
#include "audio/sound_effect.h"

#include <gtest/gtest.h>

#include <cstring>

#include "audio/cues.h"
#include "platform/headless/headless_audio.h"
#include "tests/audio/audio_fixtures.h"

namespace {

const Bytes samples = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};

// The calls of one kind since `from`, as voice numbers.
std::vector<int> voices_of(int kind, int from) {
    std::vector<int> out;
    for (int i = from; i < headless_sound_count(); ++i)
        if (headless_sound_call(i).kind == kind) out.push_back(headless_sound_call(i).voice);
    return out;
}

class Effect : public ::testing::Test {
protected:
    void SetUp() override {
        headless_audio_reset();
        write_bytes("res/jump_1.wav", wav(1, 16, 22050, samples));
    }
    void TearDown() override {
        effect_release_voices(&effect);
        if (effect.direct_sound) sound_output_release(effect.direct_sound);
        if (effect.library) sound_library_free(effect.library);
        delete[] effect.image;
        delete[] effect.retired_image;
    }
    // Binds and loads; returns the number of the first voice.
    int load(const char* name = "res/jump_1.wav") {
        effect_bind(&effect);
        const int first = headless_sound_voices_made() + 1;
        load_result = effect_load(&effect, name);
        return first;
    }
    ScratchDirectory scratch;
    SoundEffect effect = {};
    int load_result = 0;
};

TEST_F(Effect, ThreeVoicesThenTheLastIsCutAndRestarted) {
    const int v = load();
    ASSERT_EQ(load_result, 1);
    ASSERT_EQ(effect.voice_count, 3);
    const int from = headless_sound_count();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(effect_play(&effect, 0), 1);
    EXPECT_EQ(voices_of(HeadlessSoundPlay, from), (std::vector<int>{v, v + 1, v + 2, v + 2}));
    EXPECT_EQ(voices_of(HeadlessSoundStop, from), std::vector<int>{v + 2});
    EXPECT_EQ(voices_of(HeadlessSoundPosition, from), std::vector<int>{v + 2});
    EXPECT_EQ(headless_sound_call(headless_sound_count() - 2).value, 0);  // rewound to 0
    EXPECT_TRUE(headless_sound_voice_playing(v) && headless_sound_voice_playing(v + 1));
}

TEST_F(Effect, AFinishedFirstVoiceIsTakenAgainWithoutRewinding) {
    const int v = load();
    for (int i = 0; i < 3; ++i) effect_play(&effect, 0);
    headless_sound_finish_voice(v);
    const int from = headless_sound_count();
    EXPECT_EQ(effect_play(&effect, -2500), 1);
    EXPECT_EQ(voices_of(HeadlessSoundPlay, from), std::vector<int>{v});
    EXPECT_TRUE(voices_of(HeadlessSoundPosition, from).empty());
    EXPECT_TRUE(voices_of(HeadlessSoundStop, from).empty());
    EXPECT_EQ(headless_sound_call(from + 1).kind, HeadlessSoundPan);
    EXPECT_EQ(headless_sound_call(from + 1).value, -2500);
}

TEST_F(Effect, VoicesHoldTheSamplesWhereverTheFormatChunkEnds) {
    // An 18-byte format chunk puts the sample length at 42 and the samples at 46.
    write_bytes("res/long_format.wav", wav(2, 8, 11025, samples, 18));
    const int v = load("res/long_format.wav");
    ASSERT_EQ(load_result, 1);
    EXPECT_EQ(effect.sample_bytes, samples.size());
    EXPECT_EQ(effect.samples, effect.image + 46);
    uint32_t bytes = 0;
    const unsigned char* held = headless_sound_voice_samples(v + 2, &bytes);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(Bytes(held, held + bytes), samples);
}

TEST_F(Effect, TheHeaderTestNeedsOnlyOneOfItsTwoWords) {
    const struct {
        const char* what;
        int riff, wave, loads;
    } cases[] = {
        {"both", 1, 1, 1}, {"RIFF only", 1, 0, 1}, {"WAVE only", 0, 1, 1}, {"neither", 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = wav(1, 16, 22050, samples);
        if (!c.riff) std::memcpy(file.data(), "JUNK", 4);
        if (!c.wave) std::memcpy(file.data() + 8, "AVI ", 4);
        write_bytes("res/header.wav", file);
        load("res/header.wav");
        EXPECT_EQ(load_result, c.loads);
        EXPECT_EQ(effect.voices != nullptr, c.loads == 1);
        // A refused file keeps its image, which the system's player gets.
        ASSERT_NE(effect.image, nullptr);
        const int from = headless_sound_count();
        effect_play(&effect, 0);
        EXPECT_EQ(voices_of(HeadlessSoundPlayMemory, from).size(), c.loads ? 0u : 1u);
    }
}

TEST_F(Effect, LengthsThatRunPastTheFileFailTheLoad) {
    Bytes long_data = wav(1, 16, 22050, samples);
    long_data[40] = 0xFF;  // sample length 255 of 8 bytes there
    Bytes huge_format = wav(1, 16, 22050, samples);
    huge_format[19] = 0x80;  // format chunk of 2 GB
    const Bytes cases[] = {Bytes(long_data.begin(), long_data.begin() + 27), long_data, huge_format,
                           Bytes{'R', 'I', 'F', 'F'}};
    for (const Bytes& file : cases) {
        write_bytes("res/bad.wav", file);
        load("res/bad.wav");
        EXPECT_EQ(load_result, 0);
        EXPECT_EQ(effect.voices, nullptr);
        EXPECT_EQ(effect.sample_bytes, 0u);
    }
}

TEST_F(Effect, WithoutAnOutputEveryStartGoesToTheSystemPlayer) {
    const struct {
        const char* what;
        int no_library, no_entry, no_output, no_cooperation, first_buffer_fails;
    } cases[] = {
        {"no library", 1, 0, 0, 0, 0},          {"no entry point", 0, 1, 0, 0, 0},
        {"no output object", 0, 0, 1, 0, 0},    {"cooperation refused", 0, 0, 0, 1, 0},
        {"first voice missing", 0, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        headless_audio_reset();
        headless_sound_fail(c.no_library, c.no_entry, c.no_output, 0);
        if (c.first_buffer_fails) headless_sound_fail_buffer(1);
        load();
        EXPECT_EQ(load_result, 1);
        headless_sound_fail(0, 0, 0, c.no_cooperation);
        const int from = headless_sound_count();
        for (int i = 0; i < 2; ++i) EXPECT_EQ(effect_play(&effect, 0), 1);
        EXPECT_TRUE(voices_of(HeadlessSoundPlay, from).empty());
        EXPECT_EQ(voices_of(HeadlessSoundPlayMemory, from).size(), 2u);
        EXPECT_EQ(headless_sound_call(headless_sound_count() - 1).image, effect.image);
    }
}

TEST_F(Effect, AMissingVoiceIsSkippedAndAMissingFileStopsTheSystemPlayer) {
    headless_sound_fail_buffer(2);
    const int v = load();
    const int from = headless_sound_count();
    effect_play(&effect, 0);
    effect_play(&effect, 0);
    EXPECT_EQ(voices_of(HeadlessSoundPlay, from), (std::vector<int>{v, v + 1}));

    load("res/missing.wav");
    EXPECT_EQ(load_result, 0);
    EXPECT_EQ(effect.image, nullptr);
    const int later = headless_sound_count();
    effect_play(&effect, 0);
    ASSERT_EQ(headless_sound_count(), later + 1);
    EXPECT_EQ(headless_sound_call(later).kind, HeadlessSoundPlayMemory);
    EXPECT_EQ(headless_sound_call(later).image, nullptr);
}

TEST_F(Effect, BindingAndLoadingAgainReleasesWhatTheEffectHeld) {
    const int buffers = headless_sound_live_buffers();
    const int outputs = headless_sound_live_outputs();
    const int libraries = headless_sound_live_libraries();
    for (int round = 0; round < 5; ++round) {
        load();
        effect_play(&effect, 0);
        EXPECT_EQ(headless_sound_live_buffers(), buffers + 3);
        EXPECT_EQ(headless_sound_live_outputs(), outputs + 1);
        EXPECT_EQ(headless_sound_live_libraries(), libraries + 1);
    }
}

TEST(EffectCues, FourJumpsCutTheThirdVoiceAndEveryFileIsLoaded) {
    ScratchDirectory scratch;
    headless_audio_reset();
    const char* files[] = {"carsol_1", "coffin_1", "dead",   "enter_2", "fire_4", "ice_1",
                           "jump_1",   "walk_1",   "star_1", "star_2",  "point",  "star_4"};
    for (const char* f : files)
        write_bytes(std::string("res/") + f + ".wav", wav(1, 16, 22050, samples));
    const int first = headless_sound_voices_made() + 1;
    const int from = headless_sound_count();
    audio_setup();
    // Bound in table order, then loaded in the same order: three voices each.
    EXPECT_EQ(headless_sound_voices_made() - first + 1, 3 * SoundEffectCount);
    const int jump = first + 3 * Jump;
    for (int i = 0; i < 4; ++i) play_effect(Jump);
    EXPECT_EQ(voices_of(HeadlessSoundPlay, from),
              (std::vector<int>{jump, jump + 1, jump + 2, jump + 2}));
    EXPECT_EQ(voices_of(HeadlessSoundStop, from), std::vector<int>{jump + 2});
    // The title starts again: nothing is leaked by binding every time.
    const int live = headless_sound_live_buffers();
    audio_setup();
    EXPECT_EQ(headless_sound_live_buffers(), live);
}

}  // namespace
