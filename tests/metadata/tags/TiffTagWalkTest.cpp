// The walk of every directory of a TIFF structure: groups, values, and what
// it does with loops, lying counts and pointers that lead nowhere.
#include "metadata/tags/TagText.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/metadata/tags/AllTagsTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace alltagstest;

namespace {

// IFD0 with Exif and GPS pointers, ExifIFD with an interoperability
// pointer, and IFD1 chained after IFD0.
ExifBuilder FullBlock(ByteOrder order) {
    ExifBuilder exif(order);
    const int ifd0 = 0; // the builder starts with the first directory
    const int sub = exif.AddDirectory();
    const int gps = exif.AddDirectory();
    const int interop = exif.AddDirectory();
    const int ifd1 = exif.AddDirectory();
    exif.Ascii(ifd0, 0x010F, "Canon").Ascii(ifd0, 0x0110, "EOS").Short(ifd0, 0x0112, 6);
    exif.Rational(ifd0, 0x011A, 300, 1).Link(ifd0, 0x8769, sub).Link(ifd0, 0x8825, gps);
    exif.Rational(sub, 0x829A, 1, 250).Rational(sub, 0x829D, 35, 10);
    exif.Undefined(sub, 0x9000, {'0', '2', '3', '2'}).Short(sub, 0x9209, 0x07);
    exif.Short(sub, 0x9A01, 7); // no name of ours
    exif.Undefined(sub, 0x927C, Bytes(23412, 0xAB));
    exif.Link(sub, 0xA005, interop);
    Bytes lat; // 48° 51' 29.6"
    for (uint32_t v : {48u, 1u, 51u, 1u, 296u, 10u})
        for (uint8_t b : exif.U32(v))
            lat.push_back(b);
    exif.Ascii(gps, 0x0001, "N").Add(gps, fixture::MakeEntry(0x0002, fixture::kRational, 3, lat));
    exif.Ascii(interop, 0x0001, "R98").Undefined(interop, 0x0002, {'0', '1', '0', '0'});
    exif.Short(ifd1, 0x0103, 6);
    exif.Next(ifd0, ifd1);
    return exif;
}

} // namespace

TEST(TiffTagWalk, ListsEveryDirectoryUnderItsStructureName) {
    for (ByteOrder order : kBothOrders) {
        SCOPED_TRACE(order == ByteOrder::Big ? "MM" : "II");
        const Walked w(FullBlock(order));
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(w.Groups(),
                  (std::vector<std::string>{"IFD0", "ExifIFD", "InteropIFD", "GPS", "IFD1"}));
        EXPECT_TRUE(w.collector.Notes().empty());

        const MetadataEntry* make = w.Find("IFD0", 0x010F);
        ASSERT_NE(make, nullptr);
        EXPECT_EQ(make->name, "Make");
        EXPECT_EQ(make->type, 2);
        EXPECT_EQ(make->count, 6u);
        EXPECT_EQ(make->value.kind, MetadataValue::Kind::Text);
        EXPECT_EQ(make->value.text, "Canon"); // without its terminating zero

        const MetadataEntry* exposure = w.Find("ExifIFD", 0x829A);
        ASSERT_NE(exposure, nullptr);
        ASSERT_TRUE(exposure->value.IsSingleNumber());
        EXPECT_DOUBLE_EQ(exposure->value.numbers[0], 0.004);
        ASSERT_EQ(exposure->value.fractions.size(), 1u);
        EXPECT_EQ(exposure->value.fractions[0].num, 1);
        EXPECT_EQ(exposure->value.fractions[0].den, 250);
        EXPECT_EQ(RawText(*exposure), "1/250");
        EXPECT_EQ(exposure->text, "1/250 s");
        EXPECT_EQ(w.Find("ExifIFD", 0x829D)->text, "f/3.5");
        EXPECT_EQ(w.Find("ExifIFD", 0x9209)->text, "Flash fired, return light detected");
        EXPECT_EQ(w.Find("IFD0", 0x0112)->text, "Right-top (rotated 90° clockwise)");
        EXPECT_EQ(w.Find("IFD0", 0x011A)->text, "300");

        const MetadataEntry* version = w.Find("ExifIFD", 0x9000);
        EXPECT_EQ(version->value.kind, MetadataValue::Kind::Text);
        EXPECT_EQ(version->value.text, "0232");
        EXPECT_EQ(w.Find("ExifIFD", 0x9A01)->name, "Tag0x9A01");
        EXPECT_EQ(w.Find("InteropIFD", 0x0001)->name, "InteroperabilityIndex");
        EXPECT_EQ(w.Find("InteropIFD", 0x0002)->name, "InteroperabilityVersion");
        EXPECT_EQ(w.Find("GPS", 0x0001)->name, "GPSLatitudeRef");
        EXPECT_EQ(w.Find("GPS", 0x0002)->text, "48° 51' 29.60\" N (48.858222)");
        EXPECT_EQ(w.Find("IFD1", 0x0103)->text, "JPEG (old-style)");

        const MetadataEntry* note = w.Find("ExifIFD", 0x927C);
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->count, 23412u);
        EXPECT_EQ(note->text, "(23,412 bytes, Canon)");
        EXPECT_EQ(note->value.kind, MetadataValue::Kind::Bytes);
        EXPECT_LE(note->value.bytes.size(), MetadataValue::kMaxKeptBytes);
        EXPECT_TRUE(note->value.truncated);
    }
}

TEST(TiffTagWalk, SeparateExifAndGpsStructuresAsCr3KeepsThem) {
    ExifBuilder exif(ByteOrder::Little);
    const int only = 0;          // the builder starts with the first directory
    exif.Short(only, 0x0001, 5); // a GPS-numbered tag
    exif.Short(only, 0x8827, 400);
    const Walked asExif(exif.Tiff(), TiffRole::Exif);
    EXPECT_EQ(asExif.Groups(), std::vector<std::string>{"ExifIFD"});
    EXPECT_EQ(asExif.Find("ExifIFD", 0x8827)->name, "PhotographicSensitivity");
    const Walked asGps(exif.Tiff(), TiffRole::Gps);
    EXPECT_EQ(asGps.Groups(), std::vector<std::string>{"GPS"});
    EXPECT_EQ(asGps.Find("GPS", 0x0001)->name, "GPSLatitudeRef");
}

TEST(TiffTagWalk, MakerNoteNamesTheMakerFromAnEarlierBlock) {
    ExifBuilder ifd0(ByteOrder::Big);
    ifd0.Ascii(0, 0x010F, "Canon");
    ExifBuilder exif(ByteOrder::Big);
    exif.Undefined(0, 0x927C, Bytes(1000, 1));
    const Bytes a = ifd0.Tiff();
    const Bytes b = exif.Tiff();
    MetadataCollector out;
    WalkTiffBlock(a.data(), a.size(), TiffRole::Main, out);
    WalkTiffBlock(b.data(), b.size(), TiffRole::Exif, out);
    ASSERT_EQ(out.Entries().size(), 2u);
    EXPECT_EQ(out.Entries()[1].text, "(1,000 bytes, Canon)");
}

TEST(TiffTagWalk, SubIfdsAreNumberedInOrder) {
    ExifBuilder exif(ByteOrder::Little);
    const int ifd0 = 0; // the builder starts with the first directory
    const int a = exif.AddDirectory();
    const int b = exif.AddDirectory();
    const int c = exif.AddDirectory();
    exif.Short(a, 0x00FE, 0).Short(b, 0x00FE, 1).Short(c, 0x00FE, 2);
    exif.Add(ifd0, fixture::MakeEntry(0x014A, fixture::kLong, 3, Bytes(12, 0)));
    Bytes offsets; // once the layout is complete
    for (int dir : {a, b, c})
        for (uint8_t byte : exif.U32(exif.DirectoryOffset(dir)))
            offsets.push_back(byte);
    exif.Set(ifd0, 0x014A, offsets);
    const Walked w(exif);
    EXPECT_EQ(w.Groups(), (std::vector<std::string>{"IFD0", "SubIFD", "SubIFD1", "SubIFD2"}));
    EXPECT_EQ(w.Find("SubIFD2", 0x00FE)->value.numbers[0], 2);
    EXPECT_EQ(w.Find("IFD0", 0x014A)->name, "SubIFDs");
}

TEST(TiffTagWalk, DirectoryLoopsAreWalkedOnce) {
    ExifBuilder exif(ByteOrder::Big);
    const int ifd0 = 0; // the builder starts with the first directory
    const int sub = exif.AddDirectory();
    exif.Short(ifd0, 0x0112, 1).Link(ifd0, 0x8769, sub);
    exif.Short(sub, 0x9207, 5).Link(sub, 0x8769, ifd0).Link(sub, 0xA005, sub);
    exif.Next(ifd0, ifd0); // IFD0's next link is itself
    const Walked w(exif);
    EXPECT_EQ(w.Groups(), (std::vector<std::string>{"IFD0", "ExifIFD"}));
    EXPECT_EQ(w.Entries().size(), 5u);
    EXPECT_TRUE(w.NoteContains("already walked"));
}

TEST(TiffTagWalk, PointersAndValuesOutsideTheBlockAreNotedAndSkipped) {
    ExifBuilder exif(ByteOrder::Little);
    const int ifd0 = 0; // the builder starts with the first directory
    exif.Short(ifd0, 0x0112, 1);
    exif.Add(ifd0, fixture::MakeEntry(0x8769, fixture::kLong, 1, exif.U32(0x7FFFFFF0)));
    exif.Add(ifd0, fixture::MakeEntry(0x8825, fixture::kLong, 1, exif.U32(0xFFFFFFFF)));
    fixture::Entry lying = fixture::MakeEntry(0x010E, fixture::kAscii, 0x40000000, {});
    lying.offsetOverride = 8; // a gigabyte of text at the start
    exif.Add(ifd0, lying);
    fixture::Entry wrap = fixture::MakeEntry(0x0111, fixture::kLong, 0x40000001, {});
    wrap.offsetOverride = 0xFFFFFFF0; // count * 4 wraps around 32 bits
    exif.Add(ifd0, wrap);
    exif.NextOffset(ifd0, 0xFFFFFF00);
    const Walked w(exif);
    EXPECT_EQ(w.Groups(), std::vector<std::string>{"IFD0"});
    EXPECT_TRUE(w.NoteContains("outside the block"));
    const MetadataEntry* text = w.Find("IFD0", 0x010E);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->value.kind, MetadataValue::Kind::None);
    EXPECT_EQ(text->count, 0x40000000u);
    EXPECT_EQ(w.Find("IFD0", 0x0111)->value.kind, MetadataValue::Kind::None);
    EXPECT_NE(w.Find("IFD0", 0x8769), nullptr); // the pointer itself is listed
}

TEST(TiffTagWalk, EntryCountThatLiesStopsAtTheBlockEnd) {
    ExifBuilder exif(ByteOrder::Big);
    const int ifd0 = 0; // the builder starts with the first directory
    exif.Short(ifd0, 0x0112, 1).Short(ifd0, 0x0128, 2);
    Bytes tiff = exif.Tiff();
    tiff[8] = 0xFF; // 65,280 + 2 entries declared
    tiff.resize(8 + 2 + 12 * 2 + 5);
    const Walked w(tiff);
    EXPECT_EQ(w.Entries().size(), 2u);
    EXPECT_TRUE(w.NoteContains("fit in the block"));
}

TEST(TiffTagWalk, ValuesOfEveryType) {
    for (ByteOrder order : kBothOrders) {
        ExifBuilder exif(order);
        const int d = 0; // the builder starts with the first directory
        exif.SByte(d, 0x1001, -3).SShort(d, 0x1002, -300).SLong(d, 0x1003, -70000);
        exif.SRational(d, 0x1004, -1, 3).Float(d, 0x1005, 1.5f).Double(d, 0x1006, -2.25);
        exif.Undefined(d, 0x1007, {0x00, 0xFF, 0x10});
        exif.Ascii(d, 0x1008, std::string("two\0parts", 9), false);
        exif.Add(d, fixture::MakeEntry(0x1009, 99, 1, exif.U32(0)));
        exif.Rational(d, 0x100A, 1, 0);
        const Walked w(exif);
        EXPECT_EQ(w.Find("IFD0", 0x1001)->value.numbers[0], -3);
        EXPECT_EQ(w.Find("IFD0", 0x1002)->value.numbers[0], -300);
        EXPECT_EQ(w.Find("IFD0", 0x1003)->value.numbers[0], -70000);
        EXPECT_EQ(RawText(*w.Find("IFD0", 0x1004)), "-1/3");
        EXPECT_EQ(w.Find("IFD0", 0x1004)->value.fractions[0].num, -1);
        EXPECT_EQ(w.Find("IFD0", 0x1005)->value.numbers[0], 1.5);
        EXPECT_EQ(w.Find("IFD0", 0x1006)->value.numbers[0], -2.25);
        const MetadataEntry* bytes = w.Find("IFD0", 0x1007);
        EXPECT_EQ(bytes->value.kind, MetadataValue::Kind::Bytes);
        EXPECT_EQ(bytes->value.bytes, (std::vector<uint8_t>{0x00, 0xFF, 0x10}));
        EXPECT_EQ(RawText(*bytes), "00 FF 10");
        EXPECT_EQ(w.Find("IFD0", 0x1008)->value.text, "two");
        EXPECT_EQ(w.Find("IFD0", 0x1009)->value.kind, MetadataValue::Kind::None);
        EXPECT_EQ(w.Find("IFD0", 0x1009)->text, "(unknown type 99)");
        EXPECT_FALSE(std::isfinite(w.Find("IFD0", 0x100A)->value.numbers[0]));
    }
}

// DNG lets some texts be written as BYTE, in UTF-8; they are texts all the
// same, while DNG's other BYTE values stay numbers.
TEST(TiffTagWalk, DngTextsWrittenAsBytesAreTexts) {
    for (ByteOrder order : kBothOrders) {
        ExifBuilder exif(order);
        const std::string name = "IMG_0001_\xC3\xA9t\xC3\xA9.TIF"; // "été"
        Bytes padded(name.begin(), name.end());
        padded.insert(padded.end(), {0, 0, 0}); // its zero, then padding
        exif.Add(0, fixture::MakeEntry(0xC68B, fixture::kByte, uint32_t(padded.size()), padded));
        exif.Add(0, fixture::MakeEntry(0xC612, fixture::kByte, 4, {1, 4, 0, 0}));
        const Walked w(exif);
        const MetadataEntry* original = w.Find("IFD0", 0xC68B);
        ASSERT_NE(original, nullptr);
        EXPECT_EQ(original->name, "OriginalRawFileName");
        EXPECT_EQ(original->value.kind, MetadataValue::Kind::Text);
        EXPECT_EQ(original->value.text, "IMG_0001_\xC3\xA9t\xC3\xA9.TIF");
        EXPECT_EQ(original->text, original->value.text);
        EXPECT_EQ(RawText(*original), original->value.text);
        const MetadataEntry* version = w.Find("IFD0", 0xC612);
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(std::vector<double>(version->value.numbers.begin(), version->value.numbers.end()),
                  (std::vector<double>{1, 4, 0, 0}));
    }
}

TEST(TiffTagWalk, LongListsKeepTheirFirstComponentsAndTrueCount) {
    ExifBuilder exif(ByteOrder::Little);
    const int d = 0; // the builder starts with the first directory
    exif.Add(d, fixture::MakeEntry(0x0111, fixture::kShort, 1000, Bytes(2000, 1)));
    const Walked w(exif);
    const MetadataEntry* e = w.Find("IFD0", 0x0111);
    EXPECT_EQ(e->count, 1000u);
    EXPECT_EQ(e->value.numbers.size(), MetadataValue::kMaxKeptNumbers);
    EXPECT_TRUE(e->value.truncated);
}

// The first components of a value live inside the entry, more in a block of
// their own: both must survive the copies and moves of the list.
TEST(TiffTagWalk, ValuesOfFewAndManyComponentsSurviveCopiesAndMoves) {
    ExifBuilder exif(ByteOrder::Big);
    const int d = 0;
    Bytes rationals;
    for (uint32_t i = 1; i <= 6; ++i)
        for (uint32_t v : {i, 7u})
            for (int shift : {24, 16, 8, 0})
                rationals.push_back(uint8_t(v >> shift));
    exif.Add(d, fixture::MakeEntry(0x0211, fixture::kRational, 6, rationals));
    exif.Rational(d, 0x011A, 300, 1);
    const Walked w(exif);
    std::vector<MetadataEntry> copies = w.Entries();
    std::vector<MetadataEntry> moved;
    for (MetadataEntry& e : copies)
        moved.push_back(std::move(e));
    moved.insert(moved.begin(), moved.back()); // a copy of the short one, all shifted
    ASSERT_EQ(moved.size(), 3u);
    for (const MetadataEntry* e : {&moved[1], &moved[2], &moved[0]}) {
        const MetadataEntry& original = *w.Find(e->group, e->id);
        EXPECT_EQ(e->value.numbers, original.value.numbers);
        EXPECT_EQ(e->value.fractions.size(), original.value.fractions.size());
        EXPECT_EQ(RawText(*e), RawText(original));
    }
    EXPECT_EQ(RawText(moved[1]), "1/7 2/7 3/7 4/7 5/7 6/7");
    EXPECT_EQ(moved[1].value.numbers[5], 6.0 / 7);
    EXPECT_EQ(RawText(moved[0]), "300/1");
    EXPECT_TRUE(copies[0].value.numbers.empty()); // moved from
}

TEST(TiffTagWalk, EntryCapEndsTheWalk) {
    ExifBuilder exif(ByteOrder::Big);
    const int d = 0; // the builder starts with the first directory
    for (uint16_t tag = 1; tag <= 50; ++tag)
        exif.Short(d, tag, tag);
    const Bytes tiff = exif.Tiff();
    MetadataCollector out(20);
    WalkTiffBlock(tiff.data(), tiff.size(), TiffRole::Main, out);
    EXPECT_EQ(out.Entries().size(), 20u);
    EXPECT_TRUE(out.Truncated());
}

TEST(TiffTagWalk, RefusesWhatIsNotTiff) {
    for (const std::string& bytes :
         {std::string(), std::string("II*"), std::string("XX*\0\x08\0\0\0", 8),
          std::string("II+\0\x08\0\0\0", 8)}) {
        const Walked w(Bytes(bytes.begin(), bytes.end()));
        EXPECT_FALSE(w.ok);
        EXPECT_TRUE(w.Entries().empty());
    }
}

TEST(TiffTagWalk, CameraFixtureWalksCompletely) {
    const ExifBuilder exif = fixture::CameraExif(fixture::TypicalCamera(ByteOrder::Little));
    const Walked w(exif);
    EXPECT_EQ(w.Groups(), (std::vector<std::string>{"IFD0", "ExifIFD", "InteropIFD", "IFD1"}));
    EXPECT_TRUE(w.collector.Notes().empty());
}
