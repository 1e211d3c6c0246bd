// The SDL game window on the offscreen driver: the single-instance lock,
// the pump's one event per pass, Escape and the close box ending the loop,
// and the cursor's show count.
#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/window.h"
#include "tests/sdl/offscreen.h"

namespace {

void push(Uint32 type) {
    SDL_Event e;
    SDL_zero(e);
    e.type = type;
    SDL_PushEvent(&e);
}

void push_key(SDL_Keycode key) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
}

// Pumps until the queue is empty or the quit comes; returns the passes it
// took, or -1 when the quit never came.
int pump_until_quit(int limit) {
    for (int pass = 1; pass <= limit; ++pass) {
        const int r = window_pump_message();
        if (r == PumpQuit) return pass;
        if (r == PumpIdle) return -1;
    }
    return -1;
}

// Takes whatever the window's creation queued (shown, exposed, focus).
void drain() {
    while (window_pump_message() == PumpDispatched) {
    }
}

}  // namespace

TEST(SdlWindow, FirstCopyHoldsTheLockAndASecondCannotTakeIt) {
    const std::string dir = ::testing::TempDir();
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    EXPECT_EQ(window_other_instance_running(), 0);
    EXPECT_EQ(window_other_instance_running(), 0);  // asking again is still this copy
    // Another copy opens the same file and finds it locked.
    const std::string path = dir + "/Quennary.lock";
    const int fd = open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), -1);
    EXPECT_EQ(errno, EWOULDBLOCK);
    close(fd);
}

TEST(SdlWindow, EscapePostsACloseThatEndsTheLoop) {
    use_offscreen_video();
    ASSERT_EQ(window_create(0), 1);
    drain();
    EXPECT_EQ(window_pump_message(), PumpIdle);
    // A burst of events holds the frames back, one event per pass.
    for (int i = 0; i < 5; ++i) push(SDL_USEREVENT + 1000);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(window_pump_message(), PumpDispatched);
    EXPECT_EQ(window_pump_message(), PumpIdle);
    // Escape: the key event, the close it posts, the quit the close posts.
    push_key(SDLK_ESCAPE);
    push_key(SDLK_ESCAPE);  // a second press before the close is harmless
    EXPECT_GE(pump_until_quit(10), 4);
    EXPECT_EQ(window_pump_message(), PumpIdle);
}

TEST(SdlWindow, CloseBoxAndOtherKeys) {
    use_offscreen_video();
    ASSERT_EQ(window_create(0), 1);
    drain();
    push_key(SDLK_RETURN);
    EXPECT_EQ(window_pump_message(), PumpDispatched);
    EXPECT_EQ(window_pump_message(), PumpIdle);
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
    EXPECT_GE(pump_until_quit(10), 2);  // the close, what the destruction queues, the quit
}

TEST(SdlWindow, CursorHidesWhileTheShowCountIsNegative) {
    use_offscreen_video();
    ASSERT_EQ(window_create(1), 1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    window_show_cursor(0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    window_show_cursor(0);
    window_show_cursor(1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    window_show_cursor(1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(SdlWindow, MessageBoxWithNoOneToSeeItGoesToTheTerminalAndReturns) {
    use_offscreen_video();
    ASSERT_EQ(window_create(0), 1);
    // "ダイレクトグラフィックスの初期化に失敗しました" (the device failure).
    const char text[] =
        "\x83\x5f\x83\x43\x83\x8c\x83\x4e\x83\x67\x83\x4f\x83\x89\x83\x74\x83\x42\x83\x62\x83\x4e"
        "\x83\x58\x82\xcc\x8f\x89\x8a\xfa\x89\xbb\x82\xc9\x8e\xb8\x94\x73\x82\xb5\x82\xdc\x82\xb5"
        "\x82\xbd";
    ::testing::internal::CaptureStderr();
    window_message_box(1, text, "");
    const std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed,
              "\xe3\x83\x80\xe3\x82\xa4\xe3\x83\xac\xe3\x82\xaf\xe3\x83\x88\xe3\x82\xb0\xe3\x83\xa9"
              "\xe3\x83\x95\xe3\x82\xa3\xe3\x83\x83\xe3\x82\xaf\xe3\x82\xb9\xe3\x81\xae\xe5\x88\x9d"
              "\xe6\x9c\x9f\xe5\x8c\x96\xe3\x81\xab\xe5\xa4\xb1\xe6\x95\x97\xe3\x81\x97\xe3\x81\xbe"
              "\xe3\x81\x97\xe3\x81\x9f\n");
}
