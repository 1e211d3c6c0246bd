#pragma once
// The process shell: single-instance check, window, device, the frame loop
// and teardown. The backend's entry point calls shell_main.

// Set by the variant file the program is built with: 0 windowed, 1 full screen.
extern const int shell_fullscreen;

// The whole program: 0 when it refuses to start (another copy runs, no
// window), 1 otherwise, also after a device failure.
int shell_main();
// One window message or one whole frame per pass, then a 1 ms sleep, until
// the quit message. 0 only if the first scene cannot be set up.
int run_frame_loop();
