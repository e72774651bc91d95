// Canon's maker note through the every-tag walk: its directory, its binary
// records field by field, the summary rows, and where its offsets count
// from when the note was moved.
#include "metadata/makernotes/CanonMakerNote.h"
#include "tests/metadata/makernotes/MakerNoteTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace makernotetest;

namespace {

// CameraSettings with the given SHORTs at their indexes (index 0 is the
// record's length in bytes, as cameras write it).
std::vector<int32_t> Record(size_t length, std::initializer_list<std::pair<size_t, int32_t>> set) {
    std::vector<int32_t> v(length, 0);
    v[0] = static_cast<int32_t>(length * 2);
    for (const auto& [index, value] : set)
        v[index] = value;
    return v;
}

MakerNoteBuilder TypicalNote(ByteOrder order) {
    MakerNoteBuilder note(order);
    note.Shorts(0x0001, Record(47, {{1, 2},
                                    {3, 3},
                                    {5, 1},
                                    {7, 2},
                                    {16, 15},
                                    {9, -1},
                                    {17, 3},
                                    {22, 52},
                                    {23, 550},
                                    {24, 180},
                                    {25, 10},
                                    {26, 0x8C},
                                    {27, 0x134}}))
        .Shorts(0x0002, {0, 330, 0, 0})
        .Shorts(0x0004, Record(34, {{1, 0},
                                    {2, 160},
                                    {3, 265},
                                    {5, 245},
                                    {6, -12},
                                    {7, 0},
                                    {12, 150},
                                    {19, 527},
                                    {20, 182}}))
        .Ascii(0x0006, "Canon EOS 600D")
        .Ascii(0x0007, "Firmware Version 1.0.2")
        .Longs(0x000C, {1234567})
        .Ascii(0x0095, "EF-S18-55mm f/3.5-5.6 IS II")
        .Undefined(0x4019, {0x00, 0x00, 0x27, 0xCE, 0xD3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                            0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
        .Shorts(0x5000, {7});
    return note;
}

} // namespace

TEST(CanonMakerNote, DirectoryEntriesAndRecordFieldsInBothOrders) {
    for (const ByteOrder order : kBothOrders) {
        SCOPED_TRACE(order == ByteOrder::Big ? "big-endian" : "little-endian");
        const Listed l(WithCanonNote(TypicalNote(order)));
        ASSERT_TRUE(l.ok);
        // The standard entry stays, and so do the entries after it.
        EXPECT_NE(l.Find("ExifIFD", 0x927C), nullptr);
        EXPECT_NE(l.Find("ExifIFD", 0x9003), nullptr);

        struct Case {
            int32_t id;
            const char* name;
            double value;
            const char* text;
        };
        const Case cases[] = {
            {1, "MacroMode", 2, "Normal"},
            {3, "Quality", 3, "Fine"},
            {5, "ContinuousDrive", 1, "Continuous"},
            {7, "FocusMode", 2, "AI Focus AF"},
            {17, "MeteringMode", 3, "Evaluative"},
            {22, "LensType", 52, "Canon EF-S 18-55mm f/3.5-5.6 IS II"},
            {23, "MaxFocalLength", 55, "55 mm"}, // 550 in tenths: FocalUnits 10
            {24, "MinFocalLength", 18, "18 mm"},
            {26, "MaxAperture", std::exp2(CanonEv(0x8C) / 2), "f/4.5"}, // 4 1/3 EV
            {1, "FocalLength", 33, "33 mm"},
            {2, "BaseISO", 100 * std::exp2(160.0 / 32) / 32, "100"},
            {3, "MeasuredEV", 265.0 / 32 + 5, nullptr},
            {5, "TargetExposureTime", std::exp2(-CanonEv(245)), nullptr},
            {6, "ExposureCompensation", CanonEv(-12), nullptr},
            {7, "WhiteBalance", 0, "Auto"},
            {12, "CameraTemperature", 22, "22 °C"},
            {19, "FocusDistanceUpper", 5.27, "5.27 m"},
            {12, "SerialNumber", 1234567, "0001234567"},
            {0x5000, "Tag0x5000", 7, "7"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_NEAR(l.Number("Canon", c.id, c.name), c.value, 1e-9);
            if (c.text != nullptr) {
                EXPECT_EQ(l.Text("Canon", c.id, c.name), c.text);
            }
        }
        EXPECT_EQ(l.Text("Canon", 16, "CameraISO"), "Auto");
        EXPECT_EQ(l.Text("Canon", 0, "LensSerialNumber"), "000027ced3");
        EXPECT_EQ(l.Text("Canon", 0x95, "LensModel"), "EF-S18-55mm f/3.5-5.6 IS II");
        // Fields whose stored number means "not recorded" are left out.
        EXPECT_EQ(l.Find("Canon", 9, "RecordMode"), nullptr); // -1
        EXPECT_NE(l.Find("Canon", 18, "FocusRange"), nullptr);
    }
}

TEST(CanonMakerNote, SummaryRowsComeFirstInTheGroupWithIdMinusOne) {
    const Listed l(WithCanonNote(TypicalNote(ByteOrder::Little)));
    std::vector<std::string> names;
    for (const MetadataEntry& e : l.out.Entries()) {
        if (e.group == "Canon" && e.id == -1)
            names.push_back(e.text.empty() ? "" : std::string(e.name) + "=" + e.text);
        else if (e.group == "Canon")
            break;
    }
    const std::vector<std::string> expected = {"Lens=Canon EF-S 18-55mm f/3.5-5.6 IS II",
                                               "LensSerialNumber=000027ced3",
                                               "SerialNumber=0001234567", "FirmwareVersion=1.0.2"};
    EXPECT_EQ(names, expected);
}

// A lens that reports no number (65535) is named by its recorded range, in
// whole millimetres, unless the body wrote the lens's text.
TEST(CanonMakerNote, LensWithoutANumberNamedByItsRange) {
    struct Case {
        int32_t longest, shortest, units;
        const char* model; // LensModel, when written
        const char* lens;  // the Lens row
    };
    for (const Case& c :
         {Case{174, 58, 10, nullptr, "Unknown 5-17mm"}, Case{50, 50, 1, nullptr, "Unknown 50mm"},
          Case{0, 0, 1, nullptr, "(missing)"}, Case{55, 18, 1, "EF-S18-55mm", "EF-S18-55mm"}}) {
        MakerNoteBuilder note(ByteOrder::Little);
        note.Shorts(0x0001,
                    Record(47, {{22, -1}, {23, c.longest}, {24, c.shortest}, {25, c.units}}));
        if (c.model != nullptr)
            note.Ascii(0x0095, c.model);
        EXPECT_EQ(Listed(WithCanonNote(note)).Text("Canon", -1, "Lens"), c.lens);
    }
}

TEST(CanonMakerNote, SerialNumberAsTheModelPrintsIt) {
    struct Case {
        const char* model;
        uint32_t serial;
        const char* text;
    };
    const Case cases[] = {{"Canon EOS 40D", 1234567, "0001234567"},
                          {"Canon EOS D30", (0x12AB << 16) | 345, "12ab00345"},
                          {"Canon EOS-1D", 12345, "012345"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        MakerNoteBuilder note(ByteOrder::Little);
        note.Ascii(0x0006, c.model).Longs(0x000C, {c.serial});
        const Listed l(WithCanonNote(note));
        EXPECT_EQ(l.Text("Canon", 0x000C), c.text);
    }
}

TEST(CanonMakerNote, EvCodesWithThirds) {
    const std::pair<int32_t, double> cases[] = {
        {0, 0}, {32, 1}, {0x0C, 1.0 / 3}, {0x14, 2.0 / 3}, {-0x2C, -(1 + 1.0 / 3)}, {0x10, 0.5}};
    for (const auto& [code, ev] : cases)
        EXPECT_NEAR(CanonEv(code), ev, 1e-12) << code;
}

TEST(CanonMakerNote, AfPointsArraysFollowTheNumberOfPoints) {
    MakerNoteBuilder note(ByteOrder::Little);
    // 9 points: four arrays of nine, then one word each of in focus and
    // selected, then the primary point.
    std::vector<int32_t> af = {0, 2, 9, 9, 5184, 3456, 5184, 3456};
    for (int a = 0; a < 4; ++a)
        for (int i = 0; i < 9; ++i)
            af.push_back(a * 100 + i);
    af.push_back(0x75);  // points 0, 2, 4, 5, 6
    af.push_back(0x1FF); // all nine
    af.push_back(4);
    note.Shorts(0x0026, af);
    const Listed l(WithCanonNote(note));
    EXPECT_EQ(l.Number("Canon", 2, "NumAFPoints"), 9);
    EXPECT_EQ(l.Text("Canon", 10, "AFAreaXPositions"), "200 201 202 203 204 205 206 207 208");
    EXPECT_EQ(l.Text("Canon", 12, "AFPointsInFocus"), "0,2,4,5,6");
    EXPECT_EQ(l.Text("Canon", 13, "AFPointsSelected"), "0,1,2,3,4,5,6,7,8");
    EXPECT_EQ(l.Number("Canon", 14, "PrimaryAFPoint"), 4);
}

TEST(CanonMakerNote, CustomFunctionsUnderTheirOwnGroup) {
    MakerNoteBuilder note(ByteOrder::Little);
    // CustomFunctions2: its length, then the number of groups; a group's
    // number, length (eight more than its settings' bytes) and count, then
    // each setting's id, number of values and values.
    Bytes record = note.U16(48);
    record.resize(4, 0);
    for (uint32_t w : {1u, 1u, 36u, 2u, 0x0101u, 1u, 2u, 0x0512u, 2u, 7u, 8u}) {
        const Bytes b = note.U32(w);
        record.insert(record.end(), b.begin(), b.end());
    }
    note.Undefined(0x0099, record);
    // The older form: function number and setting in one SHORT each.
    note.Shorts(0x000F, {6, 0x0102, 0x0300});
    const Listed l(WithCanonNote(note));
    EXPECT_EQ(l.Text("CanonCustom", 0x0101, "ExposureLevelIncrements"), "2");
    EXPECT_EQ(l.Text("CanonCustom", 0x0512), "7 8");
    EXPECT_EQ(l.Number("CanonCustom", 1, "CustomFunction1"), 2);
    EXPECT_EQ(l.Number("CanonCustom", 3, "CustomFunction3"), 0);
}

TEST(CanonMakerNote, MovedNoteReadThroughItsClosingMark) {
    // Software moved the note 160 bytes on; its values kept their offsets
    // from where it first stood, which the closing mark records.
    for (const ByteOrder order : kBothOrders) {
        MakerNoteBuilder note(order);
        note.Ascii(0x0006, "Canon EOS 600D").Ascii(0x0095, "EF50mm f/1.8");
        const Bytes tiff = fixture::TiffWithMakerNote(order, "Canon", [&](uint32_t at) {
            MakerNoteBuilder marked = note;
            marked.ClosingMark(at + 160);
            return marked.Build(at + 160);
        });
        const Listed l(tiff);
        EXPECT_EQ(l.Text("Canon", 0x0095), "EF50mm f/1.8");
    }
}

TEST(CanonMakerNote, MovedNoteWithoutMarkReadFromWhereItsValuesStart) {
    MakerNoteBuilder note(ByteOrder::Little);
    note.Ascii(0x0006, "Canon PowerShot G3").Ascii(0x0007, "Firmware Version 1.10");
    const Bytes tiff = fixture::TiffWithMakerNote(
        ByteOrder::Little, "Canon", [&](uint32_t at) { return note.Build(at + 1000); });
    const Listed l(tiff);
    EXPECT_EQ(l.Text("Canon", 0x0007), "Firmware Version 1.10");
    EXPECT_EQ(l.Text("Canon", -1, "FirmwareVersion"), "1.10");
}

TEST(CanonMakerNote, LittleEndianNoteInABigEndianBlock) {
    // Editors rewrite the block in their order and keep the note as it is.
    MakerNoteBuilder note(ByteOrder::Little);
    note.Ascii(0x0095, "EF-S10-18mm").Shorts(0x0010, {0x0286, 0x8000}, fixture::kShort);
    const Bytes tiff = fixture::TiffWithMakerNote(ByteOrder::Big, "Canon",
                                                  [&](uint32_t at) { return note.Build(at); });
    const Listed l(tiff);
    EXPECT_EQ(l.Text("Canon", 0x0095), "EF-S10-18mm");
}

TEST(CanonMakerNote, CameraInfoByModelWithPictureStylesInside) {
    // The 600D's CameraInfo: ISO code at 6, firmware at 411, file index at
    // 475; its picture styles from 763 on.
    Bytes info(763 + 248, 0);
    info[6] = 88; // ISO 100 * 2^(88/8 - 9) = 400
    info[56] = 1; // rotated
    const std::string firmware = "1.0.2";
    std::copy(firmware.begin(), firmware.end(), info.begin() + 411);
    info[475] = 0xF5; // 1781 + 1
    info[476] = 0x06;
    info[763 + 4] = 3; // SharpnessStandard
    for (int i = 0; i < 4; ++i)
        info[763 + 160 + i] = Bytes{0xEF, 0xBE, 0xAD, 0xDE}[static_cast<size_t>(i)];
    MakerNoteBuilder note(ByteOrder::Little);
    note.Undefined(0x000D, info).Longs(0x0010, {0x80000286});
    const Listed l(WithCanonNote(note));
    EXPECT_EQ(l.Number("Canon", 6, "ISO"), 400);
    EXPECT_EQ(l.Number("Canon", 56, "CameraOrientation"), 1);
    EXPECT_EQ(l.Text("Canon", 411, "FirmwareVersion"), "1.0.2");
    EXPECT_EQ(l.Number("Canon", 475, "FileIndex"), 1782);
    EXPECT_EQ(l.Number("Canon", 4, "SharpnessStandard"), 3);
    EXPECT_EQ(l.Text("Canon", 160, "FilterEffectAuto"), "n/a");
    EXPECT_EQ(l.Find("Canon", 0x000D), nullptr);

    // A model we have no layout for: the record is one entry.
    MakerNoteBuilder other(ByteOrder::Little);
    other.Undefined(0x000D, info).Longs(0x0010, {0x80000001});
    const Listed o(WithCanonNote(other));
    EXPECT_NE(o.Find("Canon", 0x000D, "CanonCameraInfo"), nullptr);
    EXPECT_EQ(o.Find("Canon", 6, "ISO"), nullptr);
}

TEST(CanonMakerNote, FieldsThatDependOnTheModel) {
    struct Case {
        const char* model;
        const char* name;
        double value;
        double exposure; // ShotInfo index 22, stored as 0x100 (8 EV)
    };
    // FileInfo's first LONG 0x00181900 (halves and bits of its own order).
    const Case cases[] = {
        {"Canon EOS 350D DIGITAL", "FileNumber", 1000024, 1000.0 / 32 / 256},
        {"Canon EOS-1D Mark II", "ShutterCount", 0x19000018, 1.0 / 256},
        {"Canon EOS 40D", "", 0, 1.0 / 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        MakerNoteBuilder note(ByteOrder::Little);
        std::vector<int32_t> shot(34, 0);
        shot[22] = 0x100;
        std::vector<int32_t> file(30, 0);
        file[1] = 0x1900; // the LONG at SHORT index 1, low half first
        file[2] = 0x0018;
        note.Shorts(0x0004, shot).Ascii(0x0006, c.model).Shorts(0x0093, file);
        const Listed l(WithCanonNote(note));
        EXPECT_NEAR(l.Number("Canon", 22, "ExposureTime"), c.exposure, 1e-12);
        if (*c.name != '\0') {
            EXPECT_EQ(l.Number("Canon", 1, c.name), c.value);
        } else {
            EXPECT_EQ(l.Find("Canon", 1, "FileNumber"), nullptr);
            EXPECT_EQ(l.Find("Canon", 1, "ShutterCount"), nullptr);
        }
    }
}

TEST(CanonMakerNote, ColorDataByItsLength) {
    // 1273 SHORTs: the 600D's layout, white balance as shot at 63.
    std::vector<int32_t> color(1273, 0);
    color[0] = 10;
    color[63] = 2362;
    color[64] = color[65] = 1024;
    color[66] = 1496;
    color[67] = 5800;
    MakerNoteBuilder note(ByteOrder::Little);
    note.Shorts(0x4001, color);
    const Listed l(WithCanonNote(note));
    EXPECT_EQ(l.Text("Canon", 63, "WB_RGGBLevelsAsShot"), "2362 1024 1024 1496");
    EXPECT_EQ(l.Number("Canon", 67, "ColorTempAsShot"), 5800);

    // Another length: no layout, the record stays one entry.
    color.resize(1000);
    MakerNoteBuilder other(ByteOrder::Little);
    other.Shorts(0x4001, color);
    const Listed o(WithCanonNote(other));
    EXPECT_EQ(o.Find("Canon", 63), nullptr);
    EXPECT_NE(o.Find("Canon", 0x4001), nullptr);
}

TEST(CanonMakerNote, TextsOfBinaryEntries) {
    MakerNoteBuilder note(ByteOrder::Little);
    note.Add(0x0028, fixture::kByte, 16,
             {0x3B, 0x7F, 0x67, 0x9F, 0x6B, 0xF5, 0xD5, 0xE1, 0xB6, 0x0C, 0xA2, 0xB2, 0xF0, 0x51,
              0xA0, 0x29})
        .Undefined(0x0038, {0x4C, 0, 0, 0, 'L', 'P', '-', 'E', '1', '2', 0, 0, 0, 0, 0, 0})
        .Shorts(0x4008, {135, 1, 33});
    const Listed l(WithCanonNote(note));
    EXPECT_EQ(l.Text("Canon", 0x0028, "ImageUniqueID"), "3b7f679f6bf5d5e1b60ca2b2f051a029");
    EXPECT_EQ(l.Text("Canon", 0x0038, "BatteryType"), "LP-E12");
    EXPECT_EQ(l.Text("Canon", 0x4008, "PictureStyleUserDef"), "Auto; Standard; User Def. 1");
}
