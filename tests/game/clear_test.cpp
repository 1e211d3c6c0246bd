// The stage clear: stars by corpses against the target, the score added at
// frame 20 of the sequence, the star and end-text timing with their sounds,
// the score count-up, and the decide button that leaves for the next stage.
#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

// The coffin's block at column 5, so a short walk right reaches it.
std::vector<std::string> near_coffin_stage() {
    std::vector<std::string> rows = floor_stage();
    rows[13] = "##6##7##############";
    return rows;
}

class ClearTest : public GameFixture {
   protected:
    // Stage n with `corpses` frozen corpses in the sky, walked to the coffin;
    // returns with the coffin just reached (the sequence's frame 0).
    static void reach_coffin(int n, int corpses) {
        start(n, near_coffin_stage());
        for (int s = 0; s < corpses; ++s) {
            sprite_set_position(game.corpse[s], 250.0f + 30.0f * (s % 10),
                                40.0f + 30.0f * (s / 10));
            game.corpse_frozen[s] = 1;
        }
        place_sensors();
        for (int i = 0; i < 60 && game.stage_step != 3; ++i) frame({vk_right});
        ASSERT_EQ(game.stage_step, 3);
        ASSERT_EQ(game.stage_cleared, 1);
        ASSERT_EQ(game.clear_timer, 0);
        ASSERT_EQ(game.corpse_count, corpses);
        EXPECT_EQ(effects(), std::vector<int>{Coffin});
    }
};

struct Moment {
    int n;  // frame of the clear sequence
    int star_frame;
    int score;
    std::vector<int> sounds;
};

TEST_F(ClearTest, StarsScoreAndTheirTiming) {
    struct Case {
        const char* what;
        int stage, corpses, score_before;
        int stars, gain;
        int end_text_at;  // frame of the end text; the count-up starts 21 frames later
    } cases[] = {
        {"2 corpses, target 3", 1, 2, 0, 3, 2800, 100},
        {"5 corpses, target 5", 2, 5, 0, 2, 1500, 80},
        {"12 corpses, target 1", 3, 12, 1000, 1, -200, 60},
    };
    for (const Case& c : cases) {
        reach_coffin(c.stage, c.corpses);
        game.score = game.shown_score = c.score_before;
        std::vector<int> star_sounds, end_text_sounds, count_sounds, point_at;
        std::vector<int> star_frames;
        int score_at = 0;
        for (int n = 1; n <= 400; ++n) {
            const int score = game.score;
            frame();
            ASSERT_EQ(game.clear_timer, n);
            ASSERT_EQ(game.stars, c.stars) << c.what;
            if (game.score != score) score_at = n;
            star_frames.push_back(game.star_sprite.frame);
            for (int id : effects()) {
                if (id == Star1) {
                    star_sounds.push_back(n);
                } else if (id == Star2) {
                    end_text_sounds.push_back(n);
                } else if (id == Star4) {
                    count_sounds.push_back(n);
                } else if (id == Point) {
                    point_at.push_back(n);
                } else {
                    ADD_FAILURE() << c.what << ": effect " << id << " at " << n;
                }
            }
            if (n == c.end_text_at) {
                EXPECT_EQ(sprite_get_x(game.end_text), 230.0f) << c.what;
                EXPECT_EQ(sprite_get_y(game.end_text), 270.0f) << c.what;
                // Frame 3 lies past the three-caption strip and shows its first caption.
                EXPECT_EQ(game.end_text.frame, c.stars) << c.what;
            }
            if (n == 19) {
                EXPECT_EQ(sprite_get_x(game.end_board), 1000.0f);
            }
            if (n == 20) {
                EXPECT_EQ(sprite_get_x(game.end_board), 170.0f);
                EXPECT_EQ(sprite_get_y(game.end_board), 120.0f);
            }
            EXPECT_EQ(game.show_score, n > c.end_text_at + 20 ? 1 : 0) << c.what << " at " << n;
        }
        EXPECT_EQ(score_at, 20) << c.what;
        EXPECT_EQ(game.score, c.score_before + c.gain) << c.what;
        std::vector<int> expected_stars = {41, 61, 81};
        expected_stars.resize(static_cast<size_t>(c.stars));
        EXPECT_EQ(star_sounds, expected_stars) << c.what;
        EXPECT_EQ(star_frames[39], 0) << c.what;
        EXPECT_EQ(star_frames[40], 1) << c.what;
        EXPECT_EQ(star_frames.back(), c.stars) << c.what;
        EXPECT_EQ(end_text_sounds, std::vector<int>{c.end_text_at}) << c.what;
        if (c.gain > 0) {
            // 20 points a frame from the frame after the count-up begins.
            const int steps = c.gain / 20;
            ASSERT_EQ(static_cast<int>(count_sounds.size()), steps) << c.what;
            EXPECT_EQ(count_sounds.front(), c.end_text_at + 21) << c.what;
            EXPECT_EQ(count_sounds.back(), c.end_text_at + 20 + steps) << c.what;
            EXPECT_EQ(point_at, std::vector<int>{c.end_text_at + 20 + steps}) << c.what;
        } else {
            EXPECT_TRUE(count_sounds.empty()) << c.what;
            EXPECT_TRUE(point_at.empty()) << c.what;
        }
        // The shown score counts up only: a lower score leaves it as it was.
        const int shown = c.gain > 0 ? c.score_before + c.gain : c.score_before;
        EXPECT_EQ(game.shown_score, shown) << c.what;
        EXPECT_EQ(std::string(game.hud_score_text), "Score\x81\x40" + std::to_string(shown))
            << c.what;
    }
}

TEST_F(ClearTest, ScoreTextIsDrawnOnlyWhileShown) {
    reach_coffin(1, 0);
    auto texts = [] {
        std::vector<HeadlessDraw> found;
        int n = 0;
        const HeadlessDraw* d = headless_draws(&n);
        for (int i = 0; i < n; ++i)
            if (d[i].kind == HeadlessText) found.push_back(d[i]);
        return found;
    };
    frames(120);
    EXPECT_TRUE(texts().empty());  // no HUD lines on the clear screen
    frame();
    const std::vector<HeadlessDraw> shown = texts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(std::string(shown[0].text),
              "Score\x81\x40"
              "20");
    EXPECT_EQ(shown[0].left, 250);
    EXPECT_EQ(shown[0].top, 340);
    EXPECT_EQ(shown[0].color, 0xFF00FF00u);
    EXPECT_EQ(shown[0].font_height, 25);
}

// Leaving at once still adds the score: the fade-out outlasts frame 20.
TEST_F(ClearTest, DecideAtOnceStillScoresAndGoesToTheNextStage) {
    write_stage(2, near_coffin_stage());
    reach_coffin(1, 0);
    frame({vk_return});
    EXPECT_EQ(effects(), std::vector<int>{Enter});
    EXPECT_EQ(game.scene_phase, 1);
    int n = 1;
    while (game.scene_phase == 1) {
        frame();
        ++n;
    }
    EXPECT_EQ(n, 27);  // 26 fade steps, from the frame after the press
    EXPECT_EQ(game.score, 3000);
    EXPECT_EQ(game.stage_cleared, 0);
    EXPECT_EQ(sprite_get_x(game.end_board), 1000.0f);
    EXPECT_EQ(game.end_board.scale_y, 0.0f);
    frame();  // black: the stage number advances, nothing is drawn
    EXPECT_EQ(game.stage_number, 2);
    EXPECT_EQ(game.stage_step, 0);
    int drawn = -1;
    headless_draws(&drawn);
    EXPECT_EQ(drawn, 0);
    frame();  // load and reset
    EXPECT_EQ(game.stage_step, 1);
    EXPECT_EQ(game.target_corpses, 5);
    frames(30);
    EXPECT_EQ(game.scene_phase, 0);
    EXPECT_EQ(fade_alpha, 0);
}

// Decide pressed again and again through the fade-out, and in the black
// frame after it, leaves for the next stage once, not twice.
TEST_F(ClearTest, DecideDuringTheFadeOutDoesNotSkipAStage) {
    for (int n : {2, 3}) write_stage(n, near_coffin_stage());
    reach_coffin(1, 0);
    frames(30);
    int presses = 0;
    for (int i = 0; i < 40; ++i) {
        frame({vk_return});
        frame();
        presses += 1;
        if (game.stage_step != 3) break;
    }
    EXPECT_GT(presses, 13);  // presses in the fade-out and in the black frame
    frames(40);
    EXPECT_EQ(game.stage_number, 2);
    EXPECT_EQ(game.stage_step, 1);
    EXPECT_EQ(game.scene_phase, 0);
    int enters = 0;
    for (int id : effects()) enters += id == Enter;
    EXPECT_EQ(enters, 1);
}

// A retry already fading out wins over the coffin: the stage is put back.
TEST_F(ClearTest, CoffinReachedWhileARetryFadesOutDoesNotClear) {
    start(1, near_coffin_stage());
    frames(5);
    frame({vk_v});
    ASSERT_EQ(game.restart_requested, 1);
    frames(25, {vk_right});
    EXPECT_EQ(game.stage_step, 1);
    EXPECT_EQ(game.stage_cleared, 0);
    frames(30);
    EXPECT_EQ(game.stage_step, 1);
    EXPECT_EQ(player_x(), 54.0f);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.total_deaths, 0);
}

}  // namespace
}  // namespace game_test
