// game_fullscreen: takes the screen at 640 x 480 and hides the mouse cursor.
#include "shell/shell.h"

extern const int shell_fullscreen = 1;
