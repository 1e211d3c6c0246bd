#pragma once
// Write errors on demand. The test program is linked with the C library's
// fopen, fwrite, fflush, fclose and rename wrapped, so every call the
// game's code makes passes through here. Only the writing side counts:
// fopen for writing, fwrite, fflush and fclose of a file opened for
// writing, and rename.

// From now on, count the writing calls; the nth one (from 1) fails, as on
// a full disk (ENOSPC) or a read-only folder (EROFS for fopen and rename).
// 0 fails nothing.
void faults_arm(int nth);
void faults_disarm();
// Writing calls seen since faults_arm.
int faults_seen();
