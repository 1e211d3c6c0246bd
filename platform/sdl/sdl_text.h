#pragma once
// The font lookup of the SDL text service, for other SDL code that draws
// text of its own (the message box).
#include <cstddef>

// The font file fontconfig gives for a face name ("" asks for the system's
// choice for Japanese text) and its face index in that file. 1 when found.
int sdl_text_font_file(const char* face_name, char* file, size_t file_size, int* index);
