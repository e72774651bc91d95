#include "metadata/tags/TextEncoding.h"

#include <cstring>

size_t Utf8SequenceAt(const uint8_t* data, size_t size, size_t i) {
    const uint8_t c = data[i];
    if (c < 0x80)
        return 1;
    size_t extra;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (size - i <= extra)
        return 0;
    for (size_t k = 1; k <= extra; ++k) {
        const uint8_t t = data[i + k];
        if ((t & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (t & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return extra + 1;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsValidUtf8(const uint8_t* data, size_t size) {
    size_t i = 0;
    while (i < size) {
        uint64_t chunk;
        if (size - i >= 8 &&
            (std::memcpy(&chunk, data + i, 8), (chunk & 0x8080808080808080) == 0)) {
            i += 8; // eight ASCII bytes
            continue;
        }
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        const size_t n = Utf8SequenceAt(data, size, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string Latin1ToUtf8(const uint8_t* data, size_t size) {
    std::string out;
    out.reserve(size);
    for (size_t i = 0; i < size; ++i)
        AppendUtf8(out, data[i]);
    return out;
}

std::string Utf8OrLatin1(const uint8_t* data, size_t size) {
    if (IsValidUtf8(data, size))
        return std::string(reinterpret_cast<const char*>(data), size);
    return Latin1ToUtf8(data, size);
}

std::string RepairUtf8(const uint8_t* data, size_t size) {
    std::string out;
    out.reserve(size);
    // Valid runs are appended whole.
    size_t run = 0;
    size_t i = 0;
    while (i < size) {
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        const size_t n = Utf8SequenceAt(data, size, i);
        if (n == 0) {
            out.append(reinterpret_cast<const char*>(data + run), i - run);
            AppendUtf8(out, 0xFFFD);
            run = ++i;
        } else {
            i += n;
        }
    }
    out.append(reinterpret_cast<const char*>(data + run), size - run);
    return out;
}

std::string Utf16ToUtf8(const uint8_t* data, size_t size, bool bigEndian) {
    std::string out;
    const size_t units = size / 2;
    auto unit = [&](size_t k) -> uint32_t {
        const uint8_t a = data[2 * k];
        const uint8_t b = data[2 * k + 1];
        return bigEndian ? (uint32_t(a) << 8 | b) : (uint32_t(b) << 8 | a);
    };
    for (size_t k = 0; k < units; ++k) {
        const uint32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            const uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        AppendUtf8(out, u); // a lone surrogate becomes U+FFFD there
    }
    return out;
}

size_t WithoutTrailingZeros(const uint8_t* data, size_t size) {
    // Padding tags hold kilobytes of zeros: eight at a time.
    uint64_t chunk;
    while (size >= 8 && (std::memcpy(&chunk, data + size - 8, 8), chunk == 0))
        size -= 8;
    while (size > 0 && data[size - 1] == 0)
        --size;
    return size;
}

bool IsPrintableAscii(const uint8_t* data, size_t size) {
    size = WithoutTrailingZeros(data, size);
    if (size == 0)
        return false;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t c = data[i];
        if (!((c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r'))
            return false;
    }
    return true;
}
