// Build-machine tool: turns the text picture of the program icon into a
// Windows .ico file of 16-colour images (one per "image" block).
//   make_icon PICTURE.txt OUT.ico
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct PaletteColor {
    char symbol;
    uint8_t red, green, blue;
};

struct IconImage {
    int size;                  // pixels, square
    std::vector<std::string> rows;
};

enum { palette_size = 16 };
const char transparent_symbol = '.';

void put16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

int palette_index(const std::vector<PaletteColor>& palette, char symbol) {
    for (size_t i = 0; i < palette.size(); ++i)
        if (palette[i].symbol == symbol) return static_cast<int>(i);
    return -1;
}

// One image as the icon resource holds it: a BITMAPINFOHEADER of twice the
// height (colour rows, then the mask rows), the palette, the 4-bit colour
// rows and the 1-bit transparency mask, both bottom row first and padded to
// whole 32-bit words.
std::vector<uint8_t> encode_image(const IconImage& image, const std::vector<PaletteColor>& palette) {
    const int n = image.size;
    const int color_row_bytes = ((n * 4 + 31) / 32) * 4;
    const int mask_row_bytes = ((n + 31) / 32) * 4;
    std::vector<uint8_t> out;
    put32(out, 40);                  // header size
    put32(out, n);                   // width
    put32(out, 2 * n);               // colour and mask heights together
    put16(out, 1);                   // planes
    put16(out, 4);                   // bits per pixel
    put32(out, 0);                   // no compression
    put32(out, (color_row_bytes + mask_row_bytes) * n);
    put32(out, 0);
    put32(out, 0);
    put32(out, palette_size);        // colours used
    put32(out, 0);
    for (int i = 0; i < palette_size; ++i) {
        const PaletteColor c = i < static_cast<int>(palette.size()) ? palette[i] : PaletteColor{0, 0, 0, 0};
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(color_row_bytes, 0);
        for (int x = 0; x < n; ++x) {
            const char symbol = image.rows[y][x];
            const int index = symbol == transparent_symbol ? 0 : palette_index(palette, symbol);
            row[x / 2] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(mask_row_bytes, 0);
        for (int x = 0; x < n; ++x)
            if (image.rows[y][x] == transparent_symbol) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

int fail(const char* path, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: %s\n", path, line, what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon PICTURE.txt OUT.ico\n");
        return 2;
    }
    FILE* in = std::fopen(argv[1], "r");
    if (!in) return fail(argv[1], 0, "cannot open");
    std::vector<PaletteColor> palette;
    std::vector<IconImage> images;
    char buffer[512];
    int line = 0;
    while (std::fgets(buffer, sizeof buffer, in)) {
        line += 1;
        std::string text(buffer);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        if (text.empty() || text[0] == '#') continue;
        char symbol = 0;
        unsigned rgb = 0;
        int size = 0;
        if (std::sscanf(text.c_str(), "color %c %6x", &symbol, &rgb) == 2) {
            if (palette.size() == palette_size) return fail(argv[1], line, "more than 16 colours");
            if (symbol == transparent_symbol || palette_index(palette, symbol) >= 0)
                return fail(argv[1], line, "colour symbol used twice");
            palette.push_back({symbol, static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                               static_cast<uint8_t>(rgb)});
        } else if (std::sscanf(text.c_str(), "image %d", &size) == 1) {
            if (size < 1 || size > 255) return fail(argv[1], line, "image size must be 1 to 255");
            images.push_back({size, {}});
        } else {
            if (images.empty()) return fail(argv[1], line, "picture row before any image line");
            IconImage& image = images.back();
            if (static_cast<int>(image.rows.size()) == image.size) return fail(argv[1], line, "too many rows");
            if (static_cast<int>(text.size()) != image.size) return fail(argv[1], line, "row length is not the image size");
            for (char c : text)
                if (c != transparent_symbol && palette_index(palette, c) < 0)
                    return fail(argv[1], line, "symbol without a colour");
            image.rows.push_back(text);
        }
    }
    std::fclose(in);
    if (images.empty()) return fail(argv[1], line, "no image");
    for (const IconImage& image : images)
        if (static_cast<int>(image.rows.size()) != image.size) return fail(argv[1], line, "an image lacks rows");

    // The icon directory, one entry per image, then the images in order.
    std::vector<std::vector<uint8_t>> encoded;
    for (const IconImage& image : images) encoded.push_back(encode_image(image, palette));
    std::vector<uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon
    put16(out, static_cast<unsigned>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(images[i].size));
        out.push_back(static_cast<uint8_t>(images[i].size));
        out.push_back(palette_size);
        out.push_back(0);
        put16(out, 1);  // planes
        put16(out, 4);  // bits per pixel
        put32(out, static_cast<uint32_t>(encoded[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(encoded[i].size());
    }
    for (const std::vector<uint8_t>& bytes : encoded) out.insert(out.end(), bytes.begin(), bytes.end());
    FILE* file = std::fopen(argv[2], "wb");
    if (!file) return fail(argv[2], 0, "cannot write");
    const size_t written = std::fwrite(out.data(), 1, out.size(), file);
    if (std::fclose(file) != 0 || written != out.size()) return fail(argv[2], 0, "cannot write");
    return 0;
}
