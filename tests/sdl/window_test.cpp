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
