// The scene manager: three integers and a dispatch table indexed by the
// current scene number plus one.
#include "scenes/scene_manager.h"

#include "game/game_scene.h"
#include "game/game_state.h"
#include "input/input.h"
#include "platform/window.h"
#include "scenes/result_scene.h"
#include "scenes/title_scene.h"

namespace {

SceneManager manager = {None, None, None};

// "まだそのシーンはない" (there is no such scene yet), caption "作成途中" (work in progress).
const char unknown_scene_text[] =
    "\x82\xdc\x82\xbe\x82\xbb\x82\xcc\x83\x56\x81\x5b\x83\x93\x82\xcd\x82\xc8\x82\xa2";
const char unknown_scene_caption[] = "\x8d\xec\x90\xac\x93\x72\x92\x86";

// The game's own scenes, indexed by current + 1: None, Title, Game, Result,
// Count. Empty entries do nothing.
const SceneHandlers game_handlers[5] = {
    {nullptr, nullptr, nullptr, nullptr, nullptr},
    {title_scene_init, title_scene_update, title_scene_draw, title_scene_release, nullptr},
    {game_scene_init, game_scene_update, game_scene_draw, game_scene_release, game_tile_contact},
    {result_scene_init, result_scene_update, result_scene_draw, result_scene_release, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

SceneHandlers handlers[5] = {game_handlers[0], game_handlers[1], game_handlers[2],
                             game_handlers[3], game_handlers[4]};

// The handlers of the current scene, or null when the number has no entry.
const SceneHandlers* current_handlers() {
    const unsigned index = static_cast<unsigned>(manager.current + 1);
    if (index >= 5) return nullptr;
    return &handlers[index];
}

}  // namespace

SceneManager& scene_manager() { return manager; }

void scene_set_handlers(int id, const SceneHandlers* replacement) {
    if (id < Title || id > Result) return;
    handlers[id + 1] = replacement ? *replacement : game_handlers[id + 1];
}

int request_scene(int id) {
    // One unsigned comparison refuses -1 and 3 alike.
    if (id != manager.current && static_cast<unsigned>(id) <= 2u) {
        manager.previous = manager.current;
        manager.next = id;
    }
    return id;
}

int start_scenes() {
    setup_input(game.input, 0, 0);
    poll_input(game.input);
    if (manager.current != Title) {
        manager.previous = manager.current;
        manager.next = Title;
    }
    return 1;
}

void update_scene() {
    poll_input(game.input);
    if (manager.current != manager.next) {
        release_scene();
        manager.current = manager.next;
        init_scene();
    }
    const SceneHandlers* h = current_handlers();
    if (!h) return report_unknown_scene();
    if (h->update) h->update();
}

void draw_scene() {
    const SceneHandlers* h = current_handlers();
    if (!h) return report_unknown_scene();
    if (h->draw) h->draw();
}

void init_scene() {
    const SceneHandlers* h = current_handlers();
    if (!h) return report_unknown_scene();
    if (h->init) h->init();
}

void release_scene() {
    const SceneHandlers* h = current_handlers();
    if (!h) return report_unknown_scene();
    if (h->release) h->release();
}

void scene_contact(int tile_index, int sensor_kind) {
    const SceneHandlers* h = current_handlers();
    if (!h) return report_unknown_scene();
    if (h->contact) h->contact(tile_index, sensor_kind);
}

void report_unknown_scene() {
    window_message_box(0, unknown_scene_text, unknown_scene_caption);
    request_scene(manager.previous);
}
