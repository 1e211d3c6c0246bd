// The ranking files. The bytes are translated here by hand and the files
// opened in binary mode, so every system stores exactly the same bytes that
// a text-mode file of the game's own platform holds.
#include "scenes/ranking.h"

#include <cstdio>

#include "game/game_state.h"
#include "platform/files.h"

namespace {

constexpr unsigned char line_feed = 0x0A;
constexpr unsigned char carriage_return = 0x0D;
constexpr int path_capacity = 64;  // "ranking/ranking10.txt.tmp" and room to spare
const char temporary_suffix[] = ".tmp";

// What writing one temporary came to.
enum WriteResult {
    WriteNotCreated = 0,  // the file could not be opened: nothing of ours is there
    WriteDone = 1,        // every byte reached the file
    WriteFailed = 2,      // created, but a write, the flush or the close failed
};

WriteResult write_score_file(const char* path, int32_t score) {
    unsigned char bytes[ranking_file_bytes_max];
    const int count = ranking_encode(score, bytes);
    FILE* f = std::fopen(path, "wb");
    if (!f) return WriteNotCreated;
    int ok = std::fwrite(bytes, 1, static_cast<size_t>(count), f) == static_cast<size_t>(count);
    ok = (std::fflush(f) == 0) && ok;
    ok = !std::ferror(f) && ok;
    ok = (std::fclose(f) == 0) && ok;
    return ok ? WriteDone : WriteFailed;
}

// Removes the temporaries of places first..last, which this save made.
void remove_temporaries(int first, int last) {
    char path[path_capacity];
    for (int place = first; place <= last; ++place) {
        if (ranking_path(place, temporary_suffix, path, sizeof path)) std::remove(path);
    }
}

int file_exists(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    std::fclose(f);
    return 1;
}

// A save is committed once all ten temporaries are written: then this
// empty file is made beside them, and it goes when every temporary has
// replaced its file. A save stopped before the commit leaves the old
// ranking; one stopped after it is finished by the next load or save, so
// the ranking read is always the old one or the new one, whole.
const char commit_marker[] = "ranking/ranking.commit";

// Finishes a save that was stopped after its commit: the temporaries still
// there replace their files, from place 10 up, and the marker goes. The
// temporaries of a save stopped before its commit are left alone: nothing
// reads them, and the next save writes them anew. 1 when no committed save
// is left unfinished.
int finish_interrupted_save() {
    if (!file_exists(commit_marker)) return 1;
    char temporary[path_capacity];
    char path[path_capacity];
    for (int place = ranking_places; place >= 1; --place) {
        if (!ranking_path(place, temporary_suffix, temporary, sizeof temporary) ||
            !ranking_path(place, nullptr, path, sizeof path))
            return 0;
        if (file_exists(temporary) && !file_replace(temporary, path)) return 0;
    }
    std::remove(commit_marker);
    return 1;
}

}  // namespace

int ranking_path(int place, const char* suffix, char* out, size_t out_size) {
    const int n = std::snprintf(out, out_size, "ranking/ranking%d.txt%s", place, suffix ? suffix : "");
    return n > 0 && static_cast<size_t>(n) < out_size;
}

int ranking_encode(int32_t score, unsigned char out[ranking_file_bytes_max]) {
    const uint32_t bits = static_cast<uint32_t>(score);
    int count = 0;
    for (int i = 0; i < 4; ++i) {
        const unsigned char b = static_cast<unsigned char>(bits >> (8 * i));
        if (b == line_feed) out[count++] = carriage_return;
        out[count++] = b;
    }
    return count;
}

int ranking_decode(const unsigned char* bytes, size_t count, int32_t* score) {
    unsigned char value[4];
    int got = 0;
    for (size_t i = 0; i < count && got < 4; ++i) {
        if (bytes[i] == carriage_return && i + 1 < count && bytes[i + 1] == line_feed) ++i;
        value[got++] = bytes[i];
    }
    if (got < 4) {
        *score = 0;
        return 0;
    }
    const uint32_t bits = static_cast<uint32_t>(value[0]) | (static_cast<uint32_t>(value[1]) << 8) |
                          (static_cast<uint32_t>(value[2]) << 16) |
                          (static_cast<uint32_t>(value[3]) << 24);
    *score = static_cast<int32_t>(bits);
    return 1;
}

int ranking_read_file(const char* path, int32_t* score) {
    *score = 0;
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    // Four stored bytes need at most eight, plus one to see whether a
    // last 0x0D starts a pair.
    unsigned char bytes[ranking_file_bytes_max + 1];
    const size_t count = std::fread(bytes, 1, sizeof bytes, f);
    const int failed = std::ferror(f);
    std::fclose(f);
    if (failed) return 0;
    return ranking_decode(bytes, count, score);
}

void ranking_load(int32_t* ranking) {
    // A committed save that cannot be finished here (a folder made
    // read-only since) is still the ranking: its temporaries are read in
    // place of the files they were to replace.
    const int unfinished = !finish_interrupted_save();
    char path[path_capacity];
    for (int place = 1; place <= ranking_places; ++place) {
        ranking[place - 1] = 0;
        const int from_temporary = unfinished && ranking_path(place, temporary_suffix, path, sizeof path) &&
                                   file_exists(path);
        if (from_temporary || ranking_path(place, nullptr, path, sizeof path))
            ranking_read_file(path, &ranking[place - 1]);
    }
}

void ranking_insert(int32_t* ranking, int32_t score) {
    ranking[ranking_places] = score;
    for (int n = ranking_places; n >= 1; --n) {
        for (int i = 0; i < n; ++i) {
            if (ranking[i] < ranking[i + 1]) {
                const int32_t t = ranking[i];
                ranking[i] = ranking[i + 1];
                ranking[i + 1] = t;
            }
        }
    }
}

// The ten files are replaced from place 10 up to place 1, after the
// commit marker is made. A crash between two replacements leaves the files
// half old, half new, and the marker says so: the next load finishes the
// replacements before it reads. Even without that, the order alone keeps
// every stored score somewhere: the new ranking is the old one with the
// new score put in at some place p and everything below it moved down one
// place, so replacing file k (k > p) with what file k - 1 held keeps that
// score in file k - 1 until its own turn.
int ranking_save_interrupted(const int32_t* ranking, int replacements) {
    // The temporaries of a committed save are the ranking until they are
    // in place: they are never written over.
    if (!finish_interrupted_save()) return 0;
    char temporary[path_capacity];
    char path[path_capacity];
    for (int place = 1; place <= ranking_places; ++place) {
        if (!ranking_path(place, temporary_suffix, temporary, sizeof temporary)) return 0;
        const WriteResult written = write_score_file(temporary, ranking[place - 1]);
        if (written != WriteDone) {
            // Whatever stands in the way of a temporary that could not be
            // opened is not ours to remove.
            remove_temporaries(1, written == WriteFailed ? place : place - 1);
            return 0;
        }
    }
    // The commit: from here on the new ranking is the one read.
    FILE* marker = std::fopen(commit_marker, "wb");
    if (!marker || std::fclose(marker) != 0) {
        if (marker) std::remove(commit_marker);
        remove_temporaries(1, ranking_places);
        return 0;
    }
    int replaced = 0;
    for (int place = ranking_places; place >= 1; --place) {
        if (replaced == replacements) return 0;  // stopped as a crash would stop it
        ranking_path(place, temporary_suffix, temporary, sizeof temporary);
        ranking_path(place, nullptr, path, sizeof path);
        // A replacement that fails leaves the rest committed, for the next
        // load or save to finish.
        if (!file_replace(temporary, path)) return 0;
        replaced += 1;
    }
    std::remove(commit_marker);
    return 1;
}

int ranking_save(const int32_t* ranking) { return ranking_save_interrupted(ranking, ranking_places); }
