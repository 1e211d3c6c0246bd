// game_windowed: plays in a 640 x 480 client window with a caption.
#include "shell/shell.h"

extern const int shell_fullscreen = 0;
