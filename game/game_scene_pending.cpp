// Placeholder handlers of the game scene until its own code lands: the
// scene does nothing yet.
#include "game/game_scene.h"

int game_scene_init() { return 1; }
void game_scene_update() {}
void game_scene_draw() {}
void game_scene_release() {}
void game_tile_contact(int, int) {}
