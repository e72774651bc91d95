#include "presentation/EightBitText.h"

#include <cstdint>

std::size_t BoundedLength(const char* field, std::size_t fieldSize) {
    std::size_t length = 0;
    while (length < fieldSize && field[length] != '\0')
        ++length;
    return length;
}

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Bytes taken by the sequence starting at lead, or 0 when lead cannot start
// one. The range of the second byte is what rules out overlong forms,
// surrogates and code points above U+10FFFF.
std::size_t SequenceLength(unsigned char lead, unsigned char& secondMin, unsigned char& secondMax) {
    secondMin = 0x80;
    secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (lead == 0xE0)
            secondMin = 0xA0;
        else if (lead == 0xED)
            secondMax = 0x9F;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (lead == 0xF0)
            secondMin = 0x90;
        else if (lead == 0xF4)
            secondMax = 0x8F;
        return 4;
    }
    return 0;
}

} // namespace

bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        unsigned char secondMin = 0, secondMax = 0;
        const std::size_t length = SequenceLength(lead, secondMin, secondMax);
        if (length == 0 || bytes.size() - i < length)
            return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < secondMin || second > secondMax)
            return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!IsContinuation(static_cast<unsigned char>(bytes[i + k])))
                return false;
        i += length;
    }
    return true;
}

void AppendTextByte(std::string& out, unsigned char byte, bool textIsUtf8) {
    if (textIsUtf8 || byte < 0x80) {
        out.push_back(static_cast<char>(byte));
        return;
    }
    out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
}

std::string FieldText(const char* field, std::size_t fieldSize) {
    const std::string_view bytes(field, BoundedLength(field, fieldSize));
    if (IsUtf8(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char byte : bytes)
        AppendTextByte(text, static_cast<unsigned char>(byte), false);
    return text;
}
