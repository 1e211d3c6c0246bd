#include "game/game_state.h"

// Zero at process start: every sprite empty, the tile list empty.
GameState game;
