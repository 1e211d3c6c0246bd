// File replacement over Win32: one move that replaces the target and is
// written through to the disk before it returns.
#include "platform/files.h"
#include "platform/win32/win32_backend.h"

int file_replace(const char* from, const char* to) {
    if (!from || !to) return 0;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}
