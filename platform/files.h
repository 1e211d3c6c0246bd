#pragma once
// File system services beyond the C library's buffered files.

// Puts the file `from` in the place of `to` in one step, replacing `to` if it
// exists, so that a reader sees either the old or the new file, never a
// mixture or nothing. 1 on success; on failure `to` is left as it was.
int file_replace(const char* from, const char* to);
