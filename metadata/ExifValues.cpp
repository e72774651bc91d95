// Reading the values of directory entries: the record's rules for a
// value's first component as a number (through the TIFF layer) and text
// copies. Nothing here reads past the end of the block.

#include "metadata/JpegExifReader.h"
#include "metadata/tiff/TiffValue.h"

#include <cmath>
#include <cstring>

unsigned CJpegExifReader::ReadU16(const unsigned char* p) const {
    return TiffRead16(p, byteOrder);
}

double CJpegExifReader::NumberAt(unsigned format, uint32_t valueOffset) const {
    // ASCII and UNDEFINED are never numbers. The first component is read
    // wherever it lies in the block, even past a count of 0.
    if (format == kTiffAscii || format == kTiffUndefined)
        return 0;
    const TiffValue value{blockBase + valueOffset, blockLength - valueOffset,
                          static_cast<uint16_t>(format), byteOrder};
    if (IsTiffRational(format)) {
        // RATIONAL unsigned, SRATIONAL signed; x/0 is no number.
        const TiffFraction f = TiffFractionAt(value, 0);
        return f.den == 0 ? 0 : static_cast<double>(f.num) / static_cast<double>(f.den);
    }
    return TiffNumberAt(value, 0);
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
