#pragma once

#include "metadata/tiff/ByteOrder.h"

#include <cstddef>
#include <cstdint>

// TIFF field types and reading the components of a value.

enum TiffType : uint16_t {
    kTiffByte = 1,
    kTiffAscii = 2,
    kTiffShort = 3,
    kTiffLong = 4,
    kTiffRational = 5, // two LONGs: unsigned
    kTiffSByte = 6,
    kTiffUndefined = 7,
    kTiffSShort = 8,
    kTiffSLong = 9,
    kTiffSRational = 10, // two SLONGs: signed
    kTiffFloat = 11,
    kTiffDouble = 12,
    kTiffIfd = 13, // a LONG that points to a directory
};

// Bytes per component of a type; 0 for a type we do not know.
inline uint32_t TiffTypeSize(uint32_t type) {
    static constexpr unsigned char kSizes[14] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < sizeof kSizes ? kSizes[type] : 0;
}

inline bool IsTiffRational(uint32_t type) {
    return type == kTiffRational || type == kTiffSRational;
}

// A rational as stored: RATIONAL's parts unsigned, SRATIONAL's signed.
struct TiffFraction {
    int64_t num = 0;
    int64_t den = 0;

    double Quotient() const { return static_cast<double>(num) / static_cast<double>(den); }
};

// The bytes of one value, all inside the block they came from, with their
// type and byte order. `size` is usually count * TiffTypeSize(type); a
// reader may give more (the rest of the block) or less (a cut value): a
// component is read only when all its bytes are there.
struct TiffValue {
    const unsigned char* data = nullptr;
    size_t size = 0;
    uint16_t type = 0;
    TiffByteOrder order = TiffByteOrder::Little;

    // True when component `i` lies wholly in the bytes (false for an
    // unknown type).
    bool Has(uint32_t i) const {
        const uint32_t unit = TiffTypeSize(type);
        return unit != 0 && uint64_t{i} * unit + unit <= size;
    }
};

// Component `i` as a number: integers as they are, a rational as its
// quotient (x/0 gives infinity or NaN, as the division does), FLOAT and
// DOUBLE as stored, a BYTE or UNDEFINED byte as its code. 0 for ASCII and
// when the component is not there.
double TiffNumberAt(const TiffValue& v, uint32_t i);

// Component `i` of a RATIONAL or SRATIONAL; {0, 0} for other types or a
// component not there.
TiffFraction TiffFractionAt(const TiffValue& v, uint32_t i);

// Component `i` of a SHORT, LONG or IFD value (offsets, sizes, counts);
// false for other types or a component not there.
bool TiffUnsignedAt(const TiffValue& v, uint32_t i, uint32_t& out);
