#pragma once

#include "metadata/tiff/TiffValue.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

// The layouts of Canon's binary records: arrays of numbers kept as one
// entry of the maker-note directory, each field at a fixed index.

// How a field's stored number becomes its value.
enum class CanonConv : uint8_t {
    None,
    EvAperture,  // Canon's EV code (thirds as 0x0C and 0x14) to an f-number: 2^(ev/2)
    EvTime,      // ... to seconds: 2^-ev
    Ev,          // ... as EV
    MeasuredEv,  // v/32 + 5
    MeasuredEv2, // v/8 - 6
    Minus128,    // °C
    Div32,
    Div100,
    Div10,
    AutoIso,    // 2^(v/32) * 100
    BaseIso,    // 2^(v/32) * 100 / 32
    CameraIso,  // an ISO speed or a coded setting
    FocalUnits, // divided by CameraSettings' FocalUnits
    Mils,       // thousandths of an inch to millimetres
    Hex,        // bytes as lower-case hex digits
    InfoIso,    // CameraInfo's ISO code: 100 * 2^(v/8 - 9)
    PlusOne,
    MinusOne,
    SwapWords, // each LONG's halves exchanged
};

// Stored numbers that mean "not recorded": the field is not listed.
enum class CanonSkip : uint8_t { None, Minus1, Max16, Zero, NotPositive, Negative, Below40 };

struct CanonField {
    uint16_t index; // in units of the record's element size
    uint16_t type;  // TiffType
    uint8_t count;
    CanonConv conv;
    CanonSkip skip;
    std::string_view name;
};

struct CanonRecord {
    uint16_t tag; // of the maker-note directory
    uint8_t unit; // bytes per index
    std::string_view name;
    const CanonField* fields;
    size_t count;
};

extern const CanonRecord kCanonRecords[];
extern const size_t kCanonRecordCount;

// ColorData (0x4001) has a layout per camera generation, told by its
// length in SHORTs.
struct CanonColorData {
    uint32_t count;
    CanonRecord record;
};
extern const CanonColorData kCanonColorData[];
extern const size_t kCanonColorDataCount;

inline const CanonRecord* FindCanonColorData(uint32_t count) {
    for (size_t i = 0; i < kCanonColorDataCount; ++i) {
        if (kCanonColorData[i].count == count)
            return &kCanonColorData[i].record;
    }
    return nullptr;
}

// Picture style settings (PSInfo2), kept inside CameraInfo.
extern const CanonRecord kCanonPictureStyleInfo;

// CameraInfo (0x000D) has a layout per model, told by CanonModelID; the
// picture style settings lie inside it at a place of the model's.
struct CanonCameraInfo {
    uint32_t modelId;
    CanonRecord record;
    uint32_t pictureStyleAt; // byte offset of PSInfo2 in the record
};
const CanonCameraInfo* FindCanonCameraInfo(uint32_t modelId);

// The record kept under `tag`; nullptr for other tags.
inline const CanonRecord* FindCanonRecord(uint16_t tag) {
    for (size_t i = 0; i < kCanonRecordCount; ++i) {
        if (kCanonRecords[i].tag == tag)
            return &kCanonRecords[i];
    }
    return nullptr;
}
