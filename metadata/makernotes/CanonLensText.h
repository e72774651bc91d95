#pragma once

#include <cstdint>
#include <string>

// The lens a Canon LensType number (CameraSettings index 22) names. One
// place for the look-up, so that the lens tables plug in here.

// The lens's name; empty when we do not know the number.
std::string CanonLensName(uint32_t lensType);
// For people: the name, else "Unknown (N)".
std::string CanonLensText(uint32_t lensType);
