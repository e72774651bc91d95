#pragma once

#include "metadata/makernotes/LensNames.h"

#include <string_view>

// What a photo tells of its lens besides the number, to choose among the
// lenses that report the same number. Zero where the photo does not say.
struct LensHints {
    double minFocalMm = 0;  // the lens's shortest focal length (a prime's only one)
    double maxFocalMm = 0;  // its longest; zero for a prime
    double maxAperture = 0; // the widest f-number at the focal length used
};

// The candidate whose name fits the hints best: focal range and aperture, then
// focal range alone; else the first (the name listed for the number itself).
// A first that fits comes without the others it names ("... or Sigma Lens").
// Empty when there are no candidates.
std::string_view ChooseLens(LensCandidates candidates, const LensHints& hints);

// FindLenses, then ChooseLens.
std::string_view LensName(LensTable table, uint64_t key, const LensHints& hints = {});
