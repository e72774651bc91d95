#include "presentation/window/PhotoColumns.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/fixtures/MakerNoteSamples.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

// The Lens cell as the file list's workers read it from files on disk, and
// the Date Taken cell's sort number.

namespace {

using fixture::Bytes;

constexpr char kNoteLens[] = "LUMIX G VARIO 14-42/F3.5-5.6"; // PanasonicNote's 0x0051

// A TIFF file, or a JPEG holding it: IFD0's Make, then an EXIF directory
// with LensModel when given and Panasonic's note when asked, padded past
// 4 KiB (as raw files' notes are, which a walk for the record leaves out).
Bytes LensFile(bool jpeg, const std::string& lensModel, bool note) {
    const fixture::ByteOrder order = fixture::ByteOrder::Little;
    fixture::MakerNoteBuilder panasonic = fixture::PanasonicNote(order);
    panasonic.Undefined(0x7778, Bytes(6000, 0x55));
    const auto size = static_cast<uint32_t>(panasonic.Build(0).size());
    const auto builder = [&](uint32_t noteAt) {
        fixture::ExifBuilder exif(order);
        const int exifIfd = exif.AddDirectory();
        exif.Ascii(0, 0x010F, "Panasonic").Link(0, 0x8769, exifIfd);
        exif.Ascii(exifIfd, 0x9003, "2024:05:01 10:00:00");
        fixture::Entry entry = fixture::MakeEntry(0x927C, fixture::kUndefined, size, {});
        entry.offsetOverride = noteAt;
        if (note)
            exif.Add(exifIfd, entry);
        if (!lensModel.empty())
            exif.Ascii(exifIfd, 0xA434, lensModel);
        return exif;
    };
    const uint32_t at = builder(0).Append({});
    fixture::ExifBuilder exif = builder(at);
    exif.Append(panasonic.Build(at));
    if (!jpeg)
        return exif.Tiff();
    return fixture::JpegBuilder().Soi().App1(exif).Frame(8, 8).BareSos().Data();
}

TEST(PhotoColumnsLens, FromLensModelElseFromTheMakerNote) {
    const struct {
        bool jpeg;
        const char* lensModel;
        bool note;
        const char* lens;
    } cases[] = {
        {true, "LUMIX G 25/F1.7", true, "LUMIX G 25/F1.7"}, // the camera's own text first
        {true, "", true, kNoteLens},
        {true, "", false, ""},
        {true, "    ", true, kNoteLens}, // a blank LensModel names nothing
        {true, "  Velmora 35mm F1.4  ", false, "Velmora 35mm F1.4"},
        {false, "", true, kNoteLens},
        {false, "LUMIX G 25/F1.7", true, "LUMIX G 25/F1.7"},
        {false, "", false, ""},
    };
    const QTemporaryDir dir;
    int i = 0;
    for (const auto& c : cases) {
        const std::string path = dir.filePath(QString::number(i++)).toStdString();
        ASSERT_TRUE(fixture::WriteFile(path, LensFile(c.jpeg, c.lensModel, c.note)));
        const std::vector<FileColumnCell> cells = PhotoColumns().Read(QByteArray(path.c_str()));
        ASSERT_EQ(cells.size(), size_t(PhotoColumns::Count)) << path;
        EXPECT_EQ(cells[PhotoColumns::Lens].text, QString::fromUtf8(c.lens)) << path;
    }
}

// Dates sort by the moment they name in UTC, as Qt's date parser reads them.
TEST(PhotoColumnsDates, SortNumberIsTheMomentInUtc) {
    FileReport report;
    report.record.exifValid = true;
    for (const char* date : {"2024:05:01 10:00:00", "1969:12:31 23:59:59", "2000:02:29 12:30:45",
                             "1900:02:29 00:00:00", "0000:00:00 00:00:00", "2024:04:31 00:00:00",
                             "2024:05:01 24:00:00", "2024:05:01 10:00:60", "2024-05-01 10:00:00",
                             "0001:01:01 00:00:00", "9999:12:31 23:59:59", "2024:05:01 10:00"}) {
        report.rows = {{"Date/Time", date}};
        const FileColumnCell cell = PhotoColumns::CellsOf(report)[PhotoColumns::DateTaken];
        QDateTime qt =
            QDateTime::fromString(QString::fromLatin1(date), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
        qt.setTimeZone(QTimeZone::utc());
        EXPECT_EQ(cell.number.value_or(-1e18), qt.isValid() ? qt.toSecsSinceEpoch() : -1e18)
            << date;
    }
}

// Photos with the same camera, lens and settings share the cells' texts
// (one allocation kept for thousands of search results), trimmed as the
// pane's rows are; another value has a text of its own.
TEST(PhotoColumnsTexts, PhotosShareTheTextsTheyHaveInCommon) {
    const auto cellsOf = [](const char* aperture) {
        FileReport report;
        report.record.exifValid = true;
        report.lens = "EF50mm f/1.8 STM";
        report.rows = {
            {"Camera make", "Canon "}, {"Camera model", "Canon EOS 40D"}, {"Aperture", aperture}};
        return PhotoColumns::CellsOf(report);
    };
    const std::vector<FileColumnCell> a = cellsOf("f/ 2.8 "), b = cellsOf("f/ 2.8 "),
                                      c = cellsOf("f/ 4.0 ");
    for (const int column : {PhotoColumns::Camera, PhotoColumns::Aperture, PhotoColumns::Lens})
        EXPECT_TRUE(a[column].text.isSharedWith(b[column].text)) << column;
    EXPECT_EQ(b[PhotoColumns::Camera].text, QStringLiteral("Canon EOS 40D"));
    EXPECT_EQ(b[PhotoColumns::Aperture].text, QStringLiteral("f/ 2.8"));
    EXPECT_EQ(c[PhotoColumns::Aperture].text, QStringLiteral("f/ 4.0"));
}

} // namespace
