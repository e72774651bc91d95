#include "metadata/tags/PlainXml.h"

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Whether c is one of the `count` characters from `first` on.
bool InRange(unsigned c, unsigned first, unsigned count) {
    return c - first < count;
}

bool IsBlank(uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsNameStart(uint8_t c) {
    return InRange(c | 0x20, 'a', 26) || c == '_' || c == ':';
}

bool IsNameChar(uint8_t c) {
    return IsNameStart(c) || InRange(c, '0', 10) || c == '-' || c == '.';
}

// The length of the UTF-8 character at `p` (at most `n` bytes there) that
// XML allows, as expat judges it; 0 for anything else (control characters,
// broken or overlong sequences, surrogates, U+FFFE and U+FFFF).
size_t CharLength(const uint8_t* p, size_t n) {
    const uint8_t c = p[0];
    if (c < 0x80)
        return c >= 0x20 || c == '\t' || c == '\n' || c == '\r' ? 1 : 0;
    const auto tail = [&](size_t k) { return n > k && (p[k] & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF)
        return tail(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!tail(1) || !tail(2) || (c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] > 0x9F) ||
            (c == 0xEF && p[1] == 0xBF && p[2] > 0xBD))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!tail(1) || !tail(2) || !tail(3) || (c == 0xF0 && p[1] < 0x90) ||
            (c == 0xF4 && p[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

// ASCII characters that text takes as they are (no markup, reference, CR
// or the ']' of a "]]>"), and those an attribute value takes as they are
// (no quote, and no blank other than the space).
struct PlainBytes {
    bool text[256] = {};
    bool value[256] = {};
};
constexpr PlainBytes kPlain = [] {
    PlainBytes p;
    for (int c = 0x20; c < 0x80; ++c)
        p.text[c] = p.value[c] = c != '<' && c != '&';
    p.text[size_t{']'}] = false;
    p.text[size_t{'\t'}] = p.text[size_t{'\n'}] = true;
    p.value[size_t{'"'}] = p.value[size_t{'\''}] = false;
    return p;
}();

void AppendUtf8(std::string& out, uint32_t cp) {
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

class Reader {
public:
    Reader(const uint8_t* data, size_t size, PlainXmlHandler& handler)
        : m_p(data), m_end(data + size), m_handler(handler) {}

    bool Document();

private:
    size_t Left() const { return static_cast<size_t>(m_end - m_p); }
    bool At(std::string_view s) const {
        return Left() >= s.size() && std::memcmp(m_p, s.data(), s.size()) == 0;
    }
    bool SkipBlanks() {
        const uint8_t* from = m_p;
        while (m_p < m_end && IsBlank(*m_p))
            ++m_p;
        return m_p != from;
    }
    std::string_view Name() {
        const uint8_t* from = m_p;
        if (m_p < m_end && IsNameStart(*m_p))
            while (++m_p < m_end && IsNameChar(*m_p)) {
            }
        return {reinterpret_cast<const char*>(from), static_cast<size_t>(m_p - from)};
    }
    // Characters XML allows up to `stop`, which must come.
    bool CharsUntil(std::string_view stop);
    bool Markup();
    bool StartTag();
    bool EndTag();
    bool Content();
    // A reference after its '&', appended to `out` as UTF-8.
    bool Reference(std::string& out);
    bool AttributeValue(std::string& out);

    const uint8_t* m_p;
    const uint8_t* m_end;
    PlainXmlHandler& m_handler;
    std::vector<std::string_view> m_open; // names of the open elements
    bool m_rootDone = false;
    std::string m_scratch;                 // a tag's names and values, each ended by a zero
    std::vector<size_t> m_offsets;         // where in m_scratch
    std::vector<const char*> m_attributes; // as handed over
    std::vector<std::string_view> m_names; // of the tag's attributes, for duplicates
};

bool Reader::CharsUntil(std::string_view stop) {
    while (m_p < m_end) {
        if (At(stop)) {
            m_p += stop.size();
            return true;
        }
        const size_t n = CharLength(m_p, Left());
        if (n == 0)
            return false;
        m_p += n;
    }
    return false;
}

bool Reader::Reference(std::string& out) {
    static constexpr struct {
        std::string_view name;
        char c;
    } kEntities[] = {{"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    for (const auto& e : kEntities)
        if (At(e.name)) {
            m_p += e.name.size();
            out += e.c;
            return true;
        }
    if (!At("#"))
        return false;
    ++m_p;
    const bool hex = At("x");
    m_p += hex ? 1 : 0;
    uint32_t cp = 0;
    size_t digits = 0;
    for (; m_p < m_end && *m_p != ';'; ++m_p, ++digits) {
        const uint8_t c = *m_p;
        uint32_t d;
        if (InRange(c, '0', 10))
            d = c - '0';
        else if (hex && InRange(c | 0x20, 'a', 6))
            d = (c | 0x20) - 'a' + 10;
        else
            return false;
        cp = cp * (hex ? 16 : 10) + d;
        if (cp > 0x10FFFF || digits > 8)
            return false;
    }
    if (m_p == m_end || digits == 0)
        return false;
    ++m_p; // ';'
    const bool allowed = cp == '\t' || cp == '\n' || cp == '\r' || (cp >= 0x20 && cp < 0xD800) ||
                         (cp >= 0xE000 && cp <= 0xFFFD) || cp >= 0x10000;
    if (!allowed)
        return false;
    AppendUtf8(out, cp);
    return true;
}

// Blanks become spaces (a CR LF pair one space); references their characters.
bool Reader::AttributeValue(std::string& out) {
    if (m_p == m_end || (*m_p != '"' && *m_p != '\''))
        return false;
    const uint8_t quote = *m_p++;
    while (m_p < m_end && *m_p != quote) {
        const uint8_t* from = m_p;
        while (m_p < m_end && kPlain.value[*m_p])
            ++m_p;
        out.append(reinterpret_cast<const char*>(from), static_cast<size_t>(m_p - from));
        if (m_p == m_end || *m_p == quote)
            break;
        const uint8_t c = *m_p;
        if (c == '<')
            return false;
        if (c == '&') {
            ++m_p;
            if (!Reference(out))
                return false;
            continue;
        }
        if (IsBlank(c)) {
            out += ' ';
            m_p += c == '\r' && Left() > 1 && m_p[1] == '\n' ? 2 : 1;
            continue;
        }
        const size_t n = CharLength(m_p, Left());
        if (n == 0)
            return false;
        out.append(reinterpret_cast<const char*>(m_p), n);
        m_p += n;
    }
    if (m_p == m_end)
        return false;
    ++m_p;
    return true;
}

bool Reader::StartTag() {
    if (m_rootDone || m_open.size() >= PlainXmlLimits::kMaxDepth)
        return false;
    const std::string_view name = Name();
    if (name.empty())
        return false;
    m_scratch.clear();
    m_offsets.clear();
    m_names.clear();
    m_scratch.append(name).append(1, '\0');
    bool empty = false;
    for (;;) {
        const bool blank = SkipBlanks();
        if (At(">")) {
            ++m_p;
            break;
        }
        if (At("/>")) {
            m_p += 2;
            empty = true;
            break;
        }
        const std::string_view attribute = Name();
        if (!blank || attribute.empty() || m_names.size() >= PlainXmlLimits::kMaxAttributes)
            return false;
        for (std::string_view seen : m_names) // bounded by kMaxAttributes
            if (seen == attribute)
                return false;
        m_names.push_back(attribute);
        SkipBlanks();
        if (!At("="))
            return false;
        ++m_p;
        SkipBlanks();
        m_offsets.push_back(m_scratch.size());
        m_scratch.append(attribute).append(1, '\0');
        m_offsets.push_back(m_scratch.size());
        if (!AttributeValue(m_scratch))
            return false;
        m_scratch += '\0';
    }
    m_attributes.clear();
    for (size_t offset : m_offsets)
        m_attributes.push_back(m_scratch.data() + offset);
    m_attributes.push_back(nullptr);
    m_handler.Start(m_scratch.data(), m_attributes.data());
    if (m_handler.GaveUp())
        return false;
    if (!empty) {
        m_open.push_back(name);
        return true;
    }
    m_handler.End();
    m_rootDone = m_open.empty();
    return !m_handler.GaveUp();
}

bool Reader::EndTag() {
    const std::string_view name = Name();
    SkipBlanks();
    if (m_open.empty() || name != m_open.back() || !At(">"))
        return false;
    ++m_p;
    m_open.pop_back();
    m_handler.End();
    m_rootDone = m_open.empty();
    return !m_handler.GaveUp();
}

// After a '<'.
bool Reader::Markup() {
    if (At("?")) {
        ++m_p;
        const std::string_view target = Name();
        // "xml" in any case is the declaration's, or reserved; a colon is
        // for expat to refuse.
        if (target.empty() || target.find(':') != std::string_view::npos ||
            (target.size() >= 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
             (target[2] | 0x20) == 'l'))
            return false;
        if (At("?>")) {
            m_p += 2;
            return true;
        }
        return SkipBlanks() && CharsUntil("?>");
    }
    if (At("!--")) {
        m_p += 3;
        const uint8_t* body = m_p;
        if (!CharsUntil("-->"))
            return false;
        const std::string_view text(reinterpret_cast<const char*>(body),
                                    static_cast<size_t>(m_p - 3 - body));
        return text.find("--") == std::string_view::npos && (text.empty() || text.back() != '-');
    }
    if (At("!"))
        return false; // a DOCTYPE or CDATA: left to expat
    if (At("/")) {
        ++m_p;
        return EndTag();
    }
    return StartTag();
}

// Text inside the root element, handed over in pieces.
bool Reader::Content() {
    const uint8_t* run = m_p; // plain characters not yet handed over
    const auto flush = [&] {
        if (m_p != run)
            m_handler.Text(reinterpret_cast<const char*>(run), static_cast<int>(m_p - run));
    };
    while (m_p < m_end && *m_p != '<') {
        if (kPlain.text[*m_p]) {
            ++m_p;
            continue;
        }
        const uint8_t c = *m_p;
        if (c == '&' || c == '\r') {
            flush();
            std::string piece;
            if (c == '&') {
                ++m_p;
                if (!Reference(piece))
                    return false;
            } else {
                piece = "\n";
                m_p += Left() > 1 && m_p[1] == '\n' ? 2 : 1;
            }
            m_handler.Text(piece.data(), static_cast<int>(piece.size()));
            run = m_p;
            continue;
        }
        if (c == ']' && At("]]>"))
            return false;
        const size_t n = CharLength(m_p, Left());
        if (n == 0)
            return false;
        m_p += n;
    }
    flush();
    return !m_handler.GaveUp();
}

bool Reader::Document() {
    if (At("\xEF\xBB\xBF"))
        m_p += 3;
    while (m_p < m_end) {
        if (*m_p == '<') {
            ++m_p;
            if (!Markup())
                return false;
        } else if (!m_open.empty()) {
            if (!Content())
                return false;
        } else if (!SkipBlanks()) {
            return false; // text outside the root element
        }
    }
    return m_rootDone && m_open.empty();
}

} // namespace

bool ReadPlainXml(const uint8_t* data, size_t size, PlainXmlHandler& handler) {
    if (data == nullptr || size == 0 || size > PlainXmlLimits::kMaxSize)
        return false;
    Reader reader(data, size, handler);
    return reader.Document();
}
