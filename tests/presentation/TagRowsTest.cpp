#include "tests/presentation/RowsTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

using Rows = std::vector<std::string>;

TEST(TagRowSelection, EmptyRecordShowsOnlyTheFourAlwaysRows) {
    const std::vector<TagRow> rows = BuildTagRows(BlankRecord());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label, "Width and Height");
    EXPECT_EQ(rows[0].value, "0 ,0");
    EXPECT_EQ(rows[1].value, "No");
    EXPECT_EQ(rows[2].value, "Unknown");
    EXPECT_EQ(rows[3].label, "Comment");
    EXPECT_EQ(rows[3].value, "");
}

TEST(TagRowSelection, FullRecordGivesAllRowsInFixedOrder) {
    ExifSummary r = BlankRecord();
    std::strcpy(r.cameraMake, "Canon");
    std::strcpy(r.cameraModel, "Canon PowerShot S40");
    std::strcpy(r.dateTime, "2003:12:14 12:01:44");
    std::strcpy(r.exifVersion, "0220");
    r.resolutionUnit = 1, r.xResolution = 180, r.yResolution = 180;
    r.orientation = 6, r.flashUsed = 1, r.focalLength = 21.3f, r.ccdWidth = 7.1f;
    r.exposureTime = 0.002f, r.brightness = 9.5f, r.fNumber = 4.9f, r.subjectDistance = 3;
    r.isoEquivalent = 100, r.exposureBias = 1, r.lightSource = 1, r.meteringMode = 2;
    r.exposureProgram = 2, r.jpegQuality = 4, r.encodingProcess = 0xC0;
    const auto& labels = TagRowLabels();
    EXPECT_EQ(RowLabels(r), Rows(labels.begin(), labels.end()));
}

TEST(TagRowSelection, CameraModelStandsOnItsOwn) {
    ExifSummary r = BlankRecord();
    std::strcpy(r.cameraModel, "DSC-RX100");
    EXPECT_EQ(RowValue(r, "Camera model"), "DSC-RX100");
    EXPECT_EQ(RowValue(r, "Camera make"), std::nullopt);

    r = BlankRecord();
    std::strcpy(r.cameraMake, "SONY");
    EXPECT_EQ(RowValue(r, "Camera make"), "SONY");
    EXPECT_EQ(RowValue(r, "Camera model"), std::nullopt);
}

TEST(TagRowSelection, ConditionalRowsNeedTheirWholeCondition) {
    ExifSummary r = BlankRecord();
    r.xResolution = 72, r.yResolution = 72; // no unit
    r.orientation = 1;
    r.ccdWidth = 5.27f; // no focal length
    EXPECT_EQ(RowLabels(r),
              Rows({"Width and Height", "Flash Used", "CCD width", "Encoding", "Comment"}));
}

TEST(TagRowFormats, ValuesKeepTheirPrintfShapes) {
    ExifSummary r = BlankRecord();
    r.width = 4000, r.height = 3000;
    r.resolutionUnit = 1, r.xResolution = 72, r.yResolution = 300;
    r.focalLength = 5.8f, r.ccdWidth = 5.27f;
    r.subjectDistance = 2.5f, r.fNumber = 2.8f, r.brightness = -1.25f;
    r.exposureBias = -0.33f, r.isoEquivalent = 5;
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Width and Height", "4000 ,3000"},
        {"X Resolution (dpi)", " 72.0"},
        {"Y Resolution (dpi)", "300.0"},
        {"Focal length", " 5.8mm"},
        {"35mm Equivalent", "40mm"},
        {"CCD width", "5.27mm"},
        {"Focus Dist", "2.50m"},
        {"Aperture", "f/2.8"},
        {"Brightness", "-1.250"},
        {"Exposure bias", "-0.33"},
        {"ISO Equiv", " 5"},
    };
    for (const auto& [label, value] : expected)
        EXPECT_EQ(RowValue(r, label), value) << label;

    r.focalLength = 7.4f;
    EXPECT_EQ(RowValue(r, "35mm Equivalent"), "51mm");
    r.subjectDistance = -1;
    EXPECT_EQ(RowValue(r, "Focus Dist"), "Infinite");
    r.resolutionUnit = 0.39370078f, r.xResolution = 118.11f; // pixels per centimetre
    EXPECT_EQ(RowValue(r, "X Resolution (dpi)"), "300.0");
}

TEST(TagRowFormats, ExposureTimeSwitchesToSecondsAboveHalfASecond) {
    const std::vector<std::pair<float, std::string>> cases = {
        {0.004f, "1/250"},
        {1.0f / 60, "1/60"},
        {0.5f, "1/2"},
        {0.6f, " 0.600 s "},
        {2.0f, " 2.000 s "},
        // 0.4f lies just above 0.4, so its reciprocal in double stays below 2.5.
        {0.4f, "1/2"},
    };
    for (const auto& [seconds, text] : cases) {
        ExifSummary r = BlankRecord();
        r.exposureTime = seconds;
        EXPECT_EQ(RowValue(r, "Exposure Time"), text) << seconds;
    }
}

TEST(TagRowNames, CodesShowTheirNamesAndUnknownCodesTheirNumber) {
    struct Case {
        int32_t ExifSummary::*field;
        const char* label;
        int32_t code;
        const char* text;
    };
    const Case cases[] = {
        {&ExifSummary::lightSource, "Whitebalance", 1, "sunny"},
        {&ExifSummary::lightSource, "Whitebalance", 3, "Incandescent"},
        {&ExifSummary::lightSource, "Whitebalance", 4, "Flash"},
        {&ExifSummary::lightSource, "Whitebalance", 10, "Cloudy"},
        {&ExifSummary::lightSource, "Whitebalance", 255, "Other light source"},
        {&ExifSummary::lightSource, "Whitebalance", 5, "5"},
        {&ExifSummary::lightSource, "Whitebalance", -1, "-1"},
        {&ExifSummary::meteringMode, "Metering Mode", 1, "Average"},
        {&ExifSummary::meteringMode, "Metering Mode", 255, "Other"},
        {&ExifSummary::meteringMode, "Metering Mode", 7, "7"},
        {&ExifSummary::exposureProgram, "Exposure", 1, "Manual"},
        {&ExifSummary::exposureProgram, "Exposure", 9, "9"},
        {&ExifSummary::jpegQuality, "Jpeg Quality", 3, "3"},
        {&ExifSummary::orientation, "Orientation", 6, "Rotate 90 CW"},
        {&ExifSummary::orientation, "Orientation", 9, "9"},
        {&ExifSummary::encodingProcess, "Encoding", 0xCF,
         "Differential lossless, arithmetic coding"},
        {&ExifSummary::encodingProcess, "Encoding", 0xC4, "Unknown"},
    };
    for (const Case& c : cases) {
        ExifSummary r = BlankRecord();
        r.*c.field = c.code;
        EXPECT_EQ(RowValue(r, c.label), c.text) << c.label << " " << c.code;
    }
}
