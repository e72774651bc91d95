#include "presentation/query/QueryFields.h"

#include "metadata/PhotoFormat.h"
#include "presentation/query/FoldedText.h"

#include <array>
#include <cmath>

namespace {

using Kind = QueryValueKind;

constexpr std::array<QueryFieldInfo, 27> kFields = {{
    {"camera", QueryField::Camera, Kind::Text, false},
    {"make", QueryField::Make, Kind::Text, false},
    {"model", QueryField::Model, Kind::Text, false},
    {"lens", QueryField::Lens, Kind::Text, true},
    {"date", QueryField::Date, Kind::Date, false},
    {"hour", QueryField::Hour, Kind::Number, false},
    {"iso", QueryField::Iso, Kind::Number, false},
    {"f", QueryField::Aperture, Kind::Number, false},
    {"aperture", QueryField::Aperture, Kind::Number, false},
    {"exposure", QueryField::Exposure, Kind::Exposure, false},
    {"focal", QueryField::Focal, Kind::Number, false},
    {"focal35", QueryField::Focal35, Kind::Number, false},
    {"flash", QueryField::Flash, Kind::YesNo, false},
    {"gps", QueryField::Gps, Kind::YesNo, true},
    {"near", QueryField::Near, Kind::Place, true},
    {"keyword", QueryField::Keyword, Kind::Text, true},
    {"keywords", QueryField::Keyword, Kind::Text, true},
    {"rating", QueryField::Rating, Kind::Number, true},
    {"format", QueryField::Format, Kind::Format, false},
    {"width", QueryField::Width, Kind::Number, false},
    {"height", QueryField::Height, Kind::Number, false},
    {"mp", QueryField::Megapixels, Kind::Number, false},
    {"orientation", QueryField::Orientation, Kind::Shape, false},
    {"software", QueryField::Software, Kind::Text, true},
    {"artist", QueryField::Artist, Kind::Text, true},
    {"author", QueryField::Artist, Kind::Text, true},
    {"creator", QueryField::Artist, Kind::Text, true},
}};

constexpr int kFormatCount = static_cast<int>(PhotoFormat::ThreeGp) + 1;

bool IsRaw(PhotoFormat format) {
    switch (format) {
    case PhotoFormat::Unknown:
    case PhotoFormat::Jpeg:
    case PhotoFormat::Tiff:
    case PhotoFormat::Heic:
    case PhotoFormat::Heif:
    case PhotoFormat::Avif:
    case PhotoFormat::Jxl:
    case PhotoFormat::Png:
    case PhotoFormat::WebpLossy:
    case PhotoFormat::WebpLossless:
        return false;
    default:
        return !IsMovieFormat(format);
    }
}

double Rounded(double value, double unit) {
    return std::floor(value / unit + 0.5) * unit;
}

} // namespace

const QueryFieldInfo* FindQueryField(std::string_view name) {
    const std::string folded = FoldText(name);
    for (const QueryFieldInfo& info : kFields) {
        if (folded == info.name)
            return &info;
    }
    return nullptr;
}

double ShownNumber(QueryField field, double value) {
    switch (field) {
    case QueryField::Aperture:
    case QueryField::Focal:
    case QueryField::Megapixels:
        return Rounded(value, 0.1);
    case QueryField::Exposure:
        // The Properties pane's "1/n" for times up to half a second.
        if (value > 0 && value <= 0.5)
            return 1.0 / std::floor(1.0 / value + 0.5);
        return Rounded(value, 0.001);
    default:
        return value;
    }
}

double Focal35Number(const ExifSummary& record) {
    if (!(record.focalLength > 0 && record.ccdWidth > 0))
        return 0;
    return std::floor(double(record.focalLength) / record.ccdWidth * 36 + 0.5);
}

uint64_t FormatBit(int format) {
    return format >= 0 && format < 64 ? uint64_t(1) << format : 0;
}

uint64_t FormatsNamed(std::string_view name) {
    const std::string folded = FoldText(name);
    uint64_t formats = 0;
    for (int i = 1; i < kFormatCount; ++i) {
        const auto format = static_cast<PhotoFormat>(i);
        // "raw" is every raw format (Panasonic's own .raw among them).
        if ((folded == "raw" && IsRaw(format)) || (folded == "heif" && format == PhotoFormat::Heic))
            formats |= FormatBit(i);
    }
    formats |= FormatsShortNamed(folded);
    if (folded == "jpg" || folded == "jpe")
        formats |= FormatBit(static_cast<int>(PhotoFormat::Jpeg));
    if (folded == "tif")
        formats |= FormatBit(static_cast<int>(PhotoFormat::Tiff));
    if (folded == "jpegxl")
        formats |= FormatBit(static_cast<int>(PhotoFormat::Jxl));
    return formats;
}

uint64_t FormatsShortNamed(std::string_view name) {
    uint64_t formats = 0;
    for (int i = 1; i < kFormatCount; ++i) {
        if (name == FormatShortName(static_cast<PhotoFormat>(i)))
            formats |= FormatBit(i);
    }
    return formats;
}
