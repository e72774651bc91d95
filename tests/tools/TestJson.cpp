#include "tests/tools/TestJson.h"

#include "presentation/EightBitText.h"

#include <cstdlib>

namespace testjson {

const Value* Value::Find(std::string_view key) const {
    for (const auto& member : members)
        if (member.first == key)
            return &member.second;
    return nullptr;
}

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    bool Document(Value& out, std::string& error) {
        const bool ok = ParseValue(out, 0) && (SkipSpace(), m_pos == m_text.size());
        if (!ok)
            error = "invalid JSON near byte " + std::to_string(m_pos);
        return ok;
    }

private:
    void SkipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }

    bool Literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }

    bool ParseValue(Value& out, int depth) {
        if (depth > 64)
            return false;
        SkipSpace();
        if (m_pos >= m_text.size())
            return false;
        switch (m_text[m_pos]) {
        case '{':
            return ParseObject(out, depth);
        case '[':
            return ParseArray(out, depth);
        case '"':
            out.type = Value::Type::String;
            return ParseString(out.text);
        case 't':
            out.type = Value::Type::Bool;
            out.boolean = true;
            return Literal("true");
        case 'f':
            out.type = Value::Type::Bool;
            return Literal("false");
        case 'n':
            out.type = Value::Type::Null;
            return Literal("null");
        default:
            return ParseNumber(out);
        }
    }

    bool ParseObject(Value& out, int depth) {
        out.type = Value::Type::Object;
        ++m_pos;
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}')
            return ++m_pos, true;
        for (;;) {
            SkipSpace();
            std::string key;
            if (m_pos >= m_text.size() || m_text[m_pos] != '"' || !ParseString(key))
                return false;
            SkipSpace();
            if (!Literal(":"))
                return false;
            Value value;
            if (!ParseValue(value, depth + 1))
                return false;
            out.members.push_back({std::move(key), std::move(value)});
            SkipSpace();
            if (Literal("}"))
                return true;
            if (!Literal(","))
                return false;
        }
    }

    bool ParseArray(Value& out, int depth) {
        out.type = Value::Type::Array;
        ++m_pos;
        SkipSpace();
        if (Literal("]"))
            return true;
        for (;;) {
            Value item;
            if (!ParseValue(item, depth + 1))
                return false;
            out.items.push_back(std::move(item));
            SkipSpace();
            if (Literal("]"))
                return true;
            if (!Literal(","))
                return false;
        }
    }

    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    bool Digits() {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos]))
            ++m_pos;
        return m_pos > start;
    }

    bool ParseNumber(Value& out) {
        const size_t start = m_pos;
        if (m_text[m_pos] == '-')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '0')
            ++m_pos;
        else if (!Digits())
            return false;
        if (m_pos < m_text.size() && m_text[m_pos] == '.' && (++m_pos, !Digits()))
            return false;
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (!Digits())
                return false;
        }
        out.type = Value::Type::Number;
        out.text = std::string(m_text.substr(start, m_pos - start));
        out.number = std::strtod(out.text.c_str(), nullptr);
        return true;
    }

    bool Hex4(unsigned& value) {
        if (m_text.size() - m_pos < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_pos++];
            value <<= 4;
            if (IsDigit(c))
                value |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= unsigned(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    static void AppendUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }

    bool Escape(std::string& out) {
        if (m_pos >= m_text.size())
            return false;
        const char c = m_text[m_pos++];
        switch (c) {
        case '"':
        case '\\':
        case '/':
            out += c;
            return true;
        case 'b':
            out += '\b';
            return true;
        case 'f':
            out += '\f';
            return true;
        case 'n':
            out += '\n';
            return true;
        case 'r':
            out += '\r';
            return true;
        case 't':
            out += '\t';
            return true;
        case 'u':
            break;
        default:
            return false;
        }
        unsigned cp = 0;
        if (!Hex4(cp))
            return false;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            unsigned low = 0;
            if (!Literal("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return false;
        }
        AppendUtf8(out, cp);
        return true;
    }

    bool ParseString(std::string& out) {
        ++m_pos;
        const size_t start = m_pos;
        while (m_pos < m_text.size()) {
            const auto c = static_cast<unsigned char>(m_text[m_pos]);
            if (c == '"') {
                ++m_pos;
                return IsUtf8(m_text.substr(start, m_pos - 1 - start));
            }
            if (c < 0x20)
                return false;
            if (c == '\\') {
                ++m_pos;
                if (!Escape(out))
                    return false;
            } else {
                out += char(c);
                ++m_pos;
            }
        }
        return false;
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

} // namespace

bool Parse(std::string_view text, Value& out, std::string& error) {
    out = Value();
    return Parser(text).Document(out, error);
}

} // namespace testjson
