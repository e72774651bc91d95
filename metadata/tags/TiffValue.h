#pragma once

#include "metadata/tags/MetadataEntry.h"

#include <cstddef>
#include <cstdint>

// The values of TIFF directory entries, read in the block's byte order.

// Bytes per component of a TIFF field type (13 = IFD, as LONG); 0 for a
// type we do not know. Inline, as the next two: the walk asks for every
// entry and component.
inline uint32_t TiffTypeSize(uint16_t type) {
    switch (type) {
    case 1: // BYTE
    case 2: // ASCII
    case 6: // SBYTE
    case 7: // UNDEFINED
        return 1;
    case 3: // SHORT
    case 8: // SSHORT
        return 2;
    case 4:  // LONG
    case 9:  // SLONG
    case 11: // FLOAT
    case 13: // IFD
        return 4;
    case 5:  // RATIONAL
    case 10: // SRATIONAL
    case 12: // DOUBLE
        return 8;
    default:
        return 0;
    }
}

struct TiffBytes {
    const uint8_t* data; // the value's bytes, all inside the block
    size_t size;         // count * TiffTypeSize(type)
    bool bigEndian;
};

inline uint16_t TiffU16(const uint8_t* p, bool bigEndian) {
    return bigEndian ? static_cast<uint16_t>(p[0] << 8 | p[1])
                     : static_cast<uint16_t>(p[1] << 8 | p[0]);
}

inline uint32_t TiffU32(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3])
                     : (uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
}

// Component `i` of a numeric value as a number (a rational as its quotient);
// `i` must be below the count.
double TiffNumberAt(const TiffBytes& v, uint16_t type, uint32_t i);

// Fills entry.value from the value's bytes by the type alone:
// numbers for the numeric types, text for ASCII (up to its first zero) and
// for printable UNDEFINED, else the bytes.
void DecodeTiffValue(const TiffBytes& v, uint16_t type, uint32_t count, MetadataEntry& entry);

// Keeps at most MetadataValue::kMaxKeptBytes of a binary value (its raw
// text is a short hex of them).
void KeepTiffBytes(const TiffBytes& v, MetadataEntry& entry);

// Text with an eight-byte character code in front, as UserComment and the
// GPS processing method and area information are written: ASCII, UNICODE
// (UTF-16 in the block's byte order), JIS or undefined.
std::string CodedText(const TiffBytes& v);
