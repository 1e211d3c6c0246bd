// The harnesses' private folder and their loud failure.
#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

const char* fuzz_work_folder() {
    static char folder[64] = "";
    if (!folder[0]) {
        // In memory where the system offers it: the ranking and stage
        // harnesses write files at every input.
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::snprintf(folder, sizeof folder, "%s/quennary-fuzz-XXXXXX", base);
        if (!mkdtemp(folder)) fuzz_fail("cannot make the work folder");
        std::atexit([] {
            std::error_code ignored;
            if (chdir("/") == 0) std::filesystem::remove_all(folder, ignored);
        });
    }
    return folder;
}

void fuzz_enter_work_folder() {
    if (chdir(fuzz_work_folder()) != 0) fuzz_fail("cannot enter the work folder");
}

const char* fuzz_path(const char* name) {
    static char path[256];
    std::snprintf(path, sizeof path, "%s/%s", fuzz_work_folder(), name);
    return path;
}

int fuzz_write_file(const char* path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return 0;
    const int ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return (std::fclose(f) == 0) && ok;
}

void fuzz_fail(const char* what) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

int fuzz_reference_score(const uint8_t* bytes, size_t count, int32_t* score) {
    uint8_t value[4];
    size_t got = 0;
    for (size_t i = 0; i < count && got < 4; ++i) {
        if (bytes[i] == 0x0D && i + 1 < count && bytes[i + 1] == 0x0A) continue;
        value[got++] = bytes[i];
    }
    *score = 0;
    if (got < 4) return 0;
    *score = int32_t(uint32_t(value[0]) | uint32_t(value[1]) << 8 | uint32_t(value[2]) << 16 |
                     uint32_t(value[3]) << 24);
    return 1;
}
