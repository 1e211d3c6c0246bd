// File replacement for the headless backend (the build machine's system).
#include <cstdio>

#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
int file_replace(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}
#else
int file_replace(const char* from, const char* to) { return std::rename(from, to) == 0 ? 1 : 0; }
#endif
