#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The layouts of Nikon's binary records: byte arrays kept as one entry of
// the maker-note directory, each field at a fixed index counted in the
// record's unit, told apart by the version in their first four bytes.

enum class NikonFormat : uint8_t { U8, S8, U16, S16, U32, Text, Bytes };

// How a field's stored number becomes its value.
enum class NikonConv : uint8_t {
    None,
    ExitPupil,     // 2048 / v mm (0 stays 0)
    Aperture,      // 2^(v/24): an f-number
    Focal,         // 5 * 2^(v/24) mm
    FocusDistance, // 0.01 * 10^(v/40) m
    Twelfths,      // v / 12 (f-stops)
    Minus128,      // picture-control adjustments
    Iso,           // 100 * 2^(v/12 - 5)
    MinusSixths,   // -v / 6: flash compensation in EV
};

struct NikonChoice {
    int32_t value;
    std::string_view text;
};

struct NikonField {
    uint16_t index; // in units of the record's unit
    NikonFormat format;
    uint8_t count; // bytes of Text and Bytes; components otherwise
    NikonConv conv;
    std::string_view name;
    std::span<const NikonChoice> texts = {};
    uint8_t mask = 0; // some bits of a byte, shifted down; 0: the whole field
};

// The order of a record's multi-byte fields.
enum class NikonOrder : uint8_t {
    Note, // the note's
    Big,  // big-endian whatever the note's (ShotInfo)
    Body, // big-endian from interchangeable-lens bodies, little from Coolpix (AFInfo)
};

struct NikonRecord {
    uint16_t tag;
    std::string_view version; // the record's leading bytes start with this; empty: any
    uint8_t unit;             // bytes per index
    NikonOrder order;
    uint16_t decipherFrom; // enciphered from this byte on; 0: plain
    std::span<const NikonField> fields;
    uint32_t length = 0; // the record's length where one version serves several bodies; 0: any
};

// The layout of the record under `tag` whose bytes are `data`; nullptr
// when no layout fits (the entry is listed as it is).
const NikonRecord* FindNikonRecord(uint16_t tag, const unsigned char* data, size_t size);

// ShotInfo's shutter count: where it lies for the record's version and
// length (big-endian LONG); false when the layout does not keep one.
bool NikonShotInfoShutterCount(const unsigned char* version, uint32_t count, size_t& offset);
