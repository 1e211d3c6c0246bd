// Headless keyboard and joystick: the caller sets what is held.
#include <cstring>

#include "platform/headless/headless.h"
#include "platform/joystick.h"
#include "platform/keys.h"

namespace {
unsigned char key_state[256];
int joystick_present = 0;
JoystickCaps joystick_caps_value = {0, 0};
JoystickReading joystick_value = {0, 0, 0};
int joystick_read_fails = 0;

// The system's answers for a missing and for an unplugged joystick.
constexpr unsigned no_such_joystick = 165;
constexpr unsigned joystick_unplugged = 167;
}  // namespace

void headless_input_reset() {
    std::memset(key_state, 0, sizeof key_state);
    joystick_present = 0;
    joystick_read_fails = 0;
}

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

int keys_down(int virtual_key) {
    if (virtual_key <= 0 || virtual_key >= 256) return 0;
    return key_state[virtual_key];
}

unsigned joystick_get_caps(unsigned id, JoystickCaps* caps) {
    if (!joystick_present || id != 0) return no_such_joystick;
    *caps = joystick_caps_value;
    return 0;
}

unsigned joystick_get_reading(unsigned id, JoystickReading* reading) {
    if (!joystick_present || id != 0 || joystick_read_fails) return joystick_unplugged;
    *reading = joystick_value;
    return 0;
}
