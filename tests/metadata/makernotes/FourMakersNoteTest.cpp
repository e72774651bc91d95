// The notes of Fujifilm, Panasonic, Pentax and Samsung: each maker's header,
// byte order and origin of offsets, the entries named from its table, the
// meanings of enumerated values, the lens and the summary; and notes that
// lie or are cut.
#include "metadata/makernotes/MakerTagTable.h"
#include "tests/fixtures/MakerNoteSamples.h"
#include "tests/metadata/makernotes/MakerNoteTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace makernotetest;
using fixture::PentaxHeader;

namespace {

struct Expected {
    int32_t id;
    const char* name;
    const char* text;
};

struct MakerCase {
    const char* label;
    std::function<Bytes(ByteOrder)> tiff;
    const char* group;
    std::vector<Expected> entries; // the summary (id -1) included
};

std::vector<MakerCase> Cases() {
    const auto pentax = [](PentaxHeader h) {
        return [h](ByteOrder o) { return fixture::PentaxTiff(o, h); };
    };
    const std::vector<Expected> pentaxEntries = {
        {-1, "Lens", "smc PENTAX-FA SOFT 85mm F2.8"},
        {-1, "SerialNumber", "4561234"},
        {-1, "ShutterCount", "12345"},
        {-1, "FirmwareVersion", "K-5 Ver 1.16"},
        {0x0008, "Quality", "Best"},
        {0x003F, "LensRec", "smc PENTAX-FA SOFT 85mm F2.8"},
        {0x0229, "SerialNumber", "4561234"},
        {0x7777, "Tag0x7777", "5"},
    };
    return {
        {"Fujifilm",
         fixture::FujifilmTiff,
         "FujiFilm",
         {
             {-1, "SerialNumber", "FC  A1234567 593332303036"},
             {0x0000, "Version", "0130"},
             {0x1000, "Quality", "FINE   "},
             {0x1002, "WhiteBalance", "Daylight"},
             {0x1401, "FilmMode", "F0/Standard (Provia)"},
             {0x7777, "Tag0x7777", "5"},
         }},
        {"Panasonic",
         fixture::PanasonicTiff,
         "Panasonic",
         {
             {-1, "Lens", "LUMIX G VARIO 14-42/F3.5-5.6"},
             {-1, "LensSerialNumber", "03AB1234567"},
             {-1, "SerialNumber", "F541103040028"},
             {-1, "FirmwareVersion", "0.1.0.0"},
             {0x0002, "FirmwareVersion", "0 1 0 0"},
             {0x0003, "WhiteBalance", "Cloudy"},
             {0x0025, "InternalSerialNumber", "F541103040028"},
             {0x0029, "TimeSincePowerOn", "633.08"},
             {0x0051, "LensType", "LUMIX G VARIO 14-42/F3.5-5.6"},
             {0x7777, "Tag0x7777", "5"},
         }},
        {"Pentax AOC", pentax(PentaxHeader::Aoc), "Pentax", pentaxEntries},
        {"Pentax AOC spaces", pentax(PentaxHeader::AocSpaces), "Pentax", pentaxEntries},
        {"Pentax PENTAX", pentax(PentaxHeader::Pentax), "Pentax", pentaxEntries},
        {"Pentax plain", pentax(PentaxHeader::None), "Pentax", pentaxEntries},
        {"Samsung",
         fixture::SamsungTiff,
         "Samsung",
         {
             {-1, "Lens", "Samsung NX 30mm F2 Pancake"},
             {-1, "SerialNumber", "A12345678"},
             {-1, "FirmwareVersion", "GH1.00"},
             {0x0001, "MakerNoteVersion", "0100"},
             {0xA003, "LensType", "Samsung NX 30mm F2 Pancake"},
             {0x7777, "Tag0x7777", "5"},
         }},
    };
}

} // namespace

TEST(FourMakersNote, EntriesNamedWithMeaningsAndSummaryInBothOrders) {
    for (const MakerCase& c : Cases()) {
        for (const ByteOrder order : kBothOrders) {
            SCOPED_TRACE(std::string(c.label) + (order == ByteOrder::Big ? " MM" : " II"));
            const Listed l(c.tiff(order));
            ASSERT_TRUE(l.ok);
            for (const Expected& e : c.entries) {
                SCOPED_TRACE(e.name);
                EXPECT_EQ(l.Text(c.group, e.id, e.name), e.text);
            }
            // The summary comes first in the group, and the rest of the
            // EXIF directory is still read.
            for (const MetadataEntry& e : l.out.Entries()) {
                if (e.group == c.group) {
                    EXPECT_EQ(e.id, -1);
                    break;
                }
            }
            EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);
        }
    }
}

TEST(FourMakersNote, EnumeratedValuesKeepTheirNumbers) {
    const Listed l(fixture::FujifilmTiff(ByteOrder::Big));
    EXPECT_EQ(l.Number("FujiFilm", 0x1002), 256);
    const Listed p(fixture::PentaxTiff(ByteOrder::Little, PentaxHeader::Aoc));
    EXPECT_EQ(p.Number("Pentax", 0x0008), 2);
}

TEST(FourMakersNote, NotesThatLieStayOneLine) {
    struct Lie {
        const char* label;
        MakerNoteBuilder note;
        const char* make;
        bool fromNote;
        const char* group;
    };
    const auto fuji = [](uint32_t directoryAt) {
        MakerNoteBuilder n(ByteOrder::Little);
        Bytes header = {'F', 'U', 'J', 'I', 'F', 'I', 'L', 'M'};
        const Bytes offset = n.U32(directoryAt);
        header.insert(header.end(), offset.begin(), offset.end());
        n.Header(header).Shorts(0x1000, {1});
        return n;
    };
    MakerNoteBuilder pentaxBadMark(ByteOrder::Little);
    pentaxBadMark.Header({'P', 'E', 'N', 'T', 'A', 'X', ' ', 0, 'X', 'X'}).Shorts(0x0008, {1});
    MakerNoteBuilder panasonicHuge(ByteOrder::Little);
    panasonicHuge.Header({'P', 'a', 'n', 'a', 's', 'o', 'n', 'i', 'c', 0, 0, 0})
        .Shorts(0x0001, {1})
        .DeclaredCount(3000);
    MakerNoteBuilder samsungEmpty(ByteOrder::Big);
    samsungEmpty.DeclaredCount(0);
    const Lie lies[] = {
        {"Fujifilm directory past the end", fuji(0xFFFFFFF0u), "FUJIFILM", true, "FujiFilm"},
        {"Fujifilm directory in its header", fuji(4), "FUJIFILM", true, "FujiFilm"},
        {"Pentax without a byte order", pentaxBadMark, "PENTAX", true, "Pentax"},
        {"Panasonic counting 3000 entries", panasonicHuge, "Panasonic", false, "Panasonic"},
        {"Samsung without entries", samsungEmpty, "SAMSUNG", false, "Samsung"},
    };
    for (const Lie& lie : lies) {
        SCOPED_TRACE(lie.label);
        const Bytes tiff = lie.fromNote ? WithNoteFromItsStart(lie.note, lie.make)
                                        : WithCanonNote(lie.note, lie.make);
        const Listed l(tiff);
        EXPECT_EQ(l.CountOf(lie.group), 0u);
        EXPECT_NE(l.Find("ExifIFD", 0x927C), nullptr);
        EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);
    }
}

TEST(FourMakersNote, ValuesOutsideTheNoteAreSaidSo) {
    MakerNoteBuilder note = fixture::PanasonicNote(ByteOrder::Little);
    note.Ascii(0x0054, "a serial number that points away").OffsetOverride(0x7FFFFFF0u);
    const Listed l(WithCanonNote(note, "Panasonic"));
    EXPECT_EQ(l.Text("Panasonic", 0x0054, "AccessorySerialNumber"),
              "(value outside the maker note)");
    EXPECT_EQ(l.Text("Panasonic", 0x0051), "LUMIX G VARIO 14-42/F3.5-5.6");
}

// Every cut of every note is read within its bytes (the sanitized build
// checks each read) and never stops the walk before the note.
TEST(FourMakersNote, CutNotesAreReadWithinTheirBytes) {
    for (const MakerCase& c : Cases()) {
        for (const ByteOrder order : kBothOrders) {
            SCOPED_TRACE(c.label);
            const Bytes whole = c.tiff(order);
            for (size_t size = 0; size < whole.size(); ++size) {
                const Listed l(Bytes(whole.begin(), whole.begin() + static_cast<long>(size)));
                EXPECT_LE(l.CountOf(c.group), c.entries.size() + 8);
            }
        }
    }
}

TEST(MakerTagTable, MeaningsOnlyForWholeNumbersTheRowLists) {
    constexpr MakerValueText texts[] = {{0, "Off"}, {256, "Daylight"}};
    const MakerTag row{0x1002, "WhiteBalance", texts};
    struct Case {
        double value;
        const char* meaning;
    };
    const Case cases[] = {{0, "Off"}, {256, "Daylight"}, {256.5, ""}, {1, ""}, {-0.0, "Off"}};
    for (const Case& c : cases)
        EXPECT_EQ(MakerValueMeaning(row, c.value), c.meaning) << c.value;
    EXPECT_EQ(MakerValueMeaning(row, std::numeric_limits<double>::quiet_NaN()), "");
    const MakerTag table[] = {row, {0x1003, "Saturation", {}}};
    EXPECT_EQ(FindMakerTag(table, 0x1003)->name, "Saturation");
    EXPECT_EQ(FindMakerTag(table, 0x1004), nullptr);
}

// A note copied elsewhere (by software, or into a block gathered from a
// file's directories) keeps offsets that count from where it stood: its
// lowest value offset tells where that was.
TEST(FourMakersNote, MovedNotesFoundByTheirLowestValue) {
    struct Moved {
        const char* label;
        MakerNoteBuilder note;
        const char* make;
        const char* group;
        int32_t id;
        const char* text;
    };
    const Moved cases[] = {
        {"Panasonic", fixture::PanasonicNote(ByteOrder::Little), "Panasonic", "Panasonic", 0x0052,
         "03AB1234567"},
        {"Pentax", fixture::PentaxNote(ByteOrder::Big, PentaxHeader::Aoc), "PENTAX", "Pentax",
         0x0229, "4561234"},
        {"Samsung", fixture::SamsungNote(ByteOrder::Big), "SAMSUNG", "Samsung", 0xA002,
         "A12345678"},
    };
    for (const Moved& c : cases) {
        for (const uint32_t shift : {64u, 4000u}) {
            SCOPED_TRACE(std::string(c.label) + " " + std::to_string(shift));
            const Listed l(fixture::TiffWithMakerNote(
                c.note.Order(), c.make, [&](uint32_t at) { return c.note.Build(at + shift); }));
            EXPECT_EQ(l.Text(c.group, c.id), c.text);
        }
    }
}

// Firmware written as numbers becomes a dotted version only when they are
// small whole numbers; a lens number no table names gives no Lens row.
TEST(FourMakersNote, SummaryOnlyFromValuesThatSaySomething) {
    struct Case {
        const char* label;
        std::function<void(MakerNoteBuilder&)> firmware;
        const char* expected;
    };
    const Case cases[] = {
        {"bytes",
         [](MakerNoteBuilder& n) {
             n.Add(0xA001, fixture::kByte, 3, {1, 2, 3});
         },
         "1.2.3"},
        {"shorts",
         [](MakerNoteBuilder& n) {
             n.Shorts(0xA001, {2, 10});
         },
         "2.10"},
        {"fractions",
         [](MakerNoteBuilder& n) {
             n.SRationals(0xA001, {{1, 3}, {2, 1}});
         },
         "(missing)"},
        {"divided by zero",
         [](MakerNoteBuilder& n) {
             n.SRationals(0xA001, {{1, 0}, {2, 1}});
         },
         "(missing)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        MakerNoteBuilder note(ByteOrder::Little);
        c.firmware(note);
        note.Shorts(0xA003, {0xFFFF});
        const Listed l(WithCanonNote(note, "SAMSUNG"));
        EXPECT_EQ(l.Text("Samsung", -1, "FirmwareVersion"), c.expected);
        EXPECT_EQ(l.Find("Samsung", -1, "Lens"), nullptr);
        EXPECT_NE(l.Find("Samsung", 0xA003), nullptr);
    }
}
