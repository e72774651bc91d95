// Nikon's maker note through the every-tag walk: the three layouts, the
// cipher of its records, lens data of every version, shot info, the summary
// and notes that lie.
#include "metadata/makernotes/MakerNotes.h"
#include "metadata/makernotes/NikonCipher.h"
#include "metadata/tags/TextEncoding.h"
#include "tests/fixtures/NikonNoteBuilder.h"
#include "tests/metadata/makernotes/MakerNoteTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

using namespace makernotetest;
using fixture::NikonLensData;
using fixture::NikonShotInfo;
using fixture::NikonType3Note;

namespace {

// AF-S DX Zoom-Nikkor 18-70mm f/3.5-4.5G IF-ED: 7F 40 2D 5C 2C 34 84, type 06.
constexpr std::array<uint8_t, 7> kZoom = {0x7F, 0x40, 0x2D, 0x5C, 0x2C, 0x34, 0x84};
constexpr const char* kZoomName = "AF-S DX Zoom-Nikkor 18-70mm f/3.5-4.5G IF-ED";
constexpr uint32_t kSerial = 4138072;
constexpr uint32_t kCount = 42430;

Bytes Enciphered(Bytes record, uint32_t serial, uint32_t count, size_t from = 4) {
    NikonCipher cipher(serial, count);
    cipher.Apply(record.data() + from, record.size() - from);
    return record;
}

// The body of a D300-like note: serial, shutter count, lens type and range.
MakerNoteBuilder Body(ByteOrder order, bool withCount = true) {
    MakerNoteBuilder note(order);
    note.Undefined(0x0001, {'0', '2', '1', '0'}).Ascii(0x001D, std::to_string(kSerial));
    note.Add(0x0083, fixture::kByte, 1, {0x06});
    Bytes lens;
    for (uint32_t v : {18u, 1u, 70u, 1u, 35u, 10u, 45u, 10u}) {
        const Bytes b = note.U32(v);
        lens.insert(lens.end(), b.begin(), b.end());
    }
    note.Add(0x0084, fixture::kRational, 4, lens);
    if (withCount)
        note.Longs(0x00A7, {kCount});
    return note;
}

Bytes NikonTiff(const Bytes& note, ByteOrder order, const std::string& make = "NIKON CORPORATION") {
    return fixture::TiffWithMakerNote(order, make, [&note](uint32_t) { return note; });
}

std::string SummaryText(const Listed& l, const std::string& name) {
    return l.Text("Nikon", -1, name);
}

} // namespace

// --- The cipher ---------------------------------------------------------

TEST(NikonCipher, StreamFromTheTablesAsPublished) {
    // Serial 0, count 0: ci = 0xC1, cj = 0xA7, ck = 0x60; the first two
    // stream bytes worked out by hand.
    unsigned char zeros[2] = {0, 0};
    NikonCipher(0, 0).Apply(zeros, 2);
    EXPECT_EQ(zeros[0], 0x07);
    EXPECT_EQ(zeros[1], 0x28);
}

TEST(NikonCipher, TheSameStreamDeciphersAndGoesOnAcrossCalls) {
    Bytes plain(40);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<unsigned char>(i * 7);
    Bytes once = plain;
    NikonCipher(kSerial, kCount).Apply(once.data(), once.size());
    EXPECT_NE(once, plain);
    Bytes split = plain;
    NikonCipher parts(kSerial, kCount);
    parts.Apply(split.data(), 15);
    parts.Apply(split.data() + 15, split.size() - 15);
    EXPECT_EQ(split, once);
    NikonCipher(kSerial, kCount).Apply(once.data(), once.size());
    EXPECT_EQ(once, plain);
}

TEST(NikonCipher, KeysFromSerialNumbers) {
    struct Case {
        const char* serial;
        const char* model;
        uint32_t key;
    };
    for (const Case& c : {Case{"4138072", "NIKON D300", 4138072}, Case{"2033335  ", "", 2033335},
                          Case{"NO= -1000f46", "NIKON D70s", 0x60}, Case{"ABC", "NIKON D50", 0x22},
                          Case{"ABC", "NIKON D5000", 0x60}, Case{"", "", 0x60}})
        EXPECT_EQ(NikonSerialKey(c.serial, c.model), c.key) << c.serial << " " << c.model;
}

// --- Type 3 with enciphered lens data -----------------------------------

TEST(NikonMakerNote, Type3LensDataDecipheredAndTheLensNamed) {
    for (ByteOrder order : kBothOrders) {
        MakerNoteBuilder note = Body(order);
        note.Undefined(0x0098, Enciphered(NikonLensData("0203", kZoom), kSerial, kCount));
        const Listed l(NikonTiff(NikonType3Note(note), order));
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.Text("Nikon", 0, "LensDataVersion"), "0203");
        EXPECT_EQ(l.Number("Nikon", 11, "LensIDNumber"), 0x7F);
        EXPECT_NEAR(l.Number("Nikon", 13, "MinFocalLength"), 18.34, 0.01);
        EXPECT_NEAR(l.Number("Nikon", 16, "MaxApertureAtMaxFocal"), 4.49, 0.01);
        EXPECT_EQ(SummaryText(l, "Lens"), kZoomName);
        EXPECT_EQ(SummaryText(l, "SerialNumber"), "4138072");
        EXPECT_EQ(l.Number("Nikon", -1, "ShutterCount"), kCount);
        EXPECT_EQ(l.Text("Nikon", 0x0001, "MakerNoteVersion"), "0210");
        EXPECT_EQ(l.Text("Nikon", 0x0083, "LensType"), "G"); // D and G bits
        // The summary comes first in the group.
        for (const MetadataEntry& e : l.out.Entries()) {
            if (e.group == "Nikon") {
                EXPECT_EQ(e.id, -1);
                break;
            }
        }
        // The DateTimeOriginal after the note is still read.
        EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);
    }
}

TEST(NikonMakerNote, WithoutTheKeyOnlyThePlainHeadOfARecordIsListed) {
    MakerNoteBuilder note = Body(ByteOrder::Little, false);
    note.Undefined(0x0098, Enciphered(NikonLensData("0203", kZoom), kSerial, kCount));
    const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Little));
    EXPECT_EQ(l.Text("Nikon", 0, "LensDataVersion"), "0203");
    EXPECT_EQ(l.Find("Nikon", 11, "LensIDNumber"), nullptr);
    EXPECT_NE(l.Find("Nikon", 0x0098, "LensData"), nullptr); // the record as a whole
    // The lens from its focal range and apertures instead.
    EXPECT_EQ(SummaryText(l, "Lens"), "18-70mm f/3.5-4.5");
}

TEST(NikonMakerNote, LensDataOfEveryLayout) {
    struct Case {
        const char* version;
        bool enciphered;
        int32_t idAt; // LensIDNumber's index
        uint16_t zLens;
        const char* lens;
    };
    const Case cases[] = {
        {"0100", false, 6, 0, kZoomName},
        {"0101", false, 11, 0, kZoomName},
        {"0201", true, 11, 0, kZoomName},
        {"0204", true, 12, 0, kZoomName},
        {"0800", true, 13, 1, "Nikkor Z 24-70mm f/4 S"},
    };
    for (const Case& c : cases) {
        Bytes record = NikonLensData(c.version, kZoom, c.zLens);
        if (c.enciphered)
            record = Enciphered(record, kSerial, kCount);
        MakerNoteBuilder note = Body(ByteOrder::Little);
        note.Undefined(0x0098, record);
        const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Little));
        EXPECT_EQ(l.Number("Nikon", c.idAt, "LensIDNumber"), 0x7F) << c.version;
        EXPECT_EQ(SummaryText(l, "Lens"), c.lens) << c.version;
        // The lens read alone, as the Lens column reads it.
        EXPECT_EQ(MakerNoteLens(l.data.get(), l.size, TiffRole::Main, "NIKON CORPORATION"), c.lens)
            << c.version;
    }
}

// --- Shot info ------------------------------------------------------------

TEST(NikonMakerNote, ShotInfoFirmwareAndShutterCountDeciphered) {
    // A D3 record (version 0210, 5399 bytes) keeps its count at 0x276.
    MakerNoteBuilder note = Body(ByteOrder::Big);
    note.Undefined(
        0x0091, Enciphered(NikonShotInfo("0210", 5399, "1.10 ", 0x276, kCount), kSerial, kCount));
    const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Big));
    EXPECT_EQ(l.Text("Nikon", 0, "ShotInfoVersion"), "0210");
    EXPECT_EQ(l.Text("Nikon", 4, "FirmwareVersion"), "1.10");
    EXPECT_EQ(l.Number("Nikon", 0x276, "ShutterCount"), kCount);
    EXPECT_EQ(SummaryText(l, "FirmwareVersion"), "1.10");
}

TEST(NikonMakerNote, CustomSettingsInsideADeciphered700ShotInfo) {
    // A D700 record (0212, 5312 bytes) keeps its custom settings at 804.
    Bytes shot = NikonShotInfo("0212", 5312, "1.03 ", 0x287, kCount);
    shot[804 + 26] = 0xC1; // auto bracketing set 3, modeling flash on
    shot[804 + 12] = 100;  // max continuous release
    shot[804 + 6] = 0xF2;  // matrix fine tune -1/6, spot +2/6
    MakerNoteBuilder note = Body(ByteOrder::Big);
    note.Undefined(0x0091, Enciphered(shot, kSerial, kCount));
    const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Big));
    struct Case {
        int32_t index;
        const char* name;
        double value;
    };
    for (const Case& c : {Case{26, "AutoBracketSet", 3}, Case{26, "ModelingFlash", 1},
                          Case{26, "AutoBracketOrder", 0}, Case{12, "MaxContinuousRelease", 100},
                          Case{6, "FineTuneOptMatrixMetering", -1.0 / 6},
                          Case{6, "FineTuneOptSpotMetering", 2.0 / 6}})
        EXPECT_NEAR(l.Number("NikonCustom", c.index, c.name), c.value, 1e-9) << c.name;
    // Without the key the settings stay unread.
    MakerNoteBuilder keyless = Body(ByteOrder::Big, false);
    keyless.Undefined(0x0091, Enciphered(shot, kSerial, kCount));
    EXPECT_EQ(Listed(NikonTiff(NikonType3Note(keyless), ByteOrder::Big)).CountOf("NikonCustom"),
              0u);
}

TEST(NikonMakerNote, FlashInfoBitsAndCompensations) {
    Bytes flash(48, 0);
    std::memcpy(flash.data(), "0103", 4);
    flash[9] = 0x81;  // commander mode, TTL
    flash[10] = 0xFA; // -(-6)/6: +1 EV
    flash[18] = 0x2A; // group B mode 2, group C mode 10
    MakerNoteBuilder note(ByteOrder::Little);
    note.Undefined(0x00A8, flash);
    const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Little));
    EXPECT_EQ(l.Number("Nikon", 9, "FlashCommanderMode"), 1);
    EXPECT_EQ(l.Number("Nikon", 9, "FlashControlMode"), 1);
    EXPECT_EQ(l.Number("Nikon", 10, "FlashCompensation"), 1);
    EXPECT_EQ(l.Number("Nikon", 18, "FlashGroupBControlMode"), 2);
    EXPECT_EQ(l.Number("Nikon", 18, "FlashGroupCControlMode"), 10);
}

TEST(NikonMakerNote, ShotInfoOfALaterD3WithItsImageSettings) {
    Bytes shot = NikonShotInfo("0210", 5412, "2.02 ", 0x27F, kCount);
    shot[0x25D] = 0x48; // ISO 200
    shot[732] = 0x0B;   // medium, NEF (RAW)
    MakerNoteBuilder note = Body(ByteOrder::Little);
    note.Undefined(0x0091, Enciphered(shot, kSerial, kCount));
    const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Little));
    EXPECT_EQ(l.Number("Nikon", 0x27F, "ShutterCount"), kCount);
    EXPECT_NEAR(l.Number("Nikon", 0x25D, "ISO2"), 200, 1e-9);
    EXPECT_EQ(l.Text("Nikon", 732, "NikonImageSize"), "Medium");
    EXPECT_EQ(l.Text("Nikon", 732, "ImageQuality"), "NEF (RAW)");
    EXPECT_EQ(l.CountOf("NikonCustom"), 64u); // the D3's settings at 0x30A
}

TEST(NikonMakerNote, CaptureNxEditsByRecord) {
    // Capture NX records: id, 14 bytes, a length counting itself, the value.
    const auto record = [](uint32_t id, const Bytes& value) {
        Bytes r(22, 0);
        for (int i = 0; i < 4; ++i) {
            r[static_cast<size_t>(i)] = static_cast<uint8_t>(id >> (8 * i));
            r[18 + static_cast<size_t>(i)] = static_cast<uint8_t>((value.size() + 4) >> (8 * i));
        }
        r.insert(r.end(), value.begin(), value.end());
        return r;
    };
    Bytes capture(22, 0);
    for (const Bytes& r :
         {record(0x76A43200, {1}), record(0x2FC08431, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F}),
          record(0x374233E0, Bytes(40, 0)), record(0x12345678, {9}),
          record(0x3D136244, {'v', '1', 0}), record(0x76A43201, Bytes(900, 0))})
        capture.insert(capture.end(), r.begin(), r.end());
    capture.resize(capture.size() - 800); // the last record is cut: not read
    MakerNoteBuilder note(ByteOrder::Big);
    note.Undefined(0x0E01, capture);
    const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Big));
    EXPECT_EQ(l.Number("NikonCapture", 0x76A43200, "UnsharpMask"), 1);
    EXPECT_EQ(l.Number("NikonCapture", 0x2FC08431, "StraightenAngle"), 1.5);
    EXPECT_EQ(l.Text("NikonCapture", 0x374233E0, "CropData"), "(40 bytes)");
    EXPECT_EQ(l.Text("NikonCapture", 0x3D136244, "EditVersionName"), "v1");
    EXPECT_EQ(l.CountOf("NikonCapture"), 4u); // the unknown id and the cut record left out
    EXPECT_NE(l.Find("Nikon", 0x0E01), nullptr);
}

// --- Records in plain bytes -------------------------------------------------

TEST(NikonMakerNote, PlainRecordsFieldByField) {
    struct Case {
        uint16_t tag;
        Bytes record;
        int32_t index;
        const char* name;
        double value;
        const char* text;
    };
    Bytes picture(58, 0x80);
    std::memcpy(picture.data(), "0100STANDARD", 12);
    picture[50] = 0x83; // sharpness +3
    Bytes afInfo2(30, 0);
    std::memcpy(afInfo2.data(), "0100", 4);
    afInfo2[5] = 1;
    const Case cases[] = {
        {0x0088, {0, 1, 0, 1}, 0, "AFAreaMode", 0, "Single Area"},
        {0x0088, {0, 1, 0, 1}, 1, "AFPoint", 1, "Top"},
        {0x0088, {0, 1, 0, 1}, 2, "AFPointsInFocus", 256, "256"}, // a Coolpix: little
        {0x00B7, afInfo2, 5, "AFAreaMode", 1, "Dynamic Area"},
        {0x0025, {0x48, 0, 0, 0, 0, 0, 0x3C, 0, 0, 0, 0, 0, 0, 0}, 0, "ISO", 200, "200"},
        {0x0025, {0x48, 0, 0, 0, 0, 0, 0x3C, 0, 0, 0, 0, 0, 0, 0}, 6, "ISO2", 100, "100"},
        {0x001F, {'0', '1', '0', '0', 2, 0, 0, 0}, 4, "VibrationReduction", 2, "Off"},
        {0x0023, picture, 50, "Sharpness", 3, "3"},
        {0x0023, picture, 55, "FilterEffect", 0x80, "Off"},
        {0x00B9, {1, 2, 0xFB, 0}, 2, "AFFineTuneAdj", -5, "-5"},
    };
    for (const Case& c : cases) {
        MakerNoteBuilder note(ByteOrder::Little);
        note.Undefined(c.tag, c.record);
        const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Little));
        EXPECT_NEAR(l.Number("Nikon", c.index, c.name), c.value, 1e-9) << c.name;
        EXPECT_EQ(l.Text("Nikon", c.index, c.name), c.text) << c.name;
    }
}

TEST(NikonMakerNote, TextsInRecordsAndCaptureDataComeOutAsUtf8) {
    // Found by the fuzzer: a byte above 0x7F in a record's text.
    Bytes picture(58, 0x80);
    std::memcpy(picture.data(), "0100STANDARD\xE9", 13);
    picture[13] = 0;
    MakerNoteBuilder note(ByteOrder::Little);
    note.Undefined(0x0023, picture).Ascii(0x001D, "AB\xFF");
    const Listed l(NikonTiff(NikonType3Note(note), ByteOrder::Little));
    EXPECT_EQ(l.Text("Nikon", 4, "PictureControlName"), "STANDARD\xC3\xA9");
    for (const MetadataEntry& e : l.out.Entries()) {
        EXPECT_TRUE(IsValidUtf8(reinterpret_cast<const uint8_t*>(e.text.data()), e.text.size()))
            << std::string(e.name);
        EXPECT_TRUE(
            IsValidUtf8(reinterpret_cast<const uint8_t*>(e.value.text.data()), e.value.text.size()))
            << std::string(e.name);
    }
}

// --- Types 1 and 2 ------------------------------------------------------------

TEST(NikonMakerNote, Type2PlainDirectoryWithOffsetsFromTheTiffHeader) {
    for (ByteOrder order : kBothOrders) {
        MakerNoteBuilder note(order);
        note.Undefined(0x0001, {0, 1, 0, 0})
            .Ascii(0x0004, "FINE   ")
            .Ascii(0x0007, "AF-S  ")
            .Undefined(0x0098, NikonLensData("0100", kZoom));
        note.Add(0x0083, fixture::kByte, 1, {0x06});
        const Listed l(WithCanonNote(note, "NIKON"));
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.Text("Nikon", 0x0001, "MakerNoteVersion"), "0100");
        EXPECT_EQ(l.Text("Nikon", 0x0004, "Quality"), "FINE");
        EXPECT_EQ(l.Text("Nikon", 0x0007, "FocusMode"), "AF-S");
        EXPECT_EQ(SummaryText(l, "Lens"), kZoomName);
    }
}

TEST(NikonMakerNote, Type2NoteMovedFromWhereItsOffsetsWereWritten) {
    // A raw converter's block keeps the note elsewhere than the camera
    // wrote it: the values follow the directory all the same.
    for (ByteOrder order : kBothOrders) {
        MakerNoteBuilder note(order);
        note.Ascii(0x0003, "COLOR").Ascii(0x0004, "RAW2.7M").Shorts(0x0002, {0, 200});
        const Listed l(fixture::TiffWithMakerNote(
            order, "NIKON", [&note](uint32_t at) { return note.Build(at + 0x500); }));
        EXPECT_EQ(l.Text("Nikon", 0x0003, "ColorMode"), "COLOR");
        EXPECT_EQ(l.Text("Nikon", 0x0004, "Quality"), "RAW2.7M");
    }
}

TEST(NikonMakerNote, AfInfoBigEndianFromBodiesTakingLensesLittleFromCoolpix) {
    MakerNoteBuilder coolpix(ByteOrder::Big);
    coolpix.Undefined(0x0088, {0, 1, 0, 1});
    EXPECT_EQ(Listed(NikonTiff(NikonType3Note(coolpix), ByteOrder::Big))
                  .Number("Nikon", 2, "AFPointsInFocus"),
              256);
    MakerNoteBuilder slr = coolpix;
    slr.Undefined(0x0098, NikonLensData("0100", kZoom));
    EXPECT_EQ(Listed(NikonTiff(NikonType3Note(slr), ByteOrder::Big))
                  .Number("Nikon", 2, "AFPointsInFocus"),
              1);
}

TEST(NikonMakerNote, Type1HeaderThenTheDirectory) {
    MakerNoteBuilder note(ByteOrder::Little);
    note.Header({'N', 'i', 'k', 'o', 'n', 0, 1, 0}).Shorts(0x0003, {2}).Ascii(0x000A, "E990 text");
    const Listed l(WithCanonNote(note, "NIKON"));
    EXPECT_EQ(l.Number("Nikon", 0x0003), 2);
    EXPECT_EQ(l.Text("Nikon", 0x000A), "E990 text");
}

TEST(NikonMakerNote, PreviewDirectoryUnderItsOwnGroup) {
    MakerNoteBuilder preview(ByteOrder::Little);
    preview.Shorts(0x0103, {6}).Longs(0x0201, {1000}).Longs(0x0202, {26});
    // The preview directory right after the main one (one entry, 18 bytes).
    MakerNoteBuilder note(ByteOrder::Little);
    note.Add(0x0011, fixture::kLong, 1, note.U32(8 + 18));
    Bytes body = NikonType3Note(note);
    const Bytes sub = preview.Build(8 + 18);
    body.insert(body.end(), sub.begin(), sub.end());
    const Listed l(NikonTiff(body, ByteOrder::Little));
    EXPECT_EQ(l.Number("PreviewIFD", 0x0103, "Compression"), 6);
    EXPECT_EQ(l.Number("PreviewIFD", 0x0202, "PreviewImageLength"), 26);
}

// --- Notes that lie -------------------------------------------------------

TEST(NikonMakerNote, CutAndLyingNotesStayBoundedAndTheRestIsRead) {
    MakerNoteBuilder full = Body(ByteOrder::Little);
    full.Undefined(0x0098, Enciphered(NikonLensData("0204", kZoom), kSerial, kCount));
    full.Undefined(0x0091, {'0', '2', '1', '0', 1});           // a record shorter than its layout
    full.Add(0x0011, fixture::kLong, 1, full.U32(0x7FFFFFF0)); // preview far outside
    const Bytes whole = NikonType3Note(full);
    for (size_t cut :
         {size_t{6}, size_t{12}, size_t{19}, size_t{40}, whole.size() - 9, whole.size()}) {
        const Bytes note(whole.begin(), whole.begin() + static_cast<long>(cut));
        const Listed l(NikonTiff(note, ByteOrder::Little));
        EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr) << cut;
        EXPECT_EQ(l.CountOf("PreviewIFD"), 0u) << cut;
    }
    // A directory declaring more entries than the note holds is not read.
    MakerNoteBuilder lying(ByteOrder::Little);
    lying.Shorts(0x0002, {0, 200}).DeclaredCount(4000);
    const Listed l(NikonTiff(NikonType3Note(lying), ByteOrder::Little));
    EXPECT_EQ(l.CountOf("Nikon"), 0u);
    EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);
}

// --- A real camera's enciphered lens data -----------------------------------

namespace {

// The EXIF block of a PNG's eXIf chunk; empty when the file is not there.
Bytes PngExif(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t at = 8; at + 12 <= file.size();) {
        const size_t length = size_t{file[at]} << 24 | size_t{file[at + 1]} << 16 |
                              size_t{file[at + 2]} << 8 | file[at + 3];
        if (length > file.size() - at - 12)
            break;
        if (std::memcmp(file.data() + at + 4, "eXIf", 4) == 0)
            return Bytes(file.begin() + static_cast<long>(at + 8),
                         file.begin() + static_cast<long>(at + 8 + length));
        at += 12 + length;
    }
    return {};
}

} // namespace

TEST(NikonMakerNote, RealD300LensDataAsTheReferenceReadsIt) {
    // A D300 photo (LensData 0203, enciphered with serial 4138072 and
    // shutter count 42430); the reference reads LensIDNumber 127 and names
    // the 18-70mm zoom.
    const Bytes exif = PngExif(std::string(VELMORA_CORPUS_DIR) +
                               "/more/JXLTD__external_raw.pixls_Nikon-D300-12bit_srgb8_dt.png");
    if (exif.empty())
        GTEST_SKIP() << "no corpus";
    const Listed l(exif);
    EXPECT_EQ(l.Text("Nikon", 0, "LensDataVersion"), "0203");
    EXPECT_EQ(l.Number("Nikon", 11, "LensIDNumber"), 127);
    EXPECT_NEAR(l.Number("Nikon", 13, "MinFocalLength"), 18.34, 0.01);
    EXPECT_EQ(l.Number("Nikon", -1, "ShutterCount"), 42430);
    EXPECT_EQ(SummaryText(l, "Lens"), kZoomName);
}
