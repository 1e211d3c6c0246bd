#pragma once
// What the harnesses share: a private folder of their own for the files a
// reader must open by name, and a check that stops the run loudly (the
// fuzzer keeps the input that broke a promise as a crash).
#include <cstddef>
#include <cstdint>

// The harness's own empty folder, made once per process and removed at
// exit.
const char* fuzz_work_folder();
// Moves the process into the work folder, so the game's relative paths
// ("stage/", "ranking/") land there. libFuzzer reads its corpus and writes
// its crash files relative to where it started: give those as absolute
// paths to a harness that does this (fuzz/run.sh does).
void fuzz_enter_work_folder();
// The path of name inside the work folder.
const char* fuzz_path(const char* name);
// Writes bytes to a file. 1 on success.
int fuzz_write_file(const char* path, const uint8_t* data, size_t size);
// Reads a ranking file's score the plain way, as the harnesses' reference:
// the bytes in order, a 0x0D before a 0x0A dropped, the first four taken
// as a little-endian int32. 0 (and score 0) when fewer than four remain.
int fuzz_reference_score(const uint8_t* bytes, size_t count, int32_t* score);
// Stops the run with the broken promise named.
void fuzz_fail(const char* what);
#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) fuzz_fail(#condition); \
    } while (0)
