// Headless backend: window, pump, video, text, keys and joystick without a
// display. Everything the game sends is recorded for the caller to inspect;
// nothing here allocates while frames run (the draw log is a fixed array).
#include "platform/headless/headless.h"

#include <cstdio>
#include <cstring>

#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/text.h"
#include "platform/video.h"
#include "platform/window.h"

struct VideoTexture {
    char path[256];
    int width;
    int height;
};

struct TextFont {
    int height;
};

namespace {

HeadlessDraw draw_log[headless_draw_capacity];
int draw_count = 0;
int draw_dropped = 0;
int frames_presented = 0;
int texture_binds = 0;
int device_created = 0;
int device_fails = 0;
int live_textures = 0;
const VideoTexture* bound_texture = nullptr;
VideoTexture* released_while_bound = nullptr;

enum { message_capacity = 1024 };
int message_queue[message_capacity];
int message_head = 0;
int message_size = 0;
int escape_after = 0;
int other_instance = 0;
int window_created = 0;
int window_destroyed = 0;
int quit_posted = 0;
int message_boxes = 0;
char box_text[256];
char box_caption[256];
int box_owned = 0;
int cursor_count = 0;
int sleeps = 0;

unsigned char key_state[256];
int joystick_present = 0;
JoystickCaps joystick_caps_value = {0, 0};
JoystickReading joystick_value = {0, 0, 0};
int joystick_read_fails = 0;

void push_message(int message) {
    if (message_size == message_capacity) return;
    message_queue[(message_head + message_size) % message_capacity] = message;
    message_size += 1;
}

// Internal messages the pump posts to itself, as the window procedure does.
enum { internal_destroy = 100, internal_quit = 101 };

HeadlessDraw* next_draw() {
    if (draw_count == headless_draw_capacity) {
        draw_dropped += 1;
        return nullptr;
    }
    HeadlessDraw* d = &draw_log[draw_count++];
    std::memset(d, 0, sizeof *d);
    return d;
}

// Reads the width and height from a PNG file's header chunk, so that tests
// see the real image sizes without decoding any pixels.
int read_png_size(const char* path, int* width, int* height) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    unsigned char h[24];
    size_t n = std::fread(h, 1, sizeof h, f);
    std::fclose(f);
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n < 24 || std::memcmp(h, signature, 8) != 0 || std::memcmp(h + 12, "IHDR", 4) != 0) return 0;
    *width = (h[16] << 24) | (h[17] << 16) | (h[18] << 8) | h[19];
    *height = (h[20] << 24) | (h[21] << 16) | (h[22] << 8) | h[23];
    return 1;
}

}  // namespace

// ---------------------------------------------------------------- control

void headless_reset() {
    draw_count = draw_dropped = frames_presented = texture_binds = 0;
    bound_texture = nullptr;
    device_fails = 0;
    message_head = message_size = 0;
    escape_after = 0;
    other_instance = 0;
    window_created = window_destroyed = quit_posted = 0;
    message_boxes = 0;
    box_text[0] = box_caption[0] = 0;
    box_owned = 0;
    cursor_count = 0;
    sleeps = 0;
    std::memset(key_state, 0, sizeof key_state);
    joystick_present = 0;
    joystick_read_fails = 0;
}

const HeadlessDraw* headless_draws(int* count, int* dropped) {
    if (count) *count = draw_count;
    if (dropped) *dropped = draw_dropped;
    return draw_log;
}
void headless_clear_draws() { draw_count = draw_dropped = 0; }
int headless_frames_presented() { return frames_presented; }
int headless_texture_binds() { return texture_binds; }
int headless_device_created() { return device_created; }
void headless_fail_device(int fail) { device_fails = fail; }
const char* headless_texture_path(const VideoTexture* texture) { return texture ? texture->path : ""; }
int headless_live_textures() { return live_textures; }

void headless_post_message(int message) { push_message(message); }
void headless_escape_after_frames(int frames) { escape_after = frames; }
void headless_set_other_instance(int running) { other_instance = running; }
int headless_window_created() { return window_created && !window_destroyed; }
int headless_message_boxes() { return message_boxes; }
const char* headless_last_message_box_text() { return box_text; }
const char* headless_last_message_box_caption() { return box_caption; }
int headless_last_message_box_owned() { return box_owned; }
int headless_cursor_shown() { return cursor_count; }
int headless_sleeps() { return sleeps; }

void headless_set_key(int virtual_key, int down) {
    if (virtual_key >= 0 && virtual_key < 256) key_state[virtual_key] = down ? 1 : 0;
}
void headless_release_all_keys() { std::memset(key_state, 0, sizeof key_state); }
void headless_set_joystick(int present, uint32_t x_max, uint32_t y_max) {
    joystick_present = present;
    joystick_caps_value.x_max = x_max;
    joystick_caps_value.y_max = y_max;
}
void headless_set_joystick_reading(uint32_t x, uint32_t y, uint32_t buttons, int reading_fails) {
    joystick_value.x = x;
    joystick_value.y = y;
    joystick_value.buttons = buttons;
    joystick_read_fails = reading_fails;
}

// ---------------------------------------------------------------- window

int window_other_instance_running() { return other_instance; }

int window_create(int) {
    window_created = 1;
    window_destroyed = 0;
    return 1;
}

int window_pump_message() {
    if (message_size == 0) return PumpIdle;
    int message = message_queue[message_head];
    message_head = (message_head + 1) % message_capacity;
    message_size -= 1;
    switch (message) {
    case HeadlessMessageEscape:  // the window procedure posts a close
        push_message(HeadlessMessageClose);
        break;
    case HeadlessMessageClose:  // the window is destroyed, which posts the quit
        window_destroyed = 1;
        push_message(internal_quit);
        break;
    case internal_quit:
        return PumpQuit;
    default:
        break;
    }
    return PumpDispatched;
}

void window_message_box(int owned_by_window, const char* text, const char* caption) {
    message_boxes += 1;
    box_owned = owned_by_window;
    std::snprintf(box_text, sizeof box_text, "%s", text ? text : "");
    std::snprintf(box_caption, sizeof box_caption, "%s", caption ? caption : "");
}

void window_show_cursor(int show) { cursor_count += show ? 1 : -1; }

void system_sleep_ms(unsigned) { sleeps += 1; }

// ---------------------------------------------------------------- video

int video_create_device(int) {
    if (device_fails) return 0;
    device_created = 1;
    bound_texture = nullptr;
    return 1;
}

void video_release_device() { device_created = 0; }

VideoTexture* video_load_texture(const char* path, int, uint32_t, int* image_width, int* image_height) {
    int w = 0, h = 0;
    if (!path || !read_png_size(path, &w, &h)) return nullptr;
    VideoTexture* t = new VideoTexture;
    std::snprintf(t->path, sizeof t->path, "%s", path);
    t->width = w;
    t->height = h;
    *image_width = w;
    *image_height = h;
    live_textures += 1;
    return t;
}

// The device holds its own reference to the bound texture, as a real one
// does: a texture released while bound lives on until the next bind, so its
// address cannot be reused by a new texture while the sprite code caches it.
void video_release_texture(VideoTexture* texture) {
    if (!texture) return;
    live_textures -= 1;
    if (bound_texture == texture) {
        released_while_bound = texture;
        return;
    }
    delete texture;
}

void video_set_texture(VideoTexture* texture) {
    texture_binds += 1;
    bound_texture = texture;
    if (released_while_bound && released_while_bound != texture) {
        delete released_while_bound;
        released_while_bound = nullptr;
    }
}

void video_set_world_translation(float, float) {}
void video_set_vertex_format() {}

void video_draw_quad(const SpriteVertex vertices[4]) {
    HeadlessDraw* d = next_draw();
    if (!d) return;
    d->kind = HeadlessQuad;
    std::memcpy(d->vertices, vertices, sizeof d->vertices);
    d->texture = bound_texture;
}

void video_begin_frame() {}

void video_end_frame() {
    frames_presented += 1;
    if (escape_after > 0 && frames_presented == escape_after) push_message(HeadlessMessageEscape);
}

// ---------------------------------------------------------------- text

TextFont* text_create_font(int height, const char*) {
    TextFont* f = new TextFont;
    f->height = height;
    return f;
}

void text_release_font(TextFont* font) { delete font; }

int text_draw(TextFont* font, const char* text, int left, int top, int right, int bottom, uint32_t color) {
    HeadlessDraw* d = next_draw();
    if (d) {
        d->kind = HeadlessText;
        std::snprintf(d->text, sizeof d->text, "%s", text ? text : "");
        d->font_height = font ? font->height : 0;
        d->left = left;
        d->top = top;
        d->right = right;
        d->bottom = bottom;
        d->color = color;
    }
    if (!font || !text || !text[0]) return 0;
    int lines = 1;
    for (const char* p = text; *p; ++p)
        if (*p == '\n') lines += 1;
    return lines * font->height;
}

// ---------------------------------------------------------------- keys, joystick

int keys_down(int virtual_key) {
    if (virtual_key <= 0 || virtual_key >= 256) return 0;
    return key_state[virtual_key];
}

unsigned joystick_get_caps(unsigned id, JoystickCaps* caps) {
    if (!joystick_present || id != 0) return 165;  // no such device
    *caps = joystick_caps_value;
    return 0;
}

unsigned joystick_get_reading(unsigned id, JoystickReading* reading) {
    if (!joystick_present || id != 0) return 167;  // unplugged
    if (joystick_read_fails) return 167;
    *reading = joystick_value;
    return 0;
}

// ---------------------------------------------------------------- screenshot

#include "platform/screenshot.h"

// The headless device keeps no picture.
int video_save_screenshot(const char*) { return 0; }
