#pragma once
// The game's own modal message box on SDL.
#include <SDL.h>

// Shows the UTF-8 text with an OK button in a window titled caption, over
// the owner window when one is given, and returns when the player closes
// it. 0 when the box could not be made (no font, no window).
int sdl_message_box_show(SDL_Window* owner, const char* text, const char* caption);
