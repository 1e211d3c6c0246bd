// Headless window and pump: a message queue the caller fills, handled as
// the window procedure would (Escape posts a close, a close destroys the
// window, the destroyed window posts the quit), plus recorded message boxes
// and cursor changes.
#include <cstdio>

#include "platform/headless/headless.h"
#include "platform/window.h"

namespace {

enum { message_capacity = 1024 };
int message_queue[message_capacity];
int message_head = 0;
int message_size = 0;
int other_instance = 0;
int window_created = 0;
int window_destroyed = 0;
int message_boxes = 0;
char box_text[256];
char box_caption[256];
int box_owned = 0;
int cursor_count = 0;
int sleeps = 0;

// The quit message the destroyed window posts to the queue.
constexpr int internal_quit = 101;

}  // namespace

void headless_window_reset() {
    message_head = message_size = 0;
    other_instance = 0;
    window_created = window_destroyed = 0;
    message_boxes = 0;
    box_text[0] = box_caption[0] = 0;
    box_owned = 0;
    cursor_count = 0;
    sleeps = 0;
}

void headless_post_message(int message) {
    if (message_size == message_capacity) return;
    message_queue[(message_head + message_size) % message_capacity] = message;
    message_size += 1;
}

void headless_set_other_instance(int running) { other_instance = running; }
int headless_window_created() { return window_created && !window_destroyed; }
int headless_message_boxes() { return message_boxes; }
const char* headless_last_message_box_text() { return box_text; }
const char* headless_last_message_box_caption() { return box_caption; }
int headless_last_message_box_owned() { return box_owned; }
int headless_cursor_shown() { return cursor_count; }
int headless_sleeps() { return sleeps; }

int window_other_instance_running() { return other_instance; }

int window_create(int) {
    window_created = 1;
    window_destroyed = 0;
    return 1;
}

int window_pump_message() {
    if (message_size == 0) return PumpIdle;
    const int message = message_queue[message_head];
    message_head = (message_head + 1) % message_capacity;
    message_size -= 1;
    switch (message) {
    case HeadlessMessageEscape:  // the window procedure posts a close
        headless_post_message(HeadlessMessageClose);
        break;
    case HeadlessMessageClose:  // the window is destroyed, which posts the quit
        window_destroyed = 1;
        headless_post_message(internal_quit);
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
