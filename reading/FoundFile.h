#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A folder kept open for the files found in it, so that each is opened by
// its name there (sparing the kernel the walk along the whole path) after
// the walk has moved on. Closed when its last file is done with.
class OpenFolder {
public:
    explicit OpenFolder(int fd) : m_fd(fd) {}
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    int Fd() const { return m_fd; }

private:
    int m_fd;
};

// One item of a walk, in the walk's order: a file to read, or a folder that
// could not be listed (which has nothing to read but takes its place in the
// order, so that its complaint comes where it did).
struct FoundFile {
    enum class Kind : uint8_t { File, UnlistableFolder };

    // The path as named, for output and messages: the operand itself, or the
    // folder's path joined with the name.
    std::string path;
    // The open folder it was listed in; null for an operand (or when the
    // folder could not be kept open), which is opened by `path`.
    std::shared_ptr<const OpenFolder> folder;
    // Where the name starts in `path`, when `folder` is set.
    uint32_t nameStart = 0;
    // The folder's listing said it is a regular file (not a link), so it
    // needs no check before it is opened (the open descriptor is checked
    // all the same: it may have changed since).
    bool listedRegular = false;
    Kind kind = Kind::File;
    // For UnlistableFolder: why it could not be listed.
    std::string reason;

    bool IsFile() const { return kind == Kind::File; }
    // The folder to open OpenName() in; -1: OpenName() is the whole path.
    int FolderFd() const { return folder ? folder->Fd() : -1; }
    const char* OpenName() const { return path.c_str() + (folder ? nameStart : 0); }
};
