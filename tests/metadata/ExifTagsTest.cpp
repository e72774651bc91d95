#include "tests/metadata/ReaderTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;

namespace {

constexpr uint16_t kUserComment = 0x9286;

TEST(ExifTags, CameraBlockFillsTheRecord) {
    ParsedBlock p(CameraExif(ByteOrder::Little).Payload());
    ASSERT_TRUE(p.ok);
    const ExifSummary& r = p.record;
    EXPECT_STREQ(r.cameraModel, "Test Camera 100");
    EXPECT_STREQ(r.exifVersion, "0220");
    EXPECT_STREQ(r.dateTime, "2026:12:07 10:30:00");
    EXPECT_EQ(r.orientation, 6);
    EXPECT_FLOAT_EQ(r.xResolution, 72); // the thumbnail directory's value comes later
    EXPECT_FLOAT_EQ(r.yResolution, 300);
    EXPECT_FLOAT_EQ(r.resolutionUnit, 1);
    EXPECT_FLOAT_EQ(r.exposureTime, 0.008f);
    EXPECT_FLOAT_EQ(r.fNumber, 2.8f);
    EXPECT_EQ(r.exposureProgram, 2);
    EXPECT_EQ(r.isoEquivalent, 200);
    EXPECT_EQ(r.jpegQuality, 2); // 5/2 truncated
    EXPECT_FLOAT_EQ(r.brightness, -1.25f);
    EXPECT_FLOAT_EQ(r.exposureBias, -1.0f / 3);
    EXPECT_EQ(r.meteringMode, 5);
    EXPECT_EQ(r.lightSource, 1);
    EXPECT_EQ(r.flashUsed, 1);
    EXPECT_STREQ(r.comment, "Hi");
    EXPECT_FLOAT_EQ(r.focalPlaneXResolution, 3000);
    EXPECT_FLOAT_EQ(r.focalPlaneYResolution, 3000);
    EXPECT_FLOAT_EQ(r.focalPlaneUnit, 25.4f);
    EXPECT_NEAR(r.ccdWidth, 17.3397, 1e-4); // 25.4 mm x 2048 / 3000
}

TEST(ExifTags, OrientationOutsideOneToEightIsDropped) {
    for (uint16_t value : {0, 9}) {
        ExifBuilder exif;
        exif.Short(0, 0x0112, value);
        ParsedBlock p(exif.Payload());
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.record.orientation, 0);
        EXPECT_EQ(p.Error(), "Undefined rotation value"); // kept although the block succeeds
    }
}

TEST(ExifTags, ApexValuesFillOnlyMissingExposureAndAperture) {
    ExifBuilder apex;
    apex.SRational(0, 0x9201, 7, 1).Rational(0, 0x9202, 4, 1);
    ParsedBlock p(apex.Payload());
    EXPECT_FLOAT_EQ(p.record.exposureTime, 0.0078125f);
    EXPECT_FLOAT_EQ(p.record.fNumber, 4.0f);

    ExifBuilder maxAperture;
    maxAperture.Rational(0, 0x9205, 3, 1);
    EXPECT_NEAR(ParsedBlock(maxAperture.Payload()).record.fNumber, 2.8284, 1e-4);

    ExifBuilder both;
    both.Rational(0, 0x829A, 1, 125)
        .Rational(0, 0x829D, 56, 10)
        .SRational(0, 0x9201, 7, 1)
        .Rational(0, 0x9202, 4, 1);
    ParsedBlock q(both.Payload());
    EXPECT_FLOAT_EQ(q.record.exposureTime, 0.008f);
    EXPECT_FLOAT_EQ(q.record.fNumber, 5.6f);
}

TEST(ExifTags, UnitTablesAndSensorWidth) {
    const struct {
        uint16_t code;
        float inches;
        float millimetres;
    } cases[] = {{1, 1, 25.4f},
                 {2, 1, 25.4f},
                 {3, 0.39370078f, 10},
                 {4, 0.039370079f, 1},
                 {5, 0.000039370079f, 0.001f},
                 {7, 0, 0}}; // an unknown code changes nothing
    for (const auto& c : cases) {
        ExifBuilder exif;
        exif.Short(0, 0x0128, c.code).Short(0, 0xA210, c.code);
        ParsedBlock p(exif.Payload());
        EXPECT_FLOAT_EQ(p.record.resolutionUnit, c.inches) << c.code;
        EXPECT_FLOAT_EQ(p.record.focalPlaneUnit, c.millimetres) << c.code;
    }

    ExifBuilder noResolution;
    noResolution.Short(0, 0xA210, 2).Long(0, 0xA002, 2048);
    EXPECT_EQ(ParsedBlock(noResolution.Payload()).record.ccdWidth, 0);
}

TEST(ExifTags, IsoSpeedIsStoredAsRecorded) {
    // Phones record speeds of 20 to 40; they are not scaled.
    for (uint16_t iso : {25, 49, 50, 3200}) {
        ExifBuilder exif;
        exif.Short(0, 0x8827, iso);
        EXPECT_EQ(ParsedBlock(exif.Payload()).record.isoEquivalent, iso);
    }
}

TEST(ExifTags, FlashFiredFromTheLowThreeBits) {
    for (auto [value, fired] : {std::pair{0x10, 0}, {0x19, 1}, {0x18, 0}, {0x04, 1}}) {
        ExifBuilder exif;
        exif.Short(0, 0x9209, static_cast<uint16_t>(value));
        EXPECT_EQ(ParsedBlock(exif.Payload()).record.flashUsed, fired) << value;
    }
}

TEST(ExifTags, SubjectDistanceAtInfinityReadsNegative) {
    ExifBuilder exif;
    exif.Rational(0, 0x9206, 0xFFFFFFFF, 1);
    EXPECT_FLOAT_EQ(ParsedBlock(exif.Payload()).record.subjectDistance, -1);
}

Bytes Comment(const std::string& code, const Bytes& text) {
    Bytes value(code.begin(), code.end());
    value.resize(8, 0);
    value.insert(value.end(), text.begin(), text.end());
    return value;
}

std::string UserComment(const Bytes& value, ByteOrder order = ByteOrder::Little,
                        const char* before = "") {
    ExifBuilder exif(order);
    exif.Undefined(0, kUserComment, value);
    ParsedBlock p(exif.Payload());
    std::strcpy(p.record.comment, before);
    p.ok = p.reader.ParseExifBlock(p.bytes.get(), static_cast<int>(p.size) + 2);
    return p.record.comment;
}

TEST(ExifTags, UserCommentInAsciiAndOtherCodes) {
    EXPECT_EQ(UserComment(Comment("ASCII", {'H', 'e', 'l', 'l', 'o', ' ', ' ', ' '})), "Hello");
    EXPECT_EQ(UserComment(Comment("ASCII", {})), "");
    EXPECT_EQ(UserComment(Comment("JIS", {'x'})), "JIS");
    EXPECT_EQ(UserComment(Comment("", {'x'})), "");
    EXPECT_EQ(UserComment({'a', 'b', 'c', 'd'}), "abcd"); // inline, no terminator

    // At most 199 characters, also over a longer comment read before.
    const std::string longer(600, 'p');
    const Bytes text(300, 'x');
    EXPECT_EQ(UserComment(Comment("ASCII", text), ByteOrder::Little, longer.c_str()),
              std::string(199, 'x'));
}

Bytes Ucs2(const std::vector<uint16_t>& units, ByteOrder order) {
    Bytes out;
    for (uint16_t u : units) {
        unsigned char hi = static_cast<unsigned char>(u >> 8), lo = static_cast<unsigned char>(u);
        if (order == ByteOrder::Big)
            out.insert(out.end(), {hi, lo});
        else
            out.insert(out.end(), {lo, hi});
    }
    return out;
}

TEST(ExifTags, UserCommentInUnicodeBecomesUtf8) {
    for (ByteOrder order : kBothOrders) {
        auto decode = [order](const std::vector<uint16_t>& units) {
            return UserComment(Comment("UNICODE", Ucs2(units, order)), order);
        };
        EXPECT_EQ(decode({'G', 0x00FC, 0x00DF, 0x20AC}), "G\xC3\xBC\xC3\x9F\xE2\x82\xAC");
        EXPECT_EQ(decode({0xD83D, 0xDE00, '!'}), "\xF0\x9F\x98\x80!"); // surrogate pair
        EXPECT_EQ(decode({0xDE00, 'a', 0xD83D}), "\xEF\xBF\xBD"
                                                 "a\xEF\xBF\xBD"); // lone halves
        EXPECT_EQ(decode({'o', 'k', 0, 'x'}), "ok");
        // Trailing space characters go, a final U+2020 (bytes 20 20) stays whole.
        EXPECT_EQ(decode({'a', ' ', ' '}), "a");
        EXPECT_EQ(decode({'a', 0x2020}), "a\xE2\x80\xA0");
    }
    // Never a split character: 100 two-byte letters give 99 of them.
    std::vector<uint16_t> many(100, 0x00E9);
    std::string expected;
    for (int i = 0; i < 99; ++i)
        expected += "\xC3\xA9";
    EXPECT_EQ(UserComment(Comment("UNICODE", Ucs2(many, ByteOrder::Little))), expected);
    // An odd trailing byte is no character.
    Bytes odd = Comment("UNICODE", Ucs2({'h', 'i'}, ByteOrder::Little));
    odd.push_back('z');
    EXPECT_EQ(UserComment(odd), "hi");
}

} // namespace
