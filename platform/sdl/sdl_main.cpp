// The process entry of the SDL build: the shell runs the whole game; the
// window and SDL's video are put away before the process ends, so that an
// exclusive full screen gives the display its own mode back.
#include "platform/sdl/sdl_window.h"
#include "shell/shell.h"

int main() {
    const int status = shell_main();
    sdl_window_shutdown();
    return status;
}
