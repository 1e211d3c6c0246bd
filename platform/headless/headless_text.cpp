// Headless fonts: every text drawn is recorded in the draw log with its
// font height, clip rectangle and colour.
#include <cstdio>

#include "platform/headless/headless.h"
#include "platform/text.h"

struct TextFont {
    int height;
};

TextFont* text_create_font(int height, const char*) {
    TextFont* f = new TextFont;
    f->height = height;
    return f;
}

void text_release_font(TextFont* font) { delete font; }

int text_draw(TextFont* font, const char* text, int left, int top, int right, int bottom, uint32_t color) {
    if (HeadlessDraw* d = headless_next_draw()) {
        d->kind = HeadlessText;
        std::snprintf(d->text, sizeof d->text, "%s", text ? text : "");
        d->font_height = font ? font->height : 0;
        d->left = left;
        d->top = top;
        d->right = right;
        d->bottom = bottom;
        d->color = color;
    }
    if (!font || !text || !text[0]) return 0;
    int lines = 1;
    for (const char* p = text; *p; ++p)
        if (*p == '\n') lines += 1;
    return lines * font->height;
}
