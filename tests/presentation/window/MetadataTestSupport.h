#pragma once

#include "metadata/tags/MetadataEntry.h"

#include <initializer_list>
#include <string>
#include <vector>

// Entries as the every-tag walk lists them, written by hand.

inline MetadataEntry TextEntry(std::string group, int32_t id, std::string name, uint16_t type,
                               std::string text, std::string raw) {
    MetadataEntry entry;
    entry.group = std::move(group);
    entry.id = id;
    entry.name = std::move(name);
    entry.type = type;
    entry.count = 1;
    entry.value.kind = MetadataValue::Kind::Text;
    entry.value.text = raw;
    entry.text = std::move(text);
    entry.rawOverride = std::move(raw);
    return entry;
}

inline MetadataEntry NumberEntry(std::string group, int32_t id, std::string name, uint16_t type,
                                 std::initializer_list<double> numbers, std::string text,
                                 std::string raw) {
    MetadataEntry entry =
        TextEntry(std::move(group), id, std::move(name), type, std::move(text), std::move(raw));
    entry.value.kind = MetadataValue::Kind::Numbers;
    entry.value.text.clear();
    entry.value.numbers = numbers;
    entry.count = uint32_t(numbers.size());
    return entry;
}

// One entry in each group, the groups out of their shown order.
inline std::vector<MetadataEntry> EveryGroupEntries() {
    return {
        TextEntry("XMP-dc", -1, "dc:subject[1]", 0, "Harbour", "Harbour"),
        TextEntry("IFD0", 0x010F, "Make", 2, "Canon", "Canon"),
        NumberEntry("ExifIFD", 0x829A, "ExposureTime", 5, {0.004}, "1/250 s", "1/250"),
        TextEntry("IPTC", -1, "Keywords", 0, "boat", "boat"),
        NumberEntry("IFD1", 0x0201, "ThumbnailOffset", 4, {4242}, "", "4242"),
        TextEntry("InteropIFD", 0x0001, "InteropIndex", 2, "R98 - DCF basic file", "R98"),
        NumberEntry("SubIFD1", 0x0100, "ImageWidth", 4, {6000}, "6000", "6000"),
        NumberEntry("ExifIFD", 0x8827, "ISO", 3, {400}, "400", "400"),
        TextEntry("GPS", 0x0012, "GPSMapDatum", 2, "WGS-84", "WGS-84"),
        TextEntry("IFD0", 0x0110, "Model", 2, "EOS R5", "EOS R5"),
    };
}

// A GPS directory at 48.858222 N, 2.2945 E.
inline std::vector<MetadataEntry> GpsEntries() {
    return {
        TextEntry("IFD0", 0x010F, "Make", 2, "Canon", "Canon"),
        TextEntry("GPS", 0x0001, "GPSLatitudeRef", 2, "North", "N"),
        NumberEntry("GPS", 0x0002, "GPSLatitude", 5, {48, 51, 29.6}, "48° 51' 29.60\" N",
                    "48 51 29.6"),
        TextEntry("GPS", 0x0003, "GPSLongitudeRef", 2, "East", "E"),
        NumberEntry("GPS", 0x0004, "GPSLongitude", 5, {2, 17, 40.2}, "2° 17' 40.20\" E",
                    "2 17 40.2"),
    };
}
