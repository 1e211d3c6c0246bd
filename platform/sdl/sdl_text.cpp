// Text on SDL: TrueType fonts through SDL2_ttf, the typeface found through
// fontconfig, Shift-JIS text converted to UTF-8. A text is drawn as one
// texture of its whole block (every line, tabs expanded), rendered in white
// and tinted with the colour at the draw; the textures of recent texts are
// kept, so a HUD line that does not change is not rendered again every
// frame.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>

#include "platform/sdl/sdl_encoding.h"
#include "platform/sdl/sdl_text.h"
#include "platform/sdl/sdl_video.h"
#include "platform/text.h"

struct TextFont {
    TTF_Font* ttf;
    int height;          // cell height in pixels: one line of text
    int baseline_shift;  // pixels to move the glyphs down to the cell's baseline
    int tab_width;       // pixels between tab stops: eight average characters
};

namespace {

// Fonts are sized in quarter pixels: a point size at 18 dots per inch is a
// quarter of a pixel (72 points to the inch).
constexpr int sizing_dpi = 18;
constexpr int quarters_per_pixel = 4;
// Tab stops are eight average character widths apart.
constexpr int tab_stop_characters = 8;
// The widest text block rendered, in pixels; the screen is 640 wide.
constexpr int widest_block = 2048;
// Most lines in one text.
constexpr int max_lines = 64;

// ---------------------------------------------------------------- the cache

enum { text_cache_size = 32, text_key_bytes = 256 };

struct CachedText {
    const TextFont* font;  // null: free
    unsigned generation;   // the device creation the texture belongs to
    SDL_Texture* texture;  // white text on transparent
    int width, height;
    unsigned long long last_used;
    char text[text_key_bytes];  // the Shift-JIS bytes as given
};

CachedText cache[text_cache_size];
unsigned long long use_clock = 0;

void drop_entry(CachedText& entry) {
    // A texture of an earlier device went with its renderer.
    if (entry.texture && entry.generation == sdl_video_generation() && sdl_video_renderer())
        SDL_DestroyTexture(entry.texture);
    entry.font = nullptr;
    entry.texture = nullptr;
}

CachedText* find_entry(const TextFont* font, const char* text) {
    const unsigned generation = sdl_video_generation();
    for (CachedText& entry : cache) {
        if (entry.font != font || std::strcmp(entry.text, text) != 0) continue;
        if (entry.generation != generation) {
            entry.texture = nullptr;  // gone with its renderer
            entry.font = nullptr;
            return nullptr;
        }
        return &entry;
    }
    return nullptr;
}

// A free entry, or the one unused the longest.
CachedText& entry_to_fill() {
    CachedText* oldest = &cache[0];
    for (CachedText& entry : cache) {
        if (!entry.font) return entry;
        if (entry.last_used < oldest->last_used) oldest = &entry;
    }
    drop_entry(*oldest);
    return *oldest;
}

// ---------------------------------------------------------------- fonts

// What a font file says about its cell: its units per em, and the ascent
// and descent (the OS/2 table's Windows ascent and descent) by which a
// Windows font of a given cell height is scaled.
struct CellMetrics {
    int units_per_em;
    int ascent;
    int descent;
};

int read_u16(FILE* f, long at, int* value) {
    unsigned char b[2];
    if (std::fseek(f, at, SEEK_SET) != 0 || std::fread(b, 1, 2, f) != 2) return 0;
    *value = (b[0] << 8) | b[1];
    return 1;
}

int read_u32(FILE* f, long at, long* value) {
    unsigned char b[4];
    if (std::fseek(f, at, SEEK_SET) != 0 || std::fread(b, 1, 4, f) != 4) return 0;
    *value = (static_cast<long>(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
    return 1;
}

// Reads the metrics of face `index` from a TrueType or OpenType file (a
// collection too). 1 when the file has a usable head and OS/2 table.
int read_cell_metrics(const char* path, int index, CellMetrics* m) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    long font = 0;  // offset of the face's table directory
    long tag = 0;
    int ok = read_u32(f, 0, &tag);
    if (ok && tag == 0x74746366)  // "ttcf": a collection of faces
        ok = read_u32(f, 12 + 4L * index, &font);
    int tables = 0;
    long head = -1, os2 = -1;
    ok = ok && read_u16(f, font + 4, &tables);
    for (int i = 0; ok && i < tables; ++i) {
        long table_tag = 0, offset = 0;
        ok = read_u32(f, font + 12 + 16L * i, &table_tag) &&
             read_u32(f, font + 12 + 16L * i + 8, &offset);
        if (table_tag == 0x68656164) head = offset;  // "head"
        if (table_tag == 0x4F532F32) os2 = offset;   // "OS/2"
    }
    ok = ok && head >= 0 && os2 >= 0 && read_u16(f, head + 18, &m->units_per_em) &&
         read_u16(f, os2 + 74, &m->ascent) && read_u16(f, os2 + 76, &m->descent);
    std::fclose(f);
    return ok && m->units_per_em > 0 && m->ascent + m->descent > 0;
}

// Sizes the font as a Windows font of this cell height: the em is the cell
// scaled by units per em over the Windows ascent plus descent, and the
// baseline lies the scaled Windows ascent below the cell's top.
void fit_windows_cell(TextFont* font, int height, const CellMetrics& m) {
    const int cell_units = m.ascent + m.descent;
    const int quarters = (height * m.units_per_em * quarters_per_pixel + cell_units / 2) / cell_units;
    TTF_SetFontSizeDPI(font->ttf, quarters > 0 ? quarters : 1, sizing_dpi, sizing_dpi);
    const int baseline = (height * m.ascent + cell_units / 2) / cell_units;
    font->baseline_shift = baseline - TTF_FontAscent(font->ttf);
}

// Without those metrics: the largest quarter-pixel size whose cell as the
// font library measures it (ascent plus descent) is no taller.
void fit_cell_height(TTF_Font* ttf, int height) {
    int low = 1;
    int high = height * quarters_per_pixel * 2;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        TTF_SetFontSizeDPI(ttf, mid, sizing_dpi, sizing_dpi);
        if (TTF_FontHeight(ttf) <= height)
            low = mid;
        else
            high = mid - 1;
    }
    TTF_SetFontSizeDPI(ttf, low, sizing_dpi, sizing_dpi);
}

// ---------------------------------------------------------------- layout

struct Line {
    char* start;  // zero-terminated UTF-8, no line break
};

// Cuts the UTF-8 text into lines in place, at "\n" and "\r\n".
int split_lines(char* text, Line* lines) {
    int count = 0;
    char* p = text;
    while (count < max_lines) {
        lines[count++].start = p;
        char* end = std::strchr(p, '\n');
        if (!end) break;
        if (end > p && end[-1] == '\r') end[-1] = 0;
        *end = 0;
        p = end + 1;
    }
    return count;
}

// Draws (or with target null only measures) one line with tabs expanded;
// returns its width in pixels.
int lay_out_line(const TextFont* font, char* line, SDL_Surface* target, int top) {
    int x = 0;
    char* segment = line;
    for (;;) {
        char* tab = std::strchr(segment, '\t');
        if (tab) *tab = 0;
        if (segment[0]) {
            int w = 0, h = 0;
            if (TTF_SizeUTF8(font->ttf, segment, &w, &h) == 0 && target) {
                const SDL_Color white = {255, 255, 255, 255};
                SDL_Surface* drawn = TTF_RenderUTF8_Blended(font->ttf, segment, white);
                if (drawn) {
                    // Copied, not blended: the block is transparent where
                    // nothing is drawn and the glyphs keep their coverage.
                    SDL_SetSurfaceBlendMode(drawn, SDL_BLENDMODE_NONE);
                    SDL_Rect to = {x, top + font->baseline_shift, drawn->w, drawn->h};
                    SDL_BlitSurface(drawn, nullptr, target, &to);
                    SDL_FreeSurface(drawn);
                }
            }
            x += w;
        }
        if (!tab) break;
        *tab = '\t';
        x = (x / font->tab_width + 1) * font->tab_width;
        segment = tab + 1;
    }
    return x;
}

// Renders the whole text block into a texture of the present renderer.
SDL_Texture* render_block(const TextFont* font, const char* text, int* width, int* height) {
    SDL_Renderer* renderer = sdl_video_renderer();
    if (!renderer) return nullptr;
    char utf8[4096];
    sdl_cp932_to_utf8(text, utf8, sizeof utf8);
    Line lines[max_lines];
    const int count = split_lines(utf8, lines);
    int w = 0;
    for (int i = 0; i < count; ++i) {
        const int line_width = lay_out_line(font, lines[i].start, nullptr, 0);
        if (line_width > w) w = line_width;
    }
    if (w > widest_block) w = widest_block;
    const int h = count * font->height;
    if (w <= 0 || h <= 0) return nullptr;
    SDL_Surface* block = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!block) return nullptr;
    SDL_FillRect(block, nullptr, 0);
    for (int i = 0; i < count; ++i) lay_out_line(font, lines[i].start, block, i * font->height);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, block);
    SDL_FreeSurface(block);
    if (!texture) return nullptr;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    *width = w;
    *height = h;
    return texture;
}

int count_lines(const char* text) {
    int lines = 1;
    for (const char* p = text; *p; ++p)
        if (*p == '\n' && lines < max_lines) lines += 1;
    return lines;
}

void copy_clipped(SDL_Texture* texture, int width, int height, int left, int top, int right,
                  int bottom, uint32_t color) {
    const int w = right - left < width ? right - left : width;
    const int h = bottom - top < height ? bottom - top : height;
    if (w <= 0 || h <= 0) return;
    SDL_SetTextureColorMod(texture, static_cast<Uint8>(color >> 16), static_cast<Uint8>(color >> 8),
                           static_cast<Uint8>(color));
    SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(color >> 24));
    const SDL_Rect from = {0, 0, w, h};
    const SDL_Rect to = {left, top, w, h};
    SDL_RenderCopy(sdl_video_renderer(), texture, &from, &to);
}

}  // namespace

int sdl_text_font_file(const char* face_name, char* file, size_t file_size, int* index) {
    if (!FcInit()) return 0;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return 0;
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    if (face_name && face_name[0])
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face_name));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return 0;
    FcChar8* path = nullptr;
    int found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (found) {
        std::snprintf(file, file_size, "%s", reinterpret_cast<const char*>(path));
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
    }
    FcPatternDestroy(match);
    return found;
}

TextFont* text_create_font(int height, const char* face_name) {
    if (height == 0) return nullptr;
    if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
    char file[1024];
    int index = 0;
    if (!sdl_text_font_file(face_name, file, sizeof file, &index)) return nullptr;
    const int cell = height > 0 ? height : -height;
    TTF_Font* ttf = TTF_OpenFontIndexDPI(file, cell * quarters_per_pixel, index, sizing_dpi, sizing_dpi);
    if (!ttf) return nullptr;
    TextFont* font = new TextFont;
    font->ttf = ttf;
    font->baseline_shift = 0;
    CellMetrics metrics;
    if (height > 0 && read_cell_metrics(file, index, &metrics)) {
        fit_windows_cell(font, height, metrics);
        font->height = height;
    } else if (height > 0) {
        fit_cell_height(ttf, height);
        font->height = height;
    } else {
        // A negative height is the size of the characters themselves; the
        // cell is then what the font makes of it.
        font->height = TTF_FontHeight(ttf);
    }
    int advance = 0;
    if (TTF_GlyphMetrics32(ttf, 'x', nullptr, nullptr, nullptr, nullptr, &advance) != 0 || advance <= 0)
        advance = cell / 2 > 0 ? cell / 2 : 1;
    font->tab_width = tab_stop_characters * advance;
    return font;
}

void text_release_font(TextFont* font) {
    if (!font) return;
    for (CachedText& entry : cache)
        if (entry.font == font) drop_entry(entry);
    TTF_CloseFont(font->ttf);
    delete font;
}

int text_draw(TextFont* font, const char* text, int left, int top, int right, int bottom,
              uint32_t color) {
    if (!font || !text || !text[0]) return 0;
    const int drawn_height = count_lines(text) * font->height;
    if (!sdl_video_renderer()) return drawn_height;
    use_clock += 1;
    if (std::strlen(text) >= text_key_bytes) {
        // Too long to keep: rendered for this draw alone.
        int w = 0, h = 0;
        SDL_Texture* texture = render_block(font, text, &w, &h);
        if (!texture) return drawn_height;
        copy_clipped(texture, w, h, left, top, right, bottom, color);
        SDL_DestroyTexture(texture);
        return drawn_height;
    }
    CachedText* entry = find_entry(font, text);
    if (!entry) {
        CachedText& fresh = entry_to_fill();
        fresh.texture = render_block(font, text, &fresh.width, &fresh.height);
        if (!fresh.texture) return drawn_height;
        fresh.font = font;
        fresh.generation = sdl_video_generation();
        std::snprintf(fresh.text, sizeof fresh.text, "%s", text);
        entry = &fresh;
    }
    entry->last_used = use_clock;
    copy_clipped(entry->texture, entry->width, entry->height, left, top, right, bottom, color);
    return drawn_height;
}
