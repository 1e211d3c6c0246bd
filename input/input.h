#pragma once
// Ten logical buttons fed by the keyboard and the first joystick, polled
// once per frame, asked as held (live) or newly pressed.
#include <cstdint>

#include "platform/joystick.h"

// Logical button numbers; button i owns bit i of the masks.
enum Button {
    Up = 0,
    Right = 1,
    Down = 2,
    Left = 3,
    Button1 = 4,  // jump
    Button2 = 5,  // decide, in every scene
    Button3 = 6,
    Button4 = 7,
    Button5 = 8,
    Button6 = 9,
};

constexpr int button_count = 10;
constexpr int key_rows = 3;

// Three rows of ten virtual-key codes, columns in the order up, down, right,
// left, then the six action buttons. -1 is no key.
struct KeyLayout {
    int32_t keys[key_rows][button_count];
};

struct InputState {
    JoystickCaps caps;                // read once at set-up; zero without a joystick
    KeyLayout keys;                   // the active key map
    uint32_t buttons_now[button_count];    // held mask at the last poll, by joystick number
    uint32_t buttons_before[button_count]; // held mask at the poll before
    int32_t stick_up;                 // stick flags of the last successful read
    int32_t stick_right;
    int32_t stick_down;
    int32_t stick_left;
    uint32_t joystick_buttons;        // button bits of the last read (0 if it failed)
    uint32_t joystick_number;         // 0 first joystick, 1 second
};

// Fills the key map from layout 0..3 (anything else: no key at all) and
// reads the joystick's capabilities. Returns the capability query's result.
unsigned setup_input(InputState& state, int second_joystick, int layout);
void poll_input(InputState& state);
int button_held(const InputState& state, int button);
int button_pressed(const InputState& state, int button);
