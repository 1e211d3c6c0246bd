// The game window under Wine: its class, style and 640 x 480 client area,
// the single-instance check, and the way Escape and the close travel
// through the message pump to the quit message.
#include <gtest/gtest.h>

#include <string>

#include "platform/window.h"
#include "platform/win32/win32_backend.h"

namespace {

// Pumps until the quit message, as the frame loop does; the kinds of the
// passes are written as letters (d dispatched, i idle, q quit).
std::string pump_until_quit(int passes) {
    std::string seen;
    for (int pass = 0; pass < passes; ++pass) {
        const int taken = window_pump_message();
        seen += taken == PumpQuit ? 'q' : taken == PumpDispatched ? 'd' : 'i';
        if (taken == PumpQuit) break;
    }
    return seen;
}

void drain_messages() {
    while (window_pump_message() == PumpDispatched) {
    }
}

struct WindowCase {
    int fullscreen;
    DWORD style;  // the style bits the window must have
    const char* name;
};

class GameWindow : public ::testing::TestWithParam<WindowCase> {};

TEST_P(GameWindow, HasTheClassStyleAndSizeOfTheGame) {
    const WindowCase c = GetParam();
    EXPECT_EQ(window_other_instance_running(), 0);
    ASSERT_EQ(window_create(c.fullscreen), 1);
    HWND window = win32_main_window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window_other_instance_running(), 1);  // what a second copy sees
    EXPECT_EQ(FindWindowA("Quennary", "Quennary"), window);

    char class_name[64] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    EXPECT_STREQ(class_name, "Quennary");
    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), static_cast<ULONG_PTR>(CS_CLASSDC));
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0u);  // icon resource 102
    EXPECT_EQ(GetMenu(window), nullptr);                   // "Sample" names no menu
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(style & c.style, c.style);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_TRUE(IsWindowVisible(window));

    RECT client;
    GetClientRect(window, &client);
    if (c.fullscreen) {
        EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN));
    } else {
        EXPECT_EQ(client.right - client.left, 640);
        EXPECT_EQ(client.bottom - client.top, 480);
    }
    drain_messages();
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(pump_until_quit(100).back(), 'q');
    EXPECT_EQ(window_other_instance_running(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, GameWindow,
    ::testing::Values(WindowCase{0, WS_CAPTION | WS_SYSMENU, "windowed"},
                      WindowCase{1, WS_POPUP | WS_SYSMENU, "fullscreen"}),
    [](const ::testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

TEST(GameWindowMessages, EscapeClosesDestroysAndQuitsOneMessagePerPass) {
    ASSERT_EQ(window_create(0), 1);
    HWND window = win32_main_window();
    drain_messages();
    EXPECT_EQ(window_pump_message(), PumpIdle);  // nothing waiting: a frame would run

    // Escape posts the close, the close destroys the window, the destruction
    // posts the quit: each on a pass of its own.
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    const std::string seen = pump_until_quit(100);
    EXPECT_EQ(seen.back(), 'q');
    EXPECT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.find('i'), std::string::npos);  // no idle pass while messages wait
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(win32_main_window(), nullptr);
}

TEST(GameWindowMessages, OtherKeysAndMessagesLeaveTheWindowOpen) {
    ASSERT_EQ(window_create(0), 1);
    HWND window = win32_main_window();
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(window, WM_KEYDOWN, 'C', 0);
    PostMessageA(window, WM_USER, 0, 0);
    for (int pass = 0; pass < 50; ++pass) ASSERT_NE(window_pump_message(), PumpQuit);
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
    EXPECT_EQ(pump_until_quit(100).back(), 'q');
}

}  // namespace
