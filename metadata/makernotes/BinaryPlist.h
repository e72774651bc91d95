#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A bounded reader of Apple's binary property lists ("bplist00"), as
// Apple's maker note keeps a few values: numbers, booleans, texts and small
// dictionaries. Objects are read by their index through the offset table;
// every offset and count is checked, and nesting is limited.
class BinaryPlist {
public:
    struct Value {
        enum class Kind : uint8_t { None, Integer, Real, Boolean, Text, Container };
        Kind kind = Kind::None;
        int64_t integer = 0;
        double real = 0;
        std::string text; // a text; a container written "{key=value,...}" or "(a,b)"
    };

    // False when the bytes are not a binary property list we can read.
    bool Open(const unsigned char* data, size_t size);

    uint64_t Top() const { return m_top; }
    // Object `index` (containers written out, to a few levels).
    bool Read(uint64_t index, Value& out) const { return Read(index, out, 0); }

    // The entries of the dictionary `index`: calls `visit(key, value)` for
    // each (at most kMaxItems). False when it is not a dictionary.
    template <typename Visit> bool ForEachInDictionary(uint64_t index, Visit visit) const;

    static constexpr uint64_t kMaxItems = 64;

private:
    bool Read(uint64_t index, Value& out, int depth) const;
    bool ObjectAt(uint64_t index, size_t& position) const;
    bool SizedInt(size_t position, unsigned width, uint64_t& out) const;
    // A container's length and where its references start.
    bool Counted(size_t position, uint64_t& count, size_t& refs) const;
    bool Reference(size_t refs, uint64_t i, uint64_t& index) const;

    const unsigned char* m_data = nullptr;
    size_t m_size = 0;
    unsigned m_offsetWidth = 0;
    unsigned m_refWidth = 0;
    uint64_t m_objects = 0;
    uint64_t m_top = 0;
    uint64_t m_table = 0;
};

template <typename Visit> bool BinaryPlist::ForEachInDictionary(uint64_t index, Visit visit) const {
    size_t at;
    if (!ObjectAt(index, at) || (m_data[at] >> 4) != 0xD)
        return false;
    uint64_t count;
    size_t refs;
    if (!Counted(at, count, refs))
        return false;
    for (uint64_t i = 0; i < count && i < kMaxItems; ++i) {
        uint64_t keyIndex, valueIndex;
        Value key, value;
        if (!Reference(refs, i, keyIndex) || !Reference(refs, count + i, valueIndex) ||
            !Read(keyIndex, key, 1) || !Read(valueIndex, value, 1))
            return true;
        visit(key.text, value);
    }
    return true;
}
