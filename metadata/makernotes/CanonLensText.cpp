#include "metadata/makernotes/CanonLensText.h"

namespace {

// "Canon RF lens" that says which by a number of its own.
constexpr uint32_t kOtherRfLens = 61182;

} // namespace

std::string CanonLensName(const CanonLens& lens) {
    if (lens.lensType == kOtherRfLens && lens.rfLensType != 0) {
        if (const std::string_view rf = LensName(LensTable::CanonRf, lens.rfLensType, lens.hints);
            !rf.empty())
            return std::string(rf);
    }
    return std::string(LensName(LensTable::Canon, lens.lensType, lens.hints));
}

std::string CanonLensText(const CanonLens& lens) {
    std::string name = CanonLensName(lens);
    return name.empty() ? "Unknown (" + std::to_string(lens.lensType) + ")" : name;
}
