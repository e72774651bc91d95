// Olympus and OM System maker notes: the three headers, sub-directories
// kept as blobs, the lens, serials and firmware, and notes that lie.
#include "tests/fixtures/SonyOlympusNotes.h"
#include "tests/metadata/makernotes/MakerNoteTestSupport.h"

#include <gtest/gtest.h>

using namespace makernotetest;

namespace {

Bytes WithNote(ByteOrder order, const Bytes& note) {
    return fixture::TiffWithMakerNote(order, "OLYMPUS IMAGING CORP.",
                                      [&note](uint32_t) { return note; });
}

std::string SummaryText(const Listed& l, const std::string& name) {
    const MetadataEntry* e = l.Find("Olympus", -1, name);
    return e != nullptr ? e->text : "(missing)";
}

struct Layout {
    const char* name;
    ByteOrder order;
    bool omSystem;
};

class OlympusNewLayouts : public ::testing::TestWithParam<Layout> {};

} // namespace

TEST_P(OlympusNewLayouts, EquipmentBlobAndSummary) {
    const Layout& p = GetParam();
    // The block's order is the other one: the note names its own.
    const ByteOrder block = p.order == ByteOrder::Big ? ByteOrder::Little : ByteOrder::Big;
    const Listed l(WithNote(block, fixture::OlympusNote(p.order, p.omSystem)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.Number("Olympus", 0x0204, "DigitalZoom"), 1) << p.name;
    EXPECT_EQ(l.Text("Olympus", 0x0101, "SerialNumber"), "BX1234") << p.name;
    EXPECT_EQ(l.Text("Olympus", 0x0201, "LensType"), "0 23 00") << p.name;
    EXPECT_EQ(l.Text("Olympus", 0x0203, "LensModel"), "OLYMPUS 14-42mm Lens") << p.name;
    EXPECT_EQ(l.Text("Olympus", 0x1000, "FlashType"), "None") << p.name;
    EXPECT_EQ(l.Text("Olympus", 0x0204, "DigitalZoom"), "1") << p.name;
    // The blob is read as a directory, not listed as bytes.
    EXPECT_EQ(l.Find("Olympus", 0x2010), nullptr) << p.name;
    EXPECT_EQ(SummaryText(l, "Lens"), "Olympus Zuiko Digital ED 14-42mm F3.5-5.6") << p.name;
    EXPECT_EQ(SummaryText(l, "SerialNumber"), "BX1234") << p.name;
    EXPECT_EQ(SummaryText(l, "LensSerialNumber"), "L987") << p.name;
    EXPECT_EQ(SummaryText(l, "FirmwareVersion"), "1.102") << p.name;
}

INSTANTIATE_TEST_SUITE_P(Headers, OlympusNewLayouts,
                         ::testing::Values(Layout{"OLYMPUS II", ByteOrder::Little, false},
                                           Layout{"OLYMPUS MM", ByteOrder::Big, false},
                                           Layout{"OM SYSTEM II", ByteOrder::Little, true},
                                           Layout{"OM SYSTEM MM", ByteOrder::Big, true}));

TEST(OlympusMakerNote, OldLayoutCountsFromTheTiffHeader) {
    for (const ByteOrder order : kBothOrders) {
        const Listed l(WithCanonNote(fixture::OldOlympusNote(order), "OLYMPUS OPTICAL CO.,LTD"));
        EXPECT_EQ(l.Number("Olympus", 0x0201, "Quality"), 3);
        EXPECT_EQ(l.Text("Olympus", 0x0209, "CameraID"), "OLYMPUS DIGITAL CAMERA");
    }
}

TEST(OlympusMakerNote, NotesThatLie) {
    struct Case {
        const char* what;
        size_t cut;  // bytes kept of the note; 0: all
        size_t poke; // a byte set to 0xFF (the blob's entry count); 0: none
    } const cases[] = {
        {"cut inside the main directory", 20, 0},
        {"cut inside the equipment blob", 60, 0},
        {"equipment entry count too large", 0, 12 + 2 + 24 + 4 + 1},
        {"header alone", 12, 0},
    };
    for (const Case& c : cases) {
        Bytes note = fixture::OlympusNote(ByteOrder::Little, false);
        if (c.cut != 0)
            note.resize(c.cut);
        if (c.poke != 0)
            note[c.poke] = 0xFF;
        const Listed l(WithNote(ByteOrder::Little, note));
        EXPECT_TRUE(l.ok) << c.what;
        EXPECT_NE(l.Find("ExifIFD", 0x927C), nullptr) << c.what;
    }
}

TEST(OlympusMakerNote, ABlobPointingToItselfIsReadOnce) {
    // Equipment given twice: the second pointer to the same directory is
    // listed as an entry, not walked again.
    Bytes note = fixture::OlympusNote(ByteOrder::Little, false);
    const Listed l(WithNote(ByteOrder::Little, note));
    size_t serials = 0;
    for (const MetadataEntry& e : l.out.Entries())
        serials += e.group == "Olympus" && e.id == 0x0101;
    EXPECT_EQ(serials, 1u);
}
