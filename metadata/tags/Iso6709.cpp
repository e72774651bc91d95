#include "metadata/tags/Iso6709.h"

#include <cmath>

namespace {

constexpr size_t kMaxDigits = 18; // beyond a double's precision anyway

// A signed number at `at`: its integer digits' count and its value as the
// digits read (fraction included).
struct Number {
    double integer = 0;
    double fraction = 0;
    size_t integerDigits = 0;
    double sign = 1;
};

bool ReadNumber(std::string_view text, size_t& at, Number& n) {
    if (at >= text.size() || (text[at] != '+' && text[at] != '-'))
        return false;
    n.sign = text[at] == '-' ? -1 : 1;
    ++at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (++n.integerDigits > kMaxDigits)
            return false;
        n.integer = n.integer * 10 + (text[at++] - '0');
    }
    if (n.integerDigits == 0)
        return false;
    if (at < text.size() && text[at] == '.') {
        ++at;
        double scale = 0.1;
        for (size_t digits = 0; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
            if (++digits <= kMaxDigits)
                n.fraction += (text[at] - '0') * scale;
            scale /= 10;
        }
    }
    return true;
}

// Degrees from ±D.D, ±DMM.M or ±DMMSS.S, D having `degreeDigits` digits.
std::optional<double> Coordinate(const Number& n, size_t degreeDigits, double limit) {
    double degrees;
    if (n.integerDigits == degreeDigits) {
        degrees = n.integer + n.fraction;
    } else if (n.integerDigits == degreeDigits + 2) {
        const double minutes = std::fmod(n.integer, 100) + n.fraction;
        if (minutes >= 60)
            return std::nullopt;
        degrees = std::floor(n.integer / 100) + minutes / 60;
    } else if (n.integerDigits == degreeDigits + 4) {
        const double seconds = std::fmod(n.integer, 100) + n.fraction;
        const double minutes = std::fmod(std::floor(n.integer / 100), 100);
        if (seconds >= 60 || minutes >= 60)
            return std::nullopt;
        degrees = std::floor(n.integer / 10000) + minutes / 60 + seconds / 3600;
    } else {
        return std::nullopt;
    }
    if (degrees > limit)
        return std::nullopt;
    return n.sign * degrees;
}

} // namespace

std::optional<GpsPosition> ParseIso6709(std::string_view text) {
    size_t at = 0;
    Number lat, lon;
    if (!ReadNumber(text, at, lat) || !ReadNumber(text, at, lon))
        return std::nullopt;
    const std::optional<double> latitude = Coordinate(lat, 2, 90);
    const std::optional<double> longitude = Coordinate(lon, 3, 180);
    if (!latitude || !longitude)
        return std::nullopt;
    GpsPosition position;
    position.latitude = *latitude;
    position.longitude = *longitude;
    Number alt;
    if (ReadNumber(text, at, alt))
        position.altitude = alt.sign * (alt.integer + alt.fraction);
    return position;
}
