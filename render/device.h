#pragma once
// The drawing device of the game and the per-frame sequence around a scene
// draw. The device's fixed state (blending, texture modulation, viewport)
// is set once at creation and never changed.

// 1 when the device is ready; 0 on any failure (the shell shows the failure
// message). fullscreen selects the exclusive full-screen mode.
int create_device(int fullscreen);
// Releases what exists of the device; a second call does nothing.
void release_device();
// 0.0 until the device is created, 1.0 after: multiplies every vertex alpha.
float get_global_alpha();

// Clear to opaque black and begin the scene; end the scene and present.
void device_begin_frame();
void device_end_frame();
