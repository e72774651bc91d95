// A compiled query held against one read file: the record's fields and the
// entries as they are, nothing built for the tags that are not asked about.
#include "presentation/CameraName.h"
#include "presentation/FileReport.h"
#include "presentation/query/FoldedText.h"
#include "presentation/query/Query.h"
#include "presentation/query/QueryFields.h"

#include <cmath>
#include <cstring>
#include <string_view>

namespace {

template <size_t N> std::string_view Field(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool EqualsFolded(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lower[i])
            return false;
    }
    return true;
}

bool TextHolds(const QueryCondition& condition, std::string_view text) {
    return condition.whole ? FoldedEquals(text, condition.text)
                           : FoldedContains(text, condition.text);
}

// The entry's text for people, or its value's own text where that differs.
bool EntryTextHolds(const QueryCondition& condition, const MetadataEntry& entry) {
    return TextHolds(condition, entry.text) ||
           (entry.value.kind == MetadataValue::Kind::Text && entry.value.text != entry.text &&
            TextHolds(condition, entry.value.text));
}

bool EntryNumber(const MetadataEntry& entry, double& number) {
    if (entry.value.kind == MetadataValue::Kind::Numbers && !entry.value.numbers.empty()) {
        number = entry.value.numbers.front();
        return std::isfinite(number);
    }
    return entry.value.kind == MetadataValue::Kind::Text &&
           ParseQueryNumber(entry.value.text, number);
}

// The directories of the picture itself (not its thumbnail or GPS).
bool IsPictureDirectory(std::string_view group) {
    return group == "IFD0" || group == "ExifIFD" || StartsWith(group, "SubIFD");
}

// A camera maker's own group (its maker note), not one of EXIF, XMP, IPTC.
bool IsMakerGroup(std::string_view group) {
    if (StartsWith(group, "IFD")) {
        const std::string_view number = group.substr(3);
        return number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos;
    }
    return !(group == "ExifIFD" || group == "GPS" || group == "InteropIFD" ||
             StartsWith(group, "SubIFD") || StartsWith(group, "XMP") || group == "IPTC");
}

bool Named(const MetadataEntry& entry, std::string_view group, std::string_view name) {
    return entry.group == group && entry.name.View() == name;
}

bool IsLens(const MetadataEntry& entry) {
    if (entry.id == 0xA434 && IsPictureDirectory(entry.group))
        return true;
    if (Named(entry, "XMP-aux", "aux:Lens") || Named(entry, "XMP-exifEX", "exifEX:LensModel"))
        return true;
    const std::string_view name = entry.name.View();
    return (name == "Lens" || name == "LensModel" || name == "LensID" || name == "LensType") &&
           IsMakerGroup(entry.group);
}

bool IsKeyword(const MetadataEntry& entry) {
    return (entry.group == "XMP-dc" && StartsWith(entry.name.View(), "dc:subject")) ||
           Named(entry, "IPTC", "Keywords");
}

bool IsRating(const MetadataEntry& entry) {
    return Named(entry, "XMP-xmp", "xmp:Rating") ||
           (entry.id == 0x4746 && IsPictureDirectory(entry.group));
}

bool IsSoftware(const MetadataEntry& entry) {
    return (entry.id == 0x0131 && IsPictureDirectory(entry.group)) ||
           Named(entry, "XMP-xmp", "xmp:CreatorTool");
}

bool IsArtist(const MetadataEntry& entry) {
    return (entry.id == 0x013B && IsPictureDirectory(entry.group)) ||
           (entry.group == "XMP-dc" && StartsWith(entry.name.View(), "dc:creator")) ||
           Named(entry, "IPTC", "By-line");
}

// A group as written ("ExifIFD", "XMP-dc") or as the Metadata pane shows it
// ("Exif", "XMP"), or an XMP group by its prefix alone ("dc").
bool GroupMatches(std::string_view group, std::string_view wanted) {
    if (wanted.empty() || EqualsFolded(group, wanted))
        return true;
    if (StartsWith(group, "XMP-") && EqualsFolded(group.substr(4), wanted))
        return true;
    if (wanted == "image")
        return group == "IFD0";
    if (wanted == "exif")
        return group == "ExifIFD";
    if (wanted == "interoperability" || wanted == "interop")
        return group == "InteropIFD";
    if (wanted == "thumbnail")
        return group == "IFD1";
    if (wanted == "subifd")
        return StartsWith(group, "SubIFD");
    if (wanted == "xmp")
        return StartsWith(group, "XMP");
    return false;
}

// A name as listed ("dc:subject[2]"), without its item number
// ("dc:subject"), or without its prefix ("subject").
bool NameMatches(std::string_view name, std::string_view wanted) {
    if (EqualsFolded(name, wanted))
        return true;
    const std::string_view base = name.substr(0, name.find('['));
    if (EqualsFolded(base, wanted))
        return true;
    const size_t colon = base.rfind(':');
    return colon != std::string_view::npos && EqualsFolded(base.substr(colon + 1), wanted);
}

bool TagHolds(const QueryCondition& condition, const MetadataEntry& entry) {
    if (!NameMatches(entry.name.View(), condition.name) ||
        !GroupMatches(entry.group, condition.group))
        return false;
    double number = 0;
    if (condition.numeric && EntryNumber(entry, number) && condition.number.Holds(number))
        return true;
    // A comparison or range has no text: it is for numbers only.
    return !condition.text.empty() && EntryTextHolds(condition, entry);
}

double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
    constexpr double kEarthRadiusKm = 6371.0088;
    constexpr double kRadians = 3.14159265358979323846 / 180;
    const double dLat = (lat2 - lat1) * kRadians;
    const double dLon = (lon2 - lon1) * kRadians;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * kRadians) * std::cos(lat2 * kRadians) * std::sin(dLon / 2) *
                         std::sin(dLon / 2);
    return 2 * kEarthRadiusKm * std::asin(std::sqrt(std::fmin(1.0, a)));
}

class ConditionCheck {
public:
    ConditionCheck(const QueryCondition& condition, const QueryInput& input)
        : m_c(condition), m_in(input),
          m_record(input.record != nullptr && input.record->exifValid ? input.record : nullptr) {}

    bool Holds() const;

private:
    template <typename Select> bool AnyEntry(Select select) const {
        if (m_in.entries == nullptr)
            return false;
        for (const MetadataEntry& entry : *m_in.entries) {
            if (select(entry))
                return true;
        }
        return false;
    }
    bool TextEntry(bool (*is)(const MetadataEntry&)) const {
        return AnyEntry([&](const MetadataEntry& e) { return is(e) && EntryTextHolds(m_c, e); });
    }
    bool Number(double value) const { return m_c.number.Holds(ShownNumber(m_c.field, value)); }
    bool Words() const;
    bool Camera() const;
    bool Shape() const;

    const QueryCondition& m_c;
    const QueryInput& m_in;
    const ExifSummary* m_record; // null unless it holds EXIF data
};

bool ConditionCheck::Words() const {
    if (m_record != nullptr &&
        (TextHolds(m_c, Field(m_record->cameraMake)) ||
         TextHolds(m_c, Field(m_record->cameraModel)) || TextHolds(m_c, Field(m_record->comment))))
        return true;
    return AnyEntry([&](const MetadataEntry& e) {
        return FoldedContains(e.name.View(), m_c.text) || EntryTextHolds(m_c, e);
    });
}

bool ConditionCheck::Camera() const {
    const std::string_view make = Field(m_record->cameraMake);
    const std::string_view model = Field(m_record->cameraModel);
    if (make.empty() && model.empty())
        return false;
    if ((!make.empty() && TextHolds(m_c, make)) || (!model.empty() && TextHolds(m_c, model)))
        return true;
    // The camera as the file list and the Overview name it ("NIKON D70s" of
    // "NIKON CORPORATION"), which a chart's bar asks for whole.
    if (m_c.whole && FoldedEquals(CameraName(make, model), m_c.text))
        return true;
    // "apple iphone": make and model as the Camera column joins them.
    char joined[sizeof m_record->cameraMake + sizeof m_record->cameraModel + 1];
    std::memcpy(joined, make.data(), make.size());
    joined[make.size()] = ' ';
    std::memcpy(joined + make.size() + 1, model.data(), model.size());
    return TextHolds(m_c, std::string_view(joined, make.size() + 1 + model.size()));
}

bool ConditionCheck::Shape() const {
    int64_t width = m_record->width;
    int64_t height = m_record->height;
    if (width <= 0 || height <= 0)
        return false;
    // Orientations 5 to 8 turn the picture a quarter.
    if (m_record->orientation >= 5 && m_record->orientation <= 8)
        std::swap(width, height);
    switch (m_c.shape) {
    case PictureShape::Portrait:
        return height > width;
    case PictureShape::Landscape:
        return width > height;
    case PictureShape::Square:
        return width == height;
    }
    return false;
}

bool ConditionCheck::Holds() const {
    switch (m_c.field) {
    case QueryField::Words:
        return Words();
    case QueryField::Lens:
        return TextEntry(IsLens);
    case QueryField::Keyword:
        return TextEntry(IsKeyword);
    case QueryField::Software:
        return TextEntry(IsSoftware);
    case QueryField::Artist:
        return TextEntry(IsArtist);
    case QueryField::Rating:
        return AnyEntry([&](const MetadataEntry& e) {
            double number = 0;
            return IsRating(e) && EntryNumber(e, number) && Number(number);
        });
    case QueryField::Tag:
        return AnyEntry([&](const MetadataEntry& e) { return TagHolds(m_c, e); });
    case QueryField::Gps:
        return m_in.entries != nullptr && (m_in.position != nullptr) == m_c.yes;
    case QueryField::Near:
        return m_in.position != nullptr &&
               DistanceKm(m_in.position->latitude, m_in.position->longitude, m_c.latitude,
                          m_c.longitude) <= m_c.kilometres;
    case QueryField::Format:
        return (m_c.formats & FormatBit(static_cast<int>(m_in.format))) != 0 &&
               m_in.format != PhotoFormat::Unknown;
    default:
        break;
    }
    // The rest read the record, and only one with EXIF data, as the panes do.
    if (m_record == nullptr)
        return false;
    const ExifSummary& r = *m_record;
    switch (m_c.field) {
    case QueryField::Camera:
        return Camera();
    case QueryField::Make:
        return r.cameraMake[0] != '\0' && TextHolds(m_c, Field(r.cameraMake));
    case QueryField::Model:
        return r.cameraModel[0] != '\0' && TextHolds(m_c, Field(r.cameraModel));
    case QueryField::Date: {
        int64_t key = 0;
        return PhotoDateKey(Field(r.dateTime), key) && m_c.date.Holds(key);
    }
    case QueryField::Hour: {
        int hour = 0;
        return PhotoHour(Field(r.dateTime), hour) && Number(hour);
    }
    // A value that cannot be (a negative aperture from a misread rational)
    // is no value to search by, though the pane shows it as it stands.
    case QueryField::Iso:
        return r.isoEquivalent > 0 && Number(r.isoEquivalent);
    case QueryField::Aperture:
        return r.fNumber > 0 && Number(r.fNumber);
    case QueryField::Exposure:
        return r.exposureTime > 0 && Number(r.exposureTime);
    case QueryField::Focal:
        return r.focalLength > 0 && Number(r.focalLength);
    case QueryField::Focal35:
        // The Properties pane's "35mm Equivalent" row.
        return r.focalLength > 0 && r.ccdWidth > 0 && Number(Focal35Number(r));
    case QueryField::Flash:
        return r.flashUsed >= 0 && (r.flashUsed != 0) == m_c.yes;
    case QueryField::Width:
        return r.width > 0 && Number(r.width);
    case QueryField::Height:
        return r.height > 0 && Number(r.height);
    case QueryField::Megapixels:
        return r.width > 0 && r.height > 0 && Number(double(r.width) * r.height / 1e6);
    case QueryField::Orientation:
        return Shape();
    default:
        return false;
    }
}

} // namespace

QueryInput QueryInputOf(const FileReport& report) {
    QueryInput input;
    input.record = &report.record;
    input.format = report.format;
    input.entries = &report.tags;
    input.position = report.position ? &*report.position : nullptr;
    return input;
}

bool Query::Matches(const QueryInput& input) const {
    if (m_matchesAll)
        return true;
    return !m_nodes.empty() && Holds(m_root, input);
}

bool Query::Holds(uint32_t index, const QueryInput& input) const {
    const QueryNode& node = m_nodes[index];
    switch (node.kind) {
    case QueryNode::Kind::All:
        for (const uint32_t child : node.children) {
            if (!Holds(child, input))
                return false;
        }
        return true;
    case QueryNode::Kind::Any:
        for (const uint32_t child : node.children) {
            if (Holds(child, input))
                return true;
        }
        return false;
    case QueryNode::Kind::Not:
        return !Holds(node.children.front(), input);
    case QueryNode::Kind::Test:
        return ConditionCheck(m_conditions[node.condition], input).Holds();
    }
    return false;
}
