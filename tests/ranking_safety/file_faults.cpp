// The wrapped file calls: the real call, unless it is the one chosen to fail.
#include "tests/ranking_safety/file_faults.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

extern "C" {
FILE* __real_fopen(const char* path, const char* mode);
size_t __real_fwrite(const void* data, size_t size, size_t count, FILE* f);
int __real_fflush(FILE* f);
int __real_fclose(FILE* f);
int __real_rename(const char* from, const char* to);
}

namespace {

int armed = 0;
int fail_at = 0;
int seen = 0;
// Files opened for writing while armed (a save has at most eleven open at once).
FILE* writing[32];

int writing_index(FILE* f) {
    for (int i = 0; i < 32; ++i)
        if (writing[i] == f) return i;
    return -1;
}

// Counts one writing call; 1 when it is the one to fail.
int this_one_fails() {
    if (!armed) return 0;
    seen += 1;
    return seen == fail_at;
}

}  // namespace

void faults_arm(int nth) {
    armed = 1;
    fail_at = nth;
    seen = 0;
}

void faults_disarm() { armed = 0; }

int faults_seen() { return seen; }

extern "C" {

FILE* __wrap_fopen(const char* path, const char* mode) {
    const int for_writing = std::strchr(mode, 'w') || std::strchr(mode, 'a') || std::strchr(mode, '+');
    if (for_writing && this_one_fails()) {
        errno = EROFS;
        return nullptr;
    }
    FILE* f = __real_fopen(path, mode);
    if (f && for_writing && armed) {
        const int free_slot = writing_index(nullptr);
        if (free_slot >= 0) writing[free_slot] = f;
    }
    return f;
}

size_t __wrap_fwrite(const void* data, size_t size, size_t count, FILE* f) {
    if (writing_index(f) >= 0 && this_one_fails()) {
        errno = ENOSPC;
        return 0;
    }
    return __real_fwrite(data, size, count, f);
}

int __wrap_fflush(FILE* f) {
    if (f && writing_index(f) >= 0 && this_one_fails()) {
        errno = ENOSPC;
        return EOF;
    }
    return __real_fflush(f);
}

int __wrap_fclose(FILE* f) {
    const int slot = writing_index(f);
    if (slot >= 0) writing[slot] = nullptr;
    const int fails = slot >= 0 && this_one_fails();
    const int result = __real_fclose(f);
    if (fails) {
        errno = ENOSPC;
        return EOF;
    }
    return result;
}

int __wrap_rename(const char* from, const char* to) {
    if (this_one_fails()) {
        errno = EROFS;
        return -1;
    }
    return __real_rename(from, to);
}

}  // extern "C"
