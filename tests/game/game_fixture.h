#pragma once
// The game scene on the headless backend, in a data folder of its own: a
// stage drawn as a text picture is written as a stage file, effect files
// of distinct sizes tell which effect played, and frames run as the frame
// loop runs them, with keys held by virtual-key code.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "audio/cues.h"
#include "game/collision.h"
#include "game/corpses.h"
#include "game/game_scene.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/stage.h"
#include "input/input.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "render/sprite.h"
#include "scenes/fade.h"
#include "scenes/scene_manager.h"

namespace game_test {

// Windows virtual-key codes of key layout 0.
constexpr int vk_left = 0x25, vk_up = 0x26, vk_right = 0x27, vk_down = 0x28;
constexpr int vk_space = 0x20;   // Button1, jump
constexpr int vk_return = 0x0D;  // Button2, decide
constexpr int vk_c = 0x43;       // Button3, self-destruct
constexpr int vk_v = 0x56;       // Button4, retry
constexpr int vk_g = 0x47;       // Button5, select left
constexpr int vk_h = 0x48;       // Button6, select right

// 15 rows of 20 characters into the file's 1200 bytes, column-major:
// '.' empty, '#' block, a digit its own tile type.
inline std::string stage_bytes(const std::vector<std::string>& rows) {
    std::string bytes(stage_cell_count * 4, '\0');
    for (int c = 0; c < stage_columns; ++c) {
        for (int r = 0; r < stage_rows; ++r) {
            const char ch =
                r < static_cast<int>(rows.size()) && c < static_cast<int>(rows[r].size())
                    ? rows[r][c]
                    : '.';
            const int type = ch == '#' ? 1 : (ch >= '0' && ch <= '9') ? ch - '0' : 0;
            bytes[(c * stage_rows + r) * 4] = static_cast<char>(type);
        }
    }
    return bytes;
}

inline void write_file(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A floor of blocks, the start block (6) at column 2 and the coffin's block
// (7) at column 18, both in the floor row 13 (top y 416). The player
// respawns at (54, 352), standing on the start block inside the start area.
inline std::vector<std::string> floor_stage() {
    return {
        "....................", "....................", "....................",
        "....................", "....................", "....................",
        "....................", "....................", "....................",
        "....................", "....................", "....................",
        "....................", "##6###############7#", "####################",
    };
}

// Effect file sizes: effect id i is a file of effect_file_base + i bytes.
constexpr int effect_file_base = 64;

class GameFixture : public ::testing::Test {
   protected:
    void SetUp() override {
        char pattern[] = "/tmp/quennary-game-XXXXXX";
        root_ = mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::create_directory(root_ + "/stage");
        std::filesystem::create_directory(root_ + "/res");
        std::filesystem::current_path(root_);
        headless_reset();
        headless_audio_reset();
        // No sound library: every effect plays its file image from memory,
        // which the headless log records with the image's size.
        headless_sound_fail(1, 0, 0, 0);
        static const char* const names[SoundEffectCount] = {
            "carsol_1", "coffin_1", "dead",   "enter_2", "fire_4", "ice_1",
            "jump_1",   "walk_1",   "star_1", "star_2",  "point",  "star_4"};
        for (int id = 0; id < SoundEffectCount; ++id)
            write_file(std::string("res/") + names[id] + ".wav",
                       std::string(static_cast<size_t>(effect_file_base + id), 'w'));
        audio_setup();
        scene_manager() = {Game, Title, Game};
        setup_input(game.input, 0, 0);
        poll_input(game.input);
        game_scene_init();
    }
    void TearDown() override {
        game_scene_release();
        scene_manager() = {None, None, None};
        headless_release_all_keys();
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    static void write_stage(int n, const std::vector<std::string>& rows) {
        write_file("stage/stage_" + std::to_string(n) + ".dat", stage_bytes(rows));
    }
    // Stage n from this picture, as right after its load and reset.
    static void start(int n, const std::vector<std::string>& rows) {
        write_stage(n, rows);
        game_scene_start_at_stage(n, nullptr);
        headless_sound_clear();
    }
    // One frame as the frame loop runs it, with exactly these keys held.
    static void frame(std::initializer_list<int> keys = {}) {
        static const int all[] = {vk_left,   vk_up, vk_right, vk_down, vk_space,
                                  vk_return, vk_c,  vk_v,     vk_g,    vk_h};
        for (int k : all) {
            int down = 0;
            for (int held : keys) down |= held == k;
            headless_set_key(k, down);
        }
        update_scene();
        headless_clear_draws();
        draw_scene();
    }
    static void frames(int n, std::initializer_list<int> keys = {}) {
        for (int i = 0; i < n; ++i) frame(keys);
    }
    // The effects played since the last call, in order.
    static std::vector<int> effects() {
        std::vector<int> ids;
        for (int i = 0; i < headless_sound_count(); ++i) {
            const HeadlessSoundCall call = headless_sound_call(i);
            if (call.kind == HeadlessSoundPlayMemory && call.image)
                ids.push_back(call.value - effect_file_base);
        }
        headless_sound_clear();
        return ids;
    }
    static float player_x() { return sprite_get_x(game.player); }
    static float player_y() { return sprite_get_y(game.player); }

   private:
    std::string root_;
    std::filesystem::path previous_;
};

}  // namespace game_test
