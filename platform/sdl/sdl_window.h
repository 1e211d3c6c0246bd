#pragma once
// The end of the SDL game window's life, for the process entry.

// Destroys the game window if it still exists and shuts SDL's video down,
// which gives the display its own mode back after an exclusive full screen.
void sdl_window_shutdown();
