#pragma once
// The holder of one font object and the four operations on it.
#include <cstdint>

#include "platform/text.h"

struct Font {
    TextFont* font;  // owned; null when empty
};

// Empties the holder without releasing what it held.
void font_init(Font& holder);
// Replaces the held font (released first) by a new one of this cell height.
void font_create(Font& holder, int32_t height, const char* face_name);
void font_release(Font& holder);
// Draws Shift-JIS text with its top-left corner at (left, top), clipped to
// (left, top)-(640, 480). Returns the drawn height; 0 with an empty holder.
int font_draw_text(Font& holder, const char* text, int32_t left, int32_t top, uint32_t color);
