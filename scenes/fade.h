#pragma once
// The screen fade: one black full-screen rectangle whose alpha is a single
// process-wide value, drawn last by every scene. Because the value survives
// scene changes, a fade-out ended in one scene continues as the next one's
// fade-in.

// 0 transparent .. 255 opaque black; 255 at process start.
extern int fade_alpha;

// One step of 10 towards transparent; 1 once transparency is reached.
int fade_in_step();
// One step of 10 towards black; 1 once full black is reached.
int fade_out_step();
// (Re)creates the fade rectangle at the present alpha.
void fade_make_sprite();
