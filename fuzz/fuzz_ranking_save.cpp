// The ranking files through the result scene's road on any bytes. Input:
// byte 0 is the new score's low byte, then ten pieces, each a length byte (taken modulo 10) and that many
// bytes, which become "ranking/ranking1.txt" to "ranking/ranking10.txt"
// (a piece cut short by the input's end leaves its file missing). The
// result scene's road follows: load the ten, insert the score, save them.
// Promises: the load reads each file as a plain reading of its bytes does,
// the insert puts the score below every stored score equal to it and
// drops the last place, and what the save wrote loads back unchanged.
// fuzz_ranking takes a single file's reading alone, much faster.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "game/game_state.h"
#include "scenes/ranking.h"

namespace {

constexpr int most_piece = 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 256) return 0;
    static const int made = (fuzz_enter_work_folder(), 1);
    static const int folder = mkdir("ranking", 0755) == 0;
    if (!made || !folder) fuzz_fail("cannot make the ranking folder");

    // The ten files from the pieces.
    int32_t file_scores[ranking_places];
    size_t at = 1;
    char path[64];
    for (int place = 1; place <= ranking_places; ++place) {
        ranking_path(place, nullptr, path, sizeof path);
        std::remove(path);
        file_scores[place - 1] = 0;
        if (at >= size) continue;
        const size_t length = data[at] % (most_piece + 1);
        at += 1;
        if (at + length > size) continue;
        fuzz_write_file(path, data + at, length);
        fuzz_reference_score(data + at, length, &file_scores[place - 1]);
        at += length;
    }
    int32_t ranking[ranking_places + 1];
    ranking_load(ranking);
    for (int i = 0; i < ranking_places; ++i) FUZZ_CHECK(ranking[i] == file_scores[i]);

    // A sorted ranking takes the score below every stored score equal to
    // it and drops the last place; one equal to the tenth stays out.
    const int32_t score = int32_t(int8_t(data[0])) * 100;
    int sorted = 1;
    for (int i = 1; i < ranking_places; ++i) sorted = sorted && file_scores[i - 1] >= file_scores[i];
    ranking_insert(ranking, score);
    if (sorted) {
        int32_t expected_ranking[ranking_places];
        int p = 0, taken = 0;
        for (int i = 0; i < ranking_places; ++i) {
            if (!taken && file_scores[p] < score) {
                expected_ranking[i] = score;
                taken = 1;
            } else {
                expected_ranking[i] = file_scores[p++];
            }
        }
        for (int i = 0; i < ranking_places; ++i) FUZZ_CHECK(ranking[i] == expected_ranking[i]);
    }
    FUZZ_CHECK(ranking_save(ranking) == 1);
    int32_t again[ranking_places + 1];
    ranking_load(again);
    for (int i = 0; i < ranking_places; ++i) FUZZ_CHECK(again[i] == ranking[i]);
    return 0;
}
