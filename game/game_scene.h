#pragma once
// The game scene: opening, stages, clear sequence, hand-over to the result.
//
// Starting play at a stage directly (the replay runner, tests): with the
// title and game initialises run as the game runs them on its way there
// (init_scene() with Title current, release_scene(), then init_scene()
// with Game current), call
//
//     game_scene_start_at_stage(n, nullptr);
//
// It leaves the game as right after stage n's load and reset with the fade
// finished: game_phase 1, stage_step 1, scene_phase 0, intro_fade_done 1,
// fade_alpha 0 and a clear fade rectangle, total_deaths and score 0. The
// next update_scene() plays the stage's first frame. A stage file of the
// tool's own may stand in for stage n's (same number and target): pass its
// path as the second argument. The same steps by hand are: set game_phase
// 1, stage_number n and fade_alpha 0; load_stage(); optionally
// tile_map_clear(game.tile_map), zero stage_cells and read_stage_file(path);
// reset_stage(); then stage_step 1, scene_phase 0, intro_fade_done 1 and
// the fade rectangle's colour 0.

int game_scene_init();
void game_scene_update();
void game_scene_draw();
void game_scene_release();
// The tile contact response, reached through scene_contact.
void game_tile_contact(int tile_index, int sensor_kind);

// The stage after stage n: 16 leads to 18, or to 19 after more than 250
// deaths; 18 and 19 lead to 20; any other n to n + 1.
int next_stage_number(int n);
// Puts the game at stage n as right after its load and reset, fade done.
void game_scene_start_at_stage(int n, const char* stage_file);

// Steps of the frame update that belong to the scene's flow: the fade out
// to black, the stage change or retry there, and the fade in (scene_phase
// 1, 2, 3); the retry request on Button4.
void stage_transition_step();
void retry_request_step();
// Fills the two HUD lines of a stage being played.
void format_hud_texts();
// The tile sweep of a frame of play: the 50 corpse bodies, then the
// player's core, feet, head, right and left sensors, each against every
// tile (the caller clears contact_lock first).
void sweep_tile_contacts();
