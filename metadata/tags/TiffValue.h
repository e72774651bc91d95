#pragma once

#include "metadata/tags/MetadataEntry.h"

#include <cstddef>
#include <cstdint>

// The values of TIFF directory entries, read in the block's byte order.

// Bytes per component of a TIFF field type (13 = IFD, as LONG); 0 for a
// type we do not know.
uint32_t TiffTypeSize(uint16_t type);

struct TiffBytes {
    const uint8_t* data; // the value's bytes, all inside the block
    size_t size;         // count * TiffTypeSize(type)
    bool bigEndian;
};

uint16_t TiffU16(const uint8_t* p, bool bigEndian);
uint32_t TiffU32(const uint8_t* p, bool bigEndian);

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
