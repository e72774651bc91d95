#include "metadata/tiff/TiffValue.h"

#include <bit>

double TiffNumberAt(const TiffValue& v, uint32_t i) {
    if (!v.Has(i))
        return 0;
    const unsigned char* p = v.data + size_t{i} * TiffTypeSize(v.type);
    switch (v.type) {
    case kTiffByte:
    case kTiffUndefined:
        return p[0];
    case kTiffSByte:
        return static_cast<int8_t>(p[0]);
    case kTiffShort:
        return TiffRead16(p, v.order);
    case kTiffSShort:
        return static_cast<int16_t>(TiffRead16(p, v.order));
    case kTiffLong:
    case kTiffIfd:
        return TiffRead32(p, v.order);
    case kTiffSLong:
        return static_cast<int32_t>(TiffRead32(p, v.order));
    case kTiffRational:
    case kTiffSRational:
        return TiffFractionAt(v, i).Quotient();
    case kTiffFloat:
        return std::bit_cast<float>(TiffRead32(p, v.order));
    case kTiffDouble:
        return std::bit_cast<double>(TiffRead64(p, v.order));
    default:
        return 0;
    }
}

TiffFraction TiffFractionAt(const TiffValue& v, uint32_t i) {
    if (!IsTiffRational(v.type) || !v.Has(i))
        return {};
    const unsigned char* p = v.data + size_t{i} * 8;
    const uint32_t num = TiffRead32(p, v.order);
    const uint32_t den = TiffRead32(p + 4, v.order);
    if (v.type == kTiffSRational)
        return {static_cast<int32_t>(num), static_cast<int32_t>(den)};
    return {num, den};
}

bool TiffUnsignedAt(const TiffValue& v, uint32_t i, uint32_t& out) {
    if (v.type != kTiffShort && v.type != kTiffLong && v.type != kTiffIfd)
        return false;
    if (!v.Has(i))
        return false;
    const unsigned char* p = v.data + size_t{i} * TiffTypeSize(v.type);
    out = v.type == kTiffShort ? TiffRead16(p, v.order) : TiffRead32(p, v.order);
    return true;
}
