#pragma once
// The joystick: capabilities and the present position of one device.
#include <cstdint>

struct JoystickCaps {
    uint32_t x_max;  // largest x the axis reports
    uint32_t y_max;  // largest y the axis reports
};

struct JoystickReading {
    uint32_t x;        // 0 .. x_max
    uint32_t y;        // 0 .. y_max
    uint32_t buttons;  // bit 0 = button 1, bit 1 = button 2, ...
};

// Both return 0 on success and a non-zero error code otherwise (no such
// joystick, unplugged). id 0 is the first joystick, 1 the second.
unsigned joystick_get_caps(unsigned id, JoystickCaps* caps);
unsigned joystick_get_reading(unsigned id, JoystickReading* reading);
