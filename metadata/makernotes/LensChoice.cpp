#include "metadata/makernotes/LensChoice.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// A closed range; low == high for a single value, zero when unknown.
struct Range {
    double low = 0;
    double high = 0;
};

// What a lens name says of the lens: "Sigma 18-50mm f/3.5-5.6 DC", "Canon RF
// 800mm F11 IS STM + RF2x" (an extender multiplies both).
struct NamedLens {
    Range focal;
    Range aperture;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number ("50", "3.5") at text[pos]; moves pos past it.
bool ReadNumber(std::string_view text, size_t& pos, double& value) {
    size_t i = pos;
    double number = 0;
    while (i < text.size() && IsDigit(text[i]))
        number = number * 10 + (text[i++] - '0');
    if (i == pos)
        return false;
    if (i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1])) {
        double scale = 0.1;
        for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10)
            number += (text[i] - '0') * scale;
    }
    pos = i;
    value = number;
    return true;
}

// "A" or "A-B" at text[pos]; moves pos past it.
bool ReadRange(std::string_view text, size_t& pos, Range& range) {
    if (!ReadNumber(text, pos, range.low))
        return false;
    range.high = range.low;
    size_t high = pos + 1;
    if (pos < text.size() && text[pos] == '-' && ReadNumber(text, high, range.high))
        pos = high;
    return true;
}

// A number starts at i when no number or range runs into it from the left.
bool StartsNumber(std::string_view text, size_t i) {
    if (!IsDigit(text[i]))
        return false;
    if (i == 0)
        return true;
    const char before = text[i - 1];
    return !IsDigit(before) && before != '.' && before != '-';
}

NamedLens ReadName(std::string_view name) {
    NamedLens lens;
    size_t after = name.size();
    for (size_t i = 0; i < name.size(); ++i) {
        size_t pos = i;
        Range focal;
        if (StartsNumber(name, i) && ReadRange(name, pos, focal) &&
            name.substr(pos).starts_with("mm")) {
            lens.focal = focal;
            after = pos + 2;
            break;
        }
    }
    // The aperture follows the focal length: "f/2.8", "F4.5-5.6", "F1.2L".
    for (size_t i = after; i + 1 < name.size(); ++i) {
        const bool word = i == 0 || name[i - 1] == ' ' || name[i - 1] == '(';
        size_t pos = name[i] == 'f' && name[i + 1] == '/' ? i + 2 : name[i] == 'F' ? i + 1 : 0;
        if (word && pos != 0 && ReadRange(name, pos, lens.aperture))
            break;
    }
    // An extender named after a "+": "+ 1.4x", "+ RF2x".
    size_t pos = name.find('+');
    if (pos != std::string_view::npos) {
        pos = name.find_first_not_of(" ABCDEFGHIJKLMNOPQRSTUVWXYZ", pos + 1);
        double factor = 0;
        if (pos != std::string_view::npos && ReadNumber(name, pos, factor) && pos < name.size() &&
            (name[pos] == 'x' || name[pos] == 'X') && factor >= 1) {
            for (Range* range : {&lens.focal, &lens.aperture}) {
                range->low *= factor;
                range->high *= factor;
            }
        }
    }
    return lens;
}

// Names round the focal lengths cameras report (Nikon's 17.3 for 17mm, its
// steps are 3% apart); 17 and 18 must stay apart.
bool NearFocal(double named, double reported) {
    return std::fabs(named - reported) <= std::max(0.5, 0.03 * named);
}

// 3: focal range and aperture fit; 2: the focal range fits, the aperture is not
// known on both sides; 1: the focal range fits but the aperture does not; 0: no fit.
int Fit(const NamedLens& lens, const LensHints& hints) {
    if (lens.focal.low <= 0 || hints.minFocalMm <= 0)
        return 0;
    const double longest = hints.maxFocalMm > 0 ? hints.maxFocalMm : hints.minFocalMm;
    if (!NearFocal(lens.focal.low, hints.minFocalMm) || !NearFocal(lens.focal.high, longest))
        return 0;
    if (lens.aperture.low <= 0 || hints.maxAperture <= 0)
        return 2;
    const bool fits = hints.maxAperture >= lens.aperture.low * 0.95 &&
                      hints.maxAperture <= lens.aperture.high * 1.05;
    return fits ? 3 : 1;
}

} // namespace

std::string_view ChooseLens(LensCandidates candidates, const LensHints& hints) {
    if (candidates.empty())
        return {};
    size_t chosen = 0;
    int best = 0;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const int fit = Fit(ReadName(candidates[i].name), hints);
        if (fit > best) {
            best = fit;
            chosen = i;
        }
    }
    const std::string_view name = candidates[chosen].name;
    // The name listed for the number itself often adds the others ("Canon EF
    // 28mm f/2.8 or Sigma Lens"); when the photo fits the first lens named, it
    // is that one.
    const size_t others = name.find(" or ");
    if (chosen == 0 && best > 0 && others != std::string_view::npos &&
        Fit(ReadName(name.substr(0, others)), hints) == best)
        return name.substr(0, others);
    return name;
}

std::string_view LensName(LensTable table, uint64_t key, const LensHints& hints) {
    return ChooseLens(FindLenses(table, key), hints);
}
