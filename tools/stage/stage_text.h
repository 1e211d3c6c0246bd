#pragma once
// The text form of a stage: 15 rows of 20 characters, top row first, one
// character per cell:
//   .  0 empty        #  1 block        ~  2 shallow hazard
//   ^  3 hazard       *  4 hazard       x  5 hazard
//   S  6 start block  G  7 goal block
// Lines starting with ';' are comments; empty lines are skipped; a line may
// end in CR LF. Anything else is an error naming its line.
#include <cstddef>
#include <cstdint>

constexpr int stage_text_columns = 20;
constexpr int stage_text_rows = 15;
constexpr int stage_text_cells = stage_text_columns * stage_text_rows;

// Compiles the text into the 300 tile types of a stage file, column-major:
// value k is column k / 15, row k % 15. 1 on success; 0 with a message
// ("line 7: ...") in error.
int stage_text_compile(const char* text, size_t size, int32_t* cells, char* error, size_t error_size);

// The 1200 bytes of a stage file: the 300 values as little-endian int32.
void stage_text_file_bytes(const int32_t* cells, unsigned char* out);

// The tile type of a map character, or -1 when it has none.
int stage_text_tile(char c);
