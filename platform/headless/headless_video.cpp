// Headless drawing device: every quad is recorded in a fixed log (nothing is
// allocated while frames run), textures are the PNG files' sizes read from
// their headers, no pixel is decoded.
#include <cstdio>
#include <cstring>

#include "platform/headless/headless.h"
#include "platform/screenshot.h"
#include "platform/video.h"

struct VideoTexture {
    char path[256];
    int width;
    int height;
};

namespace {

HeadlessDraw draw_log[headless_draw_capacity];
int draw_count = 0;
int draw_dropped = 0;
int frames_presented = 0;
int escape_after = 0;
int texture_binds = 0;
int device_created = 0;
int device_fails = 0;
int live_textures = 0;
const VideoTexture* bound_texture = nullptr;
VideoTexture* released_while_bound = nullptr;

// Reads the width and height from a PNG file's header chunk, so that tests
// see the real image sizes without decoding any pixels.
int read_png_size(const char* path, int* width, int* height) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    unsigned char h[24];
    const size_t n = std::fread(h, 1, sizeof h, f);
    std::fclose(f);
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n < 24 || std::memcmp(h, signature, 8) != 0 || std::memcmp(h + 12, "IHDR", 4) != 0) return 0;
    *width = (h[16] << 24) | (h[17] << 16) | (h[18] << 8) | h[19];
    *height = (h[20] << 24) | (h[21] << 16) | (h[22] << 8) | h[23];
    return 1;
}

}  // namespace

HeadlessDraw* headless_next_draw() {
    if (draw_count == headless_draw_capacity) {
        draw_dropped += 1;
        return nullptr;
    }
    HeadlessDraw* d = &draw_log[draw_count++];
    std::memset(d, 0, sizeof *d);
    return d;
}

void headless_video_reset() {
    draw_count = draw_dropped = frames_presented = texture_binds = 0;
    escape_after = 0;
    bound_texture = nullptr;
    device_fails = 0;
}

const HeadlessDraw* headless_draws(int* count, int* dropped) {
    if (count) *count = draw_count;
    if (dropped) *dropped = draw_dropped;
    return draw_log;
}
void headless_clear_draws() { draw_count = draw_dropped = 0; }
int headless_frames_presented() { return frames_presented; }
void headless_escape_after_frames(int frames) { escape_after = frames; }
int headless_texture_binds() { return texture_binds; }
int headless_device_created() { return device_created; }
void headless_fail_device(int fail) { device_fails = fail; }
const char* headless_texture_path(const VideoTexture* texture) { return texture ? texture->path : ""; }
int headless_live_textures() { return live_textures; }

int video_create_device(int) {
    if (device_fails) return 0;
    device_created = 1;
    bound_texture = nullptr;
    return 1;
}

void video_release_device() { device_created = 0; }

VideoTexture* video_load_texture(const char* path, int, uint32_t, int* image_width, int* image_height) {
    int w = 0, h = 0;
    if (!path || !read_png_size(path, &w, &h)) return nullptr;
    VideoTexture* t = new VideoTexture;
    std::snprintf(t->path, sizeof t->path, "%s", path);
    t->width = w;
    t->height = h;
    *image_width = w;
    *image_height = h;
    live_textures += 1;
    return t;
}

// The device holds its own reference to the bound texture, as a real one
// does: a texture released while bound lives on until the next bind, so its
// address cannot be reused by a new texture while the sprite code caches it.
void video_release_texture(VideoTexture* texture) {
    if (!texture) return;
    live_textures -= 1;
    if (bound_texture == texture) {
        released_while_bound = texture;
        return;
    }
    delete texture;
}

void video_set_texture(VideoTexture* texture) {
    texture_binds += 1;
    bound_texture = texture;
    if (released_while_bound && released_while_bound != texture) {
        delete released_while_bound;
        released_while_bound = nullptr;
    }
}

void video_set_world_translation(float, float) {}
void video_set_vertex_format() {}

void video_draw_quad(const SpriteVertex vertices[4]) {
    HeadlessDraw* d = headless_next_draw();
    if (!d) return;
    d->kind = HeadlessQuad;
    std::memcpy(d->vertices, vertices, sizeof d->vertices);
    d->texture = bound_texture;
}

void video_begin_frame() {}

void video_end_frame() {
    frames_presented += 1;
    if (escape_after > 0 && frames_presented == escape_after) headless_post_message(HeadlessMessageEscape);
}

// The headless device keeps no picture.
int video_save_screenshot(const char*) { return 0; }
