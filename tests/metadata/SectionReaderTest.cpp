#include "tests/metadata/ReaderTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;

namespace {

// The smallest EXIF payload: one Orientation entry of 6, little-endian.
const Bytes kOrientationPayload = {0x45, 0x78, 0x69, 0x66, 0x00, 0x00, 0x49, 0x49, 0x2A, 0x00, 0x08,
                                   0x00, 0x00, 0x00, 0x01, 0x00, 0x12, 0x01, 0x03, 0x00, 0x01, 0x00,
                                   0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

Bytes Dqt() {
    return Bytes(65, 1);
}

TEST(SectionReader, RejectsAnythingButStartOfImageSilently) {
    for (const Bytes& file : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xD9}, Bytes{0x00, 0xD8}}) {
        ReadFile r(file);
        EXPECT_FALSE(r.ok);
        EXPECT_STREQ(r.reader.LastError(), "");
        EXPECT_EQ(r.reader.SectionCount(), 0);
        EXPECT_EQ(r.sink.printed, "");
    }
}

TEST(SectionReader, ReadsTheSmallestCompleteFile) {
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, kOrientationPayload).BareSos();
    ReadFile r(jpeg.Data());
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.Markers(), (std::vector<int>{0xE1, 0xDA}));
    EXPECT_EQ(r.reader.Section(0).size, 34);
    EXPECT_EQ(r.reader.Section(0).data[0], 0);
    EXPECT_EQ(r.reader.Section(0).data[1], 34);
    EXPECT_TRUE(r.record.exifValid);
    EXPECT_EQ(r.record.orientation, 6);
}

TEST(SectionReader, ReadsACameraFile) {
    for (ByteOrder order : kBothOrders) {
        ReadFile r(CameraFile(order));
        EXPECT_TRUE(r.ok);
        // APP0 is discarded; everything else up to the start of scan is kept.
        EXPECT_EQ(r.Markers(), (std::vector<int>{0xE1, 0xFE, 0xDB, 0xC0, 0xC4, 0xC4, 0xDA}));
        EXPECT_TRUE(r.record.exifValid);
        EXPECT_EQ(r.record.width, 64);
        EXPECT_EQ(r.record.height, 48);
        EXPECT_EQ(r.record.isColor, 1);
        EXPECT_EQ(r.record.encodingProcess, 0xC0);
        EXPECT_STREQ(r.record.cameraMake, "Velmora");
        EXPECT_STREQ(r.record.comment, "after"); // the COM after the EXIF block wins
        // The thumbnail lies inside the kept APP1 buffer and is a JPEG itself.
        const JpegSection& app1 = r.reader.Section(0);
        ASSERT_NE(r.record.thumbnailData, nullptr);
        EXPECT_GT(r.record.thumbnailData, app1.data);
        EXPECT_LE(r.record.thumbnailData + r.record.thumbnailLength, app1.data + app1.size);
        EXPECT_EQ(r.record.thumbnailData[0], 0xFF);
        EXPECT_EQ(r.record.thumbnailData[1], 0xD8);
        // Only the EXIF block, the comment and the frame header are read;
        // the tables and the start of scan are listed by their sizes.
        for (int i = 0; i < r.reader.SectionCount(); ++i) {
            const JpegSection& s = r.reader.Section(i);
            const bool read = s.marker == 0xE1 || s.marker == 0xFE || s.marker == 0xC0;
            EXPECT_EQ(s.data != nullptr, read) << s.marker;
            EXPECT_GE(s.size, 2) << s.marker;
        }
    }
}

TEST(SectionReader, AcceptsSixFillBytesButNotSeven) {
    auto file = [](int fill) {
        JpegBuilder jpeg;
        jpeg.Soi().Raw(Bytes(fill, 0xFF)).Raw({0xE1, 0x00, 0x22}).Raw(kOrientationPayload);
        return jpeg.BareSos().Data();
    };
    ReadFile six(file(6));
    EXPECT_TRUE(six.ok);
    EXPECT_EQ(six.record.orientation, 6);

    ReadFile seven(file(7));
    EXPECT_FALSE(seven.ok);
    EXPECT_EQ(seven.sink.printed, "too many padding unsigned chars\n");
    EXPECT_STREQ(seven.reader.LastError(), "");

    // A marker code with no 0xFF before it is taken as it stands.
    ReadFile bare(JpegBuilder().Soi().Raw({0xDA, 0x00, 0x02}).Data());
    EXPECT_TRUE(bare.ok);
}

TEST(SectionReader, FailsOnBadLengthsAndEndsOfFile) {
    struct Case {
        Bytes tail;
        const char* error;
    } cases[] = {
        {{}, "invalid marker"},                       // ends after a complete segment
        {{0xFF, 0xD9}, "invalid marker"},             // end of image ends the file
        {{0xFF, 0xDB, 0x00, 0x01}, "invalid marker"}, // length below 2
        {{0xFF, 0xDB, 0x01}, "invalid marker"},       // file ends inside the length
        {{0xFF, 0xDB, 0x00, 0x10, 1, 2, 3}, "Premature end of file?"},
    };
    for (const Case& c : cases) {
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xDB, Dqt()).Raw(c.tail);
        ReadFile r(jpeg.Data());
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.Error(), c.error);
        EXPECT_EQ(r.reader.SectionCount(), 1); // the short segment is not kept
    }
}

TEST(SectionReader, EndOfImageBeforeScanKeepsEarlierExif) {
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, kOrientationPayload).Segment(0xD9, {});
    ReadFile r(jpeg.Data());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.sink.printed, "No image in jpeg!\n");
    EXPECT_STREQ(r.reader.LastError(), "");
    EXPECT_EQ(r.Markers(), (std::vector<int>{0xE1, 0xD9}));
    EXPECT_TRUE(r.record.exifValid);
}

TEST(SectionReader, KeepsAtMostTwentySegments) {
    auto file = [](int kept, bool scan) {
        JpegBuilder jpeg;
        jpeg.Soi();
        for (int i = 0; i < kept; ++i) {
            jpeg.Segment(0xDB, Dqt());
            jpeg.Segment(0xE0, {}).Segment(0xE1, {'x', 'm', 'p'}); // discarded, take no slot
        }
        if (scan)
            jpeg.BareSos();
        return jpeg.Data();
    };
    ReadFile nineteen(file(19, true));
    EXPECT_TRUE(nineteen.ok);
    EXPECT_EQ(nineteen.reader.SectionCount(), 20);

    ReadFile twenty(file(20, true));
    EXPECT_FALSE(twenty.ok);
    EXPECT_EQ(twenty.Error(), "Too many sections in jpg file");
    EXPECT_EQ(twenty.reader.SectionCount(), 20);
}

TEST(SectionReader, StoresOnlyTheFirstCommentWithItsControlBytesMapped) {
    JpegBuilder jpeg;
    jpeg.Soi()
        .Segment(0xFE, {'a', '\r', '\n', 'b', '\r', 'c', 0x01, '\t', 0x7F, 0xE9})
        .Comment("second")
        .BareSos();
    ReadFile r(jpeg.Data());
    EXPECT_TRUE(r.ok);
    EXPECT_STREQ(r.record.comment, "a\nb?c?\t\x7F\xE9");
    EXPECT_EQ(r.Markers(), (std::vector<int>{0xFE, 0xDA}));
    EXPECT_FALSE(r.record.exifValid);

    // A CR that is the segment's last byte has no line feed after it.
    ReadFile last(JpegBuilder().Soi().Segment(0xFE, {'x', '\r'}).BareSos().Data());
    EXPECT_STREQ(last.record.comment, "x?");

    // Zero bytes that end the segment are a C string's terminator and
    // padding, not text; a zero inside the text is still a control byte.
    ReadFile padded(JpegBuilder()
                        .Soi()
                        .Segment(0xFE, {'T', 'r', 'u', 's', 't', 0, 'x', 0, 0, 0})
                        .BareSos()
                        .Data());
    EXPECT_STREQ(padded.record.comment, "Trust?x");
}

TEST(SectionReader, CutsLongCommentsAt998Characters) {
    std::string text(1200, 'c');
    text[997] = '\r'; // its line feed lies beyond the cut, yet is looked at
    text[998] = '\n';
    ReadFile r(JpegBuilder().Soi().Comment(text).BareSos().Data());
    EXPECT_EQ(std::string(r.record.comment), std::string(997, 'c'));
}

TEST(SectionReader, ExifBlockClearsAnEarlierComment) {
    JpegBuilder jpeg;
    jpeg.Soi().Comment("before").Segment(0xE1, kOrientationPayload).BareSos();
    ReadFile r(jpeg.Data());
    EXPECT_STREQ(r.record.comment, "");
}

TEST(SectionReader, DiscardsApp1WithoutExifSignature) {
    for (const Bytes& payload : {Bytes{'E', 'x', 'i'}, Bytes{'h', 't', 't', 'p', ':'}}) {
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, kOrientationPayload).Segment(0xE1, payload).BareSos();
        ReadFile r(jpeg.Data());
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.Markers(), (std::vector<int>{0xE1, 0xDA}));
        EXPECT_TRUE(r.record.exifValid);
    }
}

TEST(SectionReader, LastExifBlockDecidesValidity) {
    Bytes broken = kOrientationPayload;
    broken[6] = 'X';
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, kOrientationPayload).Segment(0xE1, broken).BareSos();
    ReadFile r(jpeg.Data());
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.record.exifValid);
    EXPECT_EQ(r.Error(), "Invalid Exif alignment marker.");
    EXPECT_EQ(r.reader.SectionCount(), 3); // a failed EXIF segment is kept
}

TEST(SectionReader, FrameHeaders) {
    // Every SOFn code fills the frame fields; DHT, JPG and DAC are no frame headers.
    for (int code :
         {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}) {
        ReadFile r(JpegBuilder().Soi().Frame(640, 480, 1, code).BareSos().Data());
        EXPECT_EQ(r.record.encodingProcess, code);
        EXPECT_EQ(r.record.width, 640);
        EXPECT_EQ(r.record.height, 480);
        EXPECT_EQ(r.record.isColor, 0);
    }
    for (int code : {0xC4, 0xC8, 0xCC}) {
        ReadFile r(JpegBuilder().Soi().Frame(640, 480, 3, code).BareSos().Data());
        EXPECT_EQ(r.record.encodingProcess, 0);
    }
    // A later frame header wins; one too short to hold its fields stores nothing.
    JpegBuilder jpeg;
    jpeg.Soi().Frame(10, 20, 3).Segment(0xC2, {8, 0, 5, 0, 6}).BareSos();
    ReadFile r(jpeg.Data());
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.record.width, 10);
    EXPECT_EQ(r.record.height, 20);
    EXPECT_EQ(r.record.encodingProcess, 0xC0);
}

TEST(SectionReader, OwnRecordAndStandardOutput) {
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, kOrientationPayload).Segment(0xD9, {});
    MemoryStream stream(jpeg.Data().data(), jpeg.Data().size());
    CJpegExifReader reader;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(reader.ReadSections(stream));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No image in jpeg!\n");
    EXPECT_EQ(reader.Summary().orientation, 6);
    EXPECT_TRUE(reader.Summary().exifValid);
}

} // namespace
