#pragma once
// The player: the frame update of a stage being played, the five sensors
// that follow the player, and its contacts with corpse bodies.

constexpr float walk_speed_start = 3.0f;   // pixels per frame while Left or Right is held
constexpr float gravity_start = 0.3f;      // added to fall_speed per frame after a reset
constexpr float gravity_grounded = 0.47f;  // the same in every frame that starts grounded
constexpr float jump_speed = -8.0f;        // fall_speed a jump starts with, pixels per frame
constexpr float fall_speed_cap = 10.0f;    // gravity adds only below this, so at most 10.47

// The frame update, once per frame while a stage is played or its clear
// is shown: blood, stage transition, the player's steps (unless cleared),
// animations, leaving the screen, sensors.
void update_play_frame();
// Puts the five player sensors and every corpse's body and foot sensors at
// their offsets from the player and the corpses.
void place_sensors();
// The feet, left and right sensors against every corpse body.
void player_corpse_contacts();
