#include "tests/metadata/ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace readertest;

namespace {

constexpr uint16_t kXResolution = 0x011A;     // stored as a number
constexpr uint16_t kExposureProgram = 0x8822; // stored as an integer

struct Conversion {
    const char* name;
    std::function<void(ExifBuilder&)> add;
    double expected;
};

TEST(ExifValues, ConvertsEveryFormatInBothByteOrders) {
    const uint16_t t = kXResolution;
    const Conversion cases[] = {
        {"BYTE", [&](ExifBuilder& b) { b.Byte(0, t, 200); }, 200},
        {"ASCII", [&](ExifBuilder& b) { b.Ascii(0, t, "12"); }, 0},
        {"SHORT", [&](ExifBuilder& b) { b.Short(0, t, 65535); }, 65535},
        {"LONG", [&](ExifBuilder& b) { b.Long(0, t, 0xFFFFFFFF); }, 4294967295.0},
        {"RATIONAL", [&](ExifBuilder& b) { b.Rational(0, t, 3, 2); }, 1.5},
        {"RATIONAL/0", [&](ExifBuilder& b) { b.Rational(0, t, 1, 0); }, 0},
        {"RATIONAL high bit", [&](ExifBuilder& b) { b.Rational(0, t, 0xFFFFFFFF, 1); },
         4294967295.0},
        {"SBYTE", [&](ExifBuilder& b) { b.SByte(0, t, -5); }, -5},
        {"UNDEFINED", [&](ExifBuilder& b) { b.Undefined(0, t, {7}); }, 0},
        {"SSHORT", [&](ExifBuilder& b) { b.SShort(0, t, -2); }, -2},
        {"SLONG", [&](ExifBuilder& b) { b.SLong(0, t, -7); }, -7},
        {"SRATIONAL", [&](ExifBuilder& b) { b.SRational(0, t, -1, 3); }, -1.0 / 3},
        {"FLOAT", [&](ExifBuilder& b) { b.Float(0, t, 1.25f); }, 1.25},
        {"DOUBLE", [&](ExifBuilder& b) { b.Double(0, t, 1e10); }, 1e10},
    };
    for (const Conversion& c : cases) {
        for (ByteOrder order : kBothOrders) {
            ExifBuilder exif(order);
            c.add(exif);
            ParsedBlock p(exif.Payload());
            EXPECT_TRUE(p.ok) << c.name;
            EXPECT_FLOAT_EQ(p.record.xResolution, static_cast<float>(c.expected)) << c.name;
        }
    }
}

TEST(ExifValues, BothByteOrdersGiveEqualRecords) {
    ParsedBlock little(CameraExif(ByteOrder::Little).Payload());
    ParsedBlock big(CameraExif(ByteOrder::Big).Payload());
    ASSERT_TRUE(little.ok);
    ASSERT_TRUE(big.ok);
    EXPECT_TRUE(SameRecord(little.record, big.record));
    EXPECT_FLOAT_EQ(big.record.focalLength, 5.8f);     // FLOAT
    EXPECT_FLOAT_EQ(big.record.subjectDistance, 2.5f); // DOUBLE
}

TEST(ExifValues, ClampsIntegersToTheInt32Range) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        int32_t expected;
    } cases[] = {
        {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {nan, 0}, {-7.9, -7}, {4294967295.0, INT32_MAX}};
    for (const auto& c : cases) {
        ExifBuilder exif;
        exif.Double(0, kExposureProgram, c.value);
        ParsedBlock p(exif.Payload());
        EXPECT_EQ(p.record.exposureProgram, c.expected) << c.value;
    }
}

TEST(ExifValues, ConversionNeverReadsPastTheBlock) {
    // A RATIONAL of count 0 is "inline", yet its eight bytes would run past the
    // end: the last entry ends the block, without a next-directory offset.
    for (ByteOrder order : kBothOrders) {
        ExifBuilder exif(order);
        exif.Add(0, RawEntry(kXResolution, fixture::kRational, 0, {1, 1, 1, 1}));
        Bytes payload = exif.Payload();
        payload.resize(payload.size() - 4);
        ParsedBlock p(payload);
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.record.xResolution, 0);
    }
}

TEST(ExifValues, TextCopiesStopAtFieldWidthAndByteCount) {
    ExifBuilder exif;
    exif.Ascii(0, 0x010F, std::string(40, 'M'))
        .Ascii(0, 0x0110, std::string(39, 'm'))
        .Ascii(0, 0x9003, "2026:01:02 03:04:05", false)
        .Undefined(0, 0x9000, {'0', '2', '3', '2'});
    ParsedBlock p(exif.Payload());
    EXPECT_EQ(std::string(p.record.cameraMake), std::string(31, 'M'));
    EXPECT_EQ(std::string(p.record.cameraModel), std::string(39, 'm'));
    EXPECT_STREQ(p.record.dateTime, "2026:01:02 03:04:05");
    EXPECT_STREQ(p.record.exifVersion, "0232");

    // A text without its terminating zero stops at its own byte count, not
    // at the value laid out right after it.
    ExifBuilder unterminated;
    unterminated.Ascii(0, 0x010F, "Canon EOS", false).Ascii(0, 0x0110, "EOS R5 body");
    ParsedBlock q(unterminated.Payload());
    EXPECT_STREQ(q.record.cameraMake, "Canon EOS");
    EXPECT_STREQ(q.record.cameraModel, "EOS R5 body");
}

} // namespace
