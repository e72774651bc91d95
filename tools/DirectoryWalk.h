#pragma once

#include <string>
#include <string_view>

// Receives the files to read, in the order they are to be read.
class FileVisitor {
public:
    virtual ~FileVisitor() = default;
    virtual void VisitFile(const std::string& path) = 0;
    // A folder that could not be listed.
    virtual void Unlistable(const std::string& path, const std::string& reason) = 0;
};

// True for the names the walk reads: .jpg, .jpeg, .jpe and .jfif in any case.
bool HasJpegExtension(std::string_view name);

// Hands every operand to the visitor as a file, except folders when
// `recursive` is set: those are walked, their JPEG files first, in byte order
// of their names, then their subfolders in the same order. Symbolic links to
// folders are not followed, so the walk cannot loop. Only one folder's file
// names are held at a time, plus the pending subfolder names of each folder
// on the way down.
void WalkOperand(const std::string& operand, bool recursive, FileVisitor& visitor);

// True when `path` names a folder (following links).
bool IsFolder(const std::string& path);
