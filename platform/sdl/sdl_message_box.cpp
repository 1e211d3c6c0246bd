// A modal message box of the game's own: a small window with the message in
// the Japanese font and an OK button, so that the Japanese text shows
// readable whatever fonts the window system has (the system boxes of SDL
// draw with the X server's core fonts, which seldom hold Japanese).
#include "platform/sdl/sdl_message_box.h"

#include <SDL_ttf.h>

#include "platform/sdl/sdl_text.h"

namespace {

// Sizes in pixels.
constexpr int text_height = 16;  // the message's cell height
constexpr int margin = 24;       // around the message and below the button
constexpr int button_width = 88;
constexpr int button_height = 28;
constexpr int narrowest_box = 280;

struct BoxLayout {
    int width, height;
    SDL_Rect text;    // where the message goes
    SDL_Rect button;  // the OK button
};

BoxLayout lay_out(int text_width, int text_lines_height) {
    BoxLayout l;
    l.width = text_width + 2 * margin;
    if (l.width < narrowest_box) l.width = narrowest_box;
    l.height = margin + text_lines_height + margin + button_height + margin;
    l.text = {(l.width - text_width) / 2, margin, text_width, text_lines_height};
    l.button = {(l.width - button_width) / 2, l.height - margin - button_height, button_width,
                button_height};
    return l;
}

SDL_Texture* text_texture(SDL_Renderer* renderer, TTF_Font* font, const char* text, SDL_Color color,
                          int wrap_width, int* w, int* h) {
    SDL_Surface* s = TTF_RenderUTF8_Blended_Wrapped(font, text[0] ? text : " ", color, wrap_width);
    if (!s) return nullptr;
    SDL_Texture* t = SDL_CreateTextureFromSurface(renderer, s);
    *w = s->w;
    *h = s->h;
    SDL_FreeSurface(s);
    return t;
}

void draw_box(SDL_Renderer* renderer, const BoxLayout& l, SDL_Texture* message, SDL_Texture* ok,
              int ok_w, int ok_h, int pressed) {
    SDL_SetRenderDrawColor(renderer, 240, 240, 240, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, message, nullptr, &l.text);
    SDL_SetRenderDrawColor(renderer, pressed ? 204 : 225, pressed ? 228 : 225, pressed ? 247 : 225, 255);
    SDL_RenderFillRect(renderer, &l.button);
    SDL_SetRenderDrawColor(renderer, 0, 120, 215, 255);
    SDL_RenderDrawRect(renderer, &l.button);
    const SDL_Rect label = {l.button.x + (l.button.w - ok_w) / 2, l.button.y + (l.button.h - ok_h) / 2,
                            ok_w, ok_h};
    SDL_RenderCopy(renderer, ok, nullptr, &label);
    SDL_RenderPresent(renderer);
}

int inside(const SDL_Rect& r, int x, int y) {
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// Runs the box until OK, Enter, Space, Escape or its close box. A quit
// asked of the whole program meanwhile ends the box and is kept for the
// game's own pump.
void run_box(SDL_Window* window, SDL_Renderer* renderer, const BoxLayout& l, SDL_Texture* message,
             SDL_Texture* ok, int ok_w, int ok_h) {
    const Uint32 id = SDL_GetWindowID(window);
    int pressed = 0;
    int quit_seen = 0;
    draw_box(renderer, l, message, ok, ok_w, ok_h, pressed);
    for (;;) {
        SDL_Event e;
        if (!SDL_WaitEvent(&e)) break;
        if (e.type == SDL_QUIT) {
            quit_seen = 1;
            break;
        }
        if (e.type == SDL_KEYDOWN) {
            const SDL_Keycode k = e.key.keysym.sym;
            if (k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE) break;
        } else if (e.type == SDL_WINDOWEVENT && e.window.windowID == id) {
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) break;
        } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.windowID == id &&
                   e.button.button == SDL_BUTTON_LEFT) {
            pressed = inside(l.button, e.button.x, e.button.y);
        } else if (e.type == SDL_MOUSEBUTTONUP && e.button.windowID == id &&
                   e.button.button == SDL_BUTTON_LEFT) {
            if (pressed && inside(l.button, e.button.x, e.button.y)) break;
            pressed = 0;
        }
        draw_box(renderer, l, message, ok, ok_w, ok_h, pressed);
    }
    if (quit_seen) {
        SDL_Event quit;
        SDL_zero(quit);
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

}  // namespace

int sdl_message_box_show(SDL_Window* owner, const char* text, const char* caption) {
    if (!TTF_WasInit() && TTF_Init() != 0) return 0;
    char file[1024];
    int index = 0;
    if (!sdl_text_font_file("", file, sizeof file, &index)) return 0;
    TTF_Font* font = TTF_OpenFontIndex(file, text_height, index);
    if (!font) return 0;
    int shown = 0;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* message = nullptr;
    SDL_Texture* ok = nullptr;
    int tw = 0, th = 0, ok_w = 0, ok_h = 0;
    window = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, narrowest_box,
                              100, SDL_WINDOW_HIDDEN);
    if (window) renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer && window) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer) {
        const SDL_Color black = {0, 0, 0, 255};
        message = text_texture(renderer, font, text, black, 560, &tw, &th);
        ok = text_texture(renderer, font, "OK", black, 0, &ok_w, &ok_h);
    }
    if (message && ok) {
        const BoxLayout l = lay_out(tw, th);
        SDL_SetWindowSize(window, l.width, l.height);
        // Over the middle of the game window when it owns the box.
        int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
        if (owner) {
            int ox = 0, oy = 0, ow = 0, oh = 0;
            SDL_GetWindowPosition(owner, &ox, &oy);
            SDL_GetWindowSize(owner, &ow, &oh);
            x = ox + (ow - l.width) / 2;
            y = oy + (oh - l.height) / 2;
        }
        SDL_SetWindowPosition(window, x, y);
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
        run_box(window, renderer, l, message, ok, ok_w, ok_h);
        shown = 1;
    }
    if (renderer) SDL_DestroyRenderer(renderer);  // the textures go with it
    if (window) SDL_DestroyWindow(window);
    TTF_CloseFont(font);
    return shown;
}
