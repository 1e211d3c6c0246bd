// Keys by virtual-key code and the joystick, through SDL: the key table,
// and a virtual joystick that is plugged in, read and pulled out.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/joystick.h"
#include "platform/keys.h"
#include "platform/sdl/sdl_input.h"
#include "tests/sdl/offscreen.h"

TEST(SdlKeys, VirtualKeysNameTheirKeys) {
    const struct {
        int vk;
        SDL_Scancode first, second;
    } cases[] = {
        {0x25, SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
        {0x26, SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
        {0x27, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
        {0x28, SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
        {0x20, SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
        {0x0D, SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
        {0x10, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
        {0x11, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
        {0x1B, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
        {'A', SDL_SCANCODE_A, SDL_SCANCODE_UNKNOWN},
        {'Z', SDL_SCANCODE_Z, SDL_SCANCODE_UNKNOWN},
        {'0', SDL_SCANCODE_0, SDL_SCANCODE_UNKNOWN},
        {'1', SDL_SCANCODE_1, SDL_SCANCODE_UNKNOWN},
        {'9', SDL_SCANCODE_9, SDL_SCANCODE_UNKNOWN},
        {0x60, SDL_SCANCODE_KP_0, SDL_SCANCODE_UNKNOWN},
        {0x64, SDL_SCANCODE_KP_4, SDL_SCANCODE_UNKNOWN},
        {0x69, SDL_SCANCODE_KP_9, SDL_SCANCODE_UNKNOWN},
        {0x70, SDL_SCANCODE_F1, SDL_SCANCODE_UNKNOWN},
        {0x7B, SDL_SCANCODE_F12, SDL_SCANCODE_UNKNOWN},
    };
    for (const auto& c : cases) {
        SDL_Scancode got[2] = {SDL_SCANCODE_UNKNOWN, SDL_SCANCODE_UNKNOWN};
        const int n = sdl_keys_scancodes(c.vk, got);
        EXPECT_EQ(n, c.second == SDL_SCANCODE_UNKNOWN ? 1 : 2) << c.vk;
        EXPECT_EQ(got[0], c.first) << c.vk;
        if (n == 2) {
            EXPECT_EQ(got[1], c.second) << c.vk;
        }
    }
    SDL_Scancode none[2];
    for (int vk : {-1, 0, 0x07, 0x3A, 0x5B, 0xFF, 0x100, 300}) {
        EXPECT_EQ(sdl_keys_scancodes(vk, none), 0) << vk;
        EXPECT_EQ(keys_down(vk), 0) << vk;
    }
}

TEST(SdlJoystick, VirtualJoystickIsFoundReadAndLost) {
    use_offscreen_video();
    JoystickCaps caps = {};
    JoystickReading reading = {};
    EXPECT_NE(joystick_get_caps(0, &caps), 0u);
    EXPECT_NE(joystick_get_reading(0, &reading), 0u);
    EXPECT_NE(joystick_get_caps(5, &caps), 0u);

    // Plugged in after the first queries: the next query finds it.
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 8, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr);
    ASSERT_EQ(joystick_get_caps(0, &caps), 0u);
    EXPECT_EQ(caps.x_max, 65535u);
    EXPECT_EQ(caps.y_max, 65535u);

    const struct {
        Sint16 x, y;
        uint32_t want_x, want_y;
    } axes[] = {{-32768, 32767, 0, 65535}, {0, 0, 32768, 32768}, {32767, -32768, 65535, 0}};
    for (const auto& a : axes) {
        SDL_JoystickSetVirtualAxis(stick, 0, a.x);
        SDL_JoystickSetVirtualAxis(stick, 1, a.y);
        SDL_JoystickSetVirtualButton(stick, 0, SDL_PRESSED);
        SDL_JoystickSetVirtualButton(stick, 5, SDL_PRESSED);
        ASSERT_EQ(joystick_get_reading(0, &reading), 0u);
        EXPECT_EQ(reading.x, a.want_x);
        EXPECT_EQ(reading.y, a.want_y);
        EXPECT_EQ(reading.buttons, 0x21u);  // buttons 1 and 6
    }
    SDL_JoystickSetVirtualButton(stick, 0, SDL_RELEASED);
    ASSERT_EQ(joystick_get_reading(0, &reading), 0u);
    EXPECT_EQ(reading.buttons, 0x20u);

    // Pulled out: the queries fail again.
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    EXPECT_NE(joystick_get_reading(0, &reading), 0u);
    EXPECT_NE(joystick_get_caps(0, &caps), 0u);
}
