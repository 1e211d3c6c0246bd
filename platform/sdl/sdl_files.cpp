// File replacement on the POSIX file system: rename() replaces the target
// in one step.
#include <cstdio>

#include "platform/files.h"

int file_replace(const char* from, const char* to) { return std::rename(from, to) == 0 ? 1 : 0; }
