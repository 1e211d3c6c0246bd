#pragma once
// Which scene runs, requests to change it, and the dispatch of the five
// per-scene operations to the current scene's handlers.

enum SceneId {
    None = -1,   // no scene; all three fields at start-up
    Title = 0,
    Game = 1,
    Result = 2,
    Count = 3,   // one past the last scene; dispatches like None
};

struct SceneManager {
    int current;   // the scene whose handlers run
    int previous;  // current when the last accepted request was made
    int next;      // the requested scene; differs from current while a change is pending
};

// The five operations of one scene; an empty entry does nothing.
struct SceneHandlers {
    int (*init)();
    void (*update)();
    void (*draw)();
    void (*release)();
    void (*contact)(int tile_index, int sensor_kind);
};

// The manager's three fields (for tests and tools).
SceneManager& scene_manager();
// Replaces the handlers of scene id (0..2); null puts the game's own back.
// Only tests use this, to watch the manager call a scene.
void scene_set_handlers(int id, const SceneHandlers* handlers);

// Asks for a change to id, carried out at the top of the next update.
// Refused for the current scene and for anything outside 0..2. Returns id.
int request_scene(int id);
// First-scene set-up before the first frame: input, one poll, the title.
int start_scenes();
// Poll input, carry out a pending change, run the current scene's update.
void update_scene();
void draw_scene();
void init_scene();
void release_scene();
// A tile touched by a player sensor or a corpse, forwarded to the scene.
void scene_contact(int tile_index, int sensor_kind);
// The box for a scene number without a scene, then back to the previous one.
void report_unknown_scene();
