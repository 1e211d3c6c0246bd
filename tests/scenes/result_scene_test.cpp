// The result screen: the ranking entered and saved by its initialise, the
// ten lines with their texts, places and colours, the new-entry marker, and
// the fades around the decide button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_state.h"
#include "input/input.h"
#include "platform/headless/headless.h"
#include "render/sprite.h"
#include "scenes/fade.h"
#include "scenes/ranking.h"
#include "scenes/result_scene.h"
#include "scenes/scene_manager.h"
#include "tests/scenes/data_dir.h"

namespace {

constexpr int vk_return = 0x0D;

struct Line {
    std::string text;
    int left, top;
    uint32_t color;
};

class ResultScene : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        scene_manager() = {Result, Game, Result};
        setup_input(game.input, 0, 0);
        poll_input(game.input);
        // As the game hands over after its last stage: phase 3, one fade-in
        // step taken.
        game.scene_phase = 3;
        fade_alpha = 245;
        fade_make_sprite();
    }
    void TearDown() override {
        result_scene_release();
        scene_manager() = {None, None, None};
    }
    // Enters with these stored places and this score, then draws once.
    void enter(const std::vector<int32_t>& stored, int32_t score) {
        DataDir::write_places(stored);
        game.score = score;
        ASSERT_EQ(result_scene_init(), 1);
        draw();
    }
    void draw() {
        headless_clear_draws();
        result_scene_draw();
        lines.clear();
        marker = nullptr;
        int n = 0;
        const HeadlessDraw* d = headless_draws(&n);
        for (int i = 0; i < n; ++i) {
            if (d[i].kind == HeadlessText) lines.push_back({d[i].text, d[i].left, d[i].top, d[i].color});
            const SpriteVertex* v = d[i].vertices;
            // The marker is the one 80 x 40 quad.
            if (d[i].kind == HeadlessQuad && v[1].x - v[0].x == 80.0f && v[0].y - v[2].y == 40.0f)
                marker = &d[i];
        }
    }
    // One frame of the screen with Enter held or not.
    static void frame(int enter_held) {
        headless_set_key(vk_return, enter_held);
        poll_input(game.input);
        result_scene_update();
    }
    static std::vector<int32_t> on_disk() {
        int32_t r[11];
        ranking_load(r);
        return std::vector<int32_t>(r, r + 10);
    }

    DataDir dir;
    std::vector<Line> lines;
    const HeadlessDraw* marker = nullptr;
};

const std::vector<int32_t> example_places = {5000, 4000, 3000, 3000, 2000, 1000, 0, 0, 0, 0};

TEST_F(ResultScene, ScoreEnteredBelowEqualScoresIsSavedAndMarked) {
    enter(example_places, 3000);
    EXPECT_EQ(on_disk(), (std::vector<int32_t>{5000, 4000, 3000, 3000, 3000, 2000, 1000, 0, 0, 0}));
    EXPECT_EQ(game.score, 3000);  // read, not changed
    EXPECT_EQ(game.highlight_rank, 4);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->vertices[2].x, 30.0f);  // top-left corner: place 5, left column
    EXPECT_EQ(marker->vertices[2].y, 380.0f);
    EXPECT_EQ(game.scene_phase, 3);  // the initialise leaves the phase alone
}

TEST_F(ResultScene, MarkerStandsNinetyPixelsLeftOfItsLine) {
    struct MarkerCase {
        int32_t score;
        int rank;
        float x, y;
    };
    const MarkerCase cases[] = {
        {9500, 0, 30.0f, 180.0f},   // new first place
        {1500, 5, 310.0f, 180.0f},  // place 6: top of the right column
        {1, 9, 310.0f, 380.0f},     // place 10
    };
    for (const MarkerCase& c : cases) {
        enter({9000, 8000, 7000, 6000, 5000, 1000, 900, 800, 700, 0}, c.score);
        EXPECT_EQ(game.highlight_rank, c.rank) << c.score;
        ASSERT_NE(marker, nullptr) << c.score;
        EXPECT_EQ(marker->vertices[2].x, c.x) << c.score;
        EXPECT_EQ(marker->vertices[2].y, c.y) << c.score;
        result_scene_release();
    }
}

TEST_F(ResultScene, ScoreEqualToTheTenthIsNotEnteredButTheOldEntryIsMarked) {
    const std::vector<int32_t> stored = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    DataDir::write_places(stored);
    const auto before = DataDir::all_place_bytes();
    game.score = 50;
    result_scene_init();
    draw();
    EXPECT_EQ(DataDir::all_place_bytes(), before);
    EXPECT_EQ(game.highlight_rank, 9);
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->vertices[2].y, 380.0f);
}

TEST_F(ResultScene, ScoreBelowTheTenthChangesNoFileAndDrawsNoMarker) {
    const std::vector<int32_t> stored = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    DataDir::write_places(stored);
    const auto before = DataDir::all_place_bytes();
    game.highlight_rank = 3;
    game.score = 49;
    result_scene_init();
    draw();
    EXPECT_EQ(DataDir::all_place_bytes(), before);
    EXPECT_EQ(marker, nullptr);
    EXPECT_EQ(game.highlight_rank, 3);  // never reset
    EXPECT_TRUE(DataDir::strays().empty());
}

TEST_F(ResultScene, TenLinesInTwoColumnsWithTheirColours) {
    enter({123, 90, 80, 70, 60, 50, 40, 30, 20, -100}, -500);
    ASSERT_EQ(lines.size(), 10u);
    // " 1位 00123" at (120, 180) in the first place's colour.
    EXPECT_EQ(lines[0].text, "\x20\x31\x88\xca\x20\x30\x30\x31\x32\x33");
    EXPECT_EQ(lines[9].text, "10\x88\xca -0100");  // the minus sign inside the five
    const uint32_t colors[10] = {0xFFC8C800u, 0xFFC8C8FFu, 0xFFC82828u, 0xC8FFFFFFu, 0xC8FFFFFFu,
                                 0xC8FFFFFFu, 0xC8FFFFFFu, 0xC8FFFFFFu, 0xC8FFFFFFu, 0xC8FFFFFFu};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(lines[i].left, i < 5 ? 120 : 400) << "place " << i + 1;
        EXPECT_EQ(lines[i].top, 180 + 50 * (i % 5)) << "place " << i + 1;
        EXPECT_EQ(lines[i].color, colors[i]) << "place " << i + 1;
    }
    EXPECT_EQ(lines[4].text, " 5\x88\xca 00060");
    EXPECT_EQ(marker, nullptr);
}

TEST_F(ResultScene, AFailedSaveKeepsTheOldFilesAndShowsTheNewRanking) {
    DataDir::write_places(example_places);
    const auto before = DataDir::all_place_bytes();
    std::filesystem::create_directory("ranking/ranking1.txt.tmp");
    DataDir::write_bytes("ranking/ranking1.txt.tmp/keep", {1});
    game.score = 4500;
    EXPECT_EQ(result_scene_init(), 1);
    draw();
    EXPECT_EQ(DataDir::all_place_bytes(), before);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1].text, " 2\x88\xca 04500");
    ASSERT_NE(marker, nullptr);
}

TEST_F(ResultScene, AMissingRankingFolderStillShowsTheScreen) {
    std::filesystem::remove_all("ranking");
    game.score = 700;
    EXPECT_EQ(result_scene_init(), 1);
    draw();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].text, " 1\x88\xca 00700");
    EXPECT_EQ(lines[1].text, " 2\x88\xca 00000");
}

TEST_F(ResultScene, FadesInThenDecideFadesOutAndAsksForTheTitle) {
    enter(example_places, 0);
    int frames = 0;
    while (game.scene_phase != 0 && frames < 100) {
        frame(0);
        ++frames;
    }
    EXPECT_EQ(frames, 25);  // 245 -> 0 in steps of 10, completion seen on the 25th
    EXPECT_EQ(fade_alpha, 0);
    frame(1);
    EXPECT_EQ(game.scene_phase, 1);
    EXPECT_EQ(game.leave_requested, 1);
    frames = 1;
    while (scene_manager().next != Title && frames < 100) {
        frame(1);  // still held: no new press
        ++frames;
    }
    EXPECT_EQ(frames, 27);  // 26 fade-out steps, the 27th call reaches black
    EXPECT_EQ(fade_alpha, 245);  // black reached and one fade-in step in the same frame
    EXPECT_EQ(game.scene_phase, 3);
    EXPECT_EQ(game.leave_requested, 0);
}

TEST_F(ResultScene, DecideDuringTheFadeInReversesItAtTheCurrentAlpha) {
    enter(example_places, 0);
    for (int i = 0; i < 10; ++i) frame(0);
    EXPECT_EQ(fade_alpha, 145);
    frame(1);
    EXPECT_EQ(fade_alpha, 135);  // this frame's fade-in step ran before the press
    EXPECT_EQ(game.scene_phase, 1);
    frame(0);
    EXPECT_EQ(fade_alpha, 145);
    EXPECT_EQ(scene_manager().next, Result);
}

}  // namespace
