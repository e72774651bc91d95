#pragma once

#include <cstdint>
#include <string>

// The lens a Canon LensType number (CameraSettings index 22) names, for
// people: its name where known, else "Unknown (N)". One place for the
// look-up, so that the lens tables plug in here.
std::string CanonLensText(uint32_t lensType);
