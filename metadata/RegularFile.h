#pragma once

#include <cstdint>
#include <cstdio>

// Opens `path` for binary reading only when it names a regular file, so that
// a FIFO, a socket or a device never blocks the caller and is never read.
// The type is checked on the open descriptor as well, so a name swapped for
// a FIFO between the check and the open is refused too. On failure returns
// null and, when `reason` is given, points it at a short English text.
std::FILE* OpenRegularFile(const char* path, const char** reason = nullptr);

// The same as a descriptor opened read-only and non-blocking; -1 on failure.
// `path` is relative to the open folder `folderFd` (AT_FDCWD: the working
// folder). `knownRegular`: the caller saw a regular file in the folder's
// listing, so the name is opened at once, without following a link and
// without asking its type again (O_NONBLOCK keeps a name swapped for a FIFO
// since from blocking, and reading one fails). Otherwise the type is checked
// before and after opening, and `size` gets the file's size; it is left as
// given when the name was known regular.
int OpenRegularDescriptor(int folderFd, const char* path, bool knownRegular, uint64_t* size,
                          const char** reason = nullptr);

// A descriptor that is closed when this goes (-1: none), for a file read in
// one scope.
struct OwnedDescriptor {
    explicit OwnedDescriptor(int descriptor) : fd(descriptor) {}
    ~OwnedDescriptor();
    OwnedDescriptor(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;

    const int fd;
};
