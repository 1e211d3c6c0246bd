#pragma once
// Given to the Windows build of the replay runner ahead of its sources: the
// runner finds its drawing twin for --screenshots through /proc/self/exe,
// which Windows lacks. Here that lookup fails, and the runner says that
// screenshots need the twin; every other option works as on Linux.
#include <errno.h>
#include <stddef.h>
#include <sys/types.h>

inline ssize_t readlink(const char*, char*, size_t) {
    errno = ENOSYS;
    return -1;
}
