// Directories shaped as the cameras' maker notes are: offsets counted from
// another origin than the block's start, a maker's header before the
// entries, a TIFF header of the note's own in another byte order, no next
// link.

#include "metadata/tiff/TiffDirectory.h"
#include "metadata/tiff/TiffHeader.h"
#include "tests/fixtures/ExifBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using fixture::ByteOrder;
using fixture::Bytes;
using fixture::ExifBuilder;

constexpr uint16_t kTag = 0x0010;

// A note's directory: a RATIONAL 1/250 (out of line) and a SHORT 7, its
// offsets counted from the note's start. A maker's `header` replaces the
// TIFF header and the directory starts right after it; without one the
// note is a TIFF structure of its own.
Bytes Note(ByteOrder order, const std::string& header) {
    ExifBuilder b(order);
    if (!header.empty())
        b.FirstDirectoryAt(static_cast<uint32_t>(header.size()));
    b.Rational(0, kTag, 1, 250).Short(0, kTag + 1, 7);
    Bytes note = b.Tiff();
    std::copy(header.begin(), header.end(), note.begin());
    return note;
}

struct Read {
    bool ok = false;
    double rational = 0;
    uint32_t shortValue = 0;
};

Read ReadDirectory(const TiffSpan& span, uint64_t offset) {
    Read r;
    const TiffDirectory d(span, offset);
    if (!d.Valid() || d.FittingCount() != 2)
        return r;
    TiffValue v;
    if (d.Locate(d.Entry(0), v) != TiffValueFault::None)
        return r;
    r.rational = TiffNumberAt(v, 0);
    if (d.Locate(d.Entry(1), v) != TiffValueFault::None || !TiffUnsignedAt(v, 0, r.shortValue))
        return r;
    r.ok = true;
    return r;
}

TEST(TiffOrigin, MakerNoteShapes) {
    // The EXIF block's bytes before the note, little-endian.
    Bytes enclosing(30, 0xEE);
    std::copy_n("II*\0\x08\0\0\0", 8, enclosing.begin());
    const struct {
        const char* name;
        ByteOrder order;
        std::string header; // before the note's entries
        int orderAt;        // where the note gives its byte order; -1: always II
        bool ownTiffHeader; // the note's origin is the TIFF header after 10 bytes
    } cases[] = {
        {"Fujifilm: offsets from the note", ByteOrder::Little,
         std::string("FUJIFILM\x0C\0\0\0", 12), -1, false},
        {"Olympus: own byte order", ByteOrder::Big, std::string("OLYMPUS\0MM\x03\0", 12), 8, false},
        {"Nikon type 3: own TIFF header", ByteOrder::Big, "", 0, true},
    };
    for (const auto& c : cases) {
        Bytes block = enclosing;
        size_t origin = block.size();
        uint64_t directory = c.header.size();
        if (c.ownTiffHeader) {
            const std::string nikon("Nikon\0\x02\x10\0\0", 10);
            block.insert(block.end(), nikon.begin(), nikon.end());
            origin = block.size();
        }
        const Bytes note = Note(c.order, c.header);
        block.insert(block.end(), note.begin(), note.end());

        // The byte order comes from the note, not from the enclosing block.
        TiffByteOrder order = TiffByteOrder::Little;
        if (c.ownTiffHeader) {
            TiffHeader h;
            ASSERT_TRUE(ReadTiffHeader(block.data() + origin, block.size() - origin, h));
            order = h.order;
            directory = h.firstOffset;
        } else if (c.orderAt >= 0) {
            ASSERT_TRUE(ReadTiffByteOrder(block.data() + origin + c.orderAt, 2, order));
        }
        EXPECT_EQ(order == TiffByteOrder::Big, c.order == ByteOrder::Big) << c.name;

        const Read r =
            ReadDirectory(TiffSpan{block.data(), block.size(), origin, order}, directory);
        EXPECT_TRUE(r.ok) << c.name;
        EXPECT_DOUBLE_EQ(r.rational, 1.0 / 250) << c.name;
        EXPECT_EQ(r.shortValue, 7u) << c.name;
        // Counted from the block's start instead, the value is elsewhere.
        const Read wrong = ReadDirectory(TiffSpan{block.data(), block.size(), 0, order}, directory);
        EXPECT_NE(wrong.rational, 1.0 / 250) << c.name;
    }
}

TEST(TiffOrigin, NoNextLinkReadsNothingPastTheEntries) {
    // The note ends with its last entry: a next link would lie past the span.
    Bytes note = Note(ByteOrder::Little, std::string("FUJIFILM\x0C\0\0\0", 12));
    const TiffDirectory whole(TiffSpan{note.data(), note.size(), 0, TiffByteOrder::Little}, 12);
    const size_t entriesEnd = static_cast<size_t>(whole.EntriesEnd());
    // Keep the entries, drop the link and the out-of-line values after it.
    note.resize(entriesEnd);
    const TiffDirectory d(TiffSpan{note.data(), note.size(), 0, TiffByteOrder::Little}, 12);
    EXPECT_TRUE(d.AllEntriesFit());
    uint32_t next = 0;
    EXPECT_FALSE(d.NextLink(next));
    TiffValue v;
    EXPECT_EQ(d.Locate(d.Entry(1), v), TiffValueFault::None); // inline: still read
    EXPECT_EQ(d.Locate(d.Entry(0), v), TiffValueFault::OutsideBlock);
}

TEST(TiffOrigin, OriginBeyondTheSpanReadsNothing) {
    const Bytes b(16, 0);
    size_t at = 0;
    EXPECT_FALSE((TiffSpan{b.data(), b.size(), 17, {}}.Resolve(0, 0, at)));
    EXPECT_TRUE((TiffSpan{b.data(), b.size(), 16, {}}.Resolve(0, 0, at)));
    EXPECT_FALSE((TiffSpan{b.data(), b.size(), 10, {}}.Resolve(UINT64_MAX, 2, at)));
}

} // namespace
