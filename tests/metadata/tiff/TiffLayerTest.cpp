// The TIFF layer's bounds: header forms, where values lie, the visited set
// and the limits every reader shares.

#include "metadata/JpegExifReader.h"
#include "metadata/tags/TiffTagWalk.h"
#include "metadata/tiff/TiffDirectory.h"
#include "metadata/tiff/TiffHeader.h"
#include "metadata/tiff/VisitedDirectories.h"
#include "tests/fixtures/ExifBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Of(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

TEST(TiffHeader, Forms) {
    const struct {
        const char* name;
        Bytes bytes;
        bool ok;
        TiffByteOrder order;
        uint16_t magic;
        uint32_t first;
    } cases[] = {
        {"II", Of(std::string("II*\0\x08\0\0\0", 8)), true, TiffByteOrder::Little, 42, 8},
        {"MM", Of(std::string("MM\0*\0\0\0\x10", 8)), true, TiffByteOrder::Big, 42, 16},
        {"raw magic kept", Of(std::string("IIRO\x08\0\0\0", 8)), true, TiffByteOrder::Little,
         0x4F52, 8},
        {"mixed mark", Of(std::string("IM*\0\x08\0\0\0", 8)), false, {}, 0, 0},
        {"seven bytes", Of(std::string("II*\0\x08\0\0", 7)), false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        TiffHeader h;
        EXPECT_EQ(ReadTiffHeader(c.bytes.data(), c.bytes.size(), h), c.ok) << c.name;
        if (!c.ok)
            continue;
        EXPECT_EQ(h.order, c.order) << c.name;
        EXPECT_EQ(h.magic, c.magic) << c.name;
        EXPECT_EQ(h.firstOffset, c.first) << c.name;
    }
}

// A directory of one entry at offset 0 of a little-endian span, followed by
// `tail` bytes.
Bytes OneEntry(uint16_t type, uint32_t count, uint32_t field, size_t tail) {
    Bytes b = {1, 0, 0x9A, 0x82};
    b.push_back(static_cast<unsigned char>(type));
    b.push_back(static_cast<unsigned char>(type >> 8));
    for (uint32_t v : {count, field})
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<unsigned char>(v >> (8 * i)));
    b.resize(b.size() + tail, 0);
    return b;
}

TEST(TiffDirectory, WhereValuesLie) {
    // The entry ends at 14; `tail` bytes follow, so the block is 14 + tail.
    const struct {
        const char* name;
        uint16_t type;
        uint32_t count;
        uint32_t field;
        size_t tail;
        TiffValueFault fault;
    } cases[] = {
        {"inline", kTiffShort, 2, 0, 0, TiffValueFault::None},
        {"ends exactly at the end", kTiffLong, 2, 14, 8, TiffValueFault::None},
        {"one byte past the end", kTiffLong, 2, 15, 8, TiffValueFault::OutsideBlock},
        {"offset past the end", kTiffLong, 2, 0xFFFFFFFF, 8, TiffValueFault::OutsideBlock},
        {"count * size wraps to 8 in 32 bits", kTiffDouble, 0x20000001, 14, 0x10,
         TiffValueFault::OutsideBlock},
        {"unknown type", 14, 1, 0, 0, TiffValueFault::UnknownType},
    };
    for (const auto& c : cases) {
        const Bytes b = OneEntry(c.type, c.count, c.field, c.tail);
        const TiffDirectory d(TiffSpan{b.data(), b.size(), 0, TiffByteOrder::Little}, 0);
        ASSERT_TRUE(d.Valid()) << c.name;
        const TiffEntry e = d.Entry(0);
        TiffValue v;
        EXPECT_EQ(d.Locate(e, v), c.fault) << c.name;
        if (c.fault == TiffValueFault::None) {
            EXPECT_EQ(v.data, b.data() + (e.IsInline() ? 10 : c.field)) << c.name;
        }
    }
}

TEST(TiffDirectory, CountsOnlyTheEntriesThatFit) {
    Bytes b = OneEntry(kTiffShort, 1, 7, 0);
    b[0] = 3; // three declared, one present
    const TiffDirectory d(TiffSpan{b.data(), b.size(), 0, TiffByteOrder::Little}, 0);
    EXPECT_EQ(d.DeclaredCount(), 3u);
    EXPECT_EQ(d.FittingCount(), 1u);
    EXPECT_FALSE(d.AllEntriesFit());
    for (uint64_t offset : {b.size() - 1, b.size(), uint64_t{UINT32_MAX}, UINT64_MAX})
        EXPECT_FALSE(TiffDirectory(TiffSpan{b.data(), b.size(), 0, {}}, offset).Valid());
}

TEST(VisitedDirectories, SelfLinksMutualLinksAndTheLimit) {
    VisitedDirectories v;
    EXPECT_EQ(v.Enter(8), VisitedDirectories::Entered::New);
    EXPECT_EQ(v.Enter(8), VisitedDirectories::Entered::Seen); // a self-link
    EXPECT_EQ(v.Enter(40), VisitedDirectories::Entered::New);
    EXPECT_EQ(v.Enter(8), VisitedDirectories::Entered::Seen); // 8 -> 40 -> 8
    for (int i = v.Count(); i < TiffLimits::kMaxDirectories; ++i)
        EXPECT_EQ(v.Enter(100 + uint64_t(i)), VisitedDirectories::Entered::New);
    EXPECT_EQ(v.Enter(7), VisitedDirectories::Entered::Full);
    EXPECT_EQ(v.IndexOf(40), 1);
    EXPECT_FALSE(TiffLimits::TooDeep(TiffLimits::kMaxDepth - 1));
    EXPECT_TRUE(TiffLimits::TooDeep(TiffLimits::kMaxDepth));
}

// The record and the every-tag list read the same directories of a chain
// of Exif links deeper than the limit: the last metering mode each saw is
// the same.
TEST(TiffLimits, TheRecordAndTheTagListStopAtTheSameDepth) {
    fixture::ExifBuilder exif(fixture::ByteOrder::Big);
    int previous = 0;
    for (int depth = 1; depth <= TiffLimits::kMaxDepth + 3; ++depth) {
        const int d = exif.AddDirectory();
        exif.Short(d, 0x9207, static_cast<uint16_t>(depth)).Link(previous, 0x8769, d);
        previous = d;
    }
    Bytes tiff = exif.Tiff();
    ExifSummary record{};
    CJpegExifReader reader(&record);
    ASSERT_TRUE(reader.ParseTiffBlock(tiff.data(), static_cast<uint32_t>(tiff.size())));
    MetadataCollector listed;
    ASSERT_TRUE(WalkTiffBlock(tiff.data(), tiff.size(), TiffRole::Main, listed));
    double last = 0;
    for (const MetadataEntry& e : listed.Entries())
        if (e.id == 0x9207 && e.value.numbers.size() == 1)
            last = e.value.numbers[0];
    EXPECT_EQ(record.meteringMode, TiffLimits::kMaxDepth - 1);
    EXPECT_EQ(last, record.meteringMode);
}

} // namespace
