#include "tests/metadata/ReaderTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;

namespace {

Bytes OrientationBlock(ByteOrder order) {
    ExifBuilder exif(order);
    exif.Short(0, 0x0112, 6);
    return exif.Payload();
}

TEST(ExifHeader, RejectsBadHeaders) {
    struct Case {
        size_t index;
        unsigned char value;
        const char* error;
    } cases[] = {
        {0, 'e', "Incorrect Exif header"},          {5, 1, "Incorrect Exif header"},
        {6, 'M', "Invalid Exif alignment marker."}, // "MI"
        {7, 'X', "Invalid Exif alignment marker."}, {8, 43, "Invalid Exif start (1)"},
    };
    for (const Case& c : cases) {
        Bytes payload = OrientationBlock(ByteOrder::Little);
        payload[c.index] = c.value;
        ParsedBlock p(payload);
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.Error(), c.error);
        EXPECT_EQ(p.record.orientation, 0);
    }
    // Fewer than the 14 header bytes and the directory count is no header.
    ParsedBlock shortBlock(OrientationBlock(ByteOrder::Little), 13);
    EXPECT_EQ(shortBlock.Error(), "Incorrect Exif header");
}

TEST(ExifHeader, BothByteOrdersReadTheSame) {
    for (ByteOrder order : kBothOrders) {
        ParsedBlock p(OrientationBlock(order));
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.record.orientation, 6);
    }
}

TEST(ExifHeader, WalksTheFirstDirectoryWhereItsOffsetPoints) {
    // Cameras store first offsets such as 10, 330 or 29448.
    for (uint32_t at : {8u, 10u, 17u, 330u, 29448u}) {
        ExifBuilder exif;
        exif.FirstDirectoryAt(at).Short(0, 0x0112, 3);
        ParsedBlock p(exif.Payload());
        EXPECT_TRUE(p.ok) << at;
        EXPECT_EQ(p.record.orientation, 3) << at;
    }
}

TEST(ExifHeader, RejectsFirstOffsetsBelowEightOrPastTheBlock) {
    const Bytes payload = OrientationBlock(ByteOrder::Big);
    const uint32_t length = static_cast<uint32_t>(payload.size()) - 6;
    for (uint32_t field : {0u, 7u, length + 1, 0x80000000u, 0xFFFFFFFFu}) {
        ExifBuilder exif(ByteOrder::Big);
        exif.Short(0, 0x0112, 6).FirstOffsetField(field);
        ParsedBlock p(exif.Payload());
        EXPECT_FALSE(p.ok) << field;
        EXPECT_EQ(p.Error(), "Suspicious offset of first IFD value") << field;
    }
    // Inside the block, but with no room for the directory's count.
    for (uint32_t field : {length, length - 1}) {
        ExifBuilder exif(ByteOrder::Big);
        exif.Short(0, 0x0112, 6).FirstOffsetField(field);
        ParsedBlock p(exif.Payload());
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.Error(), "Illegally sized directory");
    }
}

TEST(ExifHeader, EmptyFirstDirectorySucceedsWithNothingFilled) {
    ExifBuilder exif;
    ParsedBlock p(exif.Payload());
    EXPECT_TRUE(p.ok);
    ExifSummary empty;
    std::memset(&empty, 0, sizeof empty);
    EXPECT_TRUE(SameRecord(p.record, empty));
}

TEST(ExifHeader, ResetsFlashAndCommentForEachBlock) {
    ExifBuilder withFlash;
    withFlash.Short(0, 0x9209, 1);
    Bytes first = withFlash.Payload();
    Bytes second = ExifBuilder().Payload();
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    std::strcpy(record.comment, "from a COM segment");
    CJpegExifReader reader(&record);
    EXPECT_TRUE(reader.ParseExifBlock(first.data(), static_cast<int>(first.size()) + 2));
    EXPECT_EQ(record.flashUsed, 1);
    EXPECT_STREQ(record.comment, "");
    EXPECT_TRUE(reader.ParseExifBlock(second.data(), static_cast<int>(second.size()) + 2));
    EXPECT_EQ(record.flashUsed, 0);
}

} // namespace
