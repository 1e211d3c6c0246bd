#pragma once
// Puts SDL on its offscreen video driver before anything starts it, so the
// tests draw into memory whatever display the machine has.
#include <cstdlib>

inline void use_offscreen_video() {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}
