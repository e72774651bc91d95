#include "tools/JsonText.h"

#include "metadata/tags/FixedDecimals.h"
#include "presentation/EightBitText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Whether one of the eight bytes of `x` needs more than a copy: a control
// character, '"', '\\' or a byte above ASCII. Each term is the usual test
// for a zero (or smaller) byte, exact for the question "any?".
bool AnyToEscape(uint64_t x) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHigh = 0x8080808080808080;
    const uint64_t quote = x ^ (kOnes * '"');
    const uint64_t backslash = x ^ (kOnes * '\\');
    return (((x - kOnes * 0x20) & ~x) | ((quote - kOnes) & ~quote) |
            ((backslash - kOnes) & ~backslash) | x) &
           kHigh;
}

// AnyToEscape's question for one byte.
constexpr std::array<bool, 256> kNeedsMore = [] {
    std::array<bool, 256> table{};
    for (size_t c = 0; c < table.size(); ++c)
        table[c] = c < 0x20 || c == '"' || c == '\\' || c >= 0x80;
    return table;
}();

// Copies to `out` the leading part of `bytes` that needs no escape at all,
// in one pass, eight bytes at a time; returns its length. `out` has room
// for the whole text.
size_t CopyPlainPrefix(char* out, std::string_view bytes) {
    const char* in = bytes.data();
    const size_t size = bytes.size();
    size_t i = 0;
    uint64_t chunk;
    for (; size - i >= 8; i += 8) {
        std::memcpy(&chunk, in + i, 8);
        if (AnyToEscape(chunk))
            break;
        std::memcpy(out + i, &chunk, 8);
    }
    // Fewer than eight left: the last eight bytes, overlapping those seen.
    if (i < size && size - i < 8 && size >= 8) {
        std::memcpy(&chunk, in + size - 8, 8);
        if (!AnyToEscape(chunk)) {
            std::memcpy(out + size - 8, &chunk, 8);
            return size;
        }
    }
    for (; i < size && !kNeedsMore[static_cast<unsigned char>(in[i])]; ++i)
        out[i] = in[i];
    return i;
}

} // namespace

char* WriteJsonString(char* out, std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    *out++ = '"';
    // Most texts are printable ASCII through and through: copied in one go.
    const size_t plain = CopyPlainPrefix(out, bytes);
    out += plain;
    // Judged at the first byte above ASCII. The ASCII before it cannot make
    // the whole invalid UTF-8.
    enum { Unknown, Utf8, Latin1 } code = Unknown;
    for (size_t i = plain; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80 && code == Unknown)
            code = IsUtf8(bytes.substr(i)) ? Utf8 : Latin1;
        if ((c >= 0x20 && c != '"' && c != '\\' && c < 0x80) || (c >= 0x80 && code == Utf8)) {
            *out++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0x80) {
            // A byte of a Latin-1 text, as its character in UTF-8.
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
            continue;
        }
        *out++ = '\\';
        switch (c) {
        case '"':
        case '\\':
            *out++ = static_cast<char>(c);
            break;
        case '\n':
            *out++ = 'n';
            break;
        case '\r':
            *out++ = 'r';
            break;
        case '\t':
            *out++ = 't';
            break;
        default: // the other control characters
            std::memcpy(out, "u00", 3);
            out[3] = kHex[c >> 4];
            out[4] = kHex[c & 15];
            out += 5;
        }
    }
    *out++ = '"';
    return out;
}

void AppendJsonString(std::string& out, std::string_view bytes) {
    const size_t at = out.size();
    out.resize(at + JsonStringRoom(bytes.size()));
    char* end = WriteJsonString(out.data() + at, bytes);
    out.resize(static_cast<size_t>(end - out.data()));
}

namespace {

// A value of one to three decimals, not whole (a rational's 2.8, 0.004,
// 4.15), written as printf's fixed form with those decimals: the shortest
// text. The fewest decimals that give the value back are the fewest digits
// that do; from 0.001 on the fixed form is no longer than the exponent form,
// which the shortest text prefers only when shorter; below 10^12 the scaled
// value is a whole number a double holds exactly. False for other values.
bool WriteFewDecimals(char*& out, double value) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 0.001 && magnitude < 1e12) || value == std::trunc(value))
        return false;
    static constexpr double kScale[] = {10, 100, 1000};
    for (int decimals = 1; decimals <= 3; ++decimals) {
        const double scale = kScale[decimals - 1];
        if (std::nearbyint(value * scale) / scale != value)
            continue;
        char text[kFixedDecimalsRoom];
        const char* end = WriteFixedDecimals(text, value, decimals);
        std::memcpy(out, text, static_cast<size_t>(end - text));
        out += end - text;
        return true;
    }
    return false;
}

} // namespace

char* WriteJsonDouble(char* out, double value) {
    if (!std::isfinite(value)) {
        std::memcpy(out, "null", 4);
        return out + 4;
    }
    // Whole numbers below 10^5 are their digits in the shortest text (from
    // 10^5 on, "1e+05" is shorter than "100000"); -0 keeps its sign below.
    if (value > -1e5 && value < 1e5 && value == static_cast<double>(static_cast<int32_t>(value)) &&
        !(value == 0 && std::signbit(value)))
        return std::to_chars(out, out + kJsonNumberRoom, static_cast<int32_t>(value)).ptr;
    if (WriteFewDecimals(out, value))
        return out;
    return std::to_chars(out, out + kJsonNumberRoom, value).ptr;
}

char* WriteJsonInteger(char* out, int64_t value) {
    return std::to_chars(out, out + kJsonNumberRoom, value).ptr;
}

namespace {

template <typename Number> void AppendShortest(std::string& out, Number value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

} // namespace

void AppendJsonFloat(std::string& out, float value) {
    AppendShortest(out, value);
}

void AppendJsonDouble(std::string& out, double value) {
    char text[kJsonNumberRoom];
    out.append(text, WriteJsonDouble(text, value));
}

void AppendJsonInteger(std::string& out, int64_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void AppendJsonBool(std::string& out, bool value) {
    out += value ? "true" : "false";
}
