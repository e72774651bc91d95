#include "metadata/makernotes/CanonLensText.h"

std::string CanonLensName(uint32_t) {
    return {}; // no lens table yet
}

std::string CanonLensText(uint32_t lensType) {
    std::string name = CanonLensName(lensType);
    return name.empty() ? "Unknown (" + std::to_string(lensType) + ")" : name;
}
