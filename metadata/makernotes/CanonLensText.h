#pragma once

#include "metadata/makernotes/LensChoice.h"

#include <cstdint>
#include <string>

// The lens a Canon LensType number (CameraSettings index 22) names, from the
// lens tables; an RF lens (LensType 61182) by its RFLensType (FileInfo
// index 61). `hints` (the focal range and widest aperture the photo records)
// choose among lenses that report the same number.
struct CanonLens {
    uint32_t lensType = 0;
    uint32_t rfLensType = 0;
    LensHints hints;
};

// The lens's name; empty when we do not know the number.
std::string CanonLensName(const CanonLens& lens);
// For people: the name, else "Unknown (N)".
std::string CanonLensText(const CanonLens& lens);
// A lens that reports no number (compacts, and bodies given a lens without
// contacts) by the focal range the camera recorded, in whole millimetres:
// "Unknown 7-21mm", "Unknown 50mm"; empty when the range is not recorded.
std::string CanonLensByRange(const LensHints& hints);
