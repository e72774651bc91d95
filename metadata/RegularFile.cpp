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

const char* TypeProblem(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        return "is a folder";
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    return nullptr;
}

} // namespace

std::FILE* OpenRegularFile(const char* path, const char** reason) {
    // Looked at before opening: opening a device can have effects of its own.
    struct stat info;
    if (::stat(path, &info) != 0)
        return Fail(reason, std::strerror(errno));
    if (const char* problem = TypeProblem(info))
        return Fail(reason, problem);

    // O_NONBLOCK: should the name have become a FIFO since, the open does not
    // wait for a writer, and the check below refuses it.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Fail(reason, std::strerror(errno));
    const char* problem = ::fstat(fd, &info) != 0 ? std::strerror(errno) : TypeProblem(info);
    if (problem) {
        ::close(fd);
        return Fail(reason, problem);
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        return Fail(reason, std::strerror(error));
    }
    return file;
}
