#include "metadata/makernotes/CanonLensText.h"

std::string CanonLensText(uint32_t lensType) {
    return "Unknown (" + std::to_string(lensType) + ")";
}
