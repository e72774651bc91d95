#pragma once

#include <cstdio>

// Opens `path` for binary reading only when it names a regular file, so that
// a FIFO, a socket or a device never blocks the caller and is never read.
// The type is checked on the open descriptor as well, so a name swapped for
// a FIFO between the check and the open is refused too. On failure returns
// null and, when `reason` is given, points it at a short English text.
std::FILE* OpenRegularFile(const char* path, const char** reason = nullptr);
