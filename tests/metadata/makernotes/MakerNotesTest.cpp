// The way in: which maker a note is, other makers' plain directories, the
// separate structures (CR3's CMT3, DNG's private data), and notes that lie.
#include "metadata/makernotes/MakerNotes.h"
#include "metadata/makernotes/MakerNoteList.h"
#include "metadata/makernotes/MakerNoteMaker.h"
#include "tests/fixtures/MakerNoteSamples.h"
#include "tests/fixtures/SonyOlympusNotes.h"
#include "tests/metadata/makernotes/MakerNoteTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace makernotetest;

namespace {

std::string Str(const char* s, size_t n) {
    return std::string(s, n);
}

MakerNoteBuilder SmallCanonNote(ByteOrder order) {
    MakerNoteBuilder note(order);
    note.Shorts(0x0001, {20, 2, 0, 3, 0, 0, 0, 2, 0, 1})
        .Ascii(0x0006, "Canon EOS 40D")
        .Ascii(0x0007, "Firmware Version 1.1.1")
        .Ascii(0x0095, "EF-S17-85mm f/4-5.6 IS USM");
    return note;
}

} // namespace

TEST(MakerNoteMaker, SignatureFirstThenMake) {
    struct Case {
        std::string note;
        const char* make;
        MakerNoteLayout layout;
        const char* group;
    };
    const Case cases[] = {
        {Str("Apple iOS\0\0\1MM", 14), "Apple", MakerNoteLayout::Apple, "Apple"},
        {Str("Apple iOS\0\0\1MM", 14), "Canon", MakerNoteLayout::Apple, "Apple"},
        {Str("\x0c\0\1\0\3\0", 6), "Canon", MakerNoteLayout::Canon, "Canon"},
        {Str("\x0c\0\1\0\3\0", 6), "CANON", MakerNoteLayout::Canon, "Canon"},
        {Str("Nikon\0\2\x10\0\0", 10), "NIKON CORPORATION", MakerNoteLayout::Nikon, "Nikon"},
        {Str("OLYMPUS\0II", 10), "OLYMPUS IMAGING CORP.", MakerNoteLayout::Olympus, "Olympus"},
        {"OM SYSTEM\0\0\0II", "OM Digital Solutions", MakerNoteLayout::Olympus, "Olympus"},
        {"FUJIFILM\x0c\0\0\0", "FUJIFILM", MakerNoteLayout::Fujifilm, "FujiFilm"},
        {Str("Panasonic\0\0\0", 12), "Panasonic", MakerNoteLayout::Panasonic, "Panasonic"},
        {Str("AOC\0MM", 6), "PENTAX", MakerNoteLayout::Pentax, "Pentax"},
        {"SONY DSC \0\0\0", "SONY", MakerNoteLayout::Sony, "Sony"},
        {Str("\x05\0\1\0", 4), "CASIO COMPUTER CO.,LTD.", MakerNoteLayout::Plain, "Casio"},
        {Str("\x05\0\1\0", 4), "EASTMAN KODAK COMPANY", MakerNoteLayout::Plain, "Kodak"},
        {Str("\x05\0\1\0", 4), "Unheard Of Inc.", MakerNoteLayout::Unknown, ""},
        {"", "Canon", MakerNoteLayout::Canon, "Canon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.make);
        const auto* bytes = reinterpret_cast<const unsigned char*>(c.note.data());
        const MakerNoteKind kind = IdentifyMakerNote(bytes, c.note.size(), c.make);
        EXPECT_EQ(kind.layout, c.layout);
        EXPECT_EQ(kind.group, c.group);
    }
    // Casio's second layout starts its directory after "QVC\0" and two bytes.
    const std::string qvc = Str("QVC\0\0\0\1\0", 8);
    EXPECT_EQ(
        IdentifyMakerNote(reinterpret_cast<const unsigned char*>(qvc.data()), qvc.size(), "CASIO")
            .directoryAt,
        6u);
}

TEST(MakerNotes, PlainMakersListedEntryByEntry) {
    // Offsets from the TIFF header, or from the note: whichever puts the
    // values inside the note.
    for (const bool fromHeader : {true, false}) {
        MakerNoteBuilder note(ByteOrder::Little);
        note.Shorts(0x0001, {2}).Ascii(0x0002, "a value of its own").Longs(0x0014, {7, 8, 9});
        const Bytes tiff = fromHeader ? WithCanonNote(note, "CASIO COMPUTER CO.,LTD.")
                                      : WithNoteFromItsStart(note, "CASIO COMPUTER CO.,LTD.");
        const Listed l(tiff);
        EXPECT_EQ(l.Number("Casio", 1, "Tag0x0001"), 2);
        EXPECT_EQ(l.Text("Casio", 2), "a value of its own");
        EXPECT_EQ(l.Text("Casio", 0x14), "7 8 9");
    }
}

TEST(MakerNotes, LayoutsToComeStayOneLine) {
    MakerNoteBuilder note(ByteOrder::Big);
    note.Header(Bytes{'N', 'i', 'k', 'o', 'n', 0, 2, 0x10, 0, 0}).Shorts(0x0001, {2});
    const Listed l(WithNoteFromItsStart(note, "NIKON CORPORATION"));
    EXPECT_EQ(l.CountOf("Nikon"), 0u);
    const MetadataEntry* line = l.Find("ExifIFD", 0x927C);
    ASSERT_NE(line, nullptr);
    EXPECT_NE(line->text.find("bytes, NIKON CORPORATION"), std::string::npos);
}

TEST(MakerNotes, CanonStructureOfItsOwn) {
    // CR3's CMT3: a TIFF header, then the Canon directory; offsets from
    // that header.
    for (const ByteOrder order : kBothOrders) {
        const MakerNoteBuilder note = SmallCanonNote(order);
        Bytes tiff = order == ByteOrder::Big ? Bytes{'M', 'M', 0, 42} : Bytes{'I', 'I', 42, 0};
        const Bytes first = note.U32(8);
        tiff.insert(tiff.end(), first.begin(), first.end());
        const Bytes directory = note.Build(8);
        tiff.insert(tiff.end(), directory.begin(), directory.end());
        MetadataCollector out;
        ASSERT_TRUE(ReadCanonMakerNoteStructure(tiff.data(), tiff.size(), out));
        bool focus = false;
        for (const MetadataEntry& e : out.Entries())
            focus |= e.group == "Canon" && e.name == "FocusMode" && e.text == "AI Focus AF";
        EXPECT_TRUE(focus);
    }
    MetadataCollector out;
    const unsigned char junk[] = {'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0xFF};
    EXPECT_FALSE(ReadCanonMakerNoteStructure(junk, sizeof junk, out));
    EXPECT_TRUE(out.Entries().empty());
}

TEST(MakerNotes, DngPrivateDataKeepsTheOriginalNote) {
    const MakerNoteBuilder note = SmallCanonNote(ByteOrder::Little);
    constexpr uint32_t kOriginalOffset = 900;
    const Bytes noteBytes = note.Build(kOriginalOffset);
    Bytes data = {'A', 'd', 'o', 'b', 'e', 0, 'M', 'a', 'k', 'N'};
    const uint32_t length = static_cast<uint32_t>(noteBytes.size() + 6);
    for (int i = 3; i >= 0; --i)
        data.push_back(static_cast<unsigned char>(length >> (8 * i)));
    data.insert(data.end(), {'I', 'I'});
    for (int i = 3; i >= 0; --i)
        data.push_back(static_cast<unsigned char>(kOriginalOffset >> (8 * i)));
    data.insert(data.end(), noteBytes.begin(), noteBytes.end());

    fixture::ExifBuilder dng(ByteOrder::Big);
    const int ifd0 = 0;
    dng.Ascii(ifd0, 0x010F, "Canon")
        .Add(ifd0,
             fixture::MakeEntry(0xC634, fixture::kByte, static_cast<uint32_t>(data.size()), data));
    const Listed l(dng.Tiff());
    EXPECT_EQ(l.Text("Canon", 0x0095), "EF-S17-85mm f/4-5.6 IS USM");
    EXPECT_EQ(l.Text("Canon", -1, "FirmwareVersion"), "1.1.1");
}

TEST(MakerNotes, NotesThatLieNeverStopTheRest) {
    struct Case {
        const char* what;
        std::function<void(MakerNoteBuilder&)> spoil;
    };
    const Case cases[] = {
        {"value offsets far past the note",
         [](MakerNoteBuilder& n) { n.Ascii(0x0095, "lens").OffsetOverride(0xFFFFFFF0); }},
        {"value offset into the note's own directory",
         [](MakerNoteBuilder& n) {
             n.Shorts(0x0004, std::vector<int32_t>(40, 1)).OffsetOverride(0);
         }},
        {"a count of four billion",
         [](MakerNoteBuilder& n) { n.Add(0x0001, fixture::kShort, 0xFFFFFFFF, Bytes(8, 1)); }},
        {"more entries declared than written", [](MakerNoteBuilder& n) { n.DeclaredCount(60000); }},
        {"unknown types", [](MakerNoteBuilder& n) { n.Add(0x0001, 99, 3, Bytes(8, 1)); }},
        {"CustomFunctions2 whose lengths lie",
         [](MakerNoteBuilder& n) {
             n.Undefined(0x0099, {24,   0,    0,    0,    1, 0, 0, 0, 1,    0,    0,    0,
                                  0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
         }},
        {"AF points past the record",
         [](MakerNoteBuilder& n) {
             n.Shorts(0x0026, {0, 2, 0xFFFF, 9, 1, 1, 1, 1, 5});
         }},
        {"ColorData of a known length cut short",
         [](MakerNoteBuilder& n) { n.Add(0x4001, fixture::kShort, 1273, Bytes(20, 1)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const ByteOrder order : kBothOrders) {
            MakerNoteBuilder note = SmallCanonNote(order);
            c.spoil(note);
            const Bytes tiff = WithCanonNote(note);
            // Every cut of the structure too: the note's end may fall anywhere.
            for (size_t cut = tiff.size(); cut + 64 >= tiff.size() && cut > 0; --cut) {
                const Listed l(Bytes(tiff.begin(), tiff.begin() + static_cast<long>(cut)));
                EXPECT_LE(l.CountOf("Canon") + l.CountOf("CanonCustom"),
                          MakerNoteList::kMaxEntries);
                if (cut == tiff.size()) {
                    EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);
                }
            }
        }
    }
}

TEST(MakerNotes, DirectoriesOfImplausibleSizeAreNotRead) {
    // Up to the cap a directory is listed whole; past it, it is no Canon
    // directory and the note stays one line.
    for (const uint16_t entries : {uint16_t{500}, uint16_t{700}}) {
        MakerNoteBuilder note(ByteOrder::Little);
        for (uint16_t tag = 0x6000; tag < 0x6000 + entries; ++tag)
            note.Shorts(tag, {1});
        const Listed l(WithCanonNote(note));
        EXPECT_EQ(l.CountOf("Canon"),
                  entries <= MakerNoteList::kMaxDirectoryEntries ? entries : 0u);
        EXPECT_NE(l.Find("ExifIFD", 0x927C), nullptr);
        EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);
    }
}

// The lens read alone, as the file list's Lens column reads it (passing over
// the rest of the note), is the Lens row of the note listed whole.
TEST(MakerNotes, TheLensReadAloneIsTheLensRowOfTheWholeNote) {
    // CameraSettings: LensType 52, told apart from its namesakes by the range.
    MakerNoteBuilder canon(ByteOrder::Little);
    canon.Shorts(0x0001, {54, 0, 0, 0, 0, 0, 0, 0, 0,  0,   0,   0,  0, 0,
                          0,  0, 0, 0, 0, 0, 0, 0, 52, 550, 180, 10, 0});
    const auto olympus = [](uint32_t) { return fixture::OlympusNote(ByteOrder::Big, false); };
    const struct {
        const char* make;
        const char* group;
        Bytes tiff;
    } cases[] = {
        {"Canon", "Canon", WithCanonNote(SmallCanonNote(ByteOrder::Big))},
        {"Canon", "Canon", WithCanonNote(canon)},
        {"OLYMPUS", "Olympus", fixture::TiffWithMakerNote(ByteOrder::Little, "OLYMPUS", olympus)},
        {"Panasonic", "Panasonic", fixture::PanasonicTiff(ByteOrder::Little)},
        {"PENTAX", "Pentax", fixture::PentaxTiff(ByteOrder::Big, fixture::PentaxHeader::Aoc)},
        {"SAMSUNG", "Samsung", fixture::SamsungTiff(ByteOrder::Little)},
        {"SONY", "Sony", WithCanonNote(fixture::SonyNote(ByteOrder::Big), "SONY")},
    };
    for (const auto& c : cases) {
        const Listed whole(c.tiff);
        const std::string lens =
            MakerNoteLens(whole.data.get(), whole.size, TiffRole::Main, c.make);
        EXPECT_FALSE(lens.empty()) << c.group;
        EXPECT_EQ(lens, whole.Text(c.group, -1, "Lens")) << c.group;
    }
}

// Numbers no whole number holds, where a reader looks one up or splits it:
// a rational over zero, a negative or huge value of a type the maker never
// writes there. They are listed as they stand, named by nothing.
TEST(MakerNotes, NumbersNoWholeNumberHoldsAreListedAsTheyStand) {
    const Bytes minusOne = {0xFF, 0xFF, 0xFF, 0xFF};
    MakerNoteBuilder canon(ByteOrder::Little);
    // AFMicroAdj: its value a SRATIONAL of zero denominator.
    canon.Longs(0x4013, {20, 1, 5, 0, 0});
    MakerNoteBuilder sony(ByteOrder::Little);
    // LensType and HDR: LONGs as cameras write them.
    sony.Header({'S', 'O', 'N', 'Y', ' ', 'D', 'S', 'C', ' ', 0, 0, 0})
        .Add(0x200A, fixture::kSLong, 1, minusOne)
        .Add(0xB027, fixture::kSLong, 1, minusOne);
    MakerNoteBuilder samsung(ByteOrder::Little);
    samsung.SRationals(0xA003, {{0, 0}}).Ascii(0xA002, "1234"); // LensType, SerialNumber
    const struct {
        const char* group;
        int32_t id;
        Bytes tiff;
    } cases[] = {
        {"Canon", 2, WithCanonNote(canon)},
        {"Samsung", 0xA003, WithCanonNote(samsung, "SAMSUNG")},
        {"Sony", 0xB027, WithCanonNote(sony, "SONY")},
        {"Sony", 0x200A, WithCanonNote(sony, "SONY")},
    };
    for (const auto& c : cases) {
        const Listed l(c.tiff);
        const MetadataEntry* e = l.Find(c.group, c.id);
        EXPECT_TRUE(e != nullptr && e->value.numbers.size() == 1) << c.group << " " << c.id;
    }
}
