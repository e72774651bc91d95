// Sony's maker note: the cipher of its records, the directory after its
// header, the records in their camera generation's layout, the lens.
#include "metadata/makernotes/SonyCipher.h"
#include "tests/fixtures/SonyOlympusNotes.h"
#include "tests/metadata/makernotes/MakerNoteTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace makernotetest;

namespace {

const MetadataEntry* Summary(const Listed& l, const std::string& name) {
    return l.Find("Sony", -1, name);
}

} // namespace

TEST(SonyCipher, KnownBytesAndTheUntouchedTop) {
    struct Case {
        unsigned char plain, stored;
    } const cases[] = {{0, 0},  {1, 1},     {2, 8},     {3, 27},
                       {7, 94}, {248, 248}, {249, 249}, {255, 255}};
    for (const Case& c : cases) {
        unsigned char out;
        SonyEncipher(&c.plain, 1, &out);
        EXPECT_EQ(out, c.stored) << int(c.plain);
        SonyDecipher(&c.stored, 1, &out);
        EXPECT_EQ(out, c.plain) << int(c.stored);
    }
}

TEST(SonyCipher, EveryByteComesBackAndNoTwoShareACode) {
    unsigned char all[256], stored[256], back[256];
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<unsigned char>(i);
    SonyEncipher(all, 256, stored);
    SonyDecipher(stored, 256, back);
    EXPECT_EQ(std::set<unsigned char>(stored, stored + 256).size(), 256u);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(back[i], i);
}

TEST(SonyCipher, MatchesTheFixturesOwnTable) {
    Bytes plain;
    for (int i = 0; i < 256; ++i)
        plain.push_back(static_cast<uint8_t>(i));
    const Bytes stored = fixture::SonyEnciphered(plain);
    Bytes back(stored.size());
    SonyDecipher(stored.data(), stored.size(), back.data());
    EXPECT_EQ(back, plain);
}

class SonyNoteInBothOrders : public ::testing::TestWithParam<ByteOrder> {};

TEST_P(SonyNoteInBothOrders, DirectoryRecordsAndSummary) {
    const Listed l(WithCanonNote(fixture::SonyNote(GetParam()), "SONY"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.Number("Sony", 0x0102, "Quality"), 6);
    EXPECT_EQ(l.Number("Sony", 0xB001, "SonyModelID"), 360);
    EXPECT_EQ(l.Text("Sony", 0xB001, "SonyModelID"), "ILCE-6500");
    EXPECT_EQ(l.Text("Sony", 0x0102, "Quality"), "RAW + JPEG/HEIF");
    EXPECT_EQ(l.Text("Sony", 0xB02A, "LensSpec"), "c3 16 50 3.5 5.6 00");
    EXPECT_EQ(l.Text("Sony", 0xB02B, "FullImageSize"), "6000 4000");
    // ShotInfo: not enciphered, its own byte order.
    EXPECT_EQ(l.Number("Sony", 26, "SonyImageHeight"), 4000);
    EXPECT_EQ(l.Number("Sony", 28, "SonyImageWidth"), 6000);
    // 0x9050 deciphered, in the ILCE-6500's layout.
    EXPECT_EQ(l.Number("Sony", 58, "ShutterCount"), 1313);
    EXPECT_EQ(l.Number("Sony", 263, "LensType2"), 32793);
    EXPECT_EQ(l.Text("Sony", 278, "LensSpecFeatures"), "c3 00");
    ASSERT_NE(Summary(l, "ShutterCount"), nullptr);
    EXPECT_EQ(Summary(l, "ShutterCount")->value.numbers[0], 1313);
    ASSERT_NE(Summary(l, "Lens"), nullptr);
    EXPECT_EQ(Summary(l, "Lens")->text, "Sony E PZ 16-50mm F3.5-5.6 OSS");
}

INSTANTIATE_TEST_SUITE_P(Orders, SonyNoteInBothOrders, ::testing::ValuesIn(kBothOrders));

TEST(SonyMakerNote, HeadersBeforeTheDirectory) {
    for (const std::string& header :
         {std::string("SONY DSC \0\0\0", 12), std::string("SONY CAM \0\0\0", 12),
          std::string("SONY MOBILE\0", 12), std::string()}) {
        MakerNoteBuilder note(ByteOrder::Little);
        note.Header(Bytes(header.begin(), header.end())).Longs(0xB027, {2}).Shorts(0xB001, {303});
        const Listed l(WithCanonNote(note, "SONY"));
        EXPECT_EQ(l.Number("Sony", 0xB027, "LensType"), 2) << header.size();
        ASSERT_NE(Summary(l, "Lens"), nullptr) << header.size();
        EXPECT_NE(Summary(l, "Lens")->text.find("Minolta"), std::string::npos);
    }
}

TEST(SonyMakerNote, UnknownModelsKeepTheirRecordsWhole) {
    // Without SonyModelID the 0x9050 layout is not known: the record stays
    // one entry and no field is guessed.
    Bytes r9050(600, 0);
    r9050[58] = 9;
    MakerNoteBuilder note(ByteOrder::Little);
    note.Undefined(0x9050, fixture::SonyEnciphered(r9050)).Longs(0x0102, {1});
    const Listed l(WithCanonNote(note, "SONY"));
    EXPECT_NE(l.Find("Sony", 0x9050), nullptr);
    EXPECT_EQ(l.Find("Sony", 58), nullptr);
    EXPECT_EQ(Summary(l, "ShutterCount"), nullptr);
}

TEST(SonyMakerNote, ShortRecordsListOnlyTheFieldsTheyHold) {
    MakerNoteBuilder note(ByteOrder::Little);
    Bytes shortRecord(40, 0); // ShutterCount at 58 lies past its end
    note.Shorts(0xB001, {360}).Undefined(0x9050, fixture::SonyEnciphered(shortRecord));
    const Listed l(WithCanonNote(note, "SONY"));
    EXPECT_EQ(l.Find("Sony", 58), nullptr);
    EXPECT_NE(l.Find("Sony", 0, "SonyMaxAperture"), nullptr);
}

TEST(SonyMakerNote, NotesThatLie) {
    struct Case {
        const char* what;
        uint32_t offset;
        uint16_t declared;
    } const cases[] = {
        {"value far past the note", 0x7FFFFFF0u, 0},
        {"value before the note", 2, 0},
        {"more entries declared than fit", 0, 400},
    };
    for (const Case& c : cases) {
        MakerNoteBuilder note = fixture::SonyNote(ByteOrder::Little);
        if (c.offset != 0)
            note.OffsetOverride(c.offset);
        if (c.declared != 0)
            note.DeclaredCount(c.declared);
        const Listed l(WithCanonNote(note, "SONY"));
        EXPECT_TRUE(l.ok) << c.what;
        EXPECT_NE(l.Find("ExifIFD", 0x927C), nullptr) << c.what;
    }
}

TEST(SonyMakerNote, ShotInfoWithoutItsMarkTakesTheNotesOrder) {
    for (const ByteOrder order : kBothOrders) {
        Bytes shot(64, 0); // a phone's: no "II"/"MM", the sizes in the note's order
        shot[order == ByteOrder::Big ? 29 : 28] = 0x20;
        MakerNoteBuilder note(order);
        note.Header({'S', 'O', 'N', 'Y', ' ', 'M', 'O', 'B', 'I', 'L', 'E', 0})
            .Undefined(0x3000, shot);
        const Listed l(WithCanonNote(note, "Sony"));
        EXPECT_EQ(l.Number("Sony", 28, "SonyImageWidth"), 32);
        EXPECT_EQ(l.Number("Sony", 26, "SonyImageHeight"), 0);
    }
}

TEST(SonyMakerNote, TheShutterCountersPlaceIsTheOneHoldingTheCount) {
    // 0x9050 of the 2015 layout names three places for ShutterCount2; the
    // body writes its count at one of them.
    struct Case {
        int at;          // where the count is written again; 0: nowhere
        size_t expected; // ShutterCount2 entries listed
    } const cases[] = {{80, 1}, {82, 1}, {88, 1}, {0, 3}};
    for (const Case& c : cases) {
        Bytes r9050(600, 0);
        r9050[58] = 0x21;
        r9050[59] = 0x05; // 1313
        if (c.at != 0) {
            r9050[c.at] = 0x21;
            r9050[c.at + 1] = 0x05;
        }
        MakerNoteBuilder note(ByteOrder::Little);
        note.Shorts(0xB001, {360}).Undefined(0x9050, fixture::SonyEnciphered(r9050));
        const Listed l(WithCanonNote(note, "SONY"));
        size_t listed = 0;
        for (const MetadataEntry& e : l.out.Entries())
            listed += e.group == "Sony" && e.name == "ShutterCount2";
        EXPECT_EQ(listed, c.expected) << c.at;
        if (c.at != 0) {
            EXPECT_EQ(l.Number("Sony", c.at, "ShutterCount2"), 1313) << c.at;
        }
    }
}
