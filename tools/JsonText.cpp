#include "tools/JsonText.h"

#include "presentation/EightBitText.h"

#include <charconv>
#include <cmath>

void AppendJsonString(std::string& out, std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    // Judged at the first byte above ASCII: most texts have none. The ASCII
    // before it cannot make the whole invalid UTF-8.
    enum { Unknown, Utf8, Latin1 } code = Unknown;
    out += '"';
    // Runs of bytes that need no escape are appended whole.
    size_t run = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
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
