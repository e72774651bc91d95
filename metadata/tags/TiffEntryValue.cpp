#include "metadata/tags/TiffEntryValue.h"

#include "metadata/tags/TextEncoding.h"

#include <cmath>
#include <cstring>

void KeepTiffBytes(const TiffValue& v, MetadataEntry& entry) {
    MetadataValue& value = entry.value;
    value.kind = MetadataValue::Kind::Bytes;
    const size_t kept =
        v.size < MetadataValue::kMaxKeptBytes ? v.size : MetadataValue::kMaxKeptBytes;
    value.bytes.assign(v.data, v.data + kept);
    value.truncated = kept < v.size;
}

void DecodeTiffValue(const TiffValue& v, uint32_t count, MetadataEntry& entry) {
    MetadataValue& value = entry.value;
    const uint16_t type = v.type;
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
    const bool rational = IsTiffRational(type);
    if (rational)
        value.fractions.reserve(kept);
    for (uint32_t i = 0; i < kept; ++i) {
        if (!rational) {
            value.numbers.push_back(TiffNumberAt(v, i));
            continue;
        }
        // Read once for both lists; a missing one is 0, as TiffNumberAt has it.
        const TiffFraction f = TiffFractionAt(v, i);
        value.numbers.push_back(v.Has(i) ? f.Quotient() : 0);
        value.fractions.push_back({f.num, f.den});
    }
}

std::string CodedText(const TiffValue& v) {
    if (v.size < 8)
        return {};
    const uint8_t* text = v.data + 8;
    size_t size = v.size - 8;
    if (std::memcmp(v.data, "UNICODE\0", 8) == 0) {
        size &= ~size_t(1);
        while (size >= 2 && text[size - 1] == 0 && text[size - 2] == 0)
            size -= 2;
        return Utf16ToUtf8(text, size, v.order == TiffByteOrder::Big);
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
