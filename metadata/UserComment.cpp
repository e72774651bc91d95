// UserComment (0x9286): an 8-byte character code, then the text.

#include "metadata/JpegExifReader.h"

#include <cstring>

namespace {

constexpr uint32_t kMaxCommentChars = 199;

// Appends the UTF-8 form of `cp` when it fits within `limit` bytes.
bool AppendUtf8(char* out, uint32_t& n, uint32_t limit, uint32_t cp) {
    unsigned char bytes[4];
    uint32_t length;
    if (cp < 0x80) {
        bytes[0] = static_cast<unsigned char>(cp);
        length = 1;
    } else if (cp < 0x800) {
        bytes[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        bytes[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        length = 2;
    } else if (cp < 0x10000) {
        bytes[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        length = 3;
    } else {
        bytes[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
        bytes[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        length = 4;
    }
    if (n + length > limit)
        return false;
    std::memcpy(out + n, bytes, length);
    n += length;
    return true;
}

} // namespace

void CJpegExifReader::StoreUserComment(uint32_t valueOffset, uint32_t byteCount) {
    // The value's bytes all lie inside the block (checked by the walk).
    const unsigned char* value = blockBase + valueOffset;
    char* comment = summary->comment;

    if (byteCount >= 7 && std::memcmp(value, "UNICODE", 7) == 0) {
        // UCS-2 in the block's byte order, from byte 8, to UTF-8; a character
        // that does not fit whole ends the text.
        uint32_t n = 0;
        for (uint32_t i = 8; i + 1 < byteCount;) {
            uint32_t unit = ReadU16(value + i);
            i += 2;
            if (unit == 0)
                break;
            uint32_t cp = unit;
            if (unit >= 0xD800 && unit <= 0xDFFF) {
                cp = 0xFFFD; // a surrogate without its partner
                if (unit <= 0xDBFF && i + 1 < byteCount) {
                    uint32_t low = ReadU16(value + i);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                        i += 2;
                    }
                }
            }
            if (!AppendUtf8(comment, n, kMaxCommentChars, cp))
                break;
        }
        // Trailing spaces go after decoding: cutting space bytes from the
        // UCS-2 text would cut into characters such as U+2020.
        while (n > 0 && comment[n - 1] == ' ')
            --n;
        std::memset(comment + n, 0, kMaxCommentChars + 1 - n);
        return;
    }

    // Trailing spaces are cut off (the block is the file's, read only).
    while (byteCount > 0 && value[byteCount - 1] == ' ')
        --byteCount;

    if (byteCount >= 5 && std::memcmp(value, "ASCII", 5) == 0) {
        for (uint32_t i = 5; i < 10 && i < byteCount; ++i) {
            if (value[i] != 0 && value[i] != ' ') {
                CopyText(comment, kMaxCommentChars, valueOffset + i, byteCount - i);
                comment[kMaxCommentChars] = '\0';
                return;
            }
        }
        return;
    }

    CopyText(comment, kMaxCommentChars, valueOffset, byteCount);
    comment[kMaxCommentChars] = '\0';
}
