#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Lens names from the lens numbers cameras write in their maker notes. The
// tables under metadata/makernotes/lenses/ are generated (scripts/make-lens-tables)
// from the numbers exiftool lists; the names point into them.

// One lens a number stands for. Several lenses may report the same number (a
// maker's lens and third-party lenses made to pass for it): variant 0 is the
// name listed for the number itself, often "X or Sigma Lens", the others follow.
struct LensRow {
    uint64_t key = 0;
    uint8_t variant = 0;
    std::string_view name;
};

using LensCandidates = std::span<const LensRow>;

enum class LensTable : uint8_t {
    Canon,   // Canon LensType
    CanonRf, // Canon RFLensType (RF mount, beside LensType 61182 "other Canon RF lens")
    Nikon,   // the eight lens-data bytes: NikonLensKey
    NikonZ,  // Nikon Z-mount LensID
    Minolta, // Sony A-mount and Minolta LensType
    Sony,    // Sony E-mount LensType2
    Pentax,  // PentaxLensKey
    Olympus, // OlympusLensKey
    Samsung, // Samsung NX LensType
};

// Every lens the table lists under `key`, variant 0 first; empty when none.
LensCandidates FindLenses(LensTable table, uint64_t key);

// Nikon's lens data in the camera's order: LensIDNumber, LensFStops,
// MinFocalLength, MaxFocalLength, MaxApertureAtMinFocal, MaxApertureAtMaxFocal,
// MCUVersion (all raw bytes), then the maker note's LensType byte.
constexpr uint64_t NikonLensKey(std::span<const uint8_t, 8> lensData) {
    uint64_t key = 0;
    for (const uint8_t byte : lensData)
        key = key << 8 | byte;
    return key;
}

// Pentax LensType: the lens series and its id within the series.
constexpr uint64_t PentaxLensKey(uint8_t series, uint8_t id) {
    return uint64_t{series} << 8 | id;
}

// Olympus LensType (six bytes): bytes 0, 2 and 3, the make, model and sub-model.
constexpr uint64_t OlympusLensKey(uint8_t make, uint8_t model, uint8_t subModel) {
    return uint64_t{make} << 16 | uint64_t{model} << 8 | subModel;
}
