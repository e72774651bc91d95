#include "tests/corpus/ExpectedFields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// The reader's factor for a ResolutionUnit code, in single precision.
double InchesPerUnit(std::optional<double> code, double previous) {
    if (!code)
        return previous;
    switch (static_cast<int>(*code)) {
    case 1:
    case 2:
        return 1.0f;
    case 3:
        return 1 / 2.54f;
    case 4:
        return 1 / 25.4f;
    case 5:
        return 1 / 25400.0f;
    default:
        return previous;
    }
}

class Comparer {
public:
    explicit Comparer(const ReferenceReading& reference) : m_ref(reference) {}

    // A text field holds the first `limit` bytes of the tag, copied up to the
    // first zero byte.
    template <size_t N>
    void Text(const char* field, const char (&value)[N], std::optional<std::string> expected) {
        std::string want = expected.value_or("");
        if (want.size() > N - 1)
            want.resize(N - 1);
        const std::string have(value, ::strnlen(value, N));
        Add(field, have, want, have == want);
    }

    void Integer(const char* field, int32_t value, double expected) {
        const double want = std::trunc(expected);
        Add(field, std::to_string(value), NumberText(want), value == want);
    }

    // Single precision on our side; exiftool prints about ten digits.
    void Real(const char* field, float value, double expected) {
        const double have = value;
        const bool agree = have == expected ||
                           std::fabs(have - expected) <= 1e-5 * std::max(std::fabs(expected), 1e-3);
        Add(field, NumberText(have), NumberText(expected), agree);
    }

    double Number(const char* key) const { return m_ref.Number(key).value_or(0); }

    // The tag of the thumbnail's directory, read after the first one,
    // overrides it.
    std::optional<std::string> LaterText(const char* first, const char* later) const {
        auto text = m_ref.Text(later);
        return text ? text : m_ref.Text(first);
    }
    double LaterNumber(const char* first, const char* later) const {
        auto number = m_ref.Number(later);
        return number ? *number : Number(first);
    }

    // The direct tag, else the first APEX tag present (exiftool -n gives
    // those already converted), as the reader fills a field still at 0.
    double DirectOrApex(const char* direct, std::initializer_list<const char*> apex) const {
        if (const double value = Number(direct); value != 0)
            return value;
        for (const char* key : apex)
            if (auto value = m_ref.Number(key))
                return *value;
        return 0;
    }

    std::vector<FieldComparison> Take() { return std::move(m_result); }

private:
    void Add(const char* field, std::string have, std::string want, bool agree) {
        m_result.push_back({field, std::move(have), std::move(want), agree});
    }

    const ReferenceReading& m_ref;
    std::vector<FieldComparison> m_result;
};

} // namespace

std::vector<FieldComparison> CompareWithReference(const ExifSummary& r,
                                                  const ReferenceReading& ref) {
    Comparer c(ref);
    // exiftool names the byte order of every EXIF block it found.
    const bool hasExif = ref.Has("File:ExifByteOrder");
    c.Integer("exifValid", r.exifValid ? 1 : 0, hasExif ? 1 : 0);

    c.Integer("width", r.width, c.Number("File:ImageWidth"));
    c.Integer("height", r.height, c.Number("File:ImageHeight"));
    if (auto process = ref.Number("File:EncodingProcess"))
        c.Integer("encodingProcess", r.encodingProcess, 0xC0 + *process);
    if (!hasExif)
        return c.Take();

    c.Text("cameraMake", r.cameraMake, c.LaterText("IFD0:Make", "IFD1:Make"));
    c.Text("cameraModel", r.cameraModel, c.LaterText("IFD0:Model", "IFD1:Model"));
    c.Text("dateTime", r.dateTime, ref.Text("ExifIFD:DateTimeOriginal"));
    c.Text("exifVersion", r.exifVersion, ref.Text("ExifIFD:ExifVersion"));

    c.Real("xResolution", r.xResolution, c.LaterNumber("IFD0:XResolution", "IFD1:XResolution"));
    c.Real("yResolution", r.yResolution, c.LaterNumber("IFD0:YResolution", "IFD1:YResolution"));
    // A unit code outside the table leaves the factor of an earlier one.
    double unit = 0;
    for (const char* key : {"IFD0:ResolutionUnit", "IFD1:ResolutionUnit"})
        unit = InchesPerUnit(ref.Number(key), unit);
    c.Real("resolutionUnit", r.resolutionUnit, unit);

    const double orientation = c.LaterNumber("IFD0:Orientation", "IFD1:Orientation");
    c.Integer("orientation", r.orientation, orientation >= 1 && orientation <= 8 ? orientation : 0);

    c.Real("exposureTime", r.exposureTime,
           c.DirectOrApex("ExifIFD:ExposureTime", {"ExifIFD:ShutterSpeedValue"}));
    c.Real(
        "fNumber", r.fNumber,
        c.DirectOrApex("ExifIFD:FNumber", {"ExifIFD:ApertureValue", "ExifIFD:MaxApertureValue"}));
    c.Real("focalLength", r.focalLength, c.Number("ExifIFD:FocalLength"));
    c.Real("exposureBias", r.exposureBias, c.Number("ExifIFD:ExposureCompensation"));

    // Stored as recorded, low daylight speeds of phones included.
    c.Integer("isoEquivalent", r.isoEquivalent, std::trunc(c.Number("ExifIFD:ISO")));
    const auto flash = static_cast<int64_t>(c.Number("ExifIFD:Flash"));
    c.Integer("flashUsed", r.flashUsed, (flash & 7) != 0 ? 1 : 0);
    c.Integer("meteringMode", r.meteringMode, c.Number("ExifIFD:MeteringMode"));
    c.Integer("exposureProgram", r.exposureProgram, c.Number("ExifIFD:ExposureProgram"));
    c.Integer("lightSource", r.lightSource, c.Number("ExifIFD:LightSource"));
    return c.Take();
}
