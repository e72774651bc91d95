#pragma once

#include "reading/FoundFile.h"

#include <cstddef>
#include <string>
#include <string_view>

// Receives what a walk finds, in the order it is to be read.
class FileVisitor {
public:
    virtual ~FileVisitor() = default;
    // A file to read, or a folder that could not be listed. False stops the
    // walk.
    virtual bool Visit(FoundFile&& found) = 0;
    // A folder was listed and holds `files` files to read (they follow).
    virtual void FolderListed(const std::string& path, size_t files) {
        (void)path;
        (void)files;
    }
    // Asked between folders and every few hundred names of a listing: true
    // stops the walk (a cancelled search).
    virtual bool Stopped() const { return false; }
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
// on the way down; a folder stays open while its files are still to be read
// (FoundFile::folder). False when the visitor stopped the walk.
bool WalkOperand(const std::string& operand, bool recursive, FileVisitor& visitor);

// True when `path` names a folder (following links).
bool IsFolder(const std::string& path);
