#pragma once

#include "metadata/tags/MetadataEntry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Flattens one XMP packet into properties named `prefix:Name`: array items
// as `dc:subject[1]`, `dc:subject[2]`, language alternatives as
// `dc:title[x-default]`, structure fields as `xmpMM:DerivedFrom/stRef:documentID`.
// Each is grouped as `XMP-<prefix>` by its top-level property, with the
// usual prefix for well-known namespaces (dc, xmp, exif, tiff, ...) and the
// declared one otherwise. Entries have id -1, type 0, count 1 and a text value.

struct XmpLimits {
    static constexpr size_t kMaxPacket = 16u << 20; // bytes; larger packets are refused
    static constexpr size_t kMaxDepth = 64;         // nested elements
    static constexpr size_t kMaxValue = 64u << 10;  // bytes kept of one value
};

// Parses with expat; entity declarations stop the parse (nothing is ever
// expanded). False on a packet that is not well-formed XML, is too deep or
// too large, or declares entities: the reason is noted in `out`, and the
// properties met before it stay listed.
bool ReadXmpPacket(const uint8_t* data, size_t size, MetadataCollector& out);

// The GUID that the xmpNote:HasExtendedXMP property among `entries` from
// `first` on names (the packet read last): the extended packet that goes
// with it, whose properties are listed after its own. Empty when none.
std::string ExtendedXmpGuid(const std::vector<MetadataEntry>& entries, size_t first);

// The usual prefix of a well-known namespace URI, or nullptr.
const char* WellKnownXmpPrefix(std::string_view uri);
