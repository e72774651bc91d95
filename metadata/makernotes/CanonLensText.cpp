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

std::string CanonLensByRange(const LensHints& hints) {
    // Whole millimetres, the fraction dropped: a 5.8-17.4 mm zoom is "5-17mm",
    // as the reference tools print it. Ranges no lens has are not printed.
    constexpr double kLongest = 10000;
    if (!(hints.minFocalMm >= 1 && hints.minFocalMm < kLongest && hints.maxFocalMm < kLongest))
        return {};
    const auto shortest = static_cast<unsigned>(hints.minFocalMm);
    const auto longest = static_cast<unsigned>(hints.maxFocalMm > 0 ? hints.maxFocalMm : 0);
    std::string text = "Unknown " + std::to_string(shortest);
    if (longest > shortest)
        text += "-" + std::to_string(longest);
    return text + "mm";
}
