// The Win32 MIDI and sound outputs and the program's resources under Wine.
// Where Wine has no MIDI or sound device the outputs must say so and every
// later call must be harmless, so the game plays on silently; where a
// device exists the voices and messages must work.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/midi_out.h"
#include "platform/resources.h"
#include "platform/sound_out.h"
#include "platform/win32/win32_backend.h"

// After windows.h, which it builds on.
#include <mmsystem.h>

namespace {

TEST(Win32Resources, FindsDataBuiltIntoTheProgramByNameAndType) {
    const unsigned char* bytes = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(resource_find("QUENNARY_TEST_DATA", nullptr, &bytes, &size), 1);
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(std::memcmp(bytes, "DXMP", 4), 0);
    EXPECT_EQ(resource_find("quennary_test_data", nullptr, &bytes, &size), 1);  // names ignore case
    EXPECT_EQ(resource_find("res/title.MID", nullptr, &bytes, &size), 0);
    EXPECT_EQ(resource_find("QUENNARY_TEST_DATA", "MIDI", &bytes, &size), 0);  // other type
    EXPECT_EQ(resource_find(nullptr, nullptr, &bytes, &size), 0);
}

TEST(Win32Midi, OpensTheMapperOrReportsNoDeviceAndSendsHarmlessly) {
    unsigned char bytes[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};  // General MIDI on
    MidiLongMessage message;
    std::memset(&message, 0, sizeof message);
    message.data = bytes;
    message.length = sizeof bytes;

    MidiOutDevice* device = reinterpret_cast<MidiOutDevice*>(1);
    const int opened = midi_out_open(&device);
    EXPECT_EQ(opened != 0, device != nullptr);
    if (!opened) {
        // Nothing to play on: the sequencer keeps a null device and never
        // calls; the calls are harmless all the same.
        midi_out_prepare(nullptr, &message);
        midi_out_long(nullptr, &message);
        midi_out_short(nullptr, 0x7F3C90);
        EXPECT_EQ(message.flags, 0u);
        GTEST_SKIP() << "no MIDI output under this Wine";
    }
    midi_out_short(device, 0x7F3C90);  // note on, middle C
    midi_out_prepare(device, &message);
    EXPECT_NE(message.flags & MHDR_PREPARED, 0u);
    midi_out_prepare(device, &message);  // again: harmless
    midi_out_long(device, &message);
    midi_out_reset(device);
    midi_out_close(device);

    // A second opening prepares the same message afresh.
    ASSERT_EQ(midi_out_open(&device), 1);
    midi_out_prepare(device, &message);
    EXPECT_NE(message.flags & MHDR_PREPARED, 0u);
    midi_out_reset(device);
    midi_out_close(device);
}

// 8-bit mono PCM at 11025 samples a second: the 18 bytes of a WAV file.
const unsigned char pcm_format[18] = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 0, 0};

TEST(Win32Sound, BindsDirectSoundAtRunTimeAndPlaysStaticVoices) {
    SoundLibrary* library = sound_library_load();
    ASSERT_NE(library, nullptr);  // "dsound.dll" is part of every system
    SoundEntry* entry = sound_library_entry(library);
    ASSERT_NE(entry, nullptr);
    SoundOutput* output = sound_output_create(entry);
    if (!output) {
        sound_library_free(library);
        GTEST_SKIP() << "no sound device under this Wine: the effects take their fallback";
    }
    EXPECT_EQ(sound_output_set_cooperative(output, sound_active_window()), 1);
    const uint32_t bytes = 11025;  // one second
    SoundBuffer* voice = sound_buffer_create(output, pcm_format, bytes);
    ASSERT_NE(voice, nullptr);
    void* part = nullptr;
    uint32_t part_bytes = 0;
    ASSERT_EQ(sound_buffer_lock(voice, bytes, &part, &part_bytes), 1);
    EXPECT_EQ(part_bytes, bytes);
    for (uint32_t i = 0; i < part_bytes; ++i) static_cast<unsigned char*>(part)[i] = (i / 25) % 2 ? 0xC0 : 0x40;
    sound_buffer_unlock(voice, part, part_bytes);
    EXPECT_EQ(sound_buffer_status(voice), 0u);
    sound_buffer_set_pan(voice, 0);
    EXPECT_EQ(sound_buffer_play(voice), 1);
    EXPECT_EQ(sound_buffer_status(voice), static_cast<uint32_t>(SoundPlaying));
    sound_buffer_stop(voice);
    EXPECT_EQ(sound_buffer_status(voice), 0u);
    sound_buffer_set_position(voice, 0);
    sound_buffer_release(voice);
    EXPECT_EQ(sound_buffer_create(output, pcm_format, 0), nullptr);  // no samples, no voice
    sound_output_release(output);
    sound_library_free(library);
}

// A WAV image of `samples` bytes of 8-bit mono sound; riff_extra makes its
// RIFF header claim more than it has.
std::vector<unsigned char> wav_image(uint32_t samples, uint32_t riff_extra) {
    std::vector<unsigned char> image(44 + samples, 0x80);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) image[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    std::memcpy(&image[0], "RIFF", 4);
    put32(4, 36 + samples + riff_extra);
    std::memcpy(&image[8], "WAVEfmt ", 8);
    put32(16, 16);
    std::memcpy(&image[20], pcm_format, 16);
    std::memcpy(&image[36], "data", 4);
    put32(40, samples);
    return image;
}

TEST(Win32Sound, MemoryPlayerPlaysWholeImagesAndRefusesOnesThatClaimMore) {
    if (waveOutGetNumDevs() == 0) GTEST_SKIP() << "no sound device under this Wine";
    const std::vector<unsigned char> whole = wav_image(2205, 0);
    EXPECT_EQ(sound_play_memory(whole.data(), static_cast<uint32_t>(whole.size())), 1);
    const std::vector<unsigned char> short_of = wav_image(2205, 1000);
    EXPECT_EQ(sound_play_memory(short_of.data(), static_cast<uint32_t>(short_of.size())), 0);
    EXPECT_EQ(sound_play_memory(whole.data(), 7), 0);
    EXPECT_EQ(sound_play_memory(nullptr, 0), 1);  // stops what plays
}

}  // namespace
