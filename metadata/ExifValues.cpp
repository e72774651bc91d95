// Reading the values of directory entries: integers in the block's byte
// order, the conversion of a value's first component to a number, and text
// copies. Nothing here reads past the end of the block.

#include "metadata/JpegExifReader.h"

#include <bit>
#include <cmath>
#include <cstring>

uint32_t CJpegExifReader::ComponentSize(unsigned format) {
    // Bytes per component of the TIFF field types 1..12; 0 for any other code.
    static constexpr uint32_t sizes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return format < 13 ? sizes[format] : 0;
}

unsigned CJpegExifReader::ReadU16(const unsigned char* p) const {
    if (bigEndian)
        return (static_cast<unsigned>(p[0]) << 8) | p[1];
    return (static_cast<unsigned>(p[1]) << 8) | p[0];
}

int32_t CJpegExifReader::ReadS32(const unsigned char* p) const {
    uint32_t v;
    if (bigEndian)
        v = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    else
        v = (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    return static_cast<int32_t>(v);
}

double CJpegExifReader::ValueAsNumber(int format, const unsigned char* value,
                                      uint32_t available) const {
    uint32_t size = format < 0 ? 0 : ComponentSize(static_cast<unsigned>(format));
    if (size == 0 || available < size)
        return 0;
    switch (format) {
    case 1:
        return value[0];
    case 3:
        return ReadU16(value);
    case 4:
        return static_cast<uint32_t>(ReadS32(value));
    case 5:
    case 10: {
        // Both kinds are read signed: a negative SubjectDistance means infinity.
        int32_t denominator = ReadS32(value + 4);
        if (denominator == 0)
            return 0;
        return static_cast<double>(ReadS32(value)) / denominator;
    }
    case 6:
        return static_cast<int8_t>(value[0]);
    case 8:
        return static_cast<int16_t>(ReadU16(value));
    case 9:
        return ReadS32(value);
    case 11:
        return std::bit_cast<float>(static_cast<uint32_t>(ReadS32(value)));
    case 12: {
        uint64_t first = static_cast<uint32_t>(ReadS32(value));
        uint64_t second = static_cast<uint32_t>(ReadS32(value + 4));
        uint64_t bits = bigEndian ? (first << 32) | second : (second << 32) | first;
        return std::bit_cast<double>(bits);
    }
    default: // ASCII and UNDEFINED are never numbers
        return 0;
    }
}

double CJpegExifReader::NumberAt(unsigned format, uint32_t valueOffset) const {
    return ValueAsNumber(static_cast<int>(format), blockBase + valueOffset,
                         blockLength - valueOffset);
}

int32_t CJpegExifReader::IntegerAt(unsigned format, uint32_t valueOffset) const {
    // Truncated toward zero; numbers beyond the int32 range are clamped.
    double v = NumberAt(format, valueOffset);
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

void CJpegExifReader::CopyText(char* field, uint32_t maxChars, uint32_t valueOffset,
                               uint32_t byteCount) const {
    // Stops at a zero byte, the field's width, the value's own byte count and
    // the end of the block, whichever comes first; the rest is zero-filled.
    uint32_t limit = maxChars;
    if (byteCount < limit)
        limit = byteCount;
    if (blockLength - valueOffset < limit)
        limit = blockLength - valueOffset;
    const unsigned char* value = blockBase + valueOffset;
    uint32_t n = 0;
    while (n < limit && value[n] != 0) {
        field[n] = static_cast<char>(value[n]);
        ++n;
    }
    std::memset(field + n, 0, maxChars - n);
}
