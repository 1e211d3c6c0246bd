// Keyboard and joystick polled into ten logical buttons.
#include "input/input.h"

#include "platform/keys.h"

namespace {

// Key-layout column of each logical button: the layout lists up, down,
// right, left, while the buttons count up, right, down, left.
constexpr int layout_column[button_count] = {0, 2, 1, 3, 4, 5, 6, 7, 8, 9};

constexpr int32_t no = -1;  // no key in this place

// Virtual-key codes of the four built-in layouts; layout 0 is the game's.
constexpr int32_t built_in_layouts[4][key_rows][button_count] = {
    {
        {0x26, 0x28, 0x27, 0x25, 0x20, 0x0D, no, no, no, no},       // arrows, Space, Enter
        {0x68, 0x62, 0x66, 0x64, 0x5A, 0x58, 0x43, 0x56, 0x47, 0x48}, // numpad, Z X C V G H
        {no, no, no, no, 0x10, 0x11, 0x1B, no, no, no},             // Shift, Ctrl, Escape
    },
    {
        {0x26, 0x28, 0x27, 0x25, 0x20, 0x0D, no, no, 0, 0},
        {0x68, 0x62, 0x66, 0x64, 0x60, 0x65, no, no, 0, 0},
        {no, no, no, no, no, no, no, no, 0, 0},
    },
    {
        {0x54, 0x42, 0x48, 0x46, 0x5A, 0x58, 0x43, 0x56, 0, 0},     // T B H F Z X C V
        {no, no, no, no, no, no, no, no, 0, 0},
        {no, no, no, no, no, no, no, no, 0, 0},
    },
    {
        {0x26, 0x28, 0x27, 0x25, 0x20, 0x1B, no, no, 0, 0},
        {0x68, 0x62, 0x66, 0x64, 0x0D, no, no, no, 0, 0},
        {no, no, no, no, 0x5A, 0x58, no, no, 0, 0},
    },
};

// Joystick button bit of each action button (Button1 .. Button6).
uint32_t joystick_bit(int button) { return 1u << (button - Button1); }

}  // namespace

unsigned setup_input(InputState& state, int second_joystick, int layout) {
    for (int row = 0; row < key_rows; ++row)
        for (int col = 0; col < button_count; ++col) state.keys.keys[row][col] = col < 8 ? no : 0;
    state.stick_up = state.stick_right = state.stick_down = state.stick_left = 0;
    state.joystick_buttons = 0;
    state.joystick_number = 0;
    if (layout >= 0 && layout <= 3)
        for (int row = 0; row < key_rows; ++row)
            for (int col = 0; col < button_count; ++col)
                state.keys.keys[row][col] = built_in_layouts[layout][row][col];
    state.joystick_number = second_joystick ? 1 : 0;
    return joystick_get_caps(state.joystick_number, &state.caps);
}

void poll_input(InputState& state) {
    state.joystick_buttons = 0;
    JoystickReading reading;
    if (joystick_get_reading(state.joystick_number, &reading) == 0) {
        state.joystick_buttons = reading.buttons;
        // Centre at half the maximum, dead zone a third of it either side.
        const uint32_t half_x = state.caps.x_max / 2;
        const uint32_t half_y = state.caps.y_max / 2;
        const int32_t third_x = static_cast<int32_t>(state.caps.x_max / 3);
        const int32_t third_y = static_cast<int32_t>(state.caps.y_max / 3);
        const int32_t dx = static_cast<int32_t>(reading.x - half_x);
        const int32_t dy = static_cast<int32_t>(reading.y - half_y);
        state.stick_up = -dy > third_y;
        state.stick_right = dx > third_x;
        state.stick_down = dy > third_y;
        state.stick_left = -dx > third_x;
    }
    uint32_t mask = 0;
    for (int i = 0; i < button_count; ++i)
        if (button_held(state, i)) mask |= 1u << i;
    state.buttons_before[state.joystick_number] = state.buttons_now[state.joystick_number];
    state.buttons_now[state.joystick_number] = mask;
}

int button_held(const InputState& state, int button) {
    const int col = layout_column[button];
    for (int row = 0; row < key_rows; ++row) {
        const int32_t key = state.keys.keys[row][col];
        if (key != no && keys_down(key)) return 1;
    }
    switch (button) {
    case Up: return state.stick_up;
    case Right: return state.stick_right;
    case Down: return state.stick_down;
    case Left: return state.stick_left;
    default: return (state.joystick_buttons & joystick_bit(button)) != 0;
    }
}

int button_pressed(const InputState& state, int button) {
    if (state.buttons_before[state.joystick_number] & (1u << button)) return 0;
    return button_held(state, button);
}
