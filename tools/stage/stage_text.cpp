// Reading the text form of a stage. The parser is strict and bounded: it
// never reads past `size`, and every line that is neither a comment, empty
// nor a row of exactly 20 known characters stops it with its line number.
#include "tools/stage/stage_text.h"

#include <cstdio>

int stage_text_tile(char c) {
    switch (c) {
    case '.': return 0;
    case '#': return 1;
    case '~': return 2;
    case '^': return 3;
    case '*': return 4;
    case 'x': return 5;
    case 'S': return 6;
    case 'G': return 7;
    default: return -1;
    }
}

int stage_text_compile(const char* text, size_t size, int32_t* cells, char* error, size_t error_size) {
    int rows = 0;
    int line = 0;
    size_t at = 0;
    while (at < size) {
        size_t end = at;
        while (end < size && text[end] != '\n') ++end;
        const size_t next = end < size ? end + 1 : end;
        line += 1;
        size_t length = end - at;
        if (length > 0 && text[at + length - 1] == '\r') length -= 1;
        const char* row = text + at;
        at = next;
        if (length == 0 || row[0] == ';') continue;
        if (rows == stage_text_rows) {
            std::snprintf(error, error_size, "line %d: more than %d rows", line, stage_text_rows);
            return 0;
        }
        for (size_t c = 0; c < length && c < static_cast<size_t>(stage_text_columns); ++c) {
            const int tile = stage_text_tile(row[c]);
            if (tile < 0) {
                const unsigned char u = static_cast<unsigned char>(row[c]);
                if (u >= 0x21 && u < 0x7F) {
                    std::snprintf(error, error_size, "line %d, column %d: unknown character '%c'", line,
                                  static_cast<int>(c) + 1, row[c]);
                } else {
                    std::snprintf(error, error_size, "line %d, column %d: unknown character 0x%02X", line,
                                  static_cast<int>(c) + 1, u);
                }
                return 0;
            }
            cells[stage_text_rows * static_cast<int>(c) + rows] = tile;
        }
        if (length != static_cast<size_t>(stage_text_columns)) {
            std::snprintf(error, error_size, "line %d: %zu characters, a row has %d", line, length,
                          stage_text_columns);
            return 0;
        }
        rows += 1;
    }
    if (rows != stage_text_rows) {
        std::snprintf(error, error_size, "line %d: %d rows, a stage has %d", line, rows, stage_text_rows);
        return 0;
    }
    return 1;
}

void stage_text_file_bytes(const int32_t* cells, unsigned char* out) {
    for (int k = 0; k < stage_text_cells; ++k) {
        const uint32_t v = static_cast<uint32_t>(cells[k]);
        for (int b = 0; b < 4; ++b) out[4 * k + b] = static_cast<unsigned char>(v >> (8 * b));
    }
}
