// Gives a data directory its ten ranking files, each holding a score of 0,
// where they do not exist yet. A file that exists is never touched, so a
// rebuild keeps the player's ranking. Run in the data directory.
#include <cstdio>

#include "game/game_state.h"
#include "scenes/ranking.h"

int main() {
    int failed = 0;
    for (int place = 1; place <= ranking_places; ++place) {
        char path[64];
        if (!ranking_path(place, nullptr, path, sizeof path)) return 1;
        if (FILE* existing = std::fopen(path, "rb")) {
            std::fclose(existing);
            continue;
        }
        unsigned char bytes[ranking_file_bytes_max];
        const int count = ranking_encode(0, bytes);
        FILE* f = std::fopen(path, "wb");
        int ok = f && std::fwrite(bytes, 1, static_cast<size_t>(count), f) == static_cast<size_t>(count);
        if (f) ok = (std::fclose(f) == 0) && ok;
        if (!ok) {
            std::fprintf(stderr, "quennary-ranking-seed: cannot write %s\n", path);
            failed = 1;
        }
    }
    return failed;
}
