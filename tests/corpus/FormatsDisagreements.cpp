#include "tests/corpus/FormatsDisagreements.h"

namespace {

constexpr const char* kPaddedText =
    "the writer pads the text with trailing blanks, which the record keeps and exiftool drops";
constexpr const char* kStoppedEarly =
    "IFD0 entry 18 (StripOffsets) points past the end of the file; exiftool stops reading IFD0 "
    "there and never reaches the Exif link, the reader drops that one entry and goes on";

constexpr KnownDisagreement kKnown[] = {
    {"", "", ""},
    {"D__434cb1e9680e3b4eda7f4dd430bcd2bf.tif", "cameraModel", kPaddedText},
    {"D__6cd02db6f3688efdd705c28ffcb9a3d3.tif", "cameraMake", kPaddedText},
    {"D__6cd02db6f3688efdd705c28ffcb9a3d3.tif", "cameraModel", kPaddedText},
    {"D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif", "dateTime", kStoppedEarly},
    {"D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif", "exposureTime", kStoppedEarly},
    {"D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif", "fNumber", kStoppedEarly},
    {"D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif", "isoEquivalent", kStoppedEarly},
    {"D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif", "focalLength", kStoppedEarly},
};

} // namespace

std::span<const KnownDisagreement> FormatsDisagreements() {
    return std::span<const KnownDisagreement>(kKnown).subspan(1);
}
