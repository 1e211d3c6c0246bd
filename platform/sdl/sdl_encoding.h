#pragma once
// The game's texts are Shift-JIS (code page 932); SDL and its fonts take
// UTF-8.
#include <cstddef>

// Converts the zero-terminated CP932 text into out (out_size bytes, always
// zero-terminated when out_size > 0). A byte that is not CP932 becomes '?';
// text that does not fit is cut at a whole character. Returns the length
// written, without the terminator.
size_t sdl_cp932_to_utf8(const char* text, char* out, size_t out_size);
