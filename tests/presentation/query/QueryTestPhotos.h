#pragma once

#include "presentation/query/Query.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

// A few read photos built by hand: the record and the entries a query is
// matched against, as the reader would leave them.
namespace querytest {

struct Photo {
    ExifSummary record{};
    PhotoFormat format = PhotoFormat::Jpeg;
    std::vector<MetadataEntry> entries;
    std::optional<GpsPosition> position;

    QueryInput Input() const {
        QueryInput input;
        input.record = &record;
        input.format = format;
        input.entries = &entries;
        input.position = position ? &*position : nullptr;
        return input;
    }
};

inline MetadataEntry TextEntry(const char* group, int32_t id, const char* name, const char* text) {
    MetadataEntry entry;
    entry.group = group;
    entry.id = id;
    entry.name = name;
    entry.text = text;
    entry.value.kind = MetadataValue::Kind::Text;
    entry.value.text = text;
    return entry;
}

inline MetadataEntry NumberEntry(const char* group, int32_t id, const char* name, double number,
                                 const char* text) {
    MetadataEntry entry;
    entry.group = group;
    entry.id = id;
    entry.name = name;
    entry.text = text;
    entry.value.kind = MetadataValue::Kind::Numbers;
    entry.value.numbers.push_back(number);
    return entry;
}

inline ExifSummary Record(const char* make, const char* model, const char* date) {
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    record.exifValid = true;
    std::strncpy(record.cameraMake, make, sizeof record.cameraMake - 1);
    std::strncpy(record.cameraModel, model, sizeof record.cameraModel - 1);
    std::strncpy(record.dateTime, date, sizeof record.dateTime - 1);
    return record;
}

// 0: a camera JPEG with lens, keywords, rating, artist and a position in Tokyo.
// 1: a phone's HEIC, turned a quarter, without flash, lens or position.
// 2: a Nikon raw file whose lens is only in its maker note, without a date
//    and with a misread aperture.
// 3: a PNG without EXIF data (its record's texts must not count).
inline std::vector<Photo> Photos() {
    std::vector<Photo> photos(4);
    Photo& camera = photos[0];
    camera.record = Record("Canon", "Canon EOS 5D", "2023:05:14 10:30:00");
    camera.record.isoEquivalent = 800;
    camera.record.fNumber = 2.8284f; // from the APEX aperture: shows as f/2.8
    camera.record.exposureTime = 0.004f;
    camera.record.focalLength = 50;
    camera.record.ccdWidth = 36;
    camera.record.flashUsed = 1;
    camera.record.width = 4000;
    camera.record.height = 3000;
    camera.record.orientation = 1;
    camera.entries = {
        TextEntry("IFD0", 0x010F, "Make", "Canon"),
        TextEntry("ExifIFD", 0xA434, "LensModel", "EF50mm f/1.8 II"),
        TextEntry("XMP-dc", -1, "dc:subject[1]", "Ky\xC5\x8Dto"),
        TextEntry("IPTC", -1, "Keywords", "red kite"),
        TextEntry("XMP-xmp", -1, "xmp:Rating", "4"),
        TextEntry("IFD0", 0x013B, "Artist", "Zo\xC3\xAB M\xC3\xBCller"),
    };
    camera.position = GpsPosition{35.68, 139.69, std::nullopt};

    Photo& phone = photos[1];
    phone.format = PhotoFormat::Heic;
    phone.record = Record("Apple", "iPhone 5s", "2016:04:19 14:49:49");
    phone.record.isoEquivalent = 32;
    phone.record.fNumber = 2.2f;
    phone.record.exposureTime = 1.0f / 30;
    phone.record.focalLength = 4.15f;
    phone.record.width = 3264;
    phone.record.height = 2448;
    phone.record.orientation = 6;
    phone.entries = {TextEntry("IFD0", 0x0131, "Software", "12.1")};

    Photo& raw = photos[2];
    raw.format = PhotoFormat::Nef;
    raw.record = Record("NIKON CORPORATION", "NIKON D90", "");
    raw.record.exposureTime = 2;
    raw.record.fNumber = -1.5e-8f; // a misread rational, shown as f/-0.0
    raw.entries = {
        TextEntry("Nikon", 0x0084, "Lens", "18-105mm f/3.5-5.6"),
        NumberEntry("ExifIFD", 0xA403, "WhiteBalance", 1, "Manual"),
        TextEntry("ExifIFD", 0xA431, "LensSerialNumber", "0001234"),
    };

    Photo& plain = photos[3];
    plain.format = PhotoFormat::Png;
    plain.record = Record("Ghost", "Ghost", "2023:05:14 10:30:00");
    plain.record.exifValid = false;
    plain.record.width = 640;
    plain.record.height = 480;
    return photos;
}

} // namespace querytest
