#include "presentation/query/FoldedText.h"

#include <cstdint>

namespace {

// Latin-1 Supplement and Latin Extended-A (U+00C0 to U+017F) by their base
// letter; '*' keeps the character, '2' stands for a two-letter fold.
constexpr std::string_view kLatinBase = "aaaaaa2ceeeeiiii"  // C0
                                        "dnooooo*ouuuuy22"  // D0
                                        "aaaaaa2ceeeeiiii"  // E0
                                        "dnooooo*ouuuuy2y"  // F0
                                        "aaaaaaccccccccdd"  // 100
                                        "ddeeeeeeeeeegggg"  // 110
                                        "gggghhhhiiiiiiii"  // 120
                                        "ii22jjkkklllllll"  // 130
                                        "lllnnnnnnnnnoooo"  // 140
                                        "oo22rrrrrrssssss"  // 150
                                        "ssttttttuuuuuuuu"  // 160
                                        "uuuuwwyyyzzzzzzs"; // 170

std::string_view TwoLetterFold(char32_t c) {
    switch (c) {
    case 0xC6:
    case 0xE6:
        return "ae";
    case 0xDE:
    case 0xFE:
        return "th";
    case 0xDF:
        return "ss";
    case 0x132:
    case 0x133:
        return "ij";
    case 0x152:
    case 0x153:
        return "oe";
    default:
        return "";
    }
}

// Reads one character at `text[pos]`: a UTF-8 sequence, or one byte as
// Latin-1 when the bytes there are not one. Advances `pos`.
char32_t NextCharacter(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    }
    if (length == 0 || text.size() - pos < length) {
        ++pos;
        return lead;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < smallest || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        ++pos;
        return lead;
    }
    pos += length;
    return c;
}

void AppendUtf8(char32_t c, char* out, int& count) {
    if (c < 0x80) {
        out[count++] = static_cast<char>(c);
    } else if (c < 0x800) {
        out[count++] = static_cast<char>(0xC0 | (c >> 6));
        out[count++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out[count++] = static_cast<char>(0xE0 | (c >> 12));
        out[count++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[count++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out[count++] = static_cast<char>(0xF0 | (c >> 18));
        out[count++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out[count++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[count++] = static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The folded bytes of one character into `out` (room for 4); returns how
// many. Combining accents fold to nothing; Greek and Cyrillic capitals to
// their small letters.
int FoldCharacter(char32_t c, char* out) {
    int count = 0;
    if (c >= 'A' && c <= 'Z') {
        out[count++] = static_cast<char>(c - 'A' + 'a');
        return count;
    }
    if (c >= 0x300 && c <= 0x36F)
        return 0;
    if (c >= 0xC0 && c <= 0x17F) {
        const char base = kLatinBase[c - 0xC0];
        if (base == '2') {
            const std::string_view two = TwoLetterFold(c);
            out[count++] = two[0];
            out[count++] = two[1];
            return count;
        }
        if (base != '*') {
            out[count++] = base;
            return count;
        }
    }
    if ((c >= 0x391 && c <= 0x3A9) || (c >= 0x410 && c <= 0x42F))
        c += 0x20;
    else if (c >= 0x400 && c <= 0x40F)
        c += 0x50;
    AppendUtf8(c, out, count);
    return count;
}

// The folded bytes of a text, one at a time.
class FoldedCursor {
public:
    FoldedCursor(std::string_view text, size_t pos) : m_text(text), m_pos(pos) {}

    // The next folded byte, or -1 at the end.
    int Next() {
        while (m_index == m_count) {
            if (m_pos >= m_text.size())
                return -1;
            m_count = FoldCharacter(NextCharacter(m_text, m_pos), m_bytes);
            m_index = 0;
        }
        return static_cast<unsigned char>(m_bytes[m_index++]);
    }

private:
    std::string_view m_text;
    size_t m_pos;
    char m_bytes[4] = {};
    int m_count = 0;
    int m_index = 0;
};

enum class Match { Whole, Prefix };

// Whether the folded text from `start` begins with (or is) `folded`.
bool MatchesAt(std::string_view text, size_t start, std::string_view folded, Match match) {
    FoldedCursor cursor(text, start);
    for (const char expected : folded) {
        if (cursor.Next() != static_cast<unsigned char>(expected))
            return false;
    }
    return match == Match::Prefix || cursor.Next() < 0;
}

} // namespace

std::string FoldText(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    FoldedCursor cursor(text, 0);
    for (int byte = cursor.Next(); byte >= 0; byte = cursor.Next())
        folded += static_cast<char>(byte);
    return folded;
}

bool FoldedContains(std::string_view text, std::string_view folded) {
    if (folded.empty())
        return true;
    for (size_t start = 0; start < text.size();) {
        if (MatchesAt(text, start, folded, Match::Prefix))
            return true;
        NextCharacter(text, start);
    }
    return false;
}

bool FoldedEquals(std::string_view text, std::string_view folded) {
    return MatchesAt(text, 0, folded, Match::Whole);
}
