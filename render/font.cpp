#include "render/font.h"

namespace {
// The clip rectangle's right and bottom: the screen's edges.
constexpr int screen_right = 640;
constexpr int screen_bottom = 480;
}  // namespace

void font_init(Font& holder) { holder.font = nullptr; }

void font_create(Font& holder, int32_t height, const char* face_name) {
    font_release(holder);
    holder.font = text_create_font(height, face_name);
}

void font_release(Font& holder) {
    if (holder.font) {
        text_release_font(holder.font);
        holder.font = nullptr;
    }
}

int font_draw_text(Font& holder, const char* text, int32_t left, int32_t top, uint32_t color) {
    // A holder whose font could not be made draws nothing.
    if (!holder.font) return 0;
    return text_draw(holder.font, text, left, top, screen_right, screen_bottom, color);
}
