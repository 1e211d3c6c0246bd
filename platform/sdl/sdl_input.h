#pragma once
// How the SDL keyboard answers for a Windows virtual-key code.
#include <SDL.h>

// The keys a virtual-key code stands for, as SDL scancodes: up to two
// (Shift, Ctrl and Alt have one on each side; Enter is also the keypad's).
// Returns how many were written, 0 for a code that no key has.
int sdl_keys_scancodes(int virtual_key, SDL_Scancode out[2]);
