// The ranking file reader on any bytes: the input is one ranking file's
// content. The decoder must undo exactly the newline translation of the
// encoder (checked against a plain reading), the file reader must read the
// file as the decoder reads its bytes, and every score must encode to 4..8
// bytes that decode to it again. fuzz_ranking_save takes the ten files
// through the result scene's load, insert and save.
// Works inside its own folder: give libFuzzer absolute paths.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "game/game_state.h"
#include "scenes/ranking.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 256) return 0;
    static const int entered = (fuzz_enter_work_folder(), 1);
    (void)entered;

    int32_t decoded = 0, expected = 0;
    const int ok = fuzz_reference_score(data, size, &expected);
    FUZZ_CHECK(ranking_decode(data, size, &decoded) == ok);
    FUZZ_CHECK(decoded == expected);
    // The file holds the same bytes: the reader reads at most the eight a
    // score can take (and one more), as the decoder reads them.
    if (!fuzz_write_file("ranking1.txt", data, size)) fuzz_fail("cannot write the file");
    int32_t from_file = 12345;
    const size_t read = size < size_t(ranking_file_bytes_max) + 1 ? size : size_t(ranking_file_bytes_max) + 1;
    int32_t expected_from_file = 0;
    const int file_ok = fuzz_reference_score(data, read, &expected_from_file);
    FUZZ_CHECK(ranking_read_file("ranking1.txt", &from_file) == file_ok);
    FUZZ_CHECK(from_file == expected_from_file);

    // Encoding any score gives 4..8 bytes that decode to it.
    unsigned char stored[ranking_file_bytes_max];
    const int n = ranking_encode(expected, stored);
    FUZZ_CHECK(n >= 4 && n <= ranking_file_bytes_max);
    FUZZ_CHECK(ranking_decode(stored, size_t(n), &decoded) == 1 && decoded == expected);
    return 0;
}
