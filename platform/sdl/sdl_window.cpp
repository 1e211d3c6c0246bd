// The game window on SDL: the single-instance lock, the one window, the
// message pump that takes one event per pass as the window procedure would,
// message boxes, the cursor's show count and sleeping.
#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/sdl/sdl_encoding.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_window.h"
#include "platform/window.h"

namespace {

// The client area in pixels.
constexpr int client_width = 640;
constexpr int client_height = 480;

struct GameWindow {
    SDL_Window* window;   // null before creation and once closed
    int video_started;    // SDL's video was started here
    Uint32 close_event;   // posted by Escape: close the window
    Uint32 quit_event;    // posted when the window is gone: leave the loop
    int cursor_count;     // the cursor shows while this is 0 or more
    int instance_lock;    // file held locked for the process's life; -1 none
};

GameWindow game = {nullptr, 0, 0, 0, 0, -1};

void post(Uint32 type) {
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    SDL_PushEvent(&event);
}

// Destroying the window is what posts the quit; a close after that (a
// second Escape, SDL's own quit event) finds no window and does nothing.
void close_window() {
    if (!game.window) return;
    sdl_video_detach_window();
    SDL_DestroyWindow(game.window);
    game.window = nullptr;
    post(game.quit_event);
}

int no_display() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (!x11 || !x11[0]) && (!wayland || !wayland[0]);
}

// True when the display that the full-screen window goes to has a
// 640 x 480 mode of its own to switch to.
int display_has_640x480(int display) {
    const int modes = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) == 0 && mode.w == client_width &&
            mode.h == client_height)
            return 1;
    }
    return 0;
}

SDL_Window* make_window(int fullscreen) {
    if (!fullscreen)
        return SDL_CreateWindow("Quennary", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                client_width, client_height, SDL_WINDOW_SHOWN);
    SDL_Window* made = nullptr;
    // Exclusive 640 x 480 where the display can switch to it; otherwise the
    // desktop's own mode, the picture scaled to fit by the device.
    if (display_has_640x480(0))
        made = SDL_CreateWindow("Quennary", 0, 0, client_width, client_height,
                                SDL_WINDOW_SHOWN | SDL_WINDOW_FULLSCREEN);
    if (made) return made;
    // Borderless and of the screen's size as well, so that it covers the
    // screen even where no window manager takes it to full screen.
    SDL_Rect screen = {0, 0, client_width, client_height};
    SDL_GetDisplayBounds(0, &screen);
    return SDL_CreateWindow("Quennary", screen.x, screen.y, screen.w, screen.h,
                            SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void apply_cursor() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(game.cursor_count >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace

// The lock is an flock on a file named after the game in the user's runtime
// directory (or /tmp): the system frees it when the process dies, however it
// dies. The copy that takes it keeps it for its whole life.
int window_other_instance_running() {
    if (game.instance_lock >= 0) return 0;
    char path[512];
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0])
        std::snprintf(path, sizeof path, "%s/Quennary.lock", runtime);
    else
        std::snprintf(path, sizeof path, "/tmp/Quennary-%u.lock", static_cast<unsigned>(getuid()));
    const int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return 0;  // no lock to be had: let this copy run
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        game.instance_lock = fd;
        return 0;
    }
    const int held = errno == EWOULDBLOCK;
    close(fd);
    return held;
}

int window_create(int fullscreen) {
    if (game.window) return 1;
    // The window's class on X11 and its application id on Wayland: SDL
    // reads them from the environment when its video starts.
    setenv("SDL_VIDEO_X11_WMCLASS", "Quennary", 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", "Quennary", 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Quennary");
    // A poll finds every waiting event, also those queued since the last
    // pump: a frame runs only once the queue is empty, and a close posted
    // by Escape is taken at the next pass, with no frame in between.
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
        game.video_started = 1;
    }
    if (game.close_event == 0) {
        const Uint32 first = SDL_RegisterEvents(2);
        if (first == static_cast<Uint32>(-1)) return 0;
        game.close_event = first;
        game.quit_event = first + 1;
    }
    game.window = make_window(fullscreen);
    if (!game.window) return 0;
    // Keys are read as keys; no text input, no input method in the way.
    SDL_StopTextInput();
    apply_cursor();
    sdl_video_attach_window(game.window, fullscreen);
    return 1;
}

int window_pump_message() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return PumpIdle;
    SDL_Event event;
    if (!SDL_PollEvent(&event)) return PumpIdle;
    if (event.type == game.quit_event) return PumpQuit;
    if (event.type == game.close_event || event.type == SDL_QUIT) {
        close_window();
    } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) {
        close_window();
    } else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE && game.window) {
        post(game.close_event);
    }
    return PumpDispatched;
}

// Shown on the terminal as well: without a display the box cannot appear,
// and then the terminal is the only place the message reaches. The box is
// the game's own, which shows Japanese readable; the system's box of SDL is
// the fallback.
void window_message_box(int owned_by_window, const char* text, const char* caption) {
    char text_utf8[1024];
    char caption_utf8[256];
    sdl_cp932_to_utf8(text, text_utf8, sizeof text_utf8);
    sdl_cp932_to_utf8(caption, caption_utf8, sizeof caption_utf8);
    if (caption_utf8[0])
        std::fprintf(stderr, "%s: %s\n", caption_utf8, text_utf8);
    else
        std::fprintf(stderr, "%s\n", text_utf8);
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (no_display() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
        game.video_started = 1;
    }
    // Drivers that draw nowhere have no one to click OK: the box would wait
    // for ever.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) return;
    SDL_Window* owner = owned_by_window ? game.window : nullptr;
    if (sdl_message_box_show(owner, text_utf8, caption_utf8)) return;
    SDL_ShowSimpleMessageBox(0, caption_utf8, text_utf8, owner);
}

void window_show_cursor(int show) {
    game.cursor_count += show ? 1 : -1;
    apply_cursor();
}

void system_sleep_ms(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void sdl_window_shutdown() {
    close_window();
    if (game.video_started) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        game.video_started = 0;
    }
}
