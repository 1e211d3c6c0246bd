// Buttons from keys and joystick: held and newly pressed, the key layouts,
// and the joystick's centre and dead zone.
#include <gtest/gtest.h>

#include "input/input.h"
#include "platform/headless/headless.h"

namespace {

constexpr int vk_enter = 0x0D, vk_x = 0x58, vk_escape = 0x1B, vk_left = 0x25, vk_space = 0x20;

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        state = InputState{};
        setup_input(state, 0, 0);
        poll_input(state);
    }
    // One frame's poll with the keys as given.
    void poll_with(std::initializer_list<int> keys) {
        headless_release_all_keys();
        for (int k : keys) headless_set_key(k, 1);
        poll_input(state);
    }
    InputState state;
};

TEST_F(InputTest, HeldEnterIsPressedInItsFirstFrameOnly) {
    poll_with({vk_enter});
    EXPECT_TRUE(button_pressed(state, Button2));
    EXPECT_TRUE(button_pressed(state, Button2));  // every query of that frame
    poll_with({vk_enter});
    EXPECT_FALSE(button_pressed(state, Button2));
    EXPECT_TRUE(button_held(state, Button2));
    poll_with({});
    EXPECT_FALSE(button_held(state, Button2));
    poll_with({vk_enter});
    EXPECT_TRUE(button_pressed(state, Button2));
}

TEST_F(InputTest, SecondKeyOfAHeldButtonGivesNoSecondPress) {
    poll_with({vk_x});
    EXPECT_TRUE(button_pressed(state, Button2));
    poll_with({vk_x, vk_enter});
    EXPECT_FALSE(button_pressed(state, Button2));
}

TEST_F(InputTest, LayoutZeroMapsEveryKeyToItsButton) {
    struct Case {
        int key;
        int button;
    };
    const Case cases[] = {{0x26, Up}, {0x27, Right}, {0x28, Down}, {vk_left, Left},
                          {0x68, Up}, {0x66, Right}, {0x62, Down}, {0x64, Left},
                          {vk_space, Button1}, {0x5A, Button1}, {0x10, Button1},
                          {vk_enter, Button2}, {vk_x, Button2}, {0x11, Button2},
                          {0x43, Button3}, {vk_escape, Button3}, {0x56, Button4},
                          {0x47, Button5}, {0x48, Button6}};
    for (const Case& c : cases) {
        poll_with({c.key});
        for (int b = 0; b < button_count; ++b)
            EXPECT_EQ(button_held(state, b) != 0, b == c.button) << "key " << c.key << " button " << b;
        poll_with({});
    }
}

TEST_F(InputTest, OtherLayoutsAndAnUnknownOne) {
    setup_input(state, 0, 2);  // T B H F Z X C V
    headless_set_key(0x54, 1);
    EXPECT_TRUE(button_held(state, Up));
    headless_set_key(0x54, 0);
    headless_set_key(0x48, 1);  // H is Right here, not Button6
    EXPECT_TRUE(button_held(state, Right));
    EXPECT_FALSE(button_held(state, Button6));
    headless_release_all_keys();
    setup_input(state, 0, 3);
    headless_set_key(vk_escape, 1);  // Escape is the decide button of layout 3
    EXPECT_TRUE(button_held(state, Button2));
    setup_input(state, 0, 9);
    for (int k = 1; k < 256; ++k) headless_set_key(k, 1);
    for (int b = 0; b < button_count; ++b) EXPECT_FALSE(button_held(state, b)) << b;
    EXPECT_EQ(state.keys.keys[0][7], -1);
    EXPECT_EQ(state.keys.keys[2][9], 0);
}

TEST_F(InputTest, StickCountsOnlyBeyondAThirdOfItsRange) {
    headless_set_joystick(1, 65535, 65535);
    EXPECT_EQ(setup_input(state, 0, 0), 0u);
    // Centre 32767, dead zone 21845 either side.
    struct Case {
        uint32_t x, y;
        int up, right, down, left;
    };
    const Case cases[] = {{32767, 32767, 0, 0, 0, 0},         {32767 + 21845, 32767, 0, 0, 0, 0},
                          {32767 + 21846, 32767, 0, 1, 0, 0}, {32767 - 21846, 32767, 0, 0, 0, 1},
                          {32767 - 21845, 32767, 0, 0, 0, 0}, {32767, 0, 1, 0, 0, 0},
                          {32767, 65535, 0, 0, 1, 0}};
    for (const Case& c : cases) {
        headless_set_joystick_reading(c.x, c.y, 0);
        poll_input(state);
        EXPECT_EQ(button_held(state, Up), c.up) << c.x << "," << c.y;
        EXPECT_EQ(button_held(state, Right), c.right) << c.x << "," << c.y;
        EXPECT_EQ(button_held(state, Down), c.down) << c.x << "," << c.y;
        EXPECT_EQ(button_held(state, Left), c.left) << c.x << "," << c.y;
    }
}

TEST_F(InputTest, JoystickButtonsAndAFailedRead) {
    headless_set_joystick(1, 65535, 65535);
    setup_input(state, 0, 0);
    headless_set_joystick_reading(65535, 32767, 0x02 | 0x20);  // right, buttons 2 and 6
    poll_input(state);
    EXPECT_TRUE(button_pressed(state, Button2));
    EXPECT_TRUE(button_held(state, Button6));
    EXPECT_FALSE(button_held(state, Button1));
    EXPECT_TRUE(button_held(state, Right));
    // A failed read drops the buttons but keeps the stick where it was last seen.
    headless_set_joystick_reading(32767, 32767, 0x02, 1);
    poll_input(state);
    EXPECT_FALSE(button_held(state, Button2));
    EXPECT_TRUE(button_held(state, Right));
}

TEST_F(InputTest, WithoutAJoystickTheKeyboardWorksAlone) {
    EXPECT_NE(setup_input(state, 0, 0), 0u);
    poll_with({vk_left, vk_space});
    EXPECT_TRUE(button_held(state, Left));
    EXPECT_TRUE(button_pressed(state, Button1));
    EXPECT_FALSE(button_held(state, Right));
}

}  // namespace
