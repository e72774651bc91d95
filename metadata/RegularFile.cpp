#include "metadata/RegularFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::FILE* Fail(const char** reason, const char* text) {
    if (reason)
        *reason = text;
    return nullptr;
}

int FailFd(const char** reason, const char* text) {
    if (reason)
        *reason = text;
    return -1;
}

const char* TypeProblem(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        return "is a folder";
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    return nullptr;
}

} // namespace

int OpenRegularDescriptor(int folderFd, const char* path, bool knownRegular, uint64_t* size,
                          const char** reason) {
    if (knownRegular) {
        const int fd =
            ::openat(folderFd, path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
        return fd >= 0 ? fd : FailFd(reason, std::strerror(errno));
    }
    struct stat info;
    // Looked at before opening: opening a device can have effects of its own.
    if (::fstatat(folderFd, path, &info, 0) != 0)
        return FailFd(reason, std::strerror(errno));
    if (const char* problem = TypeProblem(info))
        return FailFd(reason, problem);
    // O_NONBLOCK: should the name have become a FIFO since, the open does not
    // wait for a writer, and the check below refuses it.
    const int fd = ::openat(folderFd, path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FailFd(reason, std::strerror(errno));
    const char* problem = ::fstat(fd, &info) != 0 ? std::strerror(errno) : TypeProblem(info);
    if (problem) {
        ::close(fd);
        return FailFd(reason, problem);
    }
    if (size)
        *size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    return fd;
}

std::FILE* OpenRegularFile(const char* path, const char** reason) {
    const int fd = OpenRegularDescriptor(AT_FDCWD, path, false, nullptr, reason);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        return Fail(reason, std::strerror(error));
    }
    return file;
}

OwnedDescriptor::~OwnedDescriptor() {
    if (fd >= 0)
        ::close(fd);
}
