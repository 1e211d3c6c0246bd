// The effect synthesizer: recipes parse or are refused with the line at
// fault, render to the pitch and level they ask for, and every shipped effect
// is a plain WAV of the layout the game reads, clean and short.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/sfx/sfx.h"

namespace {

uint32_t u32_at(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t u16_at(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::vector<float> render(const std::string& recipe_text, int* rate = nullptr) {
    SfxRecipe recipe;
    std::vector<float> samples;
    std::string error;
    EXPECT_TRUE(sfx_parse(recipe_text, &recipe, &error)) << error;
    EXPECT_TRUE(sfx_render(recipe, &samples, &error)) << error;
    if (rate) *rate = recipe.rate;
    return samples;
}

// Upward zero crossings per second over samples [from, to): the pitch of a
// tone, measured from its first to its last crossing in the window.
double crossings_per_second(const std::vector<float>& s, size_t from, size_t to, int rate) {
    EXPECT_LE(to, s.size());
    int count = 0;
    size_t first = 0, last = 0;
    for (size_t i = from + 1; i < to && i < s.size(); ++i) {
        if (s[i - 1] < 0.0f && s[i] >= 0.0f) {
            if (count++ == 0) first = i;
            last = i;
        }
    }
    if (count < 2) return 0.0;
    return (count - 1) * static_cast<double>(rate) / (last - first);
}

double rms(const std::vector<float>& s, size_t from, size_t to) {
    EXPECT_LE(to, s.size());
    to = std::min(to, s.size());
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / (to - from));
}

const char* const plain_sine = "peak -6\nvoice\nwave sine\nfreq A4\ngate 0.2\nadsr 0.01 0.01 1 0.01\n";

TEST(SfxRecipe, NoteNamesGiveEqualTemperedPitches) {
    EXPECT_DOUBLE_EQ(sfx_note_hz("A4"), 440.0);
    EXPECT_NEAR(sfx_note_hz("C4"), 261.626, 0.001);
    EXPECT_NEAR(sfx_note_hz("C#5"), 554.365, 0.001);
    EXPECT_NEAR(sfx_note_hz("Eb3"), 155.563, 0.001);
    EXPECT_NEAR(sfx_note_hz("B3"), 246.942, 0.001);
    for (const char* bad : {"H4", "A", "a4", "A4x", "#4", ""}) EXPECT_EQ(sfx_note_hz(bad), 0.0) << bad;
}

TEST(SfxRecipe, RefusesWhatTheGameCannotUseWithTheLineAtFault) {
    struct Case {
        const char* text;
        const char* error_start;
    };
    const Case cases[] = {
        {"rate 48000\nvoice\nfreq A4\n", "line 1:"},
        {"peak -0.5\nvoice\nfreq A4\n", "line 1:"},
        {"voice\nwave pulse\nfreq A4\n", "line 2:"},
        {"voice\nfreq 400 300@0.2 200@0.1\n", "line 2:"},
        {"voice\nfreq 400 300\n", "line 2:"},
        {"voice\nnotes 0.05 C5 X9\n", "line 2:"},
        {"# only a comment\n\nvoice\n  wobble 3\n", "line 4:"},
        {"peak -3\n", "no voice"},
        {"voice\nwave sine\n", "voice 1:"},
    };
    for (const Case& c : cases) {
        SfxRecipe recipe;
        std::string error;
        EXPECT_FALSE(sfx_parse(c.text, &recipe, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.error_start, 0), 0u) << c.text << " -> " << error;
    }
}

TEST(SfxRender, ASineHasItsPitchItsPeakAndSilentEnds) {
    int rate = 0;
    const std::vector<float> s = render(plain_sine, &rate);
    ASSERT_EQ(rate, 44100);
    EXPECT_NEAR(s.size() / 44100.0, 0.21, 0.001);
    EXPECT_NEAR(crossings_per_second(s, 2000, s.size() - 2000, rate), 440.0, 3.0);
    float peak = 0.0f;
    for (float x : s) peak = std::max(peak, std::fabs(x));
    EXPECT_NEAR(peak, std::pow(10.0, -6.0 / 20.0), 1e-4);
    EXPECT_EQ(s.front(), 0.0f);
    EXPECT_EQ(s.back(), 0.0f);
}

TEST(SfxRender, PitchSweepsAndRunsMoveThePitch) {
    // 200 Hz gliding to 800 Hz over 0.3 s: the first 30 ms are low, the last high.
    const std::vector<float> sweep =
        render("voice\nfreq 200 800@0.3\ngate 0.3\nadsr 0.001 0.01 1 0.001\n");
    const double early = crossings_per_second(sweep, 0, 1323, 44100);
    const double late = crossings_per_second(sweep, sweep.size() - 1400, sweep.size() - 77, 44100);
    EXPECT_NEAR(early, 215.0, 40.0);
    EXPECT_NEAR(late, 780.0, 60.0);

    // A run of two notes, each held 0.1 s: A4 then A5.
    const std::vector<float> run =
        render("voice\nnotes 0.1 A4 A5\ngate 0.1\nadsr 0.001 0.01 1 0.001\n");
    EXPECT_NEAR(crossings_per_second(run, 400, 4000, 44100), 440.0, 15.0);
    EXPECT_NEAR(crossings_per_second(run, 4800, 8400, 44100), 880.0, 15.0);
}

TEST(SfxRender, FiltersShapeNoiseAndTheSeedFixesIt) {
    const std::string noise = "seed 5\nvoice\nwave noise\ngate 0.3\nadsr 0.001 0.01 1 0.001\n";
    const std::vector<float> white = render(noise);
    const std::vector<float> low = render(noise + "lowpass 300\n");
    const std::vector<float> band = render(noise + "bandpass 2000\nq 8\n");
    const size_t a = 1000, b = 12000;
    const double white_rate = crossings_per_second(white, a, b, 44100);
    EXPECT_GT(white_rate, 10000.0);
    EXPECT_LT(crossings_per_second(low, a, b, 44100), white_rate / 4.0);
    EXPECT_NEAR(crossings_per_second(band, a, b, 44100), 2000.0, 400.0);

    EXPECT_EQ(render(noise), white);  // deterministic
    EXPECT_NE(render("seed 6\nvoice\nwave noise\ngate 0.3\nadsr 0.001 0.01 1 0.001\n"), white);
}

TEST(SfxRender, EchoRepeatsTheSoundAfterItsDelay) {
    const std::vector<float> s =
        render("echo 0.1 0.5\ntail 0.25\nvoice\nfreq A5\ngate 0.02\nadsr 0.001 0.005 1 0.002\n");
    const double sound = rms(s, 100, 800);
    EXPECT_LT(rms(s, 1500, 4000), sound * 0.01);                 // silence between
    EXPECT_NEAR(rms(s, 4510, 5210) / sound, 0.5, 0.05);           // first repeat at 0.1 s
    EXPECT_NEAR(rms(s, 8920, 9620) / sound, 0.25, 0.05);          // second at 0.2 s
}

TEST(SfxWav, TheImageHasThePlainLayout) {
    const std::vector<float> samples = {0.0f, 0.5f, -0.5f, 1.0f, -1.0f, 0.0f};
    const std::vector<uint8_t> w = sfx_wav_image(samples, 22050);
    ASSERT_EQ(w.size(), 44u + 12u);
    EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
    EXPECT_EQ(u32_at(w, 4), w.size() - 8);
    EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u32_at(w, 16), 16u);
    EXPECT_EQ(u16_at(w, 20), 1);  // PCM
    EXPECT_EQ(u16_at(w, 22), 1);  // mono
    EXPECT_EQ(u32_at(w, 24), 22050u);
    EXPECT_EQ(u32_at(w, 28), 44100u);
    EXPECT_EQ(u16_at(w, 32), 2);
    EXPECT_EQ(u16_at(w, 34), 16);
    EXPECT_EQ(std::string(w.begin() + 36, w.begin() + 40), "data");
    EXPECT_EQ(u32_at(w, 40), 12u);
    const int16_t expected[] = {0, 16384, -16384, 32767, -32767, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(static_cast<int16_t>(u16_at(w, 44 + 2 * i)), expected[i]) << i;
}

// Every shipped effect as the build left it in res/.
TEST(ShippedEffects, ArePlainShortCleanWavs) {
    struct Effect {
        const char* name;
        double longest;  // seconds
        double loudest;  // dBFS
    };
    const Effect effects[] = {
        {"carsol_1", 0.5, -1.0}, {"coffin_1", 1.5, -1.0}, {"dead", 0.5, -1.0},
        {"enter_2", 0.5, -1.0},  {"fire_4", 0.5, -1.0},   {"ice_1", 0.5, -1.0},
        {"jump_1", 0.5, -1.0},   {"walk_1", 0.5, -1.0},   {"star_1", 0.5, -1.0},
        {"star_2", 1.5, -1.0},   {"point", 0.5, -1.0},
        // Each count-up step: up to ~100 a second, so shorter than a step and soft.
        {"star_4", 0.03, -12.0},
    };
    for (const Effect& e : effects) {
        SCOPED_TRACE(e.name);
        std::ifstream in(std::string(QUENNARY_GAME_DIR) + "/res/" + e.name + ".wav", std::ios::binary);
        ASSERT_TRUE(in.good());
        const std::vector<uint8_t> w((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(w.size(), 44u);
        EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
        EXPECT_EQ(u32_at(w, 4), w.size() - 8);
        EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
        ASSERT_EQ(u32_at(w, 16), 16u);
        EXPECT_EQ(u16_at(w, 20), 1);
        const int channels = u16_at(w, 22);
        const uint32_t rate = u32_at(w, 24);
        EXPECT_TRUE(channels == 1 || channels == 2);
        EXPECT_TRUE(rate == 44100 || rate == 22050);
        EXPECT_EQ(u16_at(w, 34), 16);
        EXPECT_EQ(u16_at(w, 32), 2 * channels);
        EXPECT_EQ(u32_at(w, 28), rate * 2 * channels);
        // The data chunk follows the format at once and runs to the end of the file.
        EXPECT_EQ(std::string(w.begin() + 36, w.begin() + 40), "data");
        ASSERT_EQ(u32_at(w, 40), w.size() - 44);

        const size_t count = (w.size() - 44) / 2;
        EXPECT_LE(count / double(rate * channels), e.longest);
        int peak = 0;
        for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(int(static_cast<int16_t>(u16_at(w, 44 + 2 * i)))));
        EXPECT_LT(20.0 * std::log10(peak / 32768.0), e.loudest);
        EXPECT_GT(peak, 1000);  // not silent
        // No click: the first and last millisecond rise from and fall to nothing.
        const size_t ms = rate / 1000 * channels;
        for (int i = 0; i < channels; ++i) {
            EXPECT_EQ(static_cast<int16_t>(u16_at(w, 44 + 2 * i)), 0);
            EXPECT_EQ(static_cast<int16_t>(u16_at(w, w.size() - 2 - 2 * i)), 0);
        }
        for (size_t i = 0; i < ms / 4; ++i) {
            EXPECT_LT(std::abs(int(static_cast<int16_t>(u16_at(w, 44 + 2 * i)))), peak / 4);
            EXPECT_LT(std::abs(int(static_cast<int16_t>(u16_at(w, w.size() - 2 - 2 * i)))), peak / 4);
        }
    }
}

}  // namespace
