#pragma once
// The ten ranking files: "ranking/ranking1.txt" (place 1) to
// "ranking/ranking10.txt" (place 10), one score each. A score is a signed
// 32-bit little-endian integer stored with the newline translation of a
// text-mode file: every byte 0x0A is written as the pair 0x0D 0x0A, every
// other byte unchanged, so a file is 4 to 8 bytes long.
#include <cstddef>
#include <cstdint>

constexpr int ranking_file_bytes_max = 8;  // four bytes, each at most a pair

// The path of place 1..10 into out ("ranking/ranking3.txt"); with a suffix
// (".tmp") the path of its temporary. 1 when it fits.
int ranking_path(int place, const char* suffix, char* out, size_t out_size);

// The stored bytes of a score. Returns their count (4..8).
int ranking_encode(int32_t score, unsigned char out[ranking_file_bytes_max]);
// Undoes the translation: the pair 0x0D 0x0A reads as 0x0A, every other
// byte (0x0D and 0x1A among them) as itself. 1 with the first four bytes
// read; 0 when the bytes hold fewer than four (the score is then 0).
int ranking_decode(const unsigned char* bytes, size_t count, int32_t* score);

// Reads one score file. 1 on success; 0 when the file is missing,
// unreadable or short, and the score is then 0.
int ranking_read_file(const char* path, int32_t* score);

// Reads places 1 to 10 into entries 0 to 9; a place that cannot be read
// holds 0. A save that a crash stopped after its commit is finished first
// (see ranking_save), so what is read is one whole ranking.
void ranking_load(int32_t* ranking);

// Puts score into entry 10 and sorts the eleven entries in descending
// order with ten bubble passes that swap only on a strict less-than, so a
// new score goes below every stored score equal to it, and one equal to
// the tenth place stays out of the first ten.
void ranking_insert(int32_t* ranking, int32_t score);

// Writes entries 0 to 9 to places 1 to 10 so that no failure loses the
// stored ranking and a crash leaves either the old or the new one: all ten
// scores go first to temporaries beside the files, each flushed and
// checked; only when all ten are written is the save committed (the empty
// file "ranking/ranking.commit" is made), and then each temporary replaces
// its file, from place 10 up to place 1, and the marker goes. If any
// temporary or the marker cannot be written, the temporaries are removed
// and the old files stay as they were; a committed save that a crash or a
// failed replacement stops is finished by the next load or save. 1 when
// all ten files now hold the new ranking.
int ranking_save(const int32_t* ranking);

// ranking_save stopped after `replacements` files were replaced (0..10), as
// a crash at that point would leave the folder: for tests of that promise.
// 1 only when all ten were replaced.
int ranking_save_interrupted(const int32_t* ranking, int replacements);
