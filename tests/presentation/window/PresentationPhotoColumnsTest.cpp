#include "presentation/window/PhotoColumns.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/fixtures/MakerNoteSamples.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

// The Lens cell as the file list's workers read it from files on disk, and
// the Date Taken cell's sort number.

namespace {

using fixture::Bytes;

constexpr char kNoteLens[] = "LUMIX G VARIO 14-42/F3.5-5.6"; // PanasonicNote's 0x0051

// A TIFF structure: IFD0's Make, then an EXIF directory with LensModel when
// given and Panasonic's note when asked, padded past 4 KiB when `big` (as
// raw files' notes are, which a walk for the record alone leaves out).
Bytes LensTiff(const std::string& lensModel, bool note, bool big = false) {
    const fixture::ByteOrder order = fixture::ByteOrder::Little;
    fixture::MakerNoteBuilder panasonic = fixture::PanasonicNote(order);
    if (big)
        panasonic.Undefined(0x7778, Bytes(6000, 0x55));
    const auto size = static_cast<uint32_t>(panasonic.Build(0).size());
    const auto builder = [&](uint32_t noteAt) {
        fixture::ExifBuilder exif(order);
        const int exifIfd = exif.AddDirectory();
        exif.Ascii(0, 0x010F, "Panasonic").Link(0, 0x8769, exifIfd);
        exif.Ascii(exifIfd, 0x9003, "2024:05:01 10:00:00");
        if (note) {
            fixture::Entry entry;
            entry.tag = 0x927C;
            entry.format = fixture::kUndefined;
            entry.count = size;
            entry.offsetOverride = noteAt;
            exif.Add(exifIfd, entry);
        }
        if (!lensModel.empty())
            exif.Ascii(exifIfd, 0xA434, lensModel);
        return exif;
    };
    const uint32_t at = builder(0).Append({});
    fixture::ExifBuilder exif = builder(at);
    if (note)
        exif.Append(panasonic.Build(at));
    return exif.Tiff();
}

Bytes LensJpeg(const std::string& lensModel, bool note) {
    Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
    const Bytes tiff = LensTiff(lensModel, note);
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    return fixture::JpegBuilder().Soi().Segment(0xE1, payload).Frame(8, 8).BareSos().Data();
}

struct LensCase {
    const char* name;
    Bytes file;
    const char* lens;
};

TEST(PhotoColumnsLens, FromLensModelElseFromTheMakerNote) {
    const LensCase cases[] = {
        {"lens model beside a note", LensJpeg("LUMIX G 25/F1.7", true), "LUMIX G 25/F1.7"},
        {"maker note only", LensJpeg("", true), kNoteLens},
        {"neither", LensJpeg("", false), ""},
        {"blank lens model: the note's", LensJpeg("    ", true), kNoteLens},
        {"padded lens model", LensJpeg("  Velmora 35mm F1.4  ", false), "Velmora 35mm F1.4"},
        {"TIFF file, large note only", LensTiff("", true, true), kNoteLens},
        {"TIFF file, lens model", LensTiff("LUMIX G 25/F1.7", true, true), "LUMIX G 25/F1.7"},
        {"TIFF file, neither", LensTiff("", false), ""},
    };
    const QTemporaryDir dir;
    const PhotoColumns columns;
    for (const LensCase& c : cases) {
        const QByteArray path = QFile::encodeName(dir.filePath(QString::fromUtf8(c.name)));
        ASSERT_TRUE(fixture::WriteFile(path.toStdString(), c.file)) << c.name;
        const std::vector<FileColumnCell> cells = columns.Read(path);
        ASSERT_EQ(cells.size(), size_t(PhotoColumns::Count)) << c.name;
        EXPECT_EQ(cells[PhotoColumns::Lens].text, QString::fromUtf8(c.lens)) << c.name;
        // Lenses sort by their names.
        EXPECT_FALSE(cells[PhotoColumns::Lens].number.has_value()) << c.name;
        EXPECT_EQ(cells[PhotoColumns::DateTaken].text, "2024:05:01 10:00:00") << c.name;
    }
}

// The dates sort by the moment they name read as UTC, as the date parser of
// Qt reads them; what is no date has no number.
TEST(PhotoColumnsDates, SortNumberIsTheMomentInUtc) {
    const char* const dates[] = {
        "2024:05:01 10:00:00", "1970:01:01 00:00:00",  "1969:12:31 23:59:59", "2000:02:29 12:30:45",
        "1900:02:29 00:00:00", "2023:02:29 00:00:00",  "0000:00:00 00:00:00", "2024:13:01 00:00:00",
        "2024:04:31 00:00:00", "2024:05:01 24:00:00",  "2024:05:01 10:60:00", "2024:05:01 10:00:60",
        "2024-05-01 10:00:00", "2024:05:01 10:00",     "    :  :     :  :  ", "0001:01:01 00:00:00",
        "9999:12:31 23:59:59", "2024:05:01 10:00:00Z",
    };
    FileReport report;
    report.record.exifValid = true;
    for (const char* date : dates) {
        report.rows = {{"Date/Time", date}};
        const FileColumnCell cell = PhotoColumns::CellsOf(report)[PhotoColumns::DateTaken];
        QDateTime qt =
            QDateTime::fromString(QString::fromLatin1(date), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
        qt.setTimeZone(QTimeZone::utc());
        ASSERT_EQ(cell.number.has_value(), qt.isValid()) << date;
        if (qt.isValid())
            EXPECT_EQ(*cell.number, double(qt.toSecsSinceEpoch())) << date;
    }
}

} // namespace
