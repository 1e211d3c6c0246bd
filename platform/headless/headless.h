#pragma once
// Control surface of the headless backend, for tests and tools: no window,
// no sound card. It records every draw call, every message box and every
// cursor change, takes keys and joystick readings from the caller, and
// offers a message queue the caller fills.
#include <cstdint>

#include "platform/video.h"

// What one recorded draw call was.
enum HeadlessDrawKind {
    HeadlessQuad = 1,  // video_draw_quad
    HeadlessText = 2,  // text_draw
};

struct HeadlessDraw {
    int kind;
    SpriteVertex vertices[4];     // quads: the four vertices as sent
    const VideoTexture* texture;  // quads: the texture bound at the call (null: none)
    char text[128];               // texts: the Shift-JIS bytes (cut at 127)
    int font_height;              // texts: the cell height of the font
    int left, top, right, bottom; // texts: the clip rectangle
    uint32_t color;               // texts: the colour
};

// Forgets everything: draw log, keys, joystick, messages, counters. Textures
// and fonts created before stay valid.
void headless_reset();
// The same, one service at a time (a tool that draws through another video
// backend resets only the window and the input).
void headless_window_reset();
void headless_video_reset();
void headless_input_reset();

// ---- video
// Draw calls of the frames since the last headless_clear_draws (at most
// headless_draw_capacity are kept; the rest are counted in `dropped`).
enum { headless_draw_capacity = 8192 };
const HeadlessDraw* headless_draws(int* count, int* dropped = nullptr);
void headless_clear_draws();
// The next free entry of the draw log, zeroed; null when the log is full.
HeadlessDraw* headless_next_draw();
int headless_frames_presented();   // video_end_frame calls since the reset
int headless_texture_binds();      // video_set_texture calls since the reset
int headless_device_created();     // 1 while the device exists
// Makes the next video_create_device fail (1) or succeed (0).
void headless_fail_device(int fail);
// Image size of a loaded texture and the path it came from.
const char* headless_texture_path(const VideoTexture* texture);
int headless_live_textures();      // loaded and not yet released

// ---- window and pump
// Queues a message for window_pump_message, as the window system would.
enum HeadlessMessage {
    HeadlessMessageOther = 0,   // any message the window procedure passes on
    HeadlessMessageEscape = 1,  // Escape key down
    HeadlessMessageClose = 2,   // the close box
};
void headless_post_message(int message);
// Posts Escape once video_end_frame has been called `frames` times (0: never).
void headless_escape_after_frames(int frames);
void headless_set_other_instance(int running);
int headless_window_created();
int headless_message_boxes();                // message boxes shown since the reset
const char* headless_last_message_box_text();
const char* headless_last_message_box_caption();
int headless_last_message_box_owned();
int headless_cursor_shown();                 // the count ShowCursor keeps (starts at 0)
int headless_sleeps();                       // system_sleep_ms calls since the reset

// ---- keys and joystick
void headless_set_key(int virtual_key, int down);
void headless_release_all_keys();
// present 0: no joystick (every query fails). Otherwise the capabilities
// and reading that the next queries return; reading_fails makes reads fail.
void headless_set_joystick(int present, uint32_t x_max, uint32_t y_max);
void headless_set_joystick_reading(uint32_t x, uint32_t y, uint32_t buttons, int reading_fails = 0);

// ---- timer
// Runs `ms` milliseconds of every armed periodic timer on the calling thread,
// one millisecond at a time, callbacks in the order their timers were set.
void headless_timer_advance(unsigned ms);
int headless_timers_armed();
int headless_timer_periods();  // begin_period minus end_period calls
