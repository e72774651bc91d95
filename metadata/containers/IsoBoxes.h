#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"

#include <cstdint>
#include <cstring>

// One ISOBMFF box header: where the box starts, where its content starts and
// where it ends, all file offsets.
struct BoxHeader {
    uint64_t start = 0;
    uint64_t content = 0;
    uint64_t end = 0;
    char type[5] = {0, 0, 0, 0, 0};

    bool Is(const char* fourcc) const { return std::memcmp(type, fourcc, 4) == 0; }
};

// Reads the box header at `at` inside a parent ending at `parentEnd`. A size
// of 0 (to the end) is taken only where `allowToEnd` (the last box of the
// file); a box smaller than its header or larger than its parent is refused
// with `error` set.
bool ReadBoxHeader(ByteSource& source, uint64_t at, uint64_t parentEnd, bool allowToEnd,
                   BoxHeader& box, const char*& error);

// Box headers in memory (the HEIF meta box, read whole): the same rules over
// bytes [begin, end) of `data`, offsets relative to `data`.
bool BoxHeaderInMemory(const unsigned char* data, uint64_t at, uint64_t end, BoxHeader& box,
                       const char*& error);

// Where the TIFF header starts in an Exif item (HEIF) or box (JPEG XL): after
// the 4-byte offset that begins it and the bytes that offset passes over.
// Some writers leave the offset out and start with the TIFF header: when the
// offset would reach the end and the bytes begin with "II*\0" or "MM\0*",
// they are read from the start. False when there is no TIFF header to read.
bool ExifTiffStart(const unsigned char* data, size_t size, size_t& start);

// A JPEG starting within the first 32 bytes of a box (Canon's preview and
// thumbnail boxes, a movie's thumbnail) becomes found.preview when it is
// larger than the one found before.
void FindBoxJpeg(ByteSource& source, const BoxHeader& box, LocatedBlocks& found);

// The most boxes walked at one level before a file is taken as lying.
constexpr int kMaxBoxesPerLevel = 4096;
