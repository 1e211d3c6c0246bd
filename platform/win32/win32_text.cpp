// Font objects over D3DX 9. The game's captions are Shift-JIS; they are
// converted to UTF-16 and drawn through the wide-character entry points, so
// that they read the same on a system whose ANSI code page is not Japanese.
#include <d3dx9.h>

#include <vector>

#include "platform/text.h"
#include "platform/win32/win32_backend.h"

namespace {

// Characters converted on the stack: every caption of the game is far
// shorter, so drawing a frame's texts allocates nothing.
constexpr int text_capacity = 512;

ID3DXFont* as_d3dx_font(TextFont* font) { return reinterpret_cast<ID3DXFont*>(font); }

}  // namespace

TextFont* text_create_font(int height, const char* face_name) {
    IDirect3DDevice9* device = win32_device();
    if (!device) return nullptr;
    wchar_t face[LF_FACESIZE];
    if (win32_widen(face_name ? face_name : "", face, LF_FACESIZE) < 0) face[0] = 0;
    ID3DXFont* font = nullptr;
    // Normal weight, no mipmaps, upright; an empty face name leaves the
    // typeface to the system for the default character set.
    if (FAILED(D3DXCreateFontW(device, height, 0, FW_NORMAL, 0, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               face, &font)))
        return nullptr;
    return reinterpret_cast<TextFont*>(font);
}

void text_release_font(TextFont* font) {
    if (font) as_d3dx_font(font)->Release();
}

int text_draw(TextFont* font, const char* text, int left, int top, int right, int bottom,
              uint32_t color) {
    if (!font || !text) return 0;
    RECT area;
    SetRect(&area, left, top, right, bottom);
    // Top-left aligned, tabs expanded, lines broken only at line breaks.
    const DWORD format = DT_EXPANDTABS | DT_LEFT | DT_TOP;
    wchar_t wide[text_capacity];
    if (win32_widen(text, wide, text_capacity) >= 0)
        return as_d3dx_font(font)->DrawTextW(nullptr, wide, -1, &area, format, color);
    std::vector<wchar_t> long_text(win32_widened_size(text));
    win32_widen(text, long_text.data(), static_cast<int>(long_text.size()));
    return as_d3dx_font(font)->DrawTextW(nullptr, long_text.data(), -1, &area, format, color);
}
