#include "presentation/EightBitText.h"
#include "tests/presentation/RowsTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace {

std::string MakeText(const char* bytes) {
    ExifSummary r = BlankRecord();
    std::strncpy(r.cameraMake, bytes, sizeof r.cameraMake - 1);
    return RowValue(r, "Camera make").value_or("<no row>");
}

std::string CommentText(const char* bytes) {
    ExifSummary r = BlankRecord();
    std::strncpy(r.comment, bytes, sizeof r.comment - 1);
    return RowValue(r, "Comment").value_or("<no row>");
}

} // namespace

TEST(RowText, ValidUtf8StaysAsItIs) {
    EXPECT_EQ(MakeText("Nikon \xC3\x9C \xE2\x82\xAC \xF0\x9F\x93\xB7"),
              "Nikon \xC3\x9C \xE2\x82\xAC \xF0\x9F\x93\xB7");
}

TEST(RowText, AnythingElseIsReadAsLatin1) {
    EXPECT_EQ(MakeText("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(MakeText("\xFF"), "\xC3\xBF");
    // One bad byte makes the whole field Latin-1, the valid pair included.
    EXPECT_EQ(MakeText("\xC3\x9C\xFF"), "\xC3\x83\xC2\x9C\xC3\xBF");
    for (const char* invalid : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ab\xE2\x82"})
        EXPECT_FALSE(IsUtf8(invalid)) << invalid;
}

TEST(RowText, EachFieldIsJudgedOnItsOwn) {
    ExifSummary r = BlankRecord();
    std::strcpy(r.cameraMake, "\xC3\xA9");
    std::strcpy(r.cameraModel, "\xE9");
    std::strcpy(r.comment, "\xE9\n\xC3\xA9");
    EXPECT_EQ(RowValue(r, "Camera make"), "\xC3\xA9");
    EXPECT_EQ(RowValue(r, "Camera model"), "\xC3\xA9");
    EXPECT_EQ(RowValue(r, "Comment"), "\xC3\xA9\n \xC3\x83\xC2\xA9");
}

TEST(RowText, UnterminatedFieldsAreReadOnlyToTheirEnd) {
    ExifSummary r = BlankRecord();
    std::memset(r.cameraMake, 'A', sizeof r.cameraMake);
    std::memset(r.comment, 'c', sizeof r.comment);
    r.comment[sizeof r.comment - 1] = '\n';
    EXPECT_EQ(RowValue(r, "Camera make"), std::string(sizeof r.cameraMake, 'A'));
    EXPECT_EQ(RowValue(r, "Comment"), std::string(sizeof r.comment - 1, 'c'));
}

TEST(CommentRow, ContinuationLinesAreIndentedAndTheLastLineFeedDropped) {
    EXPECT_EQ(CommentText("first\nsecond\n"), "first\n second");
    EXPECT_EQ(CommentText("a\n\nb"), "a\n \n b");
    EXPECT_EQ(CommentText("\n"), "");
}

// Values a damaged or hostile file can carry: the rows stay well defined.
TEST(HostileValues, ExposureTimeWithoutAUsableReciprocal) {
    ExifSummary r = BlankRecord();
    r.exposureTime = -0.004f;
    EXPECT_EQ(RowValue(r, "Exposure Time"), "-0.004 s ");
    r.exposureTime = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(RowValue(r, "Exposure Time"), "   nan s ");
    r.exposureTime = std::numeric_limits<float>::denorm_min();
    const std::string tiny = RowValue(r, "Exposure Time").value();
    EXPECT_EQ(tiny.substr(0, 5), "1/713"); // 1 / 1.4e-45 is about 7.1e44
    EXPECT_EQ(tiny.size(), 2u + 45u);
}

TEST(HostileValues, QuotientsBeyondTheIntegerRange) {
    ExifSummary r = BlankRecord();
    r.focalLength = 50, r.ccdWidth = 1e-30f;
    const std::string huge = RowValue(r, "35mm Equivalent").value(); // about 1.8e33
    EXPECT_EQ(huge.find_first_not_of("0123456789"), 34u);
    EXPECT_EQ(huge.substr(34), "mm");
    r.focalLength = -0.1f, r.ccdWidth = 5; // rounds to zero, not "-0"
    EXPECT_EQ(RowValue(r, "35mm Equivalent"), "0mm");
    r.isoEquivalent = INT_MIN, r.width = INT_MAX;
    EXPECT_EQ(RowValue(r, "ISO Equiv"), "-2147483648");
    EXPECT_EQ(RowValue(r, "Width and Height"), "2147483647 ,0");
}
