#include "metadata/tags/TiffValue.h"

#include "metadata/tags/TextEncoding.h"

#include <cmath>
#include <cstring>

namespace {

uint64_t TiffU64(const uint8_t* p, bool bigEndian) {
    const uint64_t a = TiffU32(p, bigEndian);
    const uint64_t b = TiffU32(p + 4, bigEndian);
    return bigEndian ? (a << 32 | b) : (b << 32 | a);
}

MetadataFraction FractionAt(const TiffBytes& v, uint16_t type, uint32_t i) {
    const uint8_t* p = v.data + size_t(i) * 8;
    const uint32_t n = TiffU32(p, v.bigEndian);
    const uint32_t d = TiffU32(p + 4, v.bigEndian);
    if (type == 10)
        return {static_cast<int32_t>(n), static_cast<int32_t>(d)};
    return {n, d};
}

} // namespace

double TiffNumberAt(const TiffBytes& v, uint16_t type, uint32_t i) {
    const uint8_t* p = v.data + size_t(i) * TiffTypeSize(type);
    switch (type) {
    case 1:
    case 7:
        return p[0];
    case 6:
        return static_cast<int8_t>(p[0]);
    case 3:
        return TiffU16(p, v.bigEndian);
    case 8:
        return static_cast<int16_t>(TiffU16(p, v.bigEndian));
    case 4:
    case 13:
        return TiffU32(p, v.bigEndian);
    case 9:
        return static_cast<int32_t>(TiffU32(p, v.bigEndian));
    case 5:
    case 10: {
        const MetadataFraction f = FractionAt(v, type, i);
        return static_cast<double>(f.num) / static_cast<double>(f.den); // x/0 stays inf or nan
    }
    case 11: {
        const uint32_t bits = TiffU32(p, v.bigEndian);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case 12: {
        const uint64_t bits = TiffU64(p, v.bigEndian);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    default:
        return 0;
    }
}

void KeepTiffBytes(const TiffBytes& v, MetadataEntry& entry) {
    MetadataValue& value = entry.value;
    value.kind = MetadataValue::Kind::Bytes;
    const size_t kept =
        v.size < MetadataValue::kMaxKeptBytes ? v.size : MetadataValue::kMaxKeptBytes;
    value.bytes.assign(v.data, v.data + kept);
    value.truncated = kept < v.size;
}

void DecodeTiffValue(const TiffBytes& v, uint16_t type, uint32_t count, MetadataEntry& entry) {
    MetadataValue& value = entry.value;
    if (type == 2) {
        const void* zero = std::memchr(v.data, 0, v.size);
        const size_t length = zero ? static_cast<const uint8_t*>(zero) - v.data : v.size;
        value.kind = MetadataValue::Kind::Text;
        value.text = Utf8OrLatin1(v.data, length);
        return;
    }
    if (type == 7) {
        if (IsPrintableAscii(v.data, v.size)) {
            value.kind = MetadataValue::Kind::Text;
            value.text.assign(reinterpret_cast<const char*>(v.data),
                              WithoutTrailingZeros(v.data, v.size));
        } else {
            KeepTiffBytes(v, entry);
        }
        return;
    }
    if (TiffTypeSize(type) == 0)
        return;
    value.kind = MetadataValue::Kind::Numbers;
    const uint32_t kept = count < MetadataValue::kMaxKeptNumbers
                              ? count
                              : static_cast<uint32_t>(MetadataValue::kMaxKeptNumbers);
    value.truncated = kept < count;
    value.numbers.reserve(kept);
    const bool rational = type == 5 || type == 10;
    if (rational)
        value.fractions.reserve(kept);
    for (uint32_t i = 0; i < kept; ++i) {
        value.numbers.push_back(TiffNumberAt(v, type, i));
        if (rational)
            value.fractions.push_back(FractionAt(v, type, i));
    }
}

std::string CodedText(const TiffBytes& v) {
    if (v.size < 8)
        return {};
    const uint8_t* text = v.data + 8;
    size_t size = v.size - 8;
    if (std::memcmp(v.data, "UNICODE\0", 8) == 0) {
        size &= ~size_t(1);
        while (size >= 2 && text[size - 1] == 0 && text[size - 2] == 0)
            size -= 2;
        return Utf16ToUtf8(text, size, v.bigEndian);
    }
    // ASCII, JIS (not converted) and undefined codes: up to the first zero,
    // shown as UTF-8 or Latin-1.
    if (const void* zero = std::memchr(text, 0, size))
        size = static_cast<const uint8_t*>(zero) - text;
    std::string out = Utf8OrLatin1(text, size);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}
