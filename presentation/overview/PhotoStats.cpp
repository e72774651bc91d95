#include "presentation/overview/PhotoStats.h"

#include "presentation/CameraName.h"
#include "presentation/EightBitText.h"
#include "presentation/NumberText.h"
#include "presentation/overview/StatsStops.h"
#include "presentation/query/QueryFields.h"
#include "presentation/query/QueryValues.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace {

using NumberBin = PhotoStats::NumberBin;

template <size_t N> std::string_view Field(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A value counted in `bins` at `step`; `kind` tells focal lengths read as
// recorded from the rest.
void CountValue(std::map<int, NumberBin>& bins, int step, double value, int kind = 0) {
    NumberBin& bin = bins[step];
    ++bin.count;
    if (!bin.seen[kind] || value < bin.low[kind])
        bin.low[kind] = value;
    if (!bin.seen[kind] || value > bin.high[kind])
        bin.high[kind] = value;
    bin.seen[kind] = true;
}

// A value as the query language reads it back to the same shown number
// (QueryFields' ShownNumber): tenths for apertures and focal lengths, 1/n
// for short exposures, whole numbers for the rest.
std::string NumberText(QueryField field, double shown) {
    switch (field) {
    case QueryField::Aperture:
    case QueryField::Focal: {
        std::string text = FixedText(shown, 0, 1);
        if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0)
            text.resize(text.size() - 2);
        return text;
    }
    case QueryField::Exposure: {
        if (shown <= 0.5)
            return "1/" + FixedText(std::floor(1 / shown + 0.5), 0, 0);
        std::string text = FixedText(shown, 0, 3);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
        return text;
    }
    default:
        return FixedText(shown, 0, 0);
    }
}

// "name:low" or "name:low..high", the range of the values seen.
std::string RangeQuery(const char* name, QueryField field, double low, double high) {
    std::string query = std::string(name) + ":" + NumberText(field, low);
    if (high != low)
        query += ".." + NumberText(field, high);
    return query;
}

// A whole-text filter, or nothing for a text the query cannot quote.
std::string WholeTextQuery(const char* name, const std::string& text) {
    if (text.find('"') != std::string::npos)
        return {};
    return std::string(name) + ":=\"" + text + "\"";
}

std::string FocalQuery(const NumberBin& bin, bool anyFocal35) {
    std::string equivalent;
    std::string recorded;
    if (bin.seen[0])
        equivalent = RangeQuery("focal35", QueryField::Focal35, bin.low[0], bin.high[0]);
    if (bin.seen[1]) {
        recorded = RangeQuery("focal", QueryField::Focal, bin.low[1], bin.high[1]);
        // Photos of known equivalent are in their own bins.
        if (anyFocal35)
            recorded += " -focal35:>0";
    }
    if (equivalent.empty())
        return recorded;
    if (recorded.empty())
        return equivalent;
    return equivalent + " OR (" + recorded + ")";
}

StatsChart NumberChart(const char* key, const char* title, const std::map<int, NumberBin>& bins,
                       std::string (*label)(int), const char* queryName, QueryField field) {
    StatsChart chart{key, title, {}};
    chart.bins.reserve(bins.size());
    for (const auto& [step, bin] : bins)
        chart.bins.push_back(
            {label(step), RangeQuery(queryName, field, bin.low[0], bin.high[0]), bin.count});
    return chart;
}

// Most used first, ties by name; past `top` (when not 0) one bin "Other".
StatsChart NamedChart(const char* key, const char* title,
                      const std::map<std::string, uint64_t>& counts, size_t top,
                      const char* queryName) {
    std::vector<std::pair<std::string, uint64_t>> sorted(counts.begin(), counts.end());
    // Ties by name as people read it: "Canon" beside "CASIO".
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        if (a.second != b.second)
            return a.second > b.second;
        return std::lexicographical_compare(a.first.begin(), a.first.end(), b.first.begin(),
                                            b.first.end(), [](char x, char y) {
                                                return std::tolower(static_cast<unsigned char>(x)) <
                                                       std::tolower(static_cast<unsigned char>(y));
                                            });
    });
    StatsChart chart{key, title, {}};
    uint64_t other = 0;
    for (const auto& [name, count] : sorted) {
        if (top != 0 && chart.bins.size() == top) {
            other += count;
            continue;
        }
        chart.bins.push_back({name, WholeTextQuery(queryName, name), count});
    }
    if (other != 0)
        chart.bins.push_back({"Other", {}, other});
    return chart;
}

// "2023-05-14" of YYYYMMDD.
std::string DayText(int64_t day) {
    char text[] = "0000-00-00";
    for (const int at : {9, 8, 6, 5, 3, 2, 1, 0}) {
        text[at] = static_cast<char>('0' + day % 10);
        day /= 10;
    }
    return text;
}

// The short name as people write it: "JPEG", "HEIC", "CR2".
std::string FormatLabel(std::string shortName) {
    for (char& c : shortName)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return shortName;
}

std::string FormatQuery(const std::string& shortName) {
    // "raw" and "heif" name more than the one format in the short form.
    const bool exact = FormatsNamed(shortName) == FormatsShortNamed(shortName);
    return std::string(exact ? "format:" : "format:=") + shortName;
}

// "1,234"
std::string GroupedCount(uint64_t count) {
    std::string digits = FixedText(double(count), 0, 0);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

std::string Counted(uint64_t count, const char* one, const char* many) {
    return GroupedCount(count) + " " + (count == 1 ? one : many);
}

// "14 May 2023"
std::string LongDay(int64_t day) {
    static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};
    const int month = static_cast<int>(day / 100 % 100);
    return IntegerText(static_cast<int32_t>(day % 100)) + " " +
           (month >= 1 && month <= 12 ? kMonths[month - 1] : "") + " " +
           IntegerText(static_cast<int32_t>(day / 10000));
}

} // namespace

void PhotoStats::Add(const ExifSummary& r, PhotoFormat format, std::string_view lens,
                     bool hasPosition) {
    if (format != PhotoFormat::Unknown)
        ++m_formats[FormatShortName(format)];
    if (!r.exifValid)
        return;
    ++m_photos;
    if (hasPosition)
        ++m_withPosition;

    const std::string camera = CameraName(FieldText(r.cameraMake), FieldText(r.cameraModel));
    if (!camera.empty())
        ++m_cameras[camera];
    lens = Trimmed(lens);
    if (!lens.empty())
        ++m_lenses[std::string(lens)];

    // In 35 mm terms as the "35mm Equivalent" row gives it (focal35:), else
    // as recorded (focal:).
    if (r.focalLength > 0) {
        const double equivalent = Focal35Number(r);
        const int kind = equivalent > 0 ? 0 : 1;
        const double value = kind == 0 ? equivalent : ShownNumber(QueryField::Focal, r.focalLength);
        if (value > 0 && std::isfinite(value)) {
            CountValue(m_focal, FocalStep(value), value, kind);
            m_anyFocal35 = m_anyFocal35 || kind == 0;
        }
    }
    if (r.fNumber > 0) {
        const double shown = ShownNumber(QueryField::Aperture, r.fNumber);
        if (shown > 0 && std::isfinite(shown))
            CountValue(m_aperture, ApertureStep(shown), shown);
    }
    if (r.isoEquivalent > 0)
        CountValue(m_iso, IsoStep(r.isoEquivalent), r.isoEquivalent);
    if (r.exposureTime > 0) {
        const double shown = ShownNumber(QueryField::Exposure, r.exposureTime);
        if (shown > 0 && std::isfinite(shown))
            CountValue(m_exposure, ExposureStep(shown), shown);
    }

    const std::string_view date = Field(r.dateTime);
    int64_t key = 0;
    if (PhotoDateKey(date, key))
        ++m_days[key / 1000000];
    int hour = 0;
    if (PhotoHour(date, hour))
        ++m_hours[hour];
    if (r.flashUsed >= 0)
        ++m_flash[r.flashUsed != 0 ? 1 : 0];
}

void PhotoStats::Clear() {
    *this = PhotoStats();
}

std::vector<StatsChart> PhotoStats::Charts(size_t top) const {
    std::vector<StatsChart> charts;
    charts.reserve(10);
    charts.push_back(NamedChart("camera", "Cameras", m_cameras, top, "camera"));
    charts.push_back(NamedChart("lens", "Lenses", m_lenses, top, "lens"));

    StatsChart focal{"focal", "Focal length", {}};
    for (const auto& [step, bin] : m_focal)
        focal.bins.push_back({FocalStepLabel(step), FocalQuery(bin, m_anyFocal35), bin.count});
    charts.push_back(std::move(focal));
    charts.push_back(NumberChart("aperture", "Aperture", m_aperture, ApertureStepLabel, "f",
                                 QueryField::Aperture));
    charts.push_back(NumberChart("iso", "ISO", m_iso, IsoStepLabel, "iso", QueryField::Iso));
    charts.push_back(NumberChart("exposure", "Exposure time", m_exposure, ExposureStepLabel,
                                 "exposure", QueryField::Exposure));

    StatsChart days{"day", "Photos per day", {}};
    for (const auto& [day, count] : m_days)
        days.bins.push_back({DayText(day), "date:" + DayText(day), count});
    charts.push_back(std::move(days));

    StatsChart hours{"hour", "Hour of day", {}};
    for (int hour = 0; hour < 24; ++hour) {
        if (m_hours[hour] != 0)
            hours.bins.push_back({IntegerText(hour / 10) + IntegerText(hour % 10) + ":00",
                                  "hour:" + IntegerText(hour), m_hours[hour]});
    }
    charts.push_back(std::move(hours));

    StatsChart flash{"flash", "Flash", {}};
    if (m_flash[1] != 0)
        flash.bins.push_back({"Fired", "flash:yes", m_flash[1]});
    if (m_flash[0] != 0)
        flash.bins.push_back({"Not fired", "flash:no", m_flash[0]});
    charts.push_back(std::move(flash));

    StatsChart formats = NamedChart("format", "Format", m_formats, 0, "format");
    for (StatsBin& bin : formats.bins) {
        bin.query = FormatQuery(bin.label);
        bin.label = FormatLabel(bin.label);
    }
    charts.push_back(std::move(formats));
    return charts;
}

std::string PhotoStats::HeaderLine() const {
    static constexpr const char* kDot = " \u00b7 ";
    std::string line = Counted(m_photos, "photo", "photos");
    if (!m_cameras.empty())
        line += kDot + Counted(m_cameras.size(), "camera", "cameras");
    if (!m_lenses.empty())
        line += kDot + Counted(m_lenses.size(), "lens", "lenses");
    if (!m_days.empty()) {
        line += kDot + LongDay(m_days.begin()->first);
        if (m_days.size() > 1)
            line += " \u2013 " + LongDay(m_days.rbegin()->first);
    }
    if (m_withPosition != 0)
        line += kDot + GroupedCount(m_withPosition) + " with a GPS position";
    return line;
}

void AppendChartsText(const std::vector<StatsChart>& charts, std::string& out) {
    for (const StatsChart& chart : charts) {
        for (const StatsBin& bin : chart.bins) {
            out += chart.title;
            out += '\t';
            out += bin.label;
            out += '\t';
            out += std::to_string(bin.count);
            out += '\n';
        }
    }
}
