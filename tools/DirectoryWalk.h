#pragma once

#include <string>
#include <string_view>

// A file to read: its path as named (for output and messages) and, when a
// folder walk found it, the open folder and its name there.
struct FoundFile {
    const std::string& path;
    // -1 for an operand: `path` is opened as it is.
    int folderFd = -1;
    const char* name = nullptr;
    // The folder's listing said it is a regular file (not a link), so it
    // needs no check before it is opened.
    bool listedRegular = false;
};

// Receives the files to read, in the order they are to be read.
class FileVisitor {
public:
    virtual ~FileVisitor() = default;
    virtual void VisitFile(const FoundFile& file) = 0;
    // A folder that could not be listed.
    virtual void Unlistable(const std::string& path, const std::string& reason) = 0;
};

// True for the names the walk reads, in any case: JPEG (.jpg .jpeg .jpe
// .jfif), TIFF and the raw formats built on it, HEIF/HEIC/AVIF, Canon CR3,
// JPEG XL, PNG, WebP and Fujifilm RAF. The content decides the format.
bool HasPhotoExtension(std::string_view name);

// Hands every operand to the visitor as a file, except folders when
// `recursive` is set: those are walked, their photo files first, in byte order
// of their names, then their subfolders in the same order. Symbolic links to
// folders are not followed, so the walk cannot loop. Only one folder's file
// names are held at a time, plus the pending subfolder names of each folder
// on the way down.
void WalkOperand(const std::string& operand, bool recursive, FileVisitor& visitor);

// True when `path` names a folder (following links).
bool IsFolder(const std::string& path);
