#pragma once
// Corpses, death and respawn: the 50 corpse slots, the death procedure,
// corpse falling and support, the start area and coffin tests, the stage
// reset that (re)creates every game object, the animations of the game
// objects and their draw order.
#include "render/sprite.h"

constexpr float parked_position = 1000.0f;  // x and y of a hidden sprite, off screen

// Hides a sprite by moving it off screen.
void park_sprite(Sprite& sprite);
// The respawn point: 10 pixels left of the start cell and 64 above it.
float respawn_x();
float respawn_y();
void place_player_at_respawn();

// Releases the game's textures (the title's and the result's among them).
void release_game_sprites();
// Reloads every game object and resets the per-stage state.
void reset_stage();
// A death by a hazard or by self-destruction: counted, sounded, a blood
// splash, a corpse left where the player was, the player at the respawn.
void kill_player();
// Puts a corpse at (prev_x + 10, prev_y + 40) in the lowest free slot, or
// in the slot of the oldest unfrozen corpse when all 50 are on screen.
void leave_corpse();
// A corpse falls 1.5 pixels in the next frame unless its foot touches
// another corpse's body.
void corpse_support();
// The start area flag and the coffin.
void check_start_and_goal();

// Steps of the frame update: the corpse snapshot, on-screen flags, count
// and falling; the blood splash; the animation counters and the frames
// they give.
void corpse_frame_steps();
void blood_step();
void animation_counters_step();
void animation_frames_step();

void draw_game_objects();
