#pragma once

#include "tests/fixtures/ExifBuilder.h"

#include <cstdint>
#include <string>

namespace bench {

// What varies between the camera-like files of the benchmarks.
struct CameraShot {
    fixture::ByteOrder order = fixture::ByteOrder::Big;
    bool exif = true;
    std::string make = "Velmora";
    std::string model = "Test Camera 100";
    std::string dateTime = "2026:12:07 10:30:00";
    uint32_t exposureDenominator = 125;
    uint32_t fNumberTenths = 28;
    uint16_t iso = 200;
    uint32_t focalLengthTenths = 58;
    uint16_t width = 4000;
    uint16_t height = 3000;
    // Opaque maker-note bytes; 0 leaves the maker note out.
    uint32_t makerNoteBytes = 0;
    uint32_t seed = 1; // varies the maker-note bytes
    std::string comment;
};

// The header segments of a camera file, start of image up to (not
// including) the frame: JFIF, the EXIF block with the first directory, EXIF
// sub-directory, interoperability directory and a thumbnail directory with
// a small JPEG thumbnail, and the comment when there is one.
fixture::Bytes CameraHeaders(const CameraShot& shot);

// A complete file: the headers, then a flat image of the shot's size.
fixture::Bytes CameraFile(const CameraShot& shot);

} // namespace bench
