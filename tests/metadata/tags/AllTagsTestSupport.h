#pragma once

#include "metadata/tags/MetadataEntry.h"
#include "metadata/tags/TiffTagWalk.h"
#include "tests/fixtures/ExifBuilder.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace alltagstest {

using fixture::ByteOrder;
using fixture::Bytes;
using fixture::ExifBuilder;

constexpr ByteOrder kBothOrders[] = {ByteOrder::Little, ByteOrder::Big};

// Bytes in a buffer of exactly their size, so that the sanitized build
// catches any read past the end.
struct ExactBuffer {
    explicit ExactBuffer(const Bytes& bytes)
        : size(bytes.size()), data(new uint8_t[bytes.empty() ? 1 : bytes.size()]) {
        if (!bytes.empty())
            std::memcpy(data.get(), bytes.data(), bytes.size());
    }
    explicit ExactBuffer(const std::string& text) : ExactBuffer(Bytes(text.begin(), text.end())) {}
    size_t size;
    std::unique_ptr<uint8_t[]> data;
};

// The walk of an EXIF builder's TIFF structure.
struct Walked {
    explicit Walked(const Bytes& tiff, TiffRole role = TiffRole::Main) : buffer(tiff) {
        ok = WalkTiffBlock(buffer.data.get(), buffer.size, role, collector);
    }
    explicit Walked(const ExifBuilder& exif) : Walked(exif.Tiff()) {}

    const MetadataEntry* Find(const std::string& group, int32_t id) const {
        for (const MetadataEntry& e : collector.Entries())
            if (e.group == group && e.id == id)
                return &e;
        return nullptr;
    }
    std::vector<std::string> Groups() const {
        std::vector<std::string> groups;
        for (const MetadataEntry& e : collector.Entries())
            if (groups.empty() || groups.back() != e.group)
                groups.push_back(e.group);
        return groups;
    }
    bool NoteContains(const std::string& part) const {
        for (const std::string& n : collector.Notes())
            if (n.find(part) != std::string::npos)
                return true;
        return false;
    }
    const std::vector<MetadataEntry>& Entries() const { return collector.Entries(); }

    ExactBuffer buffer;
    MetadataCollector collector;
    bool ok = false;
};

inline const MetadataEntry* FindNamed(const std::vector<MetadataEntry>& entries,
                                      const std::string& group, const std::string& name) {
    for (const MetadataEntry& e : entries)
        if (e.group == group && e.name == name)
            return &e;
    return nullptr;
}

} // namespace alltagstest
