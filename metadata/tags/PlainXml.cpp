#include "metadata/tags/PlainXml.h"

#include "metadata/tags/TextEncoding.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kXmlUri = "http://www.w3.org/XML/1998/namespace";
constexpr std::string_view kXmlnsUri = "http://www.w3.org/2000/xmlns/";

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// ASCII names only: the rest of XML's name characters are left to expat.
bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Whether each of the eight bytes of `x` is printable ASCII (0x20-0x7F).
bool AllPrintableAscii(uint64_t x) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHigh = 0x8080808080808080;
    return ((((x - kOnes * 0x20) & ~x) | x) & kHigh) == 0;
}

// Valid UTF-8 without the characters XML forbids: controls other than tab,
// LF and CR, and U+FFFE, U+FFFF (EF BF BE, EF BF BF).
bool AllowedText(const char* data, size_t size) {
    bool ascii = true;
    size_t i = 0;
    while (i < size) {
        if (size - i >= 8) {
            uint64_t chunk;
            std::memcpy(&chunk, data + i, 8);
            if (AllPrintableAscii(chunk)) {
                i += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(data[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
        if (c == 0xEF && size - i >= 3 && static_cast<unsigned char>(data[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(data[i + 2]) & 0xFE) == 0xBE)
            return false;
        ascii = ascii && c < 0x80;
        ++i;
    }
    return ascii || IsValidUtf8(reinterpret_cast<const uint8_t*>(data), size);
}

bool AllowedCharacter(uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

struct QName {
    std::string_view prefix; // empty when there is none
    std::string_view local;
    std::string_view raw; // as written: "rdf:li"
};

struct Attribute {
    QName name;
    size_t valueAt; // in the scratch text
    size_t valueSize;
    std::string_view written; // the value as the document has it
    std::string_view uri;     // once resolved
};

struct Binding {
    std::string_view prefix; // empty for the default namespace
    std::string_view uri;    // in the document
    size_t depth;            // of the element that declared it
};

// The parser's working lists, kept by each thread from document to
// document: making them anew costs about as much as parsing a packet.
struct Scratch {
    std::vector<std::string_view> open; // raw names of the open elements
    std::vector<Binding> bindings;
    std::vector<Attribute> attributes;
    std::vector<size_t> offsets;
    std::vector<const char*> atts;
    std::string names; // of one start tag: names and values
    std::string text;

    void Clear() {
        open.clear();
        bindings.clear();
    }
    // A huge value is not kept in memory after its document.
    void Trim() {
        constexpr size_t kKept = 256u << 10;
        if (names.capacity() > kKept)
            std::string().swap(names);
        if (text.capacity() > kKept)
            std::string().swap(text);
    }
};

thread_local Scratch t_scratch;

class Parser {
public:
    Parser(const char* data, size_t size, char separator, PlainXmlHandler& handler)
        : m_at(data), m_end(data + size), m_separator(separator), m_handler(handler),
          m_open(t_scratch.open), m_bindings(t_scratch.bindings),
          m_attributes(t_scratch.attributes), m_offsets(t_scratch.offsets), m_atts(t_scratch.atts),
          m_scratch(t_scratch.names), m_text(t_scratch.text) {
        t_scratch.Clear();
    }

    bool Run();

private:
    bool AtEnd() const { return m_at == m_end; }
    bool StartsWith(std::string_view s) const {
        return size_t(m_end - m_at) >= s.size() && std::string_view(m_at, s.size()) == s;
    }
    void SkipSpace() {
        // Packets carry kilobytes of padding, mostly spaces.
        constexpr uint64_t kSpaces = 0x2020202020202020;
        while (m_at != m_end) {
            uint64_t chunk;
            if (m_end - m_at >= 8 && (std::memcpy(&chunk, m_at, 8), chunk == kSpaces))
                m_at += 8;
            else if (IsSpace(*m_at))
                ++m_at;
            else
                break;
        }
    }
    bool ReadName(std::string_view& name);
    bool ReadQName(QName& name);
    bool Misc();
    bool Instruction();
    bool Comment();
    bool StartTag();
    bool EndTag();
    bool Text();
    bool Reference(std::string& out);
    bool ReadValue(char quote, std::string& out);
    bool Resolve(std::string_view prefix, bool element, std::string_view& uri) const;
    void AppendName(const QName& name, std::string_view uri);

    const char* m_at;
    const char* m_end;
    char m_separator;
    PlainXmlHandler& m_handler;
    std::vector<std::string_view>& m_open;
    std::vector<Binding>& m_bindings;
    std::vector<Attribute>& m_attributes;
    std::vector<size_t>& m_offsets;
    std::vector<const char*>& m_atts;
    std::string& m_scratch;
    std::string& m_text;
};

bool Parser::ReadName(std::string_view& name) {
    const char* start = m_at;
    if (AtEnd() || !IsNameStart(*m_at))
        return false;
    while (m_at != m_end && IsNameChar(*m_at))
        ++m_at;
    name = std::string_view(start, size_t(m_at - start));
    return true;
}

bool Parser::ReadQName(QName& name) {
    const char* start = m_at;
    std::string_view first;
    if (!ReadName(first))
        return false;
    name.prefix = {};
    name.local = first;
    if (m_at != m_end && *m_at == ':') {
        ++m_at;
        if (!ReadName(name.local))
            return false;
        name.prefix = first;
    }
    name.raw = std::string_view(start, size_t(m_at - start));
    // The reserved prefix is for declarations, handled by the caller.
    return name.local != "xmlns" || !name.prefix.empty();
}

// White space, comments and processing instructions, outside the root
// element.
bool Parser::Misc() {
    for (;;) {
        SkipSpace();
        if (StartsWith("<?")) {
            if (!Instruction())
                return false;
        } else if (StartsWith("<!--")) {
            if (!Comment())
                return false;
        } else {
            return true;
        }
    }
}

// The first "--" after "<!--" must be the one of its end "-->".
bool Parser::Comment() {
    m_at += 4;
    const std::string_view rest(m_at, size_t(m_end - m_at));
    const size_t dashes = rest.find("--");
    if (dashes == std::string_view::npos || dashes + 2 >= rest.size() || rest[dashes + 2] != '>')
        return false;
    m_at += dashes + 3;
    return true;
}

bool Parser::Instruction() {
    m_at += 2;
    std::string_view target;
    if (!ReadName(target))
        return false;
    // The XML declaration (it may name another encoding) is expat's.
    if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
        (target[2] | 0x20) == 'l')
        return false;
    if (!StartsWith("?>")) {
        if (AtEnd() || !IsSpace(*m_at))
            return false;
        const std::string_view rest(m_at, size_t(m_end - m_at));
        const size_t close = rest.find("?>");
        if (close == std::string_view::npos)
            return false;
        m_at += close;
    }
    m_at += 2;
    return true;
}

// One of the five predefined entities or a character reference, after '&'.
bool Parser::Reference(std::string& out) {
    const std::string_view rest(m_at, size_t(m_end - m_at));
    const size_t semicolon = rest.substr(0, 12).find(';');
    if (semicolon == std::string_view::npos)
        return false;
    const std::string_view name = rest.substr(0, semicolon);
    m_at += semicolon + 1;
    if (name == "lt")
        out += '<';
    else if (name == "gt")
        out += '>';
    else if (name == "amp")
        out += '&';
    else if (name == "quot")
        out += '"';
    else if (name == "apos")
        out += '\'';
    else if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8)
            return false;
        uint32_t code = 0;
        for (char c : digits) {
            uint32_t d;
            if (c >= '0' && c <= '9')
                d = uint32_t(c - '0');
            else if (hex && c >= 'a' && c <= 'f')
                d = uint32_t(c - 'a' + 10);
            else if (hex && c >= 'A' && c <= 'F')
                d = uint32_t(c - 'A' + 10);
            else
                return false;
            code = code * (hex ? 16 : 10) + d;
        }
        if (!AllowedCharacter(code))
            return false;
        AppendUtf8(out, code);
    } else {
        return false;
    }
    return true;
}

// An attribute value after its opening quote: references replaced, each
// white space character (a CR LF pair as one) read as a space.
bool Parser::ReadValue(char quote, std::string& out) {
    while (m_at != m_end && *m_at != quote) {
        // Runs of characters taken as they are, appended whole.
        const char* run = m_at;
        while (m_at != m_end && *m_at != quote && *m_at != '<' && *m_at != '&' &&
               static_cast<unsigned char>(*m_at) >= 0x20)
            ++m_at;
        out.append(run, m_at);
        if (m_at == m_end || *m_at == quote)
            break;
        const char c = *m_at;
        if (c == '<')
            return false;
        if (c == '&') {
            ++m_at;
            if (!Reference(out))
                return false;
            continue;
        }
        ++m_at;
        if (c == '\r' && m_at != m_end && *m_at == '\n')
            ++m_at;
        out += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
    }
    if (AtEnd())
        return false;
    ++m_at;
    return true;
}

bool Parser::Resolve(std::string_view prefix, bool element, std::string_view& uri) const {
    if (prefix == "xml") {
        uri = kXmlUri;
        return true;
    }
    if (prefix == "xmlns")
        return false;
    if (prefix.empty() && !element) {
        uri = {}; // attributes without a prefix are in no namespace
        return true;
    }
    for (size_t i = m_bindings.size(); i-- > 0;) {
        if (m_bindings[i].prefix == prefix) {
            uri = m_bindings[i].uri;
            return true;
        }
    }
    if (!prefix.empty())
        return false; // unbound
    uri = {};
    return true;
}

// expat's triplet form: "uri<sep>local<sep>prefix", "uri<sep>local", "local".
void Parser::AppendName(const QName& name, std::string_view uri) {
    if (!uri.empty()) {
        m_scratch.append(uri);
        m_scratch += m_separator;
    }
    m_scratch.append(name.local);
    if (!uri.empty() && !name.prefix.empty()) {
        m_scratch += m_separator;
        m_scratch.append(name.prefix);
    }
    m_scratch += '\0';
}

bool Parser::StartTag() {
    ++m_at; // '<'
    QName element;
    if (!ReadQName(element))
        return false;
    m_scratch.clear();
    m_attributes.clear();
    const size_t depth = m_open.size();
    if (depth >= PlainXmlLimits::kMaxDepth)
        return false;
    bool empty = false;
    for (;;) {
        const char* before = m_at;
        SkipSpace();
        if (AtEnd())
            return false;
        if (*m_at == '>') {
            ++m_at;
            break;
        }
        if (StartsWith("/>")) {
            m_at += 2;
            empty = true;
            break;
        }
        if (m_at == before || m_attributes.size() >= PlainXmlLimits::kMaxAttributes)
            return false;
        Attribute a;
        if (!ReadQName(a.name) && a.name.raw != "xmlns")
            return false;
        SkipSpace();
        if (AtEnd() || *m_at != '=')
            return false;
        ++m_at;
        SkipSpace();
        if (AtEnd() || (*m_at != '"' && *m_at != '\''))
            return false;
        const char quote = *m_at++;
        const char* written = m_at;
        a.valueAt = m_scratch.size();
        if (!ReadValue(quote, m_scratch))
            return false;
        a.valueSize = m_scratch.size() - a.valueAt;
        a.written = std::string_view(written, size_t(m_at - 1 - written));
        for (const Attribute& other : m_attributes)
            if (other.name.raw == a.name.raw)
                return false; // a duplicate: expat's error
        m_attributes.push_back(a);
    }

    // Namespace declarations first: they count for this element's names.
    for (const Attribute& a : m_attributes) {
        const bool declaresDefault = a.name.raw == "xmlns";
        if (!declaresDefault && a.name.prefix != "xmlns")
            continue;
        const std::string_view uri(m_scratch.data() + a.valueAt, a.valueSize);
        // Undeclaring, reserved prefixes and names: expat's to judge; so
        // are names with references, as the binding keeps the document's.
        if (uri.empty() || uri == kXmlUri || uri == kXmlnsUri || uri != a.written)
            return false;
        if (!declaresDefault && (a.name.local == "xml" || a.name.local == "xmlns"))
            return false;
        m_bindings.push_back(
            {declaresDefault ? std::string_view() : a.name.local, a.written, depth});
    }
    for (Attribute& a : m_attributes) {
        if (a.name.raw == "xmlns" || a.name.prefix == "xmlns")
            continue;
        if (!Resolve(a.name.prefix, false, a.uri))
            return false;
    }
    // Two prefixes of one namespace may name the same attribute.
    for (size_t i = 0; i < m_attributes.size(); ++i)
        for (size_t k = i + 1; k < m_attributes.size(); ++k)
            if (!m_attributes[i].uri.empty() && m_attributes[i].uri == m_attributes[k].uri &&
                m_attributes[i].name.local == m_attributes[k].name.local)
                return false;
    std::string_view elementUri;
    if (!Resolve(element.prefix, true, elementUri))
        return false;

    // The names and values in one text, then pointers into it.
    m_offsets.clear();
    m_offsets.push_back(m_scratch.size());
    AppendName(element, elementUri);
    for (const Attribute& a : m_attributes) {
        if (a.name.raw == "xmlns" || a.name.prefix == "xmlns")
            continue;
        m_offsets.push_back(m_scratch.size());
        AppendName(a.name, a.uri);
        m_offsets.push_back(m_scratch.size());
        m_scratch.append(m_scratch, a.valueAt, a.valueSize);
        m_scratch += '\0';
    }
    m_atts.clear();
    for (size_t i = 1; i < m_offsets.size(); ++i)
        m_atts.push_back(m_scratch.data() + m_offsets[i]);
    m_atts.push_back(nullptr);

    m_handler.Start(m_scratch.data() + m_offsets[0], m_atts.data());
    if (m_handler.Stopped())
        return false;
    if (empty) {
        m_handler.End();
        while (!m_bindings.empty() && m_bindings.back().depth == depth)
            m_bindings.pop_back();
        return !m_handler.Stopped();
    }
    m_open.push_back(element.raw);
    return true;
}

bool Parser::EndTag() {
    m_at += 2; // "</"
    QName name;
    if (!ReadQName(name))
        return false;
    SkipSpace();
    if (AtEnd() || *m_at != '>' || m_open.empty() || name.raw != m_open.back())
        return false;
    ++m_at;
    m_open.pop_back();
    m_handler.End();
    while (!m_bindings.empty() && m_bindings.back().depth == m_open.size())
        m_bindings.pop_back();
    return !m_handler.Stopped();
}

// Character data up to the next '<': references replaced, line ends as LF.
bool Parser::Text() {
    const char* start = m_at;
    bool plain = true;
    while (m_at != m_end && *m_at != '<') {
        const char c = *m_at;
        if (c == '&' || c == '\r')
            plain = false;
        else if (c == ']' && StartsWith("]]>"))
            return false;
        ++m_at;
    }
    if (plain) {
        m_handler.Text(start, static_cast<int>(m_at - start));
        return !m_handler.Stopped();
    }
    const char* end = m_at;
    m_text.clear();
    for (m_at = start; m_at != end;) {
        const char c = *m_at++;
        if (c == '&') {
            if (!Reference(m_text) || m_at > end)
                return false;
        } else if (c == '\r') {
            if (m_at != end && *m_at == '\n')
                ++m_at;
            m_text += '\n';
        } else {
            m_text += c;
        }
    }
    m_handler.Text(m_text.data(), static_cast<int>(m_text.size()));
    return !m_handler.Stopped();
}

bool Parser::Run() {
    if (!Misc() || AtEnd() || *m_at != '<' || StartsWith("<!") || !StartTag())
        return false;
    while (!m_open.empty()) {
        if (AtEnd())
            return false;
        if (*m_at != '<') {
            if (!Text())
                return false;
        } else if (StartsWith("</")) {
            if (!EndTag())
                return false;
        } else if (StartsWith("<?")) {
            if (!Instruction())
                return false;
        } else if (StartsWith("<!--")) {
            if (!Comment())
                return false;
        } else if (StartsWith("<!")) {
            return false; // CDATA sections
        } else if (!StartTag()) {
            return false;
        }
    }
    return Misc() && AtEnd();
}

} // namespace

bool ParsePlainXml(const char* data, size_t size, char separator, PlainXmlHandler& handler) {
    if (data == nullptr || size > PlainXmlLimits::kMaxDocument || !AllowedText(data, size))
        return false;
    Parser parser(data, size, separator, handler);
    const bool taken = parser.Run();
    t_scratch.Trim();
    return taken;
}
