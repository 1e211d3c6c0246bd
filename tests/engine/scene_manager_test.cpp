// Scene changes: when a request is carried out, which requests are refused,
// what the dispatch calls, and the box for a scene number without a scene.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless.h"
#include "scenes/scene_manager.h"

namespace {

// Every call a scene receives, as "<scene letter><operation letter>" in order.
std::string calls;

template <char S>
struct Recorder {
    static int init() { calls += std::string(1, S) + "i "; return 1; }
    static void update() { calls += std::string(1, S) + "u "; }
    static void draw() { calls += std::string(1, S) + "d "; }
    static void release() { calls += std::string(1, S) + "r "; }
    static void contact(int tile, int kind) {
        calls += std::string(1, S) + "c" + std::to_string(tile) + ":" + std::to_string(kind) + " ";
    }
    static constexpr SceneHandlers handlers = {init, update, draw, release, contact};
};

// Requests made from inside a scene's update, to see when they take effect.
int request_in_update = None;
int title_init_with_request() {
    calls += "Ti ";
    return 1;
}
void title_update_with_request() {
    calls += "Tu ";
    if (request_in_update != None) request_scene(request_in_update);
}

class SceneManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        calls.clear();
        request_in_update = None;
        scene_manager() = {None, None, None};
        scene_set_handlers(Title, &Recorder<'T'>::handlers);
        scene_set_handlers(Game, &Recorder<'G'>::handlers);
        scene_set_handlers(Result, &Recorder<'R'>::handlers);
    }
    void TearDown() override {
        scene_manager() = {None, None, None};
        for (int id = Title; id <= Result; ++id) scene_set_handlers(id, nullptr);
    }
    // One frame as the frame loop runs it.
    static void frame() {
        update_scene();
        draw_scene();
    }
};

TEST_F(SceneManagerTest, FirstFrameInitialisesAndUpdatesTheTitleReleasingNothing) {
    ASSERT_EQ(start_scenes(), 1);
    EXPECT_EQ(scene_manager().current, None);
    EXPECT_EQ(scene_manager().next, Title);
    EXPECT_EQ(scene_manager().previous, None);
    frame();
    EXPECT_EQ(calls, "Ti Tu Td ");
    EXPECT_EQ(scene_manager().current, Title);
}

TEST_F(SceneManagerTest, RequestTakesEffectAtTheTopOfTheNextFrame) {
    SceneHandlers title = Recorder<'T'>::handlers;
    title.init = title_init_with_request;
    title.update = title_update_with_request;
    scene_set_handlers(Title, &title);
    start_scenes();
    frame();
    request_in_update = Game;
    calls.clear();
    frame();  // the request made during this update is not visible in its draw
    EXPECT_EQ(calls, "Tu Td ");
    EXPECT_EQ(scene_manager().next, Game);
    EXPECT_EQ(scene_manager().previous, Title);
    request_in_update = None;
    calls.clear();
    frame();
    EXPECT_EQ(calls, "Tr Gi Gu Gd ");
    EXPECT_EQ(scene_manager().current, Game);
}

TEST_F(SceneManagerTest, RefusedRequestsChangeNothing) {
    start_scenes();
    frame();
    const SceneManager before = scene_manager();
    for (int id : {static_cast<int>(Title), static_cast<int>(None), static_cast<int>(Count), 7, -5}) {
        EXPECT_EQ(request_scene(id), id);
        EXPECT_EQ(scene_manager().next, before.next) << id;
        EXPECT_EQ(scene_manager().previous, before.previous) << id;
    }
    calls.clear();
    frame();
    EXPECT_EQ(calls, "Tu Td ");  // no release, no re-initialise
}

TEST_F(SceneManagerTest, LastAcceptedRequestOfAFrameWinsAndPreviousFollowsTheChanges) {
    start_scenes();
    frame();
    request_scene(Result);
    request_scene(Game);
    frame();
    EXPECT_EQ(scene_manager().current, Game);
    EXPECT_EQ(scene_manager().previous, Title);
    request_scene(Result);
    frame();
    EXPECT_EQ(scene_manager().previous, Game);
}

TEST_F(SceneManagerTest, ContactReachesOnlyTheCurrentScene) {
    scene_contact(4, 2);  // no scene yet: nothing
    start_scenes();
    frame();
    request_scene(Game);
    frame();
    calls.clear();
    scene_contact(17, 5);
    EXPECT_EQ(calls, "Gc17:5 ");
}

TEST_F(SceneManagerTest, UnknownSceneShowsTheBoxAndReturnsToThePreviousScene) {
    start_scenes();
    frame();
    request_scene(Game);
    frame();
    calls.clear();
    scene_manager().current = scene_manager().next = 9;  // only a broken table could do this
    frame();
    // update and draw each show the box; the update's box asked for the previous scene
    EXPECT_EQ(headless_message_boxes(), 2);
    EXPECT_STREQ(headless_last_message_box_text(),
                 "\x82\xdc\x82\xbe\x82\xbb\x82\xcc\x83\x56\x81\x5b\x83\x93\x82\xcd\x82\xc8\x82\xa2");
    EXPECT_STREQ(headless_last_message_box_caption(), "\x8d\xec\x90\xac\x93\x72\x92\x86");
    EXPECT_EQ(headless_last_message_box_owned(), 0);
    EXPECT_EQ(scene_manager().next, Title);
    frame();  // the release at the change shows it once more, then the title starts again
    EXPECT_EQ(headless_message_boxes(), 3);
    EXPECT_EQ(calls, "Ti Tu Td ");
}

}  // namespace
