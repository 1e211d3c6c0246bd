#pragma once
// Font objects of the system: a font of a cell height in pixels whose
// typeface the system picks for the default character set when the face name
// is empty, drawing Shift-JIS text top-left aligned with tabs expanded.
#include <cstdint>

struct TextFont;

// Height is the cell height in pixels (ascent plus descent), weight normal.
// Null when the font cannot be made.
TextFont* text_create_font(int height, const char* face_name);
void text_release_font(TextFont* font);
// Draws zero-terminated Shift-JIS text with its top-left corner at
// (left, top), clipped to the rectangle (left, top)-(right, bottom). Line
// breaks only at line-break characters. The colour's alpha is the opacity.
// Returns the height of the drawn text.
int text_draw(TextFont* font, const char* text, int left, int top, int right, int bottom,
              uint32_t color);
