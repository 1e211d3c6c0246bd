#pragma once
// The game scene: opening, stages, clear sequence, hand-over to the result.

int game_scene_init();
void game_scene_update();
void game_scene_draw();
void game_scene_release();
// The tile contact response, reached through scene_contact.
void game_tile_contact(int tile_index, int sensor_kind);
