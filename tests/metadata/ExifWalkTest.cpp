#include "tests/metadata/ReaderTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;

namespace {

constexpr uint16_t kMake = 0x010F;
constexpr uint16_t kModel = 0x0110;
constexpr uint16_t kXResolution = 0x011A;
constexpr uint16_t kExifLink = 0x8769;
constexpr uint16_t kInteropLink = 0xA005;

// A sub-directory pointer holding `offset` as it stands.
fixture::Entry RawLink(const ExifBuilder& exif, uint16_t tag, uint32_t offset) {
    return RawEntry(tag, fixture::kLong, 1, exif.U32(offset));
}

// Make, then a RATIONAL XResolution of `count` components stored at `offset`;
// the block ends with the eight bytes of 3/1, at the offset returned.
ExifBuilder RationalAt(ByteOrder order, uint32_t count, uint32_t offset, uint32_t* valueAt) {
    ExifBuilder exif(order);
    exif.Ascii(0, kMake, "Kept")
        .Add(0, RawEntry(kXResolution, fixture::kRational, count, {}, offset));
    Bytes value = exif.U32(3);
    Bytes one = exif.U32(1);
    value.insert(value.end(), one.begin(), one.end());
    *valueAt = exif.Append(value);
    return exif;
}

TEST(ExifWalk, ValueOffsetsMustKeepTheValueInsideTheBlock) {
    for (ByteOrder order : kBothOrders) {
        uint32_t atEnd = 0;
        RationalAt(order, 1, 0, &atEnd);
        // A value past the block fails its directory; a count that cannot be
        // a size is a garbled entry, skipped while the walk goes on.
        enum Outcome { Read, DirectoryFails, EntrySkipped };
        const struct {
            uint32_t count;
            uint32_t offset;
            Outcome outcome;
        } cases[] = {
            {1, atEnd, Read},                   // ends exactly at the end of the block
            {1, atEnd + 1, DirectoryFails},     // one byte past it
            {1, 0x80000000u, DirectoryFails},   // negative
            {0x20000000u, 8, EntrySkipped},     // a byte count of 2^32
            {0xFFFFFFFFu, 8, EntrySkipped},     // a count that reads negative
            {0x80000000u, atEnd, EntrySkipped}, // negative as a signed count
        };
        for (const auto& c : cases) {
            uint32_t unused;
            ParsedBlock p(RationalAt(order, c.count, c.offset, &unused).Payload());
            EXPECT_EQ(p.ok, c.outcome != DirectoryFails) << c.count << " at " << c.offset;
            EXPECT_STREQ(p.record.cameraMake, "Kept"); // filled before any failure
            if (c.outcome == Read) {
                EXPECT_FLOAT_EQ(p.record.xResolution, 3);
            } else {
                EXPECT_EQ(p.Error(), "Illegal pointer offset value in EXIF.");
                EXPECT_EQ(p.record.xResolution, 0); // the value is never read
            }
        }
    }
}

TEST(ExifWalk, AGarbledCountSkipsOnlyItsEntry) {
    // As in a camera file of a public collection: DateTimeOriginal with a
    // count no value can have, then entries the walk must still reach.
    for (ByteOrder order : kBothOrders) {
        ExifBuilder exif(order);
        exif.Add(0, RawEntry(0x9003, fixture::kAscii, 0xFFFFFF00u, {}, 8))
            .Short(0, 0x9209, 1)
            .Rational(0, 0x920A, 35, 1);
        ParsedBlock p(exif.Payload());
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.Error(), "Illegal pointer offset value in EXIF.");
        EXPECT_STREQ(p.record.dateTime, "");
        EXPECT_EQ(p.record.flashUsed, 1);
        EXPECT_FLOAT_EQ(p.record.focalLength, 35);
    }
}

TEST(ExifWalk, SkipsEntriesWithIllegalFormatCodes) {
    ExifBuilder exif;
    const int sub = exif.AddDirectory();
    exif.Ascii(sub, kModel, "never read");
    exif.Ascii(0, kMake, "Before")
        .Short(0, 0x0112, 8)
        .Add(0, RawEntry(0x0112, 0, 1, exif.U16(3)))
        .Add(0, RawEntry(0x9999, 13, 1))
        .Add(0, RawEntry(kExifLink, 0xFFFF, 1, {}, std::nullopt, sub))
        .Ascii(0, 0x9003, "2026:01:01 00:00:00");
    ParsedBlock p(exif.Payload());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.Error(), "Illegal format code in EXIF dir");
    EXPECT_STREQ(p.record.cameraMake, "Before");
    EXPECT_EQ(p.record.orientation, 8);     // the skipped entry's value is never read
    EXPECT_STREQ(p.record.cameraModel, ""); // nor is the skipped link followed
    EXPECT_STREQ(p.record.dateTime, "2026:01:01 00:00:00");
}

TEST(ExifWalk, AFailingSubDirectoryEndsOnlyItsOwnWalk) {
    ExifBuilder exif;
    const int sub = exif.AddDirectory();
    exif.Link(0, kExifLink, sub).Ascii(0, kModel, "After the link");
    exif.Rational(sub, 0x829A, 1, 60)
        .Add(sub, RawEntry(0x829D, fixture::kRational, 1, {}, 0x7FFFFFF0u))
        .Short(sub, 0x8827, 100);
    ParsedBlock p(exif.Payload());
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.Error(), "Illegal pointer offset value in EXIF.");
    EXPECT_FLOAT_EQ(p.record.exposureTime, 1.0f / 60);
    EXPECT_EQ(p.record.isoEquivalent, 0);
    EXPECT_STREQ(p.record.cameraModel, "After the link");

    // A sub-directory whose count runs past the block.
    ExifBuilder huge;
    huge.Add(0, RawLink(huge, kExifLink, 0)).Short(0, 0x0112, 5);
    huge.Set(0, kExifLink, huge.U32(huge.Append({0xFF, 0xFF})));
    ParsedBlock q(huge.Payload());
    EXPECT_TRUE(q.ok);
    EXPECT_EQ(q.Error(), "Illegally sized directory");
    EXPECT_EQ(q.record.orientation, 5);
}

TEST(ExifWalk, IgnoresLinksOutsideTheBlock) {
    for (uint32_t target : {0x7FFFFFFFu, 0xFFFFFFFFu, 100000u}) {
        ExifBuilder exif;
        exif.Add(0, RawLink(exif, kExifLink, target))
            .Add(0, RawLink(exif, kInteropLink, target))
            .Short(0, 0x0112, 2)
            .NextOffset(0, target);
        ParsedBlock p(exif.Payload());
        EXPECT_TRUE(p.ok) << target;
        EXPECT_EQ(p.Error(), "Illegal subdirectory link") << target;
        EXPECT_EQ(p.record.orientation, 2) << target;
    }
}

TEST(ExifWalk, NextOffsetThatDoesNotFitCountsAsNone) {
    for (size_t cut = 1; cut <= 4; ++cut) {
        ExifBuilder exif;
        exif.Short(0, 0x0112, 4);
        Bytes payload = exif.Payload();
        payload.resize(payload.size() - cut);
        ParsedBlock p(payload);
        EXPECT_TRUE(p.ok) << cut;
        EXPECT_EQ(p.Error(), "") << cut;
        EXPECT_EQ(p.record.orientation, 4);
    }
}

TEST(ExifWalk, EndsOnDirectoriesThatLinkInLoops) {
    ExifBuilder selfSub, selfNext, mutualNext, mutualSub;
    selfSub.Link(0, kExifLink, 0).Short(0, 0x0112, 3);
    selfNext.Next(0, 0).Short(0, 0x0112, 3);
    const int b1 = mutualNext.AddDirectory();
    mutualNext.Next(0, b1).Next(b1, 0).Short(b1, 0x0112, 3);
    const int c1 = mutualSub.AddDirectory();
    const int c2 = mutualSub.AddDirectory();
    mutualSub.Link(0, kExifLink, c1).Next(0, c2);
    mutualSub.Link(c1, kInteropLink, c2).Link(c1, kExifLink, 0).Next(c1, c1);
    mutualSub.Link(c2, kExifLink, c1).Next(c2, 0).Short(c2, 0x0112, 3);
    for (const ExifBuilder* exif : {&selfSub, &selfNext, &mutualNext, &mutualSub}) {
        ParsedBlock p(exif->Payload());
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.record.orientation, 3);
    }
}

TEST(ExifWalk, BoundsDepthAndTheNumberOfDirectories) {
    // A chain of next-directory links is followed eight directories deep.
    ExifBuilder chain;
    for (int i = 0; i < 20; ++i) {
        int dir = i == 0 ? 0 : chain.AddDirectory();
        chain.Ascii(dir, kMake, "d" + std::to_string(i));
        if (i > 0)
            chain.Next(dir - 1, dir);
    }
    ParsedBlock deep(chain.Payload());
    EXPECT_TRUE(deep.ok);
    EXPECT_STREQ(deep.record.cameraMake, "d7");

    // Many sibling links: each distinct directory is walked while the record
    // of walked directories has room (32, the first directory included).
    ExifBuilder fan;
    for (int i = 1; i <= 40; ++i) {
        int dir = fan.AddDirectory();
        fan.Ascii(dir, kMake, "d" + std::to_string(i));
        fan.Link(0, kExifLink, dir);
    }
    ParsedBlock wide(fan.Payload());
    EXPECT_TRUE(wide.ok);
    EXPECT_STREQ(wide.record.cameraMake, "d31");
}

TEST(ExifWalk, StoresTheThumbnailOnlyWhenItLiesInsideTheBlock) {
    ParsedBlock p(CameraExif(ByteOrder::Big).Payload());
    ASSERT_NE(p.record.thumbnailData, nullptr);
    const unsigned char* base = p.bytes.get() + 6;
    EXPECT_EQ(p.record.thumbnailData + p.record.thumbnailLength, base + (p.size - 6));
    EXPECT_EQ(p.record.thumbnailData[0], 0xFF);

    // Ten thumbnail bytes end the block: a length of 10 fits, 11 does not.
    for (uint32_t length : {10u, 11u, 0u, 0xFFFFFFFFu}) {
        ExifBuilder exif;
        exif.Long(0, 0x0201, 0).Long(0, 0x0202, length);
        exif.Set(0, 0x0201, exif.U32(exif.Append(Bytes(10, 0xAB))));
        ParsedBlock q(exif.Payload());
        EXPECT_TRUE(q.ok);
        const bool fits = length == 10;
        EXPECT_EQ(q.record.thumbnailData != nullptr, fits) << length;
        EXPECT_EQ(q.record.thumbnailLength, fits ? 10u : 0u) << length;
        if (fits)
            EXPECT_EQ(q.record.thumbnailData[9], 0xAB);
    }
    // A negative offset is no offset (and no undefined conversion).
    ExifBuilder negative;
    negative.SLong(0, 0x0201, -1).Long(0, 0x0202, 10);
    negative.Append(Bytes(10, 0xAB));
    EXPECT_EQ(ParsedBlock(negative.Payload()).record.thumbnailData, nullptr);
}

} // namespace

// The record tells whether the GPS directory holds a position, by the rules
// of the every-tag walk's: three sound rationals each, within range.
TEST(ExifWalk, NotesAGpsPositionOnlyWhenItIsOne) {
    constexpr uint16_t kGpsLink = 0x8825;
    struct Dms {
        uint32_t degrees, degreesDen, minutes, seconds;
    };
    const struct {
        const char* what;
        Dms latitude;
        Dms longitude;
        uint32_t count;
        bool position;
    } cases[] = {
        {"a position", {48, 1, 53, 19}, {2, 1, 21, 7}, 3, true},
        {"no fix: zeros over zeros", {0, 0, 0, 0}, {0, 0, 0, 0}, 3, false},
        {"latitude past the pole", {91, 1, 0, 0}, {2, 1, 0, 0}, 3, false},
        {"degrees only", {48, 1, 0, 0}, {2, 1, 0, 0}, 1, false},
    };
    for (const auto& c : cases) {
        for (ByteOrder order : kBothOrders) {
            ExifBuilder exif(order);
            const int gps = exif.AddDirectory();
            exif.Ascii(0, kMake, "Cam").Link(0, kGpsLink, gps);
            for (const auto& [tag, dms] :
                 {std::pair{uint16_t{2}, c.latitude}, std::pair{uint16_t{4}, c.longitude}}) {
                Bytes value;
                for (uint32_t v : {dms.degrees, dms.degreesDen, dms.minutes, 1u, dms.seconds, 1u})
                    for (uint8_t b : exif.U32(v))
                        value.push_back(b);
                value.resize(size_t{8} * c.count);
                exif.Add(gps, fixture::MakeEntry(tag, fixture::kRational, c.count, value));
            }
            const ParsedBlock block(exif.Payload());
            EXPECT_EQ(block.record.gpsPosition, c.position) << c.what;
        }
    }
}
