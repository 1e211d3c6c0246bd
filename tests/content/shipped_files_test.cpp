// Every sound, song, stage and ranking file the build ships, read by the
// same code the game reads it with: an effect that would not load plays
// silently, a song that would not parse leaves a scene without music, and
// a stage without a start cell kills the player every frame, so each of
// these is a fault of the content that no later test would notice.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "audio/sequencer.h"
#include "audio/sound_effect.h"
#include "game/game_state.h"
#include "game/stage.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/sound_out.h"
#include "scenes/ranking.h"

namespace {

class ShippedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chdir(QUENNARY_GAME_DIR), 0);
        headless_reset();
        headless_audio_reset();
    }
};

// The twelve effects, as the game binds them.
const char* const effect_files[] = {
    "res/carsol_1.wav", "res/coffin_1.wav", "res/dead.wav",   "res/enter_2.wav",
    "res/fire_4.wav",   "res/ice_1.wav",    "res/jump_1.wav", "res/walk_1.wav",
    "res/star_1.wav",   "res/star_2.wav",   "res/point.wav",  "res/star_4.wav",
};

TEST_F(ShippedFiles, EveryEffectLoadsIntoThreeVoicesWithAllItsSamples) {
    for (const char* name : effect_files) {
        SoundEffect effect = {};
        effect_bind(&effect);
        ASSERT_EQ(effect_load(&effect, name), 1) << name;
        EXPECT_EQ(effect.voice_count, 3) << name;
        // The samples fill the rest of the file after the 44-byte header:
        // nothing stands between the format and the data, nothing after.
        EXPECT_GT(effect.sample_bytes, 0u) << name;
        EXPECT_EQ(effect.sample_bytes + 44u, effect.image_size) << name;
        for (int v = 0; v < effect.voice_count; ++v) EXPECT_NE(effect.voices[v], nullptr) << name;
        EXPECT_EQ(effect_play(&effect, 0), 1) << name;
        // The game keeps its effects for the whole run; the test hands back
        // what each one took.
        effect_release_voices(&effect);
        if (effect.direct_sound) sound_output_release(effect.direct_sound);
        if (effect.library) sound_library_free(effect.library);
        delete[] effect.image;
        delete[] effect.retired_image;
    }
}

struct Song {
    const char* name;  // the name the game asks for
    int packed;        // shipped in a container only
};

TEST_F(ShippedFiles, EverySongParsesWithItsResetTempoAndLoopPoint) {
    const Song songs[] = {{"res/title.MID", 1}, {"res/game.MID", 0}, {"res/result.mid", 0}};
    for (const Song& song : songs) {
        FILE* plain = std::fopen(song.name, "rb");
        EXPECT_EQ(plain == nullptr, song.packed != 0) << song.name;
        if (plain) std::fclose(plain);

        static MidiSequencer seq;
        sequencer_init(&seq);
        ASSERT_EQ(sequencer_load(&seq, song.name), 1) << song.name;
        const MidiSequence& s = seq.sequence;
        EXPECT_EQ(s.division, 480) << song.name;
        ASSERT_GT(s.count, 100u) << song.name;
        EXPECT_EQ(s.records[s.count].delta, 0xFFFFFFFFu) << song.name;
        // The reset message comes first, so every pass starts from a known state.
        ASSERT_EQ(s.records[0].status, 0xF0) << song.name;
        ASSERT_GE(s.sysex_count, 1u) << song.name;
        const MidiLongMessage& reset = s.sysex[midi_event_value(s.records[0])];
        const unsigned char gm_on[6] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
        ASSERT_EQ(reset.length, 6u) << song.name;
        EXPECT_EQ(std::memcmp(reset.data, gm_on, 6), 0) << song.name;
        // A tempo at the start, several channels with their own instruments.
        int tempo_at_start = 0, programs = 0, notes = 0;
        uint32_t tick = 0;
        for (uint32_t i = 0; i < s.count; ++i) {
            tick += s.records[i].delta;
            const int status = s.records[i].status;
            if (status == 0xFF && tick == 0) tempo_at_start = 1;
            if ((status & 0xF0) == 0xC0) programs += 1;
            if ((status & 0xF0) == 0x90) notes += 1;
        }
        EXPECT_TRUE(tempo_at_start) << song.name;
        EXPECT_GE(programs, 3) << song.name;
        EXPECT_GT(notes, 100) << song.name;
        // The song loops on a whole bar of 4/4 or 3/4.
        EXPECT_EQ(tick % 480u, 0u) << song.name;
        EXPECT_EQ(sequencer_unload(&seq), 1) << song.name;
    }
}

TEST_F(ShippedFiles, EveryStageHasOneStartACoffinAndOnlyKnownTiles) {
    for (int n = 1; n <= 20; ++n) {
        char path[64];
        std::snprintf(path, sizeof path, "stage/stage_%d.dat", n);
        FILE* f = std::fopen(path, "rb");
        ASSERT_NE(f, nullptr) << path;
        std::fseek(f, 0, SEEK_END);
        EXPECT_EQ(std::ftell(f), 1200) << path;
        std::fclose(f);
        read_stage_file(path);
        int starts = 0, goals = 0;
        for (int k = 0; k < stage_cell_count; ++k) {
            EXPECT_GE(game.stage_cells[k], 0) << path << " cell " << k;
            EXPECT_LE(game.stage_cells[k], 7) << path << " cell " << k;
            starts += game.stage_cells[k] == 6;
            goals += game.stage_cells[k] == 7;
        }
        EXPECT_EQ(starts, 1) << path;
        EXPECT_GE(goals, 1) << path;
        // The respawn point (start cell - (10, 64)) lies on the screen.
        EXPECT_GE(find_tile_x(6) - 10, 0) << path;
        EXPECT_GE(find_tile_y(6) - 64, -100) << path;
        tile_map_clear(game.tile_map);
    }
}

TEST_F(ShippedFiles, TheFreshRankingHoldsTenZeroScores) {
    // The build's own data directory may have been played in: the set kept
    // for packages is the one that must be pristine.
    ASSERT_EQ(chdir(QUENNARY_GAME_DIR "/../fresh-ranking"), 0);
    for (int p = 1; p <= ranking_places; ++p) {
        char path[64];
        ASSERT_EQ(ranking_path(p, "", path, sizeof path), 1);
        int32_t score = -1;
        EXPECT_EQ(ranking_read_file(path, &score), 1) << path;
        EXPECT_EQ(score, 0) << path;
    }
}

}  // namespace
