#include "metadata/tags/GpsPosition.h"

#include "metadata/tags/FixedDecimals.h"
#include "metadata/tags/QuickTimeEntries.h"
#include "metadata/tags/TagText.h"

#include <cmath>
#include <cstdio>

namespace {

const MetadataEntry* Find(const std::vector<MetadataEntry>& entries, size_t first, int32_t id) {
    for (size_t i = first; i < entries.size(); ++i)
        if (entries[i].id == id && std::string_view(entries[i].group) == "GPS")
            return &entries[i];
    return nullptr;
}

// Degrees, minutes and seconds (any of them may be missing) as degrees.
std::optional<double> Degrees(const MetadataEntry* e) {
    if (e == nullptr || e->value.kind != MetadataValue::Kind::Numbers || e->value.numbers.empty())
        return std::nullopt;
    const auto& n = e->value.numbers;
    double d = 0;
    double scale = 1;
    for (size_t i = 0; i < n.size() && i < 3; ++i, scale *= 60) {
        if (!std::isfinite(n[i]))
            return std::nullopt;
        d += n[i] / scale;
    }
    return d;
}

// The sign a reference entry gives: -1 for S or W, +1 otherwise.
double Sign(const MetadataEntry* ref, char negative) {
    if (ref == nullptr)
        return 1;
    if (ref->value.kind == MetadataValue::Kind::Text && !ref->value.text.empty() &&
        (ref->value.text[0] == negative || ref->value.text[0] == negative + ('a' - 'A')))
        return -1;
    return 1;
}

std::optional<double> Altitude(const std::vector<MetadataEntry>& entries, size_t first) {
    const MetadataEntry* alt = Find(entries, first, 0x0006);
    if (alt == nullptr || !alt->value.IsSingleNumber() || !std::isfinite(alt->value.numbers[0]))
        return std::nullopt;
    double v = alt->value.numbers[0];
    if (const MetadataEntry* ref = Find(entries, first, 0x0005)) {
        const auto& val = ref->value;
        const bool below =
            (val.kind == MetadataValue::Kind::Numbers && !val.numbers.empty() &&
             val.numbers[0] == 1) ||
            (val.kind == MetadataValue::Kind::Bytes && !val.bytes.empty() && val.bytes[0] == 1);
        if (below)
            v = -v;
    }
    return v;
}

std::string Trimmed(double v, int decimals) {
    std::string s = FixedDecimalsText(v, decimals);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::optional<GpsPosition> PositionFrom(const std::vector<MetadataEntry>& entries, size_t first) {
    const std::optional<double> lat = Degrees(Find(entries, first, 0x0002));
    const std::optional<double> lon = Degrees(Find(entries, first, 0x0004));
    if (!lat || !lon)
        return std::nullopt;
    GpsPosition p;
    p.latitude = *lat * Sign(Find(entries, first, 0x0001), 'S');
    p.longitude = *lon * Sign(Find(entries, first, 0x0003), 'W');
    if (std::fabs(p.latitude) > 90 || std::fabs(p.longitude) > 180)
        return std::nullopt;
    p.altitude = Altitude(entries, first);
    return p;
}

} // namespace

std::optional<GpsPosition> FindGpsPosition(const std::vector<MetadataEntry>& entries) {
    if (std::optional<GpsPosition> position = PositionFrom(entries, 0))
        return position;
    for (const MetadataEntry& e : entries) {
        if (std::string_view(e.group) != kQuickTimeGroup || !(e.name == kMoviePositionName) ||
            e.value.kind != MetadataValue::Kind::Numbers || e.value.numbers.size() < 2)
            continue;
        const auto& n = e.value.numbers;
        if (!std::isfinite(n[0]) || !std::isfinite(n[1]) || std::fabs(n[0]) > 90 ||
            std::fabs(n[1]) > 180)
            continue;
        GpsPosition p;
        p.latitude = n[0];
        p.longitude = n[1];
        if (n.size() >= 3 && std::isfinite(n[2]))
            p.altitude = n[2];
        p.group = kQuickTimeGroup;
        return p;
    }
    return std::nullopt;
}

std::string DmsText(double degrees, bool latitude) {
    if (!std::isfinite(degrees))
        return NumberText(degrees);
    const char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
    // In hundredths of a second, so that rounding carries into the minutes.
    const double magnitude = std::fabs(degrees);
    if (magnitude > 1e6)
        return NumberText(degrees);
    const long long total = std::llround(magnitude * 360000.0);
    const long long d = total / 360000;
    const long long m = (total / 6000) % 60;
    const long long cs = total % 6000;
    char buf[80];
    std::snprintf(buf, sizeof buf, "%lld° %lld' %lld.%02lld\" %c", d, m, cs / 100, cs % 100,
                  hemisphere);
    return buf;
}

std::string DecimalPositionText(const GpsPosition& p) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "%.6f, %.6f", p.latitude, p.longitude);
    return buf;
}

std::string GeoUri(const GpsPosition& p) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "geo:%.6f,%.6f", p.latitude, p.longitude);
    std::string uri = buf;
    if (p.altitude)
        uri += "," + Trimmed(*p.altitude, 2);
    return uri;
}

void ApplyGpsTexts(std::vector<MetadataEntry>& entries, size_t first) {
    // Each coordinate with its own reference, also the destination's.
    struct Coordinate {
        int32_t ref;
        int32_t value;
        char negative;
        bool latitude;
    };
    constexpr Coordinate kCoordinates[] = {
        {0x0001, 0x0002, 'S', true},
        {0x0003, 0x0004, 'W', false},
        {0x0013, 0x0014, 'S', true},
        {0x0015, 0x0016, 'W', false},
    };
    for (const Coordinate& c : kCoordinates) {
        const std::optional<double> deg = Degrees(Find(entries, first, c.value));
        if (!deg)
            continue;
        const double limit = c.latitude ? 90 : 180;
        const double signedDeg = *deg * Sign(Find(entries, first, c.ref), c.negative);
        for (size_t i = first; i < entries.size(); ++i) {
            MetadataEntry& e = entries[i];
            if (e.group != "GPS" || e.id != c.value)
                continue;
            if (std::fabs(signedDeg) <= limit)
                e.text = DmsText(signedDeg, c.latitude) + " (" + Trimmed(signedDeg, 6) + ")";
            break;
        }
    }
    if (const std::optional<double> alt = Altitude(entries, first)) {
        for (size_t i = first; i < entries.size(); ++i) {
            MetadataEntry& e = entries[i];
            if (e.group == "GPS" && e.id == 0x0006) {
                e.text = Trimmed(std::fabs(*alt), 2) + " m" +
                         (*alt < 0 ? " below sea level" : " above sea level");
                break;
            }
        }
    }
}
