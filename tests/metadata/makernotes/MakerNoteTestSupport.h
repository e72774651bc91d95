#pragma once

#include "metadata/tags/MetadataEntry.h"
#include "metadata/tags/TiffTagWalk.h"
#include "tests/fixtures/MakerNoteBuilder.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace makernotetest {

using fixture::ByteOrder;
using fixture::Bytes;
using fixture::MakerNoteBuilder;

constexpr ByteOrder kBothOrders[] = {ByteOrder::Little, ByteOrder::Big};

// The every-tag walk of a TIFF structure held in a buffer of exactly its
// size, so that the sanitized build catches any read past the end.
struct Listed {
    explicit Listed(const Bytes& tiff) : size(tiff.size()), data(new uint8_t[size ? size : 1]) {
        if (size)
            std::memcpy(data.get(), tiff.data(), size);
        ok = WalkTiffBlock(data.get(), size, TiffRole::Main, out);
    }

    const MetadataEntry* Find(const std::string& group, int32_t id,
                              const std::string& name = {}) const {
        for (const MetadataEntry& e : out.Entries())
            if (e.group == group && e.id == id && (name.empty() || e.name == name))
                return &e;
        return nullptr;
    }
    size_t CountOf(const std::string& group) const {
        size_t n = 0;
        for (const MetadataEntry& e : out.Entries())
            n += e.group == group;
        return n;
    }
    double Number(const std::string& group, int32_t id, const std::string& name = {}) const {
        const MetadataEntry* e = Find(group, id, name);
        return e != nullptr && e->value.IsSingleNumber() ? e->value.numbers[0] : -12345;
    }
    std::string Text(const std::string& group, int32_t id, const std::string& name = {}) const {
        const MetadataEntry* e = Find(group, id, name);
        return e != nullptr ? e->text : "(missing)";
    }

    size_t size;
    std::unique_ptr<uint8_t[]> data;
    MetadataCollector out;
    bool ok = false;
};

// A TIFF structure whose EXIF directory holds the note `note` writes with
// offsets counting from the TIFF header (Canon's way).
inline Bytes WithCanonNote(const MakerNoteBuilder& note, const std::string& make = "Canon") {
    return fixture::TiffWithMakerNote(note.Order(), make,
                                      [&note](uint32_t at) { return note.Build(at); });
}

// ... with offsets counting from the note's start (Apple's way).
inline Bytes WithNoteFromItsStart(const MakerNoteBuilder& note, const std::string& make) {
    return fixture::TiffWithMakerNote(note.Order(), make,
                                      [&note](uint32_t) { return note.Build(0); });
}

} // namespace makernotetest
