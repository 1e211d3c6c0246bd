// The drawing device on SDL's renderer. Every frame is drawn into a 640 x
// 480 target texture (the back buffer), which the end of the frame copies
// onto the window, scaled to fit with the aspect kept when the window is
// larger (desktop full screen), and presents. The target keeps the last
// presented frame for screenshots.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/screenshot.h"
#include "platform/sdl/sdl_pacing.h"
#include "platform/sdl/sdl_video.h"
#include "platform/video.h"

struct VideoTexture {
    SDL_Texture* texture;  // null when the renderer it belonged to is gone
    unsigned generation;   // the device creation it was made under
};

namespace {

// The back buffer in pixels.
constexpr int screen_width = 640;
constexpr int screen_height = 480;

struct VideoDevice {
    SDL_Window* window;       // the game window, or the device's own
    int window_fullscreen;    // the game window covers the screen
    int own_window;           // 1: made here (hidden), destroyed with the device
    SDL_Renderer* renderer;
    SDL_Texture* back_buffer;  // 640 x 480 render target; null when targets fail
    unsigned generation;
    int pacing_setting;  // -1: by window (on for the game's, off for our own)
    FramePacer pacer;
    int frame_presented;  // a frame has reached the screen since creation
    VideoTexture* bound;
    VideoTexture* released_while_bound;
};

VideoDevice device = {nullptr, 0, 0, nullptr, nullptr, 0, -1, {}, 0, nullptr, nullptr};

int64_t now_us() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleep_until_us(int64_t when_us) {
    using namespace std::chrono;
    std::this_thread::sleep_until(steady_clock::time_point(microseconds(when_us)));
}

int no_display() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (!x11 || !x11[0]) && (!wayland || !wayland[0]);
}

// The device's own window, for tools that run the game without the game
// window: hidden, 640 x 480, on the offscreen driver when there is no
// display at all and no driver was asked for.
int make_own_window() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        if (!std::getenv("SDL_VIDEODRIVER") && no_display())
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
    }
    device.window = SDL_CreateWindow("Quennary", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                     screen_width, screen_height, SDL_WINDOW_HIDDEN);
    if (!device.window) return 0;
    device.own_window = 1;
    device.window_fullscreen = 0;
    return 1;
}

int pacing_wanted() {
    if (device.pacing_setting >= 0) return device.pacing_setting;
    return device.own_window ? 0 : 1;
}

int display_refresh_hz(SDL_Window* window) {
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0)
        return mode.refresh_rate;
    const int index = SDL_GetWindowDisplayIndex(window);
    if (index >= 0 && SDL_GetCurrentDisplayMode(index, &mode) == 0) return mode.refresh_rate;
    return 0;
}

SDL_Renderer* make_renderer(int vsync) {
    const Uint32 common = SDL_RENDERER_TARGETTEXTURE | (vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    // The software renderer is only the last resort: it samples small and
    // mirrored textures a texel off.
    SDL_Renderer* made = SDL_CreateRenderer(device.window, -1, common | SDL_RENDERER_ACCELERATED);
    if (!made) made = SDL_CreateRenderer(device.window, -1, common | SDL_RENDERER_SOFTWARE);
    if (!made) made = SDL_CreateRenderer(device.window, -1, SDL_RENDERER_SOFTWARE);
    return made;
}

void destroy_texture(VideoTexture* texture) {
    if (texture->texture && texture->generation == device.generation && device.renderer)
        SDL_DestroyTexture(texture->texture);
    delete texture;
}

// The window's drawable size and where the 640 x 480 picture goes in it:
// as large as fits with the aspect kept, centred, black bars around.
SDL_Rect picture_rect(int output_width, int output_height) {
    SDL_Rect r = {0, 0, screen_width, screen_height};
    if (output_width <= 0 || output_height <= 0) return r;
    if (output_width * screen_height <= output_height * screen_width) {
        r.w = output_width;
        r.h = output_width * screen_height / screen_width;
    } else {
        r.h = output_height;
        r.w = output_height * screen_width / screen_height;
    }
    r.x = (output_width - r.w) / 2;
    r.y = (output_height - r.h) / 2;
    return r;
}

}  // namespace

// ---------------------------------------------------------------- SDL side

void sdl_video_attach_window(SDL_Window* window, int fullscreen) {
    device.window = window;
    device.window_fullscreen = fullscreen;
    device.own_window = 0;
}

void sdl_video_detach_window() {
    if (device.own_window) return;
    video_release_device();
    device.window = nullptr;
}

void sdl_video_set_pacing(int on) { device.pacing_setting = on ? 1 : 0; }

int sdl_video_vsync_paces() { return device.renderer && device.pacer.mode == PacingVsync; }

SDL_Renderer* sdl_video_renderer() { return device.renderer; }

unsigned sdl_video_generation() { return device.generation; }

int sdl_video_read_frame(uint32_t* pixels) {
    if (!device.renderer || !device.back_buffer || !device.frame_presented) return 0;
    SDL_Texture* previous = SDL_GetRenderTarget(device.renderer);
    SDL_SetRenderTarget(device.renderer, device.back_buffer);
    const int read = SDL_RenderReadPixels(device.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                          pixels, screen_width * 4);
    SDL_SetRenderTarget(device.renderer, previous);
    if (read != 0) return 0;
    for (int i = 0; i < screen_width * screen_height; ++i) pixels[i] |= 0xFF000000u;
    return 1;
}

int video_save_screenshot(const char* png_path) {
    if (!png_path) return 0;
    uint32_t* pixels = new uint32_t[screen_width * screen_height];
    int saved = 0;
    if (sdl_video_read_frame(pixels)) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            pixels, screen_width, screen_height, 32, screen_width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface) {
            saved = IMG_SavePNG(surface, png_path) == 0;
            SDL_FreeSurface(surface);
        }
    }
    delete[] pixels;
    return saved;
}

// ---------------------------------------------------------------- device

int video_create_device(int) {
    video_release_device();
    if (!device.window && !make_own_window()) return 0;
    const int pacing = pacing_wanted();
    const int vsync = pacing && pacer_refresh_suits_vsync(display_refresh_hz(device.window));
    device.renderer = make_renderer(vsync);
    if (!device.renderer) return 0;
    device.generation += 1;
    SDL_SetRenderDrawBlendMode(device.renderer, SDL_BLENDMODE_BLEND);
    device.back_buffer = SDL_CreateTexture(device.renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_TARGET, screen_width, screen_height);
    if (device.back_buffer) {
        SDL_SetTextureBlendMode(device.back_buffer, SDL_BLENDMODE_NONE);
    } else {
        // No render targets: draw straight to the window, scaled by SDL.
        SDL_RenderSetLogicalSize(device.renderer, screen_width, screen_height);
    }
    SDL_RendererInfo info;
    const int vsync_on = vsync && SDL_GetRendererInfo(device.renderer, &info) == 0 &&
                         (info.flags & SDL_RENDERER_PRESENTVSYNC);
    pacer_start(device.pacer, !pacing ? PacingOff : vsync_on ? PacingMeasure : PacingLimiter,
                now_us());
    device.frame_presented = 0;
    device.bound = nullptr;
    return 1;
}

void video_release_device() {
    if (device.released_while_bound) {
        destroy_texture(device.released_while_bound);
        device.released_while_bound = nullptr;
    }
    device.bound = nullptr;
    if (device.renderer) {
        // Takes every texture made with it along, the back buffer included.
        SDL_DestroyRenderer(device.renderer);
        device.renderer = nullptr;
        device.back_buffer = nullptr;
    }
    if (device.own_window && device.window) {
        SDL_DestroyWindow(device.window);
        device.window = nullptr;
        device.own_window = 0;
    }
}

// ---------------------------------------------------------------- textures

VideoTexture* video_load_texture(const char* path, int, uint32_t color_key, int* image_width,
                                 int* image_height) {
    if (!path || !device.renderer) return nullptr;
    SDL_Surface* loaded = IMG_Load(path);
    if (!loaded) return nullptr;
    // Every texture is 32-bit ARGB; the image's own alpha is kept.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    const int width = loaded->w;
    const int height = loaded->h;
    SDL_FreeSurface(loaded);
    if (!argb) return nullptr;
    if (color_key != 0 && SDL_LockSurface(argb) == 0) {
        // A colour key makes the pixels of exactly that ARGB value transparent black.
        for (int y = 0; y < argb->h; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(argb->pixels) +
                                                        y * argb->pitch);
            for (int x = 0; x < argb->w; ++x)
                if (row[x] == color_key) row[x] = 0;
        }
        SDL_UnlockSurface(argb);
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(device.renderer, argb);
    SDL_FreeSurface(argb);
    if (!texture) return nullptr;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    VideoTexture* made = new VideoTexture;
    made->texture = texture;
    made->generation = device.generation;
    *image_width = width;
    *image_height = height;
    return made;
}

// The device holds a reference to its bound texture: one released while
// bound lives on until the next bind, so its address cannot be handed to a
// new texture while the sprite code still caches it.
void video_release_texture(VideoTexture* texture) {
    if (!texture) return;
    if (texture == device.bound) {
        device.released_while_bound = texture;
        return;
    }
    destroy_texture(texture);
}

void video_set_texture(VideoTexture* texture) {
    device.bound = texture;
    if (device.released_while_bound && device.released_while_bound != texture) {
        destroy_texture(device.released_while_bound);
        device.released_while_bound = nullptr;
    }
}

// Pre-transformed vertices bypass the world transform, and the vertex
// layout is the only one there is.
void video_set_world_translation(float, float) {}
void video_set_vertex_format() {}

void video_draw_quad(const SpriteVertex vertices[4]) {
    if (!device.renderer) return;
    // The strip 0-1-2, 1-2-3 as two indexed triangles.
    static const int strip[6] = {0, 1, 2, 1, 2, 3};
    // The device repeats the image beyond texture coordinate 1.0, so a frame
    // number past the end of a strip shows the strip again from its start.
    // SDL clamps instead: move the quad's coordinates back into the image by
    // the whole images they lie beyond.
    float min_u = vertices[0].u, min_v = vertices[0].v;
    for (int i = 1; i < 4; ++i) {
        min_u = std::min(min_u, vertices[i].u);
        min_v = std::min(min_v, vertices[i].v);
    }
    const float wrap_u = std::floor(min_u);
    const float wrap_v = std::floor(min_v);
    SDL_Vertex v[4];
    for (int i = 0; i < 4; ++i) {
        const uint32_t c = vertices[i].diffuse;
        v[i].position.x = vertices[i].x;
        v[i].position.y = vertices[i].y;
        v[i].color.r = static_cast<Uint8>(c >> 16);
        v[i].color.g = static_cast<Uint8>(c >> 8);
        v[i].color.b = static_cast<Uint8>(c);
        v[i].color.a = static_cast<Uint8>(c >> 24);
        v[i].tex_coord.x = vertices[i].u - wrap_u;
        v[i].tex_coord.y = vertices[i].v - wrap_v;
    }
    SDL_Texture* texture = nullptr;
    if (device.bound && device.bound->generation == device.generation)
        texture = device.bound->texture;
    // With no texture the quad is its vertex colour alone.
    SDL_RenderGeometry(device.renderer, texture, v, 4, strip, 6);
}

// ---------------------------------------------------------------- frame

void video_begin_frame() {
    if (!device.renderer) return;
    if (device.back_buffer) SDL_SetRenderTarget(device.renderer, device.back_buffer);
    SDL_SetRenderDrawColor(device.renderer, 0, 0, 0, 255);
    SDL_RenderClear(device.renderer);
}

void video_end_frame() {
    if (!device.renderer) return;
    if (device.back_buffer) {
        SDL_SetRenderTarget(device.renderer, nullptr);
        SDL_SetRenderDrawColor(device.renderer, 0, 0, 0, 255);
        SDL_RenderClear(device.renderer);
        int output_width = 0, output_height = 0;
        SDL_GetRendererOutputSize(device.renderer, &output_width, &output_height);
        const SDL_Rect to = picture_rect(output_width, output_height);
        // Whole multiples of 640 x 480 stay sharp; other sizes are smoothed
        // so that no column of pixels is drawn wider than its neighbours.
        const int whole = to.w % screen_width == 0 && to.h % screen_height == 0;
        SDL_SetTextureScaleMode(device.back_buffer, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        SDL_RenderCopy(device.renderer, device.back_buffer, nullptr, &to);
    }
    SDL_RenderPresent(device.renderer);
    device.frame_presented = 1;
    const int was_measuring = device.pacer.mode == PacingMeasure;
    const int64_t wake = pacer_after_present(device.pacer, now_us());
    // Vsync that does not really wait is turned off: the limiter paces.
    if (was_measuring && device.pacer.mode == PacingLimiter) SDL_RenderSetVSync(device.renderer, 0);
    if (wake > 0) sleep_until_us(wake);
}
