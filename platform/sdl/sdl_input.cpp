// The keyboard and the joystick on SDL. Keys are asked by Windows
// virtual-key code and answered from SDL's keyboard state, which the
// message pump keeps up to date. The joystick is polled, never heard from
// as events, so that moving the stick queues nothing that would hold the
// frames back.
#include "platform/sdl/sdl_input.h"

#include "platform/joystick.h"
#include "platform/keys.h"

namespace {

// Virtual-key codes beyond the runs of letters, digits, keypad digits and
// function keys, with their scancodes (the second one 0 when there is one).
struct KeyName {
    int virtual_key;
    SDL_Scancode first;
    SDL_Scancode second;
};

const KeyName named_keys[] = {
    {0x08, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_UNKNOWN},
    {0x09, SDL_SCANCODE_TAB, SDL_SCANCODE_UNKNOWN},
    {0x0D, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
    {0x10, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
    {0x11, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
    {0x12, SDL_SCANCODE_LALT, SDL_SCANCODE_RALT},
    {0x13, SDL_SCANCODE_PAUSE, SDL_SCANCODE_UNKNOWN},
    {0x14, SDL_SCANCODE_CAPSLOCK, SDL_SCANCODE_UNKNOWN},
    {0x1B, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
    {0x20, SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
    {0x21, SDL_SCANCODE_PAGEUP, SDL_SCANCODE_UNKNOWN},
    {0x22, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_UNKNOWN},
    {0x23, SDL_SCANCODE_END, SDL_SCANCODE_UNKNOWN},
    {0x24, SDL_SCANCODE_HOME, SDL_SCANCODE_UNKNOWN},
    {0x25, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
    {0x26, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
    {0x27, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
    {0x28, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
    {0x2D, SDL_SCANCODE_INSERT, SDL_SCANCODE_UNKNOWN},
    {0x2E, SDL_SCANCODE_DELETE, SDL_SCANCODE_UNKNOWN},
    {0x6A, SDL_SCANCODE_KP_MULTIPLY, SDL_SCANCODE_UNKNOWN},
    {0x6B, SDL_SCANCODE_KP_PLUS, SDL_SCANCODE_UNKNOWN},
    {0x6D, SDL_SCANCODE_KP_MINUS, SDL_SCANCODE_UNKNOWN},
    {0x6E, SDL_SCANCODE_KP_PERIOD, SDL_SCANCODE_UNKNOWN},
    {0x6F, SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_UNKNOWN},
    {0xA0, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_UNKNOWN},
    {0xA1, SDL_SCANCODE_RSHIFT, SDL_SCANCODE_UNKNOWN},
    {0xA2, SDL_SCANCODE_LCTRL, SDL_SCANCODE_UNKNOWN},
    {0xA3, SDL_SCANCODE_RCTRL, SDL_SCANCODE_UNKNOWN},
    {0xA4, SDL_SCANCODE_LALT, SDL_SCANCODE_UNKNOWN},
    {0xA5, SDL_SCANCODE_RALT, SDL_SCANCODE_UNKNOWN},
};

// Windows error codes of the joystick queries: a bad joystick number, and
// a joystick that is not there.
constexpr unsigned joystick_error_parameters = 165;
constexpr unsigned joystick_error_unplugged = 167;
// Axis range the game is told about: 0 .. 65535, centre 32767.
constexpr uint32_t joystick_axis_max = 65535;
// How many joysticks can be asked for (the first and the second).
constexpr unsigned joystick_slots = 2;

struct Joysticks {
    int started;  // SDL's joystick subsystem is up
    SDL_Joystick* open[joystick_slots];
};

Joysticks joysticks = {0, {nullptr, nullptr}};

// The joystick of this number, opened if it was plugged in since the last
// query, forgotten if it was pulled out; null when there is none.
SDL_Joystick* find_joystick(unsigned id) {
    if (id >= joystick_slots) return nullptr;
    if (!joysticks.started) {
        // Read the stick when the window has no focus too, as the system's
        // joystick query does.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return nullptr;
        SDL_JoystickEventState(SDL_IGNORE);
        joysticks.started = 1;
    }
    SDL_JoystickUpdate();
    SDL_Joystick*& joystick = joysticks.open[id];
    if (joystick && !SDL_JoystickGetAttached(joystick)) {
        SDL_JoystickClose(joystick);
        joystick = nullptr;
    }
    if (!joystick && SDL_NumJoysticks() > static_cast<int>(id))
        joystick = SDL_JoystickOpen(static_cast<int>(id));
    return joystick;
}

uint32_t axis_reading(SDL_Joystick* joystick, int axis) {
    // A stick without this axis stands in the middle.
    if (SDL_JoystickNumAxes(joystick) <= axis) return joystick_axis_max / 2;
    return static_cast<uint32_t>(SDL_JoystickGetAxis(joystick, axis) + 32768);
}

}  // namespace

int sdl_keys_scancodes(int vk, SDL_Scancode out[2]) {
    if (vk >= 'A' && vk <= 'Z') {
        // A letter is the key that types it in the present keyboard layout,
        // as on Windows; where no key types it, the key at its US place.
        SDL_Scancode code = SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_a + (vk - 'A')));
        if (code == SDL_SCANCODE_UNKNOWN) code = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (vk - 'A'));
        out[0] = code;
        return 1;
    }
    if (vk >= '1' && vk <= '9') {
        out[0] = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (vk - '1'));
        return 1;
    }
    if (vk == '0') {
        out[0] = SDL_SCANCODE_0;
        return 1;
    }
    if (vk == 0x60) {  // numpad 0 comes after numpad 9 among the scancodes
        out[0] = SDL_SCANCODE_KP_0;
        return 1;
    }
    if (vk >= 0x61 && vk <= 0x69) {
        out[0] = static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (vk - 0x61));
        return 1;
    }
    if (vk >= 0x70 && vk <= 0x7B) {
        out[0] = static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (vk - 0x70));
        return 1;
    }
    for (const KeyName& key : named_keys) {
        if (key.virtual_key != vk) continue;
        out[0] = key.first;
        out[1] = key.second;
        return key.second == SDL_SCANCODE_UNKNOWN ? 1 : 2;
    }
    return 0;
}

int keys_down(int virtual_key) {
    SDL_Scancode codes[2];
    const int count = sdl_keys_scancodes(virtual_key, codes);
    int state_size = 0;
    const Uint8* state = SDL_GetKeyboardState(&state_size);
    for (int i = 0; i < count; ++i)
        if (codes[i] < state_size && state[codes[i]]) return 1;
    return 0;
}

unsigned joystick_get_caps(unsigned id, JoystickCaps* caps) {
    if (id >= joystick_slots) return joystick_error_parameters;
    if (!find_joystick(id)) return joystick_error_parameters;
    caps->x_max = joystick_axis_max;
    caps->y_max = joystick_axis_max;
    return 0;
}

unsigned joystick_get_reading(unsigned id, JoystickReading* reading) {
    if (id >= joystick_slots) return joystick_error_parameters;
    SDL_Joystick* joystick = find_joystick(id);
    if (!joystick) return joystick_error_unplugged;
    reading->x = axis_reading(joystick, 0);
    reading->y = axis_reading(joystick, 1);
    uint32_t buttons = 0;
    const int count = SDL_JoystickNumButtons(joystick);
    for (int b = 0; b < count && b < 32; ++b)
        if (SDL_JoystickGetButton(joystick, b)) buttons |= 1u << b;
    reading->buttons = buttons;
    return 0;
}
