#include "metadata/tags/TagText.h"

#include "metadata/tags/ExifTagNames.h"
#include "metadata/tags/FixedDecimals.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

struct Named {
    int code;
    const char* text;
};

template <size_t N> const char* Lookup(const Named (&table)[N], int code) {
    for (const Named& n : table)
        if (n.code == code)
            return n.text;
    return nullptr;
}

std::string Or(const char* text, const std::string& otherwise) {
    return text != nullptr ? std::string(text) : otherwise;
}

constexpr Named kOrientation[] = {
    {1, "Top-left (normal)"},
    {2, "Top-right (mirrored horizontally)"},
    {3, "Bottom-right (rotated 180°)"},
    {4, "Bottom-left (mirrored vertically)"},
    {5, "Left-top (mirrored horizontally, rotated 270° clockwise)"},
    {6, "Right-top (rotated 90° clockwise)"},
    {7, "Right-bottom (mirrored horizontally, rotated 90° clockwise)"},
    {8, "Left-bottom (rotated 270° clockwise)"},
};
constexpr Named kResolutionUnit[] = {{1, "No absolute unit"}, {2, "Inch"}, {3, "Centimeter"}};
constexpr Named kFocalPlaneUnit[] = {
    {1, "No absolute unit"}, {2, "Inch"}, {3, "Centimeter"}, {4, "Millimeter"}, {5, "Micrometer"}};
constexpr Named kYCbCrPositioning[] = {{1, "Centered"}, {2, "Co-sited"}};
constexpr Named kCompression[] = {
    {1, "Uncompressed"}, {2, "CCITT 1D"},         {3, "T4/Group 3 Fax"}, {4, "T6/Group 4 Fax"},
    {5, "LZW"},          {6, "JPEG (old-style)"}, {7, "JPEG"},           {8, "Adobe Deflate"},
    {32773, "PackBits"}, {34892, "Lossy JPEG"},   {52546, "JPEG XL"},
};
constexpr Named kPhotometric[] = {
    {0, "WhiteIsZero"},
    {1, "BlackIsZero"},
    {2, "RGB"},
    {3, "RGB Palette"},
    {4, "Transparency Mask"},
    {5, "CMYK"},
    {6, "YCbCr"},
    {8, "CIELab"},
    {32803, "Color Filter Array"},
    {34892, "Linear Raw"},
};
constexpr Named kPlanar[] = {{1, "Chunky"}, {2, "Planar"}};
constexpr Named kExposureProgram[] = {
    {0, "Not defined"},       {1, "Manual"},           {2, "Normal program"},
    {3, "Aperture priority"}, {4, "Shutter priority"}, {5, "Creative program"},
    {6, "Action program"},    {7, "Portrait mode"},    {8, "Landscape mode"},
};
constexpr Named kSensitivityType[] = {
    {0, "Unknown"},
    {1, "Standard output sensitivity"},
    {2, "Recommended exposure index"},
    {3, "ISO speed"},
    {4, "Standard output sensitivity and recommended exposure index"},
    {5, "Standard output sensitivity and ISO speed"},
    {6, "Recommended exposure index and ISO speed"},
    {7, "Standard output sensitivity, recommended exposure index and ISO speed"},
};
constexpr Named kMeteringMode[] = {
    {0, "Unknown"}, {1, "Average"},    {2, "Center-weighted average"},
    {3, "Spot"},    {4, "Multi-spot"}, {5, "Pattern"},
    {6, "Partial"}, {255, "Other"},
};
constexpr Named kLightSource[] = {
    {0, "Unknown"},
    {1, "Daylight"},
    {2, "Fluorescent"},
    {3, "Tungsten (incandescent light)"},
    {4, "Flash"},
    {9, "Fine weather"},
    {10, "Cloudy weather"},
    {11, "Shade"},
    {12, "Daylight fluorescent (D 5700 - 7100K)"},
    {13, "Day white fluorescent (N 4600 - 5500K)"},
    {14, "Cool white fluorescent (W 3800 - 4500K)"},
    {15, "White fluorescent (WW 3250 - 3800K)"},
    {16, "Warm white fluorescent (L 2600 - 3250K)"},
    {17, "Standard light A"},
    {18, "Standard light B"},
    {19, "Standard light C"},
    {20, "D55"},
    {21, "D65"},
    {22, "D75"},
    {23, "D50"},
    {24, "ISO studio tungsten"},
    {255, "Other light source"},
};
constexpr Named kColorSpace[] = {{1, "sRGB"}, {0xFFFF, "Uncalibrated"}};
constexpr Named kSensingMethod[] = {
    {1, "Not defined"},
    {2, "One-chip color area sensor"},
    {3, "Two-chip color area sensor"},
    {4, "Three-chip color area sensor"},
    {5, "Color sequential area sensor"},
    {7, "Trilinear sensor"},
    {8, "Color sequential linear sensor"},
};
constexpr Named kFileSource[] = {
    {0, "Others"},
    {1, "Scanner of transparent type"},
    {2, "Scanner of reflex type"},
    {3, "DSC"},
};
constexpr Named kSceneType[] = {{1, "A directly photographed image"}};
constexpr Named kCustomRendered[] = {{0, "Normal process"}, {1, "Custom process"}};
constexpr Named kExposureMode[] = {
    {0, "Auto exposure"}, {1, "Manual exposure"}, {2, "Auto bracket"}};
constexpr Named kWhiteBalance[] = {{0, "Auto white balance"}, {1, "Manual white balance"}};
constexpr Named kSceneCaptureType[] = {
    {0, "Standard"}, {1, "Landscape"}, {2, "Portrait"}, {3, "Night scene"}};
constexpr Named kGainControl[] = {{0, "None"},
                                  {1, "Low gain up"},
                                  {2, "High gain up"},
                                  {3, "Low gain down"},
                                  {4, "High gain down"}};
constexpr Named kContrast[] = {{0, "Normal"}, {1, "Soft"}, {2, "Hard"}};
constexpr Named kSaturation[] = {{0, "Normal"}, {1, "Low saturation"}, {2, "High saturation"}};
constexpr Named kDistanceRange[] = {
    {0, "Unknown"}, {1, "Macro"}, {2, "Close view"}, {3, "Distant view"}};
constexpr Named kCompositeImage[] = {{0, "Unknown"},
                                     {1, "Not a composite image"},
                                     {2, "General composite image"},
                                     {3, "Composite image captured while shooting"}};
constexpr Named kGpsAltitudeRef[] = {{0, "Above sea level"}, {1, "Below sea level"}};
constexpr Named kGpsDifferential[] = {{0, "No correction"}, {1, "Differential correction applied"}};

const char* ComponentName(uint8_t c) {
    switch (c) {
    case 0:
        return "-";
    case 1:
        return "Y";
    case 2:
        return "Cb";
    case 3:
        return "Cr";
    case 4:
        return "R";
    case 5:
        return "G";
    case 6:
        return "B";
    default:
        return "?";
    }
}

// Room for any text WriteTenDigits or WriteNumberText writes.
constexpr size_t kTenDigitsRoom = 32;

// AppendTenDigits' text at `out`; returns its end.
char* WriteTenDigits(char* out, double v) {
    // Whole numbers below 1e10 are all their digits, as "%.10g" writes them;
    // -0 keeps its sign there, so it takes the general way.
    if (v > -1e10 && v < 1e10 && v == static_cast<double>(static_cast<int64_t>(v)) &&
        !(v == 0 && std::signbit(v)))
        return std::to_chars(out, out + kTenDigitsRoom, static_cast<int64_t>(v)).ptr;
    return std::to_chars(out, out + kTenDigitsRoom, v, std::chars_format::general, 10).ptr;
}

// NumberText's text at `out`; returns its end.
char* WriteNumberText(char* out, double v) {
    if (std::isfinite(v))
        return WriteTenDigits(out, v);
    const std::string_view text = std::isnan(v) ? "undefined" : (v > 0 ? "inf" : "-inf");
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// The texts of `count` numbers (write(at, i) writes the i-th, at most a
// fraction's room) joined by blanks, written through a buffer that joins
// `out` when nearly full: records of a hundred numbers are common.
template <typename Write> void AppendJoined(std::string& out, size_t count, Write write) {
    char buf[512];
    char* p = buf;
    constexpr size_t kOneRoom = 2 * kTenDigitsRoom + 2;
    for (size_t i = 0; i < count; ++i) {
        if (static_cast<size_t>(buf + sizeof buf - p) < kOneRoom) {
            out.append(buf, p);
            p = buf;
        }
        if (i != 0)
            *p++ = ' ';
        p = write(p, i);
    }
    out.append(buf, p);
}

// NumberText's text, appended.
void AppendNumberText(std::string& out, double v) {
    if (std::isfinite(v))
        AppendTenDigits(out, v);
    else
        out += std::isnan(v) ? "undefined" : (v > 0 ? "inf" : "-inf");
}

// Numbers as quotients ("72", not "72/1"); anything else as written.
std::string Plain(const MetadataEntry& e) {
    if (e.value.kind != MetadataValue::Kind::Numbers)
        return RawText(e);
    std::string s;
    AppendJoined(s, e.value.numbers.size(),
                 [&](char* at, size_t i) { return WriteNumberText(at, e.value.numbers[i]); });
    if (e.value.truncated)
        s += " …";
    return s;
}

bool FirstNumber(const MetadataEntry& e, double& v) {
    if (e.value.kind != MetadataValue::Kind::Numbers || e.value.numbers.empty())
        return false;
    v = e.value.numbers[0];
    return std::isfinite(v);
}

// A code as a whole number that fits; FLOAT and DOUBLE values may be anything.
bool AsCode(double v, int& code) {
    if (!(v >= -2147483648.0 && v <= 2147483647.0) || v != std::floor(v))
        return false;
    code = static_cast<int>(v);
    return true;
}

template <size_t N> std::string Enumerated(const MetadataEntry& e, const Named (&table)[N]) {
    double v;
    int code;
    if (!FirstNumber(e, v) || !AsCode(v, code))
        return RawText(e);
    if (const char* text = Lookup(table, code))
        return text;
    return "Unknown (" + RawText(e) + ")";
}

std::string WithUnit(const MetadataEntry& e, const char* unit) {
    double v;
    if (!FirstNumber(e, v))
        return RawText(e);
    return NumberText(v) + unit;
}

std::string Apex(const MetadataEntry& e, bool aperture) {
    double v;
    if (!FirstNumber(e, v))
        return RawText(e);
    if (aperture)
        return FNumberText(std::pow(2.0, v / 2));
    return ExposureText(std::pow(2.0, -v));
}

std::string Characters(const MetadataEntry& e) {
    // Version tags are UNDEFINED "0232"; cameras write some as bytes 0 2 3 2.
    if (e.value.kind == MetadataValue::Kind::Text)
        return e.value.text;
    std::string out;
    if (e.value.kind == MetadataValue::Kind::Bytes)
        for (uint8_t b : e.value.bytes)
            out += static_cast<char>(b < 10 ? '0' + b : '?');
    return out.empty() ? RawText(e) : out;
}

std::string TiffText(const MetadataEntry& e) {
    switch (e.id) {
    case 0x0103:
        return Enumerated(e, kCompression);
    case 0x0106:
        return Enumerated(e, kPhotometric);
    case 0x0112:
        return Enumerated(e, kOrientation);
    case 0x011C:
        return Enumerated(e, kPlanar);
    case 0x0128:
        return Enumerated(e, kResolutionUnit);
    case 0x0213:
        return Enumerated(e, kYCbCrPositioning);
    case 0x829A:
        return e.value.IsSingleNumber() ? ExposureText(e.value.numbers[0]) : RawText(e);
    case 0x829D: {
        double v;
        return FirstNumber(e, v) ? FNumberText(v) : RawText(e);
    }
    case 0x8822:
        return Enumerated(e, kExposureProgram);
    case 0x8830:
        return Enumerated(e, kSensitivityType);
    case 0x9000:
    case 0xA000:
        return Characters(e);
    case 0x9101: {
        if (e.value.kind != MetadataValue::Kind::Bytes)
            return RawText(e);
        std::string out;
        for (uint8_t b : e.value.bytes) {
            if (!out.empty())
                out += ", ";
            out += ComponentName(b);
        }
        return out;
    }
    case 0x9102:
        return WithUnit(e, " bits/pixel");
    case 0x9201:
        return Apex(e, false);
    case 0x9202:
    case 0x9205:
        return Apex(e, true);
    case 0x9204: {
        double v;
        if (!FirstNumber(e, v))
            return RawText(e);
        if (v == 0)
            return "0 EV";
        std::string s = v > 0 ? "+" + FixedDecimalsText(v, 2) : FixedDecimalsText(v, 2);
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
        return s + " EV";
    }
    case 0x9206:
        return WithUnit(e, " m");
    case 0x9207:
        return Enumerated(e, kMeteringMode);
    case 0x9208:
    case 0xC65A:
    case 0xC65B:
        return Enumerated(e, kLightSource);
    case 0x9209: {
        double v;
        int code;
        return FirstNumber(e, v) && AsCode(v, code) && code >= 0 ? FlashText(uint32_t(code))
                                                                 : RawText(e);
    }
    case 0x920A:
    case 0xA405:
        return WithUnit(e, " mm");
    case 0x9400:
        return WithUnit(e, " °C");
    case 0x9401:
        return WithUnit(e, " %");
    case 0x9402:
        return WithUnit(e, " hPa");
    case 0x9403:
        return WithUnit(e, " m");
    case 0xA001:
        return Enumerated(e, kColorSpace);
    case 0xA210:
        return Enumerated(e, kFocalPlaneUnit);
    case 0xA217:
        return Enumerated(e, kSensingMethod);
    case 0xA300:
        return e.value.kind == MetadataValue::Kind::Bytes && !e.value.bytes.empty()
                   ? Or(Lookup(kFileSource, e.value.bytes[0]), RawText(e))
                   : RawText(e);
    case 0xA301:
        return e.value.kind == MetadataValue::Kind::Bytes && !e.value.bytes.empty()
                   ? Or(Lookup(kSceneType, e.value.bytes[0]), RawText(e))
                   : RawText(e);
    case 0xA401:
        return Enumerated(e, kCustomRendered);
    case 0xA402:
        return Enumerated(e, kExposureMode);
    case 0xA403:
        return Enumerated(e, kWhiteBalance);
    case 0xA404: {
        double v;
        if (FirstNumber(e, v) && v == 0)
            return "Not used";
        return RawText(e).empty() ? RawText(e) : WithUnit(e, "×");
    }
    case 0xA406:
        return Enumerated(e, kSceneCaptureType);
    case 0xA407:
        return Enumerated(e, kGainControl);
    case 0xA408:
    case 0xA40A:
        return Enumerated(e, kContrast);
    case 0xA409:
        return Enumerated(e, kSaturation);
    case 0xA40C:
        return Enumerated(e, kDistanceRange);
    case 0xA432: {
        // Focal lengths and f-numbers: "24-70 mm f/2.8".
        const auto& n = e.value.numbers;
        if (e.value.kind != MetadataValue::Kind::Numbers || n.size() != 4)
            return RawText(e);
        std::string s = NumberText(n[0]);
        if (n[1] != n[0])
            s += "-" + NumberText(n[1]);
        s += " mm";
        if (std::isfinite(n[2]) && n[2] > 0) {
            s += " f/" + NumberText(n[2]);
            if (std::isfinite(n[3]) && n[3] != n[2])
                s += "-" + NumberText(n[3]);
        }
        return s;
    }
    case 0xA460:
        return Enumerated(e, kCompositeImage);
    default:
        return Plain(e);
    }
}

std::string GpsText(const MetadataEntry& e) {
    switch (e.id) {
    case 0x0000: {
        std::string s;
        for (size_t i = 0; i < e.value.numbers.size(); ++i) {
            if (i != 0)
                s += '.';
            AppendNumberText(s, e.value.numbers[i]);
        }
        return s.empty() ? RawText(e) : s;
    }
    case 0x0001:
    case 0x0013:
        return e.value.text == "N" ? "North" : e.value.text == "S" ? "South" : RawText(e);
    case 0x0003:
    case 0x0015:
        return e.value.text == "E" ? "East" : e.value.text == "W" ? "West" : RawText(e);
    case 0x0005:
        if (e.value.kind == MetadataValue::Kind::Bytes && !e.value.bytes.empty())
            return Or(Lookup(kGpsAltitudeRef, e.value.bytes[0]), RawText(e));
        return Enumerated(e, kGpsAltitudeRef);
    case 0x0006:
    case 0x001F:
        return WithUnit(e, " m");
    case 0x0007: {
        const auto& n = e.value.numbers;
        if (e.value.kind != MetadataValue::Kind::Numbers || n.size() != 3)
            return RawText(e);
        for (double v : n)
            if (!std::isfinite(v) || v < 0 || v >= 100)
                return RawText(e);
        char buf[48];
        const double s = n[2];
        if (s == std::floor(s))
            std::snprintf(buf, sizeof buf, "%02d:%02d:%02d UTC", int(n[0]), int(n[1]), int(s));
        else
            std::snprintf(buf, sizeof buf, "%02d:%02d:%05.2f UTC", int(n[0]), int(n[1]), s);
        return buf;
    }
    case 0x0009:
        return e.value.text == "A"   ? "Measurement in progress"
               : e.value.text == "V" ? "Measurement interrupted"
                                     : RawText(e);
    case 0x000A:
        return e.value.text == "2"   ? "2-dimensional measurement"
               : e.value.text == "3" ? "3-dimensional measurement"
                                     : RawText(e);
    case 0x000C:
    case 0x0019:
        return e.value.text == "K"   ? "Kilometers per hour"
               : e.value.text == "M" ? "Miles per hour"
               : e.value.text == "N" ? "Knots"
                                     : RawText(e);
    case 0x000E:
    case 0x0010:
    case 0x0017:
        return e.value.text == "T"   ? "True direction"
               : e.value.text == "M" ? "Magnetic direction"
                                     : RawText(e);
    case 0x000F:
    case 0x0011:
    case 0x0018:
        return WithUnit(e, "°");
    case 0x001E:
        return Enumerated(e, kGpsDifferential);
    default:
        return Plain(e);
    }
}

} // namespace

std::string NumberText(double v) {
    std::string s;
    AppendNumberText(s, v);
    return s;
}

void AppendTenDigits(std::string& out, double v) {
    char buf[kTenDigitsRoom];
    out.append(buf, WriteTenDigits(buf, v));
}

std::string RawText(const MetadataEntry& e) {
    if (!e.rawOverride.empty())
        return e.rawOverride;
    const MetadataValue& value = e.value;
    std::string s;
    switch (value.kind) {
    case MetadataValue::Kind::Text:
        return value.text;
    case MetadataValue::Kind::Numbers: {
        const bool fractions = value.fractions.size() == value.numbers.size();
        AppendJoined(s, value.numbers.size(), [&](char* p, size_t i) {
            if (!fractions)
                return WriteTenDigits(p, value.numbers[i]);
            p = std::to_chars(p, p + kTenDigitsRoom, value.fractions[i].num).ptr;
            *p++ = '/';
            return std::to_chars(p, p + kTenDigitsRoom, value.fractions[i].den).ptr;
        });
        break;
    }
    case MetadataValue::Kind::Bytes: {
        static const char kHex[] = "0123456789ABCDEF";
        for (size_t i = 0; i < value.bytes.size() && i < 16; ++i) {
            if (i != 0)
                s += ' ';
            s += kHex[value.bytes[i] >> 4];
            s += kHex[value.bytes[i] & 15];
        }
        if (value.bytes.size() > 16 || value.truncated)
            s += " …";
        return s;
    }
    case MetadataValue::Kind::None:
        return s;
    }
    if (value.truncated)
        s += " …";
    return s;
}

std::string ExposureText(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0)
        return NumberText(seconds) + " s";
    if (seconds < 0.25001) {
        // 1/x for the speeds cameras use; 0.3 s and longer as a decimal.
        return "1/" + FixedDecimalsText(1 / seconds, 0) + " s";
    }
    std::string s = FixedDecimalsText(seconds, 1);
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0)
        s.resize(s.size() - 2);
    return s + " s";
}

std::string FNumberText(double f) {
    if (!std::isfinite(f) || f <= 0)
        return "f/" + NumberText(f);
    std::string s = FixedDecimalsText(f, 1);
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0)
        s.resize(s.size() - 2);
    return "f/" + s;
}

std::string FlashText(uint32_t flash) {
    if (flash & 0x20)
        return "No flash function";
    std::string s = (flash & 1) ? "Flash fired" : "Flash did not fire";
    switch ((flash >> 3) & 3) {
    case 1:
        s += ", compulsory flash mode";
        break;
    case 2:
        s += ", compulsory flash mode"; // the standard's wording for suppression too
        break;
    case 3:
        s += ", auto mode";
        break;
    default:
        break;
    }
    switch ((flash >> 1) & 3) {
    case 2:
        s += ", return light not detected";
        break;
    case 3:
        s += ", return light detected";
        break;
    default:
        break;
    }
    if (flash & 0x40)
        s += ", red-eye reduction mode";
    return s;
}

std::string TagText(const MetadataEntry& e) {
    return TagText(e, TagSpaceOfGroup(e.group));
}

std::string TagText(const MetadataEntry& e, TagSpace space) {
    if (e.id < 0 || e.id > 0xFFFF)
        return Plain(e);
    switch (space) {
    case TagSpace::Gps:
        return GpsText(e);
    case TagSpace::Interop:
        if (e.id == 0x0002)
            return Characters(e);
        if (e.id == 0x0001 && e.value.text == "R98")
            return "R98 (DCF basic file, sRGB)";
        if (e.id == 0x0001 && e.value.text == "THM")
            return "THM (DCF thumbnail file)";
        if (e.id == 0x0001 && e.value.text == "R03")
            return "R03 (DCF option file, Adobe RGB)";
        return Plain(e);
    case TagSpace::Tiff:
        break;
    }
    return TiffText(e);
}
