// The process entry of the Windows build: the shell runs the whole game with
// the instance and show command the system gives the program.
#include "platform/win32/win32_backend.h"
#include "shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    win32_set_process(instance, show_command);
    return shell_main();
}
