#include "metadata/makernotes/BinaryPlist.h"

#include "metadata/tags/TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kTrailer = 32;
constexpr int kMaxDepth = 3;

uint64_t BigEndian(const unsigned char* p, unsigned width) {
    uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i)
        v = (v << 8) | p[i];
    return v;
}

std::string NumberText(const BinaryPlist::Value& v) {
    switch (v.kind) {
    case BinaryPlist::Value::Kind::Integer:
        return std::to_string(v.integer);
    case BinaryPlist::Value::Kind::Real: {
        char text[32];
        std::snprintf(text, sizeof text, "%.10g", v.real);
        return text;
    }
    case BinaryPlist::Value::Kind::Boolean:
        return v.integer ? "True" : "False";
    default:
        return v.text;
    }
}

} // namespace

bool BinaryPlist::Open(const unsigned char* data, size_t size) {
    if (data == nullptr || size < 8 + kTrailer || std::memcmp(data, "bplist00", 8) != 0)
        return false;
    const unsigned char* t = data + size - kTrailer;
    m_offsetWidth = t[6];
    m_refWidth = t[7];
    m_objects = BigEndian(t + 8, 8);
    m_top = BigEndian(t + 16, 8);
    m_table = BigEndian(t + 24, 8);
    const uint64_t tableEnd = size - kTrailer;
    if (m_offsetWidth < 1 || m_offsetWidth > 8 || m_refWidth < 1 || m_refWidth > 8 ||
        m_top >= m_objects || m_table > tableEnd ||
        m_objects > (tableEnd - m_table) / m_offsetWidth)
        return false;
    m_data = data;
    m_size = size;
    return true;
}

bool BinaryPlist::ObjectAt(uint64_t index, size_t& position) const {
    if (m_data == nullptr || index >= m_objects)
        return false;
    const uint64_t at = BigEndian(m_data + m_table + index * m_offsetWidth, m_offsetWidth);
    if (at < 8 || at >= m_table)
        return false;
    position = static_cast<size_t>(at);
    return true;
}

bool BinaryPlist::SizedInt(size_t position, unsigned width, uint64_t& out) const {
    if (width > 8 || position + 1 + width > m_table)
        return false;
    out = BigEndian(m_data + position + 1, width);
    return true;
}

bool BinaryPlist::Counted(size_t position, uint64_t& count, size_t& refs) const {
    count = m_data[position] & 0x0F;
    refs = position + 1;
    if (count == 0x0F) {
        // The length follows as an integer object.
        if (refs >= m_table || (m_data[refs] >> 4) != 0x1)
            return false;
        const unsigned width = 1u << (m_data[refs] & 0x0F);
        if (!SizedInt(refs, width, count))
            return false;
        refs += 1 + width;
    }
    return count <= (m_table - refs);
}

bool BinaryPlist::Reference(size_t refs, uint64_t i, uint64_t& index) const {
    const uint64_t at = refs + i * m_refWidth;
    if (at > m_table || m_refWidth > m_table - at)
        return false;
    index = BigEndian(m_data + at, m_refWidth);
    return true;
}

bool BinaryPlist::Read(uint64_t index, Value& out, int depth) const {
    size_t at;
    if (depth > kMaxDepth || !ObjectAt(index, at))
        return false;
    const unsigned marker = m_data[at];
    const unsigned low = marker & 0x0F;
    out = {};
    switch (marker >> 4) {
    case 0x0:
        if (marker != 0x08 && marker != 0x09)
            return false;
        out.kind = Value::Kind::Boolean;
        out.integer = marker == 0x09;
        return true;
    case 0x1: {
        uint64_t v;
        if (low > 3 || !SizedInt(at, 1u << low, v))
            return false;
        out.kind = Value::Kind::Integer;
        out.integer = static_cast<int64_t>(v);
        return true;
    }
    case 0x2: {
        uint64_t bits;
        if ((low != 2 && low != 3) || !SizedInt(at, 1u << low, bits))
            return false;
        out.kind = Value::Kind::Real;
        out.real = low == 2 ? std::bit_cast<float>(static_cast<uint32_t>(bits))
                            : std::bit_cast<double>(bits);
        return true;
    }
    case 0x5: {
        uint64_t length;
        size_t text;
        if (!Counted(at, length, text))
            return false;
        out.kind = Value::Kind::Text;
        // Meant to be ASCII; a stray high byte must not reach a name as
        // broken UTF-8.
        out.text = Utf8OrLatin1(m_data + text, static_cast<size_t>(length));
        return true;
    }
    case 0xA:
    case 0xD: {
        const bool dictionary = (marker >> 4) == 0xD;
        uint64_t count;
        size_t refs;
        if (!Counted(at, count, refs))
            return false;
        // A dictionary's entries in the order of their keys, as its readers
        // expect whatever order it was written in.
        std::vector<std::string> items;
        for (uint64_t i = 0; i < count && i < kMaxItems; ++i) {
            uint64_t item;
            Value value;
            if (!Reference(refs, dictionary ? count + i : i, item) || !Read(item, value, depth + 1))
                return false;
            std::string text;
            if (dictionary) {
                uint64_t keyIndex;
                Value key;
                if (!Reference(refs, i, keyIndex) || !Read(keyIndex, key, depth + 1))
                    return false;
                text = NumberText(key) + "=";
            }
            items.push_back(text + NumberText(value));
        }
        if (dictionary)
            std::sort(items.begin(), items.end());
        out.kind = Value::Kind::Container;
        out.text = dictionary ? "{" : "(";
        for (size_t i = 0; i < items.size(); ++i)
            out.text += (i > 0 ? "," : "") + items[i];
        out.text += dictionary ? "}" : ")";
        return true;
    }
    default:
        return false;
    }
}
