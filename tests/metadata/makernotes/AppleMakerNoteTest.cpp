// Apple's maker note: its header, the directory at 14 whose offsets count
// from the note's start, and the values kept as binary property lists.
#include "metadata/makernotes/BinaryPlist.h"
#include "tests/metadata/makernotes/MakerNoteTestSupport.h"

#include <gtest/gtest.h>

using namespace makernotetest;

namespace {

MakerNoteBuilder AppleNote() {
    MakerNoteBuilder note(ByteOrder::Big);
    note.Header(fixture::AppleNoteHeader())
        .Longs(0x0001, {14}, fixture::kSLong)
        .Undefined(0x0003, fixture::PlistOfIntegers({{"flags", 1},
                                                     {"value", 159709814744625},
                                                     {"timescale", 1000000000},
                                                     {"epoch", 0}}))
        .Longs(0x0004, {1}, fixture::kSLong)
        .Longs(0x0007, {0}, fixture::kSLong)
        .SRationals(0x0008, {{-349, 10000}, {24, 10000}, {-10066, 10000}})
        .SRationals(0x000C, {{61, 256}, {68, 256}})
        .Ascii(0x0011, "0D4C1A2B")
        .Undefined(0x0041, fixture::PlistOfObject({0x09}))
        .Longs(0x0099, {5}, fixture::kSLong);
    return note;
}

} // namespace

TEST(AppleMakerNote, EntriesCountFromTheNotesStart) {
    const Listed l(WithNoteFromItsStart(AppleNote(), "Apple"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.Number("Apple", 1, "MakerNoteVersion"), 14);
    EXPECT_EQ(l.Text("Apple", 4, "AEStable"), "Yes");
    EXPECT_EQ(l.Text("Apple", 7, "AFStable"), "No");
    EXPECT_EQ(l.Text("Apple", 8, "AccelerationVector"), "-349/10000 24/10000 -10066/10000");
    EXPECT_EQ(l.Text("Apple", 0x11, "MediaGroupUUID"), "0D4C1A2B");
    EXPECT_EQ(l.Text("Apple", 0x41, "SemanticStyleRenderingVer"), "True");
    EXPECT_EQ(l.Number("Apple", 0x99, "Tag0x0099"), 5);
    EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);
}

TEST(AppleMakerNote, RunTimeListedAsItsFields) {
    const Listed l(WithNoteFromItsStart(AppleNote(), "Apple"));
    EXPECT_EQ(l.Text("Apple", 3, "RunTimeFlags"), "Valid");
    EXPECT_EQ(l.Number("Apple", 3, "RunTimeValue"), 159709814744625.0);
    EXPECT_EQ(l.Number("Apple", 3, "RunTimeScale"), 1000000000);
    EXPECT_EQ(l.Number("Apple", 3, "RunTimeEpoch"), 0);
    EXPECT_EQ(l.Find("Apple", 3, "RunTime"), nullptr);
}

TEST(AppleMakerNote, SignatureNotMake) {
    // The note says it is Apple's whatever IFD0 says.
    const Listed l(WithNoteFromItsStart(AppleNote(), "Some Phone Maker"));
    EXPECT_GT(l.CountOf("Apple"), 8u);
}

TEST(BinaryPlist, ObjectsOfEachKind) {
    struct Case {
        Bytes object;
        BinaryPlist::Value::Kind kind;
        std::string text;
    };
    const Case cases[] = {
        {{0x08}, BinaryPlist::Value::Kind::Boolean, ""},
        {{0x11, 0x01, 0x02}, BinaryPlist::Value::Kind::Integer, ""},
        {{0x23, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}, BinaryPlist::Value::Kind::Real, ""},
        {{0x53, 'a', 'b', 'c'}, BinaryPlist::Value::Kind::Text, "abc"},
        // A byte past ASCII comes out as UTF-8, never as it stood.
        {{0x52, 'v', 0xF6}, BinaryPlist::Value::Kind::Text, "v\xC3\xB6"},
    };
    for (const Case& c : cases) {
        const Bytes plist = fixture::PlistOfObject(c.object);
        BinaryPlist p;
        ASSERT_TRUE(p.Open(plist.data(), plist.size()));
        BinaryPlist::Value v;
        ASSERT_TRUE(p.Read(p.Top(), v));
        EXPECT_EQ(v.kind, c.kind);
        EXPECT_EQ(v.text, c.text);
    }
    const Bytes number = fixture::PlistOfObject({0x11, 0x01, 0x02});
    BinaryPlist p;
    BinaryPlist::Value v;
    ASSERT_TRUE(p.Open(number.data(), number.size()) && p.Read(0, v));
    EXPECT_EQ(v.integer, 0x0102);
}

TEST(BinaryPlist, DictionaryWrittenInKeyOrder) {
    const Bytes plist = fixture::PlistOfIntegers({{"3", 0}, {"1", 0}, {"0", 1}});
    BinaryPlist p;
    BinaryPlist::Value v;
    ASSERT_TRUE(p.Open(plist.data(), plist.size()) && p.Read(p.Top(), v));
    EXPECT_EQ(v.text, "{0=1,1=0,3=0}");
}

TEST(BinaryPlist, HostileListsRefused) {
    const Bytes good = fixture::PlistOfIntegers({{"a", 1}, {"b", 2}});
    // Every cut of a list, and every byte of its trailer and offsets
    // replaced by extremes: never a read outside, never a loop.
    for (size_t cut = 0; cut < good.size(); ++cut) {
        const Bytes bytes(good.begin(), good.begin() + static_cast<long>(cut));
        std::unique_ptr<unsigned char[]> exact(new unsigned char[cut + 1]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        BinaryPlist p;
        BinaryPlist::Value v;
        if (p.Open(exact.get(), cut))
            p.Read(p.Top(), v);
    }
    for (size_t at = 8; at < good.size(); ++at) {
        for (const unsigned char b : {0x00, 0x0F, 0x7F, 0xDF, 0xFF}) {
            Bytes bad = good;
            bad[at] = b;
            BinaryPlist p;
            BinaryPlist::Value v;
            if (p.Open(bad.data(), bad.size())) {
                p.Read(p.Top(), v);
                p.ForEachInDictionary(p.Top(),
                                      [](const std::string&, const BinaryPlist::Value&) {});
            }
        }
    }
    // A dictionary that holds itself is read to a bounded depth.
    Bytes self = fixture::PlistOfObject({0xD1, 0x00, 0x00});
    BinaryPlist p;
    BinaryPlist::Value v;
    ASSERT_TRUE(p.Open(self.data(), self.size()));
    EXPECT_FALSE(p.Read(p.Top(), v));
}
