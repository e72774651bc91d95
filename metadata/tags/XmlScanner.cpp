#include "metadata/tags/XmlScanner.h"

#include "metadata/tags/TextEncoding.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// A start tag with more attributes is left to expat.
constexpr size_t kMostAttributes = 1024;

// The bytes that end a run of plain ASCII, to be looked at one by one: in
// text, markup, references, CR, "]]>" and controls other than LF and tab;
// in a value besides its quotes and every blank (each becomes a space).
struct RunStops {
    bool text[256];
    bool value[256];
    constexpr RunStops() : text(), value() {
        for (int c = 0; c < 256; ++c) {
            const bool other = c < 0x20 || c >= 0x80 || c == '<' || c == '&';
            text[c] = (other && c != '\n' && c != '\t') || c == '\r' || c == ']';
            value[c] = other || c == '"' || c == '\'';
        }
    }
};
constexpr RunStops kRunStops;

// Where the run of bytes no stop of kRunStops (text's when kText, else a
// value's) ends: sixteen bytes at a time while sixteen are left.
template <bool kText>
const unsigned char* PlainRunEnd(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto is = [&c](char x) { return _mm_cmpeq_epi8(c, _mm_set1_epi8(x)); };
        // Signed: bytes above ASCII are below the blank too.
        __m128i stop = _mm_cmplt_epi8(c, _mm_set1_epi8(0x20));
        stop = _mm_or_si128(stop, _mm_or_si128(is('<'), is('&')));
        if constexpr (kText) {
            stop = _mm_andnot_si128(_mm_or_si128(is('\n'), is('\t')), stop);
            stop = _mm_or_si128(stop, is(']'));
        } else {
            stop = _mm_or_si128(stop, _mm_or_si128(is('"'), is('\'')));
        }
        const int mask = _mm_movemask_epi8(stop);
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    const bool(&stops)[256] = kText ? kRunStops.text : kRunStops.value;
    while (p < end && !stops[*p])
        ++p;
    return p;
}

bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}
bool IsNameStart(unsigned char c) {
    return static_cast<unsigned char>((c | 0x20) - 'a') < 26 || c == '_' || c == ':';
}
bool IsNameByte(unsigned char c) {
    return IsNameStart(c) || static_cast<unsigned char>(c - '0') < 10 || c == '-' || c == '.';
}

// Whether `c` is a character XML allows.
bool IsXmlChar(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

class Scanner {
public:
    Scanner(std::string_view document, XmlScanHandler& handler)
        : m_p(reinterpret_cast<const unsigned char*>(document.data())),
          m_end(m_p + document.size()), m_handler(handler) {}

    bool Run();

private:
    bool Remaining(size_t n) const { return static_cast<size_t>(m_end - m_p) >= n; }
    bool At(std::string_view text) const {
        return Remaining(text.size()) && std::equal(text.begin(), text.end(), m_p);
    }
    bool SkipBlanks() {
        const unsigned char* start = m_p;
        while (m_p < m_end && IsBlank(*m_p))
            ++m_p;
        return m_p > start;
    }
    std::string_view Name() {
        const unsigned char* start = m_p;
        if (m_p < m_end && IsNameStart(*m_p))
            while (++m_p < m_end && IsNameByte(*m_p)) {
            }
        return {reinterpret_cast<const char*>(start), static_cast<size_t>(m_p - start)};
    }
    // Steps over one character that needs no replacing where any may
    // stand; false when it is not one XML allows.
    bool PlainCharacter() {
        if (*m_p < 0x80) {
            if (*m_p < 0x20 && !IsBlank(*m_p))
                return false;
            ++m_p;
            return true;
        }
        const size_t n = Utf8SequenceAt(m_p, static_cast<size_t>(m_end - m_p), 0);
        // Valid UTF-8 but for U+FFFE and U+FFFF, which XML leaves out.
        if (n == 0 || (n == 3 && m_p[0] == 0xEF && m_p[1] == 0xBF && m_p[2] >= 0xBE))
            return false;
        m_p += n;
        return true;
    }
    // Appends to `out` the run of plain bytes from here on: of text when
    // kText, else of an attribute's value.
    template <bool kText> void AppendPlainRun(std::string& out) {
        const unsigned char* start = m_p;
        m_p = PlainRunEnd<kText>(m_p, m_end);
        out.append(reinterpret_cast<const char*>(start), static_cast<size_t>(m_p - start));
    }
    bool Reference(std::string& out);
    bool Text();
    bool StartTag();
    bool HasDuplicateName();
    bool EndTag();
    bool Comment();
    bool Instruction();
    bool Handed() {
        if (m_text.empty())
            return true;
        if (m_text.size() > INT_MAX)
            return false; // more than a handler's length holds: expat's
        m_handler.Text(m_text.data(), static_cast<int>(m_text.size()));
        m_text.clear();
        return !m_handler.Stopped();
    }

    const unsigned char* m_p;
    const unsigned char* const m_end;
    XmlScanHandler& m_handler;
    std::vector<std::string_view> m_open; // the elements' names, innermost last
    bool m_rootSeen = false;
    std::string m_text;
    std::string m_tag; // the start tag's names and values, each ended by a zero
    std::vector<size_t> m_starts;
    std::vector<const char*> m_attributes;
    std::vector<std::string_view> m_names; // room for the duplicate check
};

// At '&': one of the five entities or a character reference, appended to
// `out`.
bool Scanner::Reference(std::string& out) {
    static constexpr struct {
        std::string_view name;
        char value;
    } kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (const auto& entity : kEntities) {
        if (At(entity.name)) {
            out += entity.value;
            m_p += entity.name.size();
            return true;
        }
    }
    if (!At("&#"))
        return false;
    m_p += 2;
    const bool hex = m_p < m_end && *m_p == 'x';
    m_p += hex ? 1 : 0;
    uint32_t code = 0;
    size_t digits = 0;
    for (; m_p < m_end && *m_p != ';'; ++m_p, ++digits) {
        const unsigned char c = *m_p;
        uint32_t digit;
        if (static_cast<unsigned char>(c - '0') < 10)
            digit = c - '0';
        else if (hex && static_cast<unsigned char>((c | 0x20) - 'a') < 6)
            digit = (c | 0x20) - 'a' + 10;
        else
            return false;
        code = code * (hex ? 16 : 10) + digit;
        if (code > 0x10FFFF)
            return false;
    }
    if (m_p == m_end || digits == 0 || !IsXmlChar(code))
        return false;
    ++m_p; // ';'
    AppendUtf8(out, code);
    return true;
}

// Character data up to the next '<'.
bool Scanner::Text() {
    const bool inside = !m_open.empty();
    while (m_p < m_end && *m_p != '<') {
        const unsigned char c = *m_p;
        if (!inside) {
            // Only blanks lie outside the root element.
            if (!IsBlank(c))
                return false;
            ++m_p;
            continue;
        }
        if (!kRunStops.text[c]) {
            AppendPlainRun<true>(m_text);
        } else if (c == '&') {
            if (!Reference(m_text))
                return false;
        } else if (c == '\r') {
            m_text += '\n';
            m_p += Remaining(2) && m_p[1] == '\n' ? 2 : 1;
        } else if (c == ']' && At("]]>")) {
            return false;
        } else {
            const unsigned char* start = m_p;
            if (!PlainCharacter())
                return false;
            m_text.append(reinterpret_cast<const char*>(start), static_cast<size_t>(m_p - start));
        }
    }
    return true;
}

bool Scanner::StartTag() {
    ++m_p; // '<'
    if (m_rootSeen && m_open.empty())
        return false; // a second root
    const std::string_view name = Name();
    if (name.empty())
        return false;
    m_tag.assign(name);
    m_tag += '\0';
    m_starts.clear();
    bool empty = false;
    for (;;) {
        const bool blank = SkipBlanks();
        if (m_p == m_end)
            return false;
        if (*m_p == '>') {
            ++m_p;
            break;
        }
        if (At("/>")) {
            m_p += 2;
            empty = true;
            break;
        }
        if (!blank || m_starts.size() >= 2 * kMostAttributes)
            return false;
        const std::string_view attribute = Name();
        if (attribute.empty())
            return false;
        SkipBlanks();
        if (m_p == m_end || *m_p != '=')
            return false;
        ++m_p;
        SkipBlanks();
        if (m_p == m_end || (*m_p != '"' && *m_p != '\''))
            return false;
        const unsigned char quote = *m_p++;
        m_starts.push_back(m_tag.size());
        m_tag.append(attribute);
        m_tag += '\0';
        m_starts.push_back(m_tag.size());
        for (;;) {
            if (m_p == m_end)
                return false;
            const unsigned char c = *m_p;
            if (c == quote) {
                ++m_p;
                break;
            }
            if (c == '<')
                return false;
            if (!kRunStops.value[c]) {
                AppendPlainRun<false>(m_tag);
            } else if (c == '&') {
                if (!Reference(m_tag))
                    return false;
            } else if (IsBlank(c)) {
                // Each blank becomes a space; a CR LF pair is one.
                m_tag += ' ';
                m_p += c == '\r' && Remaining(2) && m_p[1] == '\n' ? 2 : 1;
            } else {
                const unsigned char* start = m_p;
                if (!PlainCharacter())
                    return false;
                m_tag.append(reinterpret_cast<const char*>(start),
                             static_cast<size_t>(m_p - start));
            }
        }
        m_tag += '\0';
    }
    if (HasDuplicateName())
        return false;
    m_attributes.clear();
    for (const size_t start : m_starts)
        m_attributes.push_back(m_tag.data() + start);
    m_attributes.push_back(nullptr);
    m_rootSeen = true;
    m_handler.Start(m_tag.data(), m_attributes.data());
    if (m_handler.Stopped())
        return false;
    if (!empty) {
        m_open.push_back(name);
        return true;
    }
    m_handler.End();
    return !m_handler.Stopped();
}

// A name twice in one tag is a fault.
bool Scanner::HasDuplicateName() {
    m_names.clear();
    for (size_t i = 0; i < m_starts.size(); i += 2)
        m_names.emplace_back(m_tag.data() + m_starts[i]);
    std::sort(m_names.begin(), m_names.end());
    return std::adjacent_find(m_names.begin(), m_names.end()) != m_names.end();
}

bool Scanner::EndTag() {
    m_p += 2; // "</"
    const std::string_view name = Name();
    SkipBlanks();
    if (m_open.empty() || name != m_open.back() || m_p == m_end || *m_p != '>')
        return false;
    ++m_p;
    m_open.pop_back();
    m_handler.End();
    return !m_handler.Stopped();
}

// "<!--" up to the first "--", which must end it.
bool Scanner::Comment() {
    m_p += 4;
    while (m_p < m_end) {
        if (At("--")) {
            m_p += 2;
            if (m_p == m_end || *m_p != '>')
                return false;
            ++m_p;
            return true;
        }
        if (!PlainCharacter())
            return false;
    }
    return false;
}

// "<?target", then "?>" or blanks and anything up to "?>". The XML
// declaration is left to expat, and a target with a colon, which a
// namespace-aware parser refuses.
bool Scanner::Instruction() {
    m_p += 2;
    const std::string_view target = Name();
    if (target.empty() || target.find(':') != std::string_view::npos)
        return false;
    if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
        (target[2] | 0x20) == 'l')
        return false;
    if (!SkipBlanks() && !At("?>"))
        return false;
    while (m_p < m_end) {
        if (At("?>")) {
            m_p += 2;
            return true;
        }
        if (!PlainCharacter())
            return false;
    }
    return false;
}

bool Scanner::Run() {
    while (m_p < m_end) {
        if (*m_p != '<') {
            if (!Text())
                return false;
            continue;
        }
        if (!Handed())
            return false;
        bool read;
        if (At("</"))
            read = EndTag();
        else if (At("<!--"))
            read = Comment();
        else if (At("<?"))
            read = Instruction();
        else if (At("<!"))
            read = false; // a document type, CDATA: expat's
        else
            read = StartTag();
        if (!read)
            return false;
    }
    return m_rootSeen && m_open.empty();
}

} // namespace

bool ScanPlainXml(std::string_view document, XmlScanHandler& handler) {
    return Scanner(document, handler).Run();
}
