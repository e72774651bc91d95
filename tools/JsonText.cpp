#include "tools/JsonText.h"

#include "presentation/EightBitText.h"

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

// The length of the leading part of `bytes` that needs no escape at all.
size_t PlainPrefix(std::string_view bytes) {
    size_t i = 0;
    for (; bytes.size() - i >= 8; i += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, bytes.data() + i, 8);
        if (AnyToEscape(chunk))
            break;
    }
    for (; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x20 || c == '"' || c == '\\' || c >= 0x80)
            break;
    }
    return i;
}

} // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    // Most texts are printable ASCII through and through: copied in one go.
    const size_t plain = PlainPrefix(bytes);
    if (plain == bytes.size()) {
        out += '"';
        out.append(bytes.data(), bytes.size());
        out += '"';
        return;
    }
    // Judged at the first byte above ASCII. The ASCII before it cannot make
    // the whole invalid UTF-8.
    enum { Unknown, Utf8, Latin1 } code = Unknown;
    out += '"';
    // Runs of bytes that need no escape are appended whole.
    size_t run = 0;
    for (size_t i = plain; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c != '"' && c != '\\' && c < 0x80)
            continue;
        if (c >= 0x80 && code == Unknown)
            code = IsUtf8(bytes.substr(i)) ? Utf8 : Latin1;
        if (c >= 0x80 && code == Utf8)
            continue;
        out.append(bytes.data() + run, i - run);
        run = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 15];
            } else {
                AppendTextByte(out, c, false); // a byte of a Latin-1 text
            }
        }
    }
    out.append(bytes.data() + run, bytes.size() - run);
    out += '"';
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
    AppendShortest(out, value);
}

void AppendJsonInteger(std::string& out, int64_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void AppendJsonBool(std::string& out, bool value) {
    out += value ? "true" : "false";
}
