// Text through SDL2_ttf with fonts found by fontconfig, and PNG output through
// SDL2_image: the only places where the art compiler meets libraries.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>

#include "tools/art/art.h"

namespace {

struct OpenFont {
    std::string family;
    int size;
    TTF_Font* font;
};
std::vector<OpenFont> open_fonts;  // fonts stay open for the compiler's run

// The file of an installed family, or "" when fontconfig has no such family
// (it would otherwise hand back some other font, and the art would change).
std::string font_file(const char* family) {
    if (!FcInit()) return "";
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (!pattern) return "";
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string path;
    if (match) {
        FcChar8* file = nullptr;
        FcChar8* matched_family = nullptr;
        FcChar8* wanted_family = nullptr;
        FcPatternGetString(pattern, FC_FAMILY, 0, &wanted_family);
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
            FcPatternGetString(match, FC_FAMILY, 0, &matched_family) == FcResultMatch &&
            wanted_family &&
            std::strcmp(reinterpret_cast<char*>(matched_family),
                        reinterpret_cast<char*>(wanted_family)) == 0)
            path = reinterpret_cast<char*>(file);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return path;
}

TTF_Font* font_at(const char* family, int size) {
    for (const OpenFont& f : open_fonts)
        if (f.size == size && f.family == family) return f.font;
    if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
    const std::string path = font_file(family);
    if (path.empty()) {
        std::fprintf(stderr, "quennary-art: font family \"%s\" is not installed\n", family);
        return nullptr;
    }
    TTF_Font* font = TTF_OpenFont(path.c_str(), size);
    if (!font) return nullptr;
    TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
    open_fonts.push_back({family, size, font});
    return font;
}

}  // namespace

int text_render(TextMask& out, const char* family, int pixel_size, const char* utf8) {
    TTF_Font* font = font_at(family, pixel_size);
    if (!font) return 0;
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, utf8, SDL_Color{255, 255, 255, 255});
    if (!rendered) return 0;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(rendered);
    if (!s) return 0;
    out.width = s->w;
    out.height = s->h;
    out.ascent = TTF_FontAscent(font);
    out.cover.assign(static_cast<size_t>(s->w) * s->h, 0.0f);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < s->w; ++x)
            out.cover[static_cast<size_t>(y) * s->w + x] = row[x * 4 + 3] / 255.0f;
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return 1;
}

int text_draw(Canvas& dst, const TextStyle& st, float x, float y, const char* utf8, int* width) {
    TextMask m;
    if (!text_render(m, st.family, st.size, utf8)) return 0;
    const int margin = static_cast<int>(std::ceil(st.outline)) + 1;
    const float top = static_cast<float>(margin), bottom = static_cast<float>(margin + m.height);
    Canvas layer = text_layer(m, margin, [&](float, float py) {
        return mix(st.top, st.bottom, clamp01((py - top) / (bottom - top)));
    });
    if (st.outline > 0.0f) canvas_outline(layer, st.outline, st.outline_color);
    const int left = static_cast<int>(std::lround(st.centre ? x - m.width * 0.5f : x)) - margin;
    const int up = static_cast<int>(std::lround(y)) - margin;
    if (st.shadow_blur > 0 || st.shadow_dx || st.shadow_dy)
        canvas_draw_shadowed(dst, layer, left, up, st.shadow_dx, st.shadow_dy, st.shadow_blur,
                             st.shadow_color);
    else
        canvas_draw(dst, layer, left, up);
    if (width) *width = m.width;
    return 1;
}

int text_draw_centred(Canvas& dst, const TextStyle& st, float cx, float cy, const char* utf8) {
    TextMask m;
    if (!text_render(m, st.family, st.size, utf8)) return 0;
    int x0 = m.width, y0 = m.height, x1 = -1, y1 = -1;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if (m.cover[static_cast<size_t>(y) * m.width + x] > 0.02f) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return 1;  // nothing inked (a space)
    TextStyle left = st;
    left.centre = 0;
    // Shift so that the ink's middle, not the run's, sits on (cx, cy).
    return text_draw(dst, left, cx - (x0 + x1 + 1) * 0.5f, cy - (y0 + y1 + 1) * 0.5f, utf8);
}

int canvas_save_png(const Canvas& c, const std::string& path) {
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, c.width, c.height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!s) return 0;
    SDL_LockSurface(s);
    for (int y = 0; y < c.height; ++y) {
        uint8_t* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < c.width; ++x) {
            const float* p = &c.px[(static_cast<size_t>(y) * c.width + x) * 4];
            const float a = clamp01(p[3]);
            const int a8 = static_cast<int>(std::lround(a * 255.0f));
            uint8_t* o = row + x * 4;
            if (a8 == 0) {
                // Fully transparent pixels carry no colour, so equal pictures give equal bytes.
                o[0] = o[1] = o[2] = o[3] = 0;
                continue;
            }
            for (int ch = 0; ch < 3; ++ch)
                o[ch] = static_cast<uint8_t>(std::lround(clamp01(p[ch] / a) * 255.0f));
            o[3] = static_cast<uint8_t>(a8);
        }
    }
    SDL_UnlockSurface(s);
    const int ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}
