// Corpse selection from the start area: the nearest corpse either way, the
// tie rules that decide how a stack is climbed, burning and freezing.
#include "game/selection.h"

#include "tests/game/game_fixture.h"

namespace game_test {
namespace {

class SelectionTest : public GameFixture {
   protected:
    struct Corpse {
        float x, y;
    };
    // These corpses on screen in slots 0, 1, ..., the player at prev_x p.
    static void place(float p, const std::vector<Corpse>& corpses) {
        for (int s = 0; s < corpse_slots; ++s) {
            const int used = s < static_cast<int>(corpses.size());
            const Corpse c = used ? corpses[s] : Corpse{1000.0f, 1000.0f};
            sprite_set_position(game.corpse[s], c.x, c.y);
            game.corpse_x[s] = c.x;
            game.corpse_y[s] = c.y;
            game.corpse_on_screen[s] = used;
        }
        game.prev_x = p;
    }
    // One start-area step with this key newly pressed.
    static void press(int vk) {
        headless_release_all_keys();
        poll_input(game.input);
        headless_set_key(vk, 1);
        poll_input(game.input);
        start_area_actions();
    }
};

TEST_F(SelectionTest, NearestCorpseEitherWayFromNoSelection) {
    start(1, floor_stage());
    struct Case {
        const char* what;
        float p;
        std::vector<Corpse> corpses;
        int right, left;  // what Button6, or Button5, selects from none
    } cases[] = {
        {"none on screen", 250, {}, -1, -1},
        {"one either side", 250, {{200, 300}, {300, 300}}, 1, 0},
        {"nearest wins", 250, {{400, 300}, {300, 300}, {100, 300}, {240, 300}}, 1, 3},
        {"equal x: right takes the lower, left the higher",
         250,
         {{300, 300}, {300, 360}, {200, 360}, {200, 300}},
         1,
         3},
        {"full equality: the earlier slot", 250, {{300, 300}, {300, 300}}, 0, -1},
        {"x at the player before the first beyond it: not taken",
         250,
         {{250, 300}, {300, 300}},
         1,
         -1},
        {"x at the player after the first beyond it: taken", 250, {{300, 300}, {250, 300}}, 1, -1},
        {"x at the player after the first left of it: taken", 250, {{200, 300}, {250, 300}}, -1, 1},
    };
    for (const Case& c : cases) {
        for (int button : {vk_h, vk_g}) {
            place(c.p, c.corpses);
            game.selected_corpse = -1;
            effects();
            press(button);
            const int expected = button == vk_h ? c.right : c.left;
            EXPECT_EQ(game.selected_corpse, expected)
                << c.what << (button == vk_h ? " right" : " left");
            EXPECT_EQ(effects(), std::vector<int>{Cursor})
                << c.what;  // sounds even with nothing found
            if (expected >= 0) {
                EXPECT_EQ(sprite_get_x(game.selection_marker), c.corpses[expected].x + 7.0f);
                EXPECT_EQ(sprite_get_y(game.selection_marker), c.corpses[expected].y - 5.0f);
            }
        }
    }
}

TEST_F(SelectionTest, StackIsClimbedUpToTheRightAndDownToTheLeft) {
    start(1, floor_stage());
    place(250, {{300, 381}, {300, 369}, {300, 357}});
    game.selected_corpse = -1;
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        press(vk_h);
        visited.push_back(game.selected_corpse);
    }
    EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 2}));
    visited.clear();
    for (int i = 0; i < 3; ++i) {
        press(vk_g);
        visited.push_back(game.selected_corpse);
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 0, 0}));
}

// From a selected corpse, two later corpses in one column beyond it: to the
// right the earlier of them stays, to the left the later one wins.
TEST_F(SelectionTest, TieRulesFromASelectionAreNotMirrorImages) {
    start(1, floor_stage());
    struct Case {
        const char* what;
        int vk;
        std::vector<Corpse> corpses;  // slot 0 is the selected one
        int expected;
    } cases[] = {
        {"right, lower first", vk_h, {{100, 381}, {200, 381}, {200, 300}}, 1},
        {"right, higher first", vk_h, {{100, 381}, {200, 300}, {200, 381}}, 1},
        {"right, the higher only if above the selected and below the best",
         vk_h,
         {{100, 381}, {200, 300}, {200, 350}},
         2},
        {"left, lower first", vk_g, {{300, 381}, {200, 381}, {200, 300}}, 2},
        {"left, higher first", vk_g, {{300, 381}, {200, 300}, {200, 381}}, 2},
        {"right, the nearest column", vk_h, {{100, 381}, {400, 381}, {200, 381}, {300, 381}}, 2},
        {"left, the nearest column", vk_g, {{400, 381}, {100, 381}, {300, 381}, {200, 381}}, 2},
        {"right, nothing further: stays", vk_h, {{500, 381}, {100, 381}}, 0},
    };
    for (const Case& c : cases) {
        place(250, c.corpses);
        game.selected_corpse = 0;
        press(c.vk);
        EXPECT_EQ(game.selected_corpse, c.expected) << c.what;
    }
}

TEST_F(SelectionTest, BurnAndFreezeFromTheStartArea) {
    start(1, floor_stage());
    // Two corpses resting on the floor right of the start area.
    sprite_set_position(game.corpse[0], 200.0f, 397.0f);
    sprite_set_position(game.corpse[1], 300.0f, 397.0f);
    place_sensors();
    frame();
    ASSERT_EQ(game.in_start_area, 1);
    ASSERT_EQ(game.corpse_count, 2);
    effects();
    frame({vk_h});
    EXPECT_EQ(game.selected_corpse, 0);
    frame();
    frame({vk_up});
    EXPECT_EQ(effects(), (std::vector<int>{Cursor, Fire}));
    EXPECT_EQ(sprite_get_x(game.fire[0]), 200.0f - 11.0f);
    EXPECT_EQ(sprite_get_y(game.fire[0]),
              397.0f + 1.5f - 41.0f);  // as it lay after this frame's fall
    EXPECT_EQ(sprite_get_y(game.corpse[0]), 1000.0f);
    EXPECT_EQ(sprite_get_x(game.selection_marker), 1000.0f);
    EXPECT_EQ(game.selected_corpse, 0);  // kept, over the burned corpse off screen
    // The fire plays frames 0..5 once and goes in its 40th frame update,
    // the burn's own frame being the first.
    std::vector<int> fire_frames = {game.fire[0].frame};
    int updates = 1;
    while (sprite_get_x(game.fire[0]) < 640.0f && updates < 100) {
        frame();
        updates += 1;
        if (updates == 2) {
            EXPECT_EQ(game.corpse_count, 1);  // the burned one no longer counts
        }
        if (sprite_get_x(game.fire[0]) < 640.0f) fire_frames.push_back(game.fire[0].frame);
    }
    EXPECT_EQ(updates, 40);
    std::vector<int> per_frame(6, 0);
    for (size_t i = 0; i < fire_frames.size(); ++i) {
        ASSERT_GE(fire_frames[i], 0);
        ASSERT_LE(fire_frames[i], 5);
        if (i > 0) {
            ASSERT_GE(fire_frames[i], fire_frames[i - 1]);
        }
        per_frame[fire_frames[i]] += 1;
    }
    for (int f = 0; f < 6; ++f) EXPECT_GE(per_frame[f], 6) << "fire frame " << f;

    // Freeze the other: it stays where it is, Up no longer burns it, Down
    // sounds again.
    frame({vk_h});
    EXPECT_EQ(game.selected_corpse, 1);
    frame();
    effects();
    frame({vk_down});
    EXPECT_EQ(effects(), std::vector<int>{Ice});
    EXPECT_EQ(game.corpse_frozen[1], 1);
    // Frozen while 1.5 pixels down in its frame's fall; the floor then puts
    // it back on its top, the ice stays where it was put.
    const float frozen_y = sprite_get_y(game.corpse[1]);
    EXPECT_EQ(frozen_y, 397.0f);
    EXPECT_EQ(sprite_get_x(game.ice[1]), 300.0f - 10.0f);
    EXPECT_EQ(sprite_get_y(game.ice[1]), 398.5f - 18.0f);
    frames(30);
    EXPECT_EQ(sprite_get_y(game.corpse[1]), frozen_y);
    frame({vk_up});
    EXPECT_TRUE(effects().empty());
    EXPECT_EQ(sprite_get_y(game.corpse[1]), frozen_y);
    frame();
    frame({vk_down});
    EXPECT_EQ(effects(), std::vector<int>{Ice});
    EXPECT_EQ(game.corpse_count, 1);
}

TEST_F(SelectionTest, BurnAndFreezeInOneFrameKeepsTheSlotOutOfUse) {
    start(1, floor_stage());
    sprite_set_position(game.corpse[0], 200.0f, 397.0f);
    place_sensors();
    frame();
    frame({vk_h});
    frame();
    frame({vk_up, vk_down});
    EXPECT_EQ(game.corpse_frozen[0], 1);
    EXPECT_EQ(sprite_get_y(game.corpse[0]), 1000.0f);
    frame();
    EXPECT_EQ(game.corpse_count, 0);
    // The next death may not take the frozen slot 0.
    game.prev_x = 300.0f;
    game.prev_y = 300.0f;
    kill_player();
    EXPECT_EQ(sprite_get_x(game.corpse[1]), 310.0f);
    EXPECT_EQ(sprite_get_y(game.corpse[0]), 1000.0f);
}

TEST_F(SelectionTest, LeavingTheStartAreaDropsTheSelection) {
    start(1, floor_stage());
    sprite_set_position(game.corpse[0], 300.0f, 397.0f);
    place_sensors();
    frame();
    frame({vk_h});
    ASSERT_EQ(game.selected_corpse, 0);
    frames(20, {vk_right});
    EXPECT_EQ(game.in_start_area, 0);
    EXPECT_EQ(game.selected_corpse, -1);
    EXPECT_EQ(sprite_get_x(game.selection_marker), 1000.0f);
    frames(20, {vk_left});
    EXPECT_EQ(game.in_start_area, 1);
    EXPECT_EQ(game.selected_corpse, -1);
    frame({vk_g});  // nothing left of the player
    EXPECT_EQ(game.selected_corpse, -1);
}

}  // namespace
}  // namespace game_test
