// Texts for people: units, the standards' names of values, GPS positions.
#include "metadata/tags/TagText.h"
#include "metadata/tags/FixedDecimals.h"
#include "metadata/tags/GpsPosition.h"
#include "tests/metadata/tags/AllTagsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace alltagstest;

namespace {

MetadataEntry Numeric(const std::string& group, int32_t id, std::vector<double> numbers) {
    MetadataEntry e;
    e.group = group;
    e.id = id;
    e.value.kind = MetadataValue::Kind::Numbers;
    e.value.numbers.assign(numbers.begin(), numbers.end());
    return e;
}

MetadataEntry Textual(const std::string& group, int32_t id, const std::string& text) {
    MetadataEntry e;
    e.group = group;
    e.id = id;
    e.value.kind = MetadataValue::Kind::Text;
    e.value.text = e.rawOverride = text;
    return e;
}

} // namespace

TEST(TagText, ExposureAndAperture) {
    EXPECT_EQ(ExposureText(1.0 / 250), "1/250 s");
    EXPECT_EQ(ExposureText(1.0 / 3), "0.3 s");
    EXPECT_EQ(ExposureText(0.25), "1/4 s");
    EXPECT_EQ(ExposureText(2), "2 s");
    EXPECT_EQ(ExposureText(2.5), "2.5 s");
    EXPECT_EQ(FNumberText(3.5), "f/3.5");
    EXPECT_EQ(FNumberText(11), "f/11");
    EXPECT_EQ(FNumberText(7.1), "f/7.1");
    // APEX values: Tv 8 is 1/256 s, Av 5 is f/5.7.
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0x9201, {8})), "1/256 s");
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0x9202, {5})), "f/5.7");
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0x9204, {-2.0 / 3})), "-0.67 EV");
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0x9204, {1})), "+1 EV");
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0x920A, {4.15})), "4.15 mm");
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0xA432, {24, 70, 2.8, 2.8})), "24-70 mm f/2.8");
}

TEST(TagText, Flash) {
    EXPECT_EQ(FlashText(0x00), "Flash did not fire");
    EXPECT_EQ(FlashText(0x01), "Flash fired");
    EXPECT_EQ(FlashText(0x05), "Flash fired, return light not detected");
    EXPECT_EQ(FlashText(0x07), "Flash fired, return light detected");
    EXPECT_EQ(FlashText(0x10), "Flash did not fire, compulsory flash mode");
    EXPECT_EQ(FlashText(0x18), "Flash did not fire, auto mode");
    EXPECT_EQ(FlashText(0x19), "Flash fired, auto mode");
    EXPECT_EQ(FlashText(0x20), "No flash function");
    EXPECT_EQ(FlashText(0x5F),
              "Flash fired, auto mode, return light detected, red-eye reduction mode");
}

TEST(TagText, EnumeratedValuesByTheStandardsNames) {
    struct Case {
        const char* group;
        int32_t id;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"IFD0", 0x0112, 1, "Top-left (normal)"},
        {"IFD0", 0x0112, 8, "Left-bottom (rotated 270° clockwise)"},
        {"IFD0", 0x0128, 2, "Inch"},
        {"IFD0", 0x0128, 3, "Centimeter"},
        {"IFD0", 0x0213, 2, "Co-sited"},
        {"ExifIFD", 0x8822, 3, "Aperture priority"},
        {"ExifIFD", 0x9207, 2, "Center-weighted average"},
        {"ExifIFD", 0x9208, 21, "D65"},
        {"ExifIFD", 0x9208, 3, "Tungsten (incandescent light)"},
        {"ExifIFD", 0xA001, 65535, "Uncalibrated"},
        {"ExifIFD", 0xA402, 2, "Auto bracket"},
        {"ExifIFD", 0xA403, 0, "Auto white balance"},
        {"ExifIFD", 0xA403, 1, "Manual white balance"},
        {"ExifIFD", 0xA406, 3, "Night scene"},
        {"ExifIFD", 0xA40C, 1, "Macro"},
        {"ExifIFD", 0x9207, 42, "Unknown (42)"},
        {"GPS", 0x001E, 1, "Differential correction applied"},
    };
    for (const Case& c : cases) {
        MetadataEntry e = Numeric(c.group, c.id, {c.value});
        e.rawOverride = NumberText(c.value);
        EXPECT_EQ(TagText(e), c.text) << c.group << " " << c.id;
    }
    MetadataEntry components;
    components.group = "ExifIFD";
    components.id = 0x9101;
    components.value.kind = MetadataValue::Kind::Bytes;
    components.value.bytes = {1, 2, 3, 0};
    EXPECT_EQ(TagText(components), "Y, Cb, Cr, -");
    EXPECT_EQ(TagText(Textual("ExifIFD", 0x9000, "0232")), "0232");
    EXPECT_EQ(TagText(Textual("ExifIFD", 0x9003, "2024:05:01 10:00:00")), "2024:05:01 10:00:00");
}

// Enumerated tags written as FLOAT or DOUBLE can hold any number; found by
// the fuzzer as a conversion to int out of range.
TEST(TagText, CodesThatAreNoWholeNumberFallBackToTheValue) {
    for (double v : {4.4e175, -1e10, 2.5, std::numeric_limits<double>::quiet_NaN()}) {
        MetadataEntry e = Numeric("ExifIFD", 0x9207, {v});
        e.rawOverride = "raw";
        EXPECT_EQ(TagText(e), "raw") << v;
        e.id = 0x9209;
        EXPECT_EQ(TagText(e), "raw") << v;
    }
}

TEST(GpsPosition, DegreesMinutesSecondsAndDecimal) {
    EXPECT_EQ(DmsText(48.858222, true), "48° 51' 29.60\" N");
    EXPECT_EQ(DmsText(-33.8568, true), "33° 51' 24.48\" S");
    EXPECT_EQ(DmsText(2.2945, false), "2° 17' 40.20\" E");
    EXPECT_EQ(DmsText(-0.1276, false), "0° 7' 39.36\" W");
    // Seconds that round up carry into the minutes.
    EXPECT_EQ(DmsText(10.9999999, true), "11° 0' 0.00\" N");
}

TEST(GpsPosition, FoundFromTheGpsDirectoryWithItsReferences) {
    std::vector<MetadataEntry> entries = {
        Textual("GPS", 0x0001, "S"), Numeric("GPS", 0x0002, {33, 51, 24.48}),
        Textual("GPS", 0x0003, "W"), Numeric("GPS", 0x0004, {70, 30, 0}),
        Numeric("GPS", 0x0005, {1}), Numeric("GPS", 0x0006, {12.5}),
    };
    const std::optional<GpsPosition> p = FindGpsPosition(entries);
    ASSERT_TRUE(p.has_value());
    EXPECT_NEAR(p->latitude, -33.8568, 1e-9);
    EXPECT_NEAR(p->longitude, -70.5, 1e-9);
    ASSERT_TRUE(p->altitude.has_value());
    EXPECT_DOUBLE_EQ(*p->altitude, -12.5);
    EXPECT_EQ(GeoUri(*p), "geo:-33.856800,-70.500000,-12.5");
    EXPECT_EQ(DecimalPositionText(*p), "-33.856800, -70.500000");

    ApplyGpsTexts(entries, 0);
    EXPECT_EQ(entries[1].text, "33° 51' 24.48\" S (-33.8568)");
    EXPECT_EQ(entries[3].text, "70° 30' 0.00\" W (-70.5)");
    EXPECT_EQ(entries[5].text, "12.5 m below sea level");

    GpsPosition eiffel{48.858222, 2.2945, std::nullopt};
    EXPECT_EQ(GeoUri(eiffel), "geo:48.858222,2.294500");
}

TEST(GpsPosition, NoPositionWithoutBothCoordinatesOrOutOfRange) {
    EXPECT_FALSE(FindGpsPosition({Numeric("GPS", 0x0002, {48, 0, 0})}).has_value());
    EXPECT_FALSE(
        FindGpsPosition({Numeric("GPS", 0x0002, {95, 0, 0}), Numeric("GPS", 0x0004, {10, 0, 0})})
            .has_value());
    // The same numbers outside the GPS group are not a position.
    EXPECT_FALSE(
        FindGpsPosition({Numeric("IFD0", 0x0002, {48, 0, 0}), Numeric("IFD0", 0x0004, {2, 0, 0})})
            .has_value());
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(
        FindGpsPosition({Numeric("GPS", 0x0002, {inf}), Numeric("GPS", 0x0004, {1})}).has_value());
}

// The numbers written without printf must read as printf's "%.10g" did.
TEST(TagText, TenDigitsAsPrintfWritesThem) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {0,
                                  -0.0,
                                  1,
                                  -1,
                                  72,
                                  4.15,
                                  1e-7,
                                  1.0 / 3,
                                  -2.0 / 3,
                                  1e10,
                                  -1e10,
                                  9999999999,
                                  -9999999999,
                                  12345678901,
                                  1e15,
                                  1e21,
                                  1e300,
                                  4.9e-324,
                                  2.2250738585072014e-308,
                                  0.1 + 0.2,
                                  123456.7890123,
                                  nan,
                                  -nan,
                                  inf,
                                  -inf,
                                  4294967295,
                                  0.5,
                                  2.5e-5};
    // Rationals as cameras write them.
    for (int n = -5; n <= 400; n += 7)
        for (int d = 1; d <= 1000; d *= 3)
            values.push_back(static_cast<double>(n) / d);
    for (double v : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.10g", v);
        std::string text;
        AppendTenDigits(text, v);
        EXPECT_EQ(text, expected) << v;
    }
}

TEST(TagText, RawTextIsBuiltFromTheValue) {
    MetadataEntry rational = Numeric("ExifIFD", 0x829A, {0.004, -1.0 / 3});
    rational.value.fractions = {{1, 250}, {-1, 3}};
    EXPECT_EQ(RawText(rational), "1/250 -1/3");
    EXPECT_EQ(RawText(Numeric("IFD0", 0x0100, {6000, 0.5, -0.0})), "6000 0.5 -0");

    MetadataEntry many = Numeric("IFD0", 0x0111, {1, 2});
    many.value.truncated = true;
    EXPECT_EQ(RawText(many), "1 2 …");

    // Long lists, whose text outgrows any buffer it is written through.
    MetadataEntry longest = Numeric("IFD0", 0x0111, {});
    std::string fractions, numbers;
    for (int i = 0; i < 256; ++i) {
        longest.value.numbers.push_back(-1e15 - i);
        longest.value.fractions.push_back({-1000000000000000 - i, 1000000000000 + i});
        fractions += (i ? " " : "") + std::to_string(-1000000000000000 - i) + "/" +
                     std::to_string(1000000000000 + i);
        numbers += i ? " -1e+15" : "-1e+15";
    }
    EXPECT_EQ(RawText(longest), fractions);
    longest.value.fractions.clear();
    EXPECT_EQ(RawText(longest), numbers);
    // Quotients, where no tag gives a text of its own; the non-finite named.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(
        TagText(Numeric("IFD0", -1, {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 2.5})),
        "undefined inf -inf 2.5");

    MetadataEntry bytes;
    bytes.value.kind = MetadataValue::Kind::Bytes;
    bytes.value.bytes = {0x00, 0xFF, 0x10};
    EXPECT_EQ(RawText(bytes), "00 FF 10");
    // The first sixteen bytes of more.
    bytes.value.bytes.assign(17, 0xAB);
    const std::string sixteen = RawText(bytes);
    EXPECT_EQ(sixteen.size(), 16 * 3 - 1 + std::string(" …").size());
    EXPECT_EQ(sixteen.substr(sixteen.size() - 6), "AB …");

    EXPECT_EQ(RawText(Textual("IFD0", 0x010F, "Canon")), "Canon");
    bytes.rawOverride = "(1234 bytes)";
    EXPECT_EQ(RawText(bytes), "(1234 bytes)");
    EXPECT_EQ(RawText(MetadataEntry{}), "");
}

// Values no camera writes were once cut to printf's buffer: a huge exposure
// bias read "+1 EV", a tiny exposure time lost its unit.
TEST(TagText, HugeAndTinyValuesAreWrittenInFull) {
    const std::string huge = TagText(Numeric("ExifIFD", 0x9204, {1e300}));
    EXPECT_EQ(huge.size(), 1 + 301 + 3u) << huge;
    EXPECT_EQ(huge.substr(0, 2), "+1");
    EXPECT_EQ(huge.substr(huge.size() - 3), " EV");
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0x9204, {-0.3333})), "-0.33 EV");
    EXPECT_EQ(TagText(Numeric("ExifIFD", 0x9204, {0.001})), "+0 EV");

    // 1/1e-300 is a little under 10^300: 300 digits.
    const std::string tiny = ExposureText(1e-300);
    EXPECT_EQ(tiny.substr(0, 6), "1/9999");
    EXPECT_EQ(tiny.substr(tiny.size() - 2), " s");
    EXPECT_EQ(tiny.size(), 2 + 300 + 2u) << tiny;
    // 1e300 is a little over 10^300: 301 digits.
    const std::string slow = ExposureText(1e300);
    EXPECT_EQ(slow.substr(0, 18), "100000000000000005");
    EXPECT_EQ(slow.size(), 301 + 2u) << slow;
    EXPECT_EQ(FNumberText(1e20), "f/100000000000000000000");
    EXPECT_EQ(ExposureText(1.0 / 3200), "1/3200 s");
    EXPECT_EQ(ExposureText(0.30000001), "0.3 s");
}

// A name from the tables is held as a view, any other as its own text; both
// read, compare, copy and print alike.
TEST(EntryName, ConstantAndOwnNamesReadAlike) {
    EntryName name;
    EXPECT_TRUE(name.empty());
    name.SetConstant("ExposureTime");
    EXPECT_EQ(name, "ExposureTime");
    const EntryName copy = name;
    name = std::string("dc:subject[1]");
    EXPECT_EQ(name, "dc:subject[1]");
    EXPECT_EQ(copy, "ExposureTime");
    EXPECT_EQ(std::string(copy) + "/" + std::string(name), "ExposureTime/dc:subject[1]");
    name.SetConstant("");
    EXPECT_TRUE(name.empty());
    name = "Tag0x9A01";
    EXPECT_EQ(name.size(), 9u);
    std::ostringstream printed;
    printed << copy << ' ' << name;
    EXPECT_EQ(printed.str(), "ExposureTime Tag0x9A01");
}

// The quick way of writing a fixed number must give printf's digits, ties
// and values next to them included.
TEST(TagText, FixedDecimalsAsPrintfWritesThem) {
    const auto printed = [](double v, int decimals) {
        char text[512];
        std::snprintf(text, sizeof text, "%.*f", decimals, v);
        return std::string(text);
    };
    const double hard[] = {
        0.0,      -0.0,      0.125,           0.375,      2.5,        3.5,
        -2.5,     1.005,     2.675,           0.045,      -0.04,      1e-7,
        123456.5, 0.1 + 0.2, 1099511627775.5, 1e12,       1e15 + 0.3, 4503599627370497.0,
        1e300,    99.95,     -0.000001,       72.0 / 3.0, 1.0 / 3.0,  5e-324};
    for (const double v : hard)
        for (int decimals = 0; decimals <= 8; ++decimals)
            EXPECT_EQ(FixedDecimalsText(v, decimals), printed(v, decimals)) << v << " " << decimals;
    // Values camera files give: quotients of small whole numbers.
    for (int num = -2000; num <= 2000; num += 7)
        for (int den = 1; den <= 1000; den += 13)
            for (int decimals = 0; decimals <= 6; decimals += 1) {
                const double v = double(num) / den;
                ASSERT_EQ(FixedDecimalsText(v, decimals), printed(v, decimals))
                    << num << "/" << den;
            }
}
