#pragma once
// What the backend the runner was linked with can do. quennary-replay runs
// on the headless backend (no pictures); quennary-replay-sdl draws through
// the SDL backend's offscreen window and can save what the player sees.

// 1 when frames are really drawn and video_save_screenshot keeps them.
int replay_backend_draws();
// After each frame: the headless device forgets the frame's draw log.
void replay_backend_end_frame();
