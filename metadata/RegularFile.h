#pragma once

#include <cstdint>
#include <cstdio>

// Opens `path` for binary reading only when it names a regular file, so that
// a FIFO, a socket or a device never blocks the caller and is never read.
// The type is checked on the open descriptor as well, so a name swapped for
// a FIFO between the check and the open is refused too. On failure returns
// null and, when `reason` is given, points it at a short English text.
std::FILE* OpenRegularFile(const char* path, const char** reason = nullptr);

// The same as a descriptor opened read-only and non-blocking, with the file's
// size in `size`; -1 on failure. `knownRegular`: the caller saw a regular
// file in the folder's listing, so the name is opened at once, without
// following a link; the descriptor is checked either way.
int OpenRegularDescriptor(const char* path, bool knownRegular, uint64_t* size,
                          const char** reason = nullptr);
