#pragma once

#include "metadata/tiff/ByteOrder.h"

#include <cstddef>
#include <cstdint>

// The eight bytes a TIFF structure starts with: "II" or "MM", a magic
// number in that order, and the offset of the first directory.
struct TiffHeader {
    static constexpr size_t kSize = 8;
    static constexpr uint16_t kMagic = 42;

    TiffByteOrder order = TiffByteOrder::Little;
    uint16_t magic = 0;
    uint32_t firstOffset = 0;
};

// Reads the byte-order mark alone; false when it is neither "II" nor "MM"
// (or fewer than two bytes are given).
bool ReadTiffByteOrder(const unsigned char* data, size_t size, TiffByteOrder& order);

// Reads the header at `data`; false when fewer than eight bytes are given or
// the byte-order mark is wrong. The magic is not judged here: a reader
// accepts 42, or also a raw maker's own (0x4F52 Olympus, 0x55 Panasonic).
bool ReadTiffHeader(const unsigned char* data, size_t size, TiffHeader& header);

// What the first directory of a TIFF block is. A whole TIFF structure
// starts with IFD0, whose next link is IFD1; Canon CR3 keeps IFD0, the EXIF
// directory and the GPS directory in three structures of their own.
enum class TiffRole : uint8_t { Main, Exif, Gps };
