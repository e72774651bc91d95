// Pictures of the formats beside JPEG: embedded previews read on their own,
// HEIF through libheif, and the real files of the formats corpus.
#include "presentation/window/EmbeddedPreview.h"
#include "presentation/window/PhotoPictures.h"
#include "tests/fixtures/ContainerBuilders.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/presentation/window/DecoderTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <map>

namespace {

using fixture::Bytes;

QImage LoadThumbnail(const QByteArray& path, int edge) {
    return PhotoPictures(SharedTestDecoder()).Picture(path, edge);
}

Bytes FlatJpeg(uint16_t w, uint16_t h, uint8_t r, uint8_t g, uint8_t b) {
    return fixture::JpegBuilder().Soi().FlatImage(w, h, r, g, b).Data();
}

// A JPEG whose top half is red and bottom half blue, so a half turn shows.
Bytes TwoColourJpeg(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return Bytes(bytes.begin(), bytes.end());
}

// A DNG-like raw file: IFD0 names the preview JPEG (appended after the
// directories) and links to a sensor-data directory that holds no data.
// `previewOffset` replaces the preview's true offset when given.
Bytes RawWithPreview(const Bytes& preview, uint16_t orientation,
                     std::optional<uint32_t> previewOffset = std::nullopt) {
    fixture::ExifBuilder tiff(fixture::ByteOrder::Little);
    const int sensor = tiff.AddDirectory();
    tiff.Long(0, 0x00FE, 1) // a reduced copy
        .Ascii(0, 0x010F, "Velmora")
        .Short(0, 0x0112, orientation)
        .Long(0, 0x0201, 0)
        .Long(0, 0x0202, uint32_t(preview.size()))
        .Link(0, 0x014A, sensor)
        .Add(0, fixture::MakeEntry(0xC612, fixture::kByte, 4, {1, 4, 0, 0}));
    tiff.Long(sensor, 0x00FE, 0)
        .Long(sensor, 0x0100, 4000)
        .Long(sensor, 0x0101, 3000)
        .Short(sensor, 0x0103, 7)
        .Short(sensor, 0x0106, 32803);
    const uint32_t at = tiff.Append(preview);
    tiff.Set(0, 0x0201, tiff.U32(previewOffset.value_or(at)));
    return tiff.Tiff();
}

class PreviewFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QByteArray Write(const QString& name, const Bytes& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return QFile::encodeName(dir.filePath(name));
    }
    static QColor Centre(const QImage& image) {
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }
    QTemporaryDir dir;
};

TEST_F(PreviewFiles, ARawFileShowsItsPreviewScaledToTheEdgeNeverEnlarged) {
    const QImage large =
        LoadThumbnail(Write("large.dng", RawWithPreview(FlatJpeg(640, 480, 0, 200, 0), 1)), 96);
    ASSERT_FALSE(large.isNull());
    EXPECT_EQ(large.size(), QSize(96, 72));
    EXPECT_GT(Centre(large).green(), 150);
    EXPECT_LT(Centre(large).red(), 60);

    const QImage small =
        LoadThumbnail(Write("small.dng", RawWithPreview(FlatJpeg(120, 90, 0, 0, 200), 1)), 256);
    EXPECT_EQ(small.size(), QSize(120, 90));
}

TEST_F(PreviewFiles, TheOrientationIsAppliedOnce) {
    // A quarter turn applied twice would come back landscape.
    const QImage turned =
        LoadThumbnail(Write("six.dng", RawWithPreview(FlatJpeg(160, 80, 200, 0, 0), 6)), 80);
    EXPECT_EQ(turned.size(), QSize(40, 80));
    // A half turn applied twice would leave red on top.
    const QImage half =
        LoadThumbnail(Write("three.dng", RawWithPreview(TwoColourJpeg(64, 64), 3)), 64);
    ASSERT_EQ(half.size(), QSize(64, 64));
    EXPECT_GT(half.pixelColor(32, 4).blue(), 150);
    EXPECT_GT(half.pixelColor(32, 60).red(), 150);
}

TEST_F(PreviewFiles, ABadPreviewGivesNoPictureAndNoCrash) {
    const Bytes preview = FlatJpeg(320, 240, 0, 200, 0);
    // Past the end, straddling the end, and bytes that are no JPEG; a raw
    // file is never handed to Qt's TIFF reader instead.
    EXPECT_TRUE(
        LoadThumbnail(Write("past.dng", RawWithPreview(preview, 1, 0x7FFFFFF0u)), 64).isNull());
    Bytes cut = RawWithPreview(preview, 1);
    cut.resize(cut.size() - 100);
    EXPECT_TRUE(LoadThumbnail(Write("cut.dng", cut), 64).isNull());
    Bytes garbage = RawWithPreview(preview, 1);
    for (size_t i = garbage.size() - preview.size() + 2; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 37);
    EXPECT_TRUE(LoadThumbnail(Write("garbage.dng", garbage), 64).isNull());
    // A HEIF whose picture items hold no coded picture: libheif's error is no picture.
    fixture::ExifBuilder exif;
    exif.Short(0, 0x0112, 6);
    EXPECT_TRUE(LoadThumbnail(Write("empty.heic", fixture::HeifFile(exif.Tiff())), 64).isNull());
    fixture::HeifOptions avif;
    avif.brand = "avif";
    avif.primaryType = "av01";
    EXPECT_TRUE(
        LoadThumbnail(Write("empty.avif", fixture::HeifFile(exif.Tiff(), avif)), 64).isNull());
    // RAF's JPEG is its preview.
    const QImage raf = LoadThumbnail(Write("a.raf", fixture::RafFile(preview, 4000, 3000)), 64);
    EXPECT_EQ(raf.size(), QSize(64, 48));
}

TEST_F(PreviewFiles, AnExtentIsReadOnlyWhenItLiesInTheFileAndIsNotTooLarge) {
    const QString name = dir.filePath("sparse.bin");
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    const uint64_t size = kMaxPreviewBytes + 4096;
    ASSERT_EQ(::ftruncate(fd, off_t(size)), 0);
    ASSERT_EQ(::pwrite(fd, "\xFF\xD8\xFF", 3, 100), 3);
    const QByteArray read = ReadExtent(fd, size, {100, 3});
    EXPECT_EQ(read, QByteArray("\xFF\xD8\xFF"));
    EXPECT_EQ(ReadExtent(fd, size, {0, kMaxPreviewBytes}).size(), qsizetype(kMaxPreviewBytes));
    EXPECT_TRUE(ReadExtent(fd, size, {0, kMaxPreviewBytes + 1}).isEmpty());
    EXPECT_TRUE(ReadExtent(fd, size, {size - 10, 11}).isEmpty());
    EXPECT_TRUE(ReadExtent(fd, size, {size + 1, 1}).isEmpty());
    EXPECT_TRUE(ReadExtent(fd, size, {UINT64_MAX - 1, 4}).isEmpty());
    EXPECT_TRUE(ReadExtent(fd, size, {0, 0}).isEmpty());
    // A file that shrank since its size was learned.
    EXPECT_TRUE(ReadExtent(fd, size * 2, {size, 16}).isEmpty());
    ::close(fd);
}

// The formats corpus: every picture format the icon views promise, upright.
// Each file's upright aspect comes from exiftool's reading: the stored size
// turned by the EXIF orientation, or for HEIF by its own rotation (a HEIF
// file's EXIF Orientation only describes what 'irot' already does).
QJsonObject Oracle(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).array().at(0).toObject();
}

TEST(PreviewCorpus, EveryFormatShowsAnUprightPicture) {
    const QDir formats(QStringLiteral(VELMORA_CORPUS_DIR "/formats"));
    const QString oracle = QStringLiteral(VELMORA_CORPUS_DIR "/formats-oracle/");
    if (!formats.exists())
        GTEST_SKIP() << "no formats corpus at " << formats.path().toStdString();
    // Files known to hold no picture we can show, with the reason.
    const std::map<QString, const char*> none = {
        {"X__CanonRaw.cr2", "a stripped sample: its preview is a 26-byte placeholder"},
        {"X__CanonRaw.cr3", "a stripped sample: THMB and PRVW hold 28- and 26-byte placeholders"},
        {"X__DNG.dng", "a stripped sample: its preview is a 26-byte placeholder"},
        {"X__Nikon.nef", "a stripped sample: its preview is a 26-byte placeholder"},
        {"X__Panasonic.rw2", "a stripped sample: its thumbnail is a 28-byte placeholder"},
        {"D__m2-f228b1103fd7b629c08c1bbba94708e0.tif",
         "a damaged copy: no StripByteCounts, Qt's TIFF reader finds a strip of 0 bytes"},
        {"D__m1-f4830e8d4fa458f78a09fcaaf260569c.tif",
         "JPEG-compressed strips Qt's TIFF reader refuses (invalid component id in SOS)"},
    };
    const QStringList suffixes = {"heic", "avif", "cr2", "cr3", "nef", "dng",
                                  "rw2",  "webp", "png", "tif", "tiff"};
    constexpr int kEdge = 256;
    std::map<QString, std::pair<double, int>> perFormat; // total ms, files
    int tried = 0;
    for (const QFileInfo& info : formats.entryInfoList(QDir::Files, QDir::Name)) {
        const QString suffix = info.suffix().toLower();
        if (!suffixes.contains(suffix))
            continue;
        ++tried;
        const QByteArray path = QFile::encodeName(info.filePath());
        const QImage image = LoadThumbnail(path, kEdge);
        if (none.count(info.fileName())) {
            EXPECT_TRUE(image.isNull()) << info.fileName().toStdString() << " now shows a picture";
            continue;
        }
        ASSERT_FALSE(image.isNull()) << info.fileName().toStdString();
        EXPECT_LE(qMax(image.width(), image.height()), kEdge);

        const QJsonObject o = Oracle(oracle + info.fileName() + ".num.json");
        const QStringList stored = o.value("Composite:ImageSize").toString().split(' ');
        if (stored.size() == 2) {
            double w = stored[0].toDouble(), h = stored[1].toDouble();
            const bool heif = suffix == "heic" || suffix == "avif";
            const int rotation = o.value("QuickTime:Rotation").toInt();
            const int orientation = o.value("IFD0:Orientation").toInt();
            if (heif ? (rotation == 90 || rotation == 270) : orientation >= 5)
                std::swap(w, h);
            const double want = w / h;
            const double got = double(image.width()) / image.height();
            // Previews may be cropped to 3:2 or 4:3; a wrong turn inverts the aspect.
            EXPECT_LT(qAbs(std::log(got / want)), 0.35)
                << info.fileName().toStdString() << " is " << image.width() << "x" << image.height()
                << ", upright " << w << "x" << h;
        }

        // Warm: the file is in the page cache, libheif and Qt's plugins loaded.
        QElapsedTimer timer;
        timer.start();
        constexpr int kRuns = 1;
        for (int i = 0; i < kRuns; ++i)
            LoadThumbnail(path, kEdge);
        const double ms = double(timer.nsecsElapsed()) / 1e6 / kRuns;
        perFormat[suffix].first += ms;
        perFormat[suffix].second += 1;
        std::printf("thumbnail %-45s %4dx%-4d %8.1f ms\n", qPrintable(info.fileName()),
                    image.width(), image.height(), ms);
    }
    for (const auto& [suffix, total] : perFormat)
        std::printf("thumbnail per format %-5s %8.1f ms mean over %d\n", qPrintable(suffix),
                    total.first / total.second, total.second);
    for (const auto& [name, reason] : none)
        std::printf("thumbnail none: %s: %s\n", qPrintable(name), reason);
    EXPECT_GT(tried, 0);
}

} // namespace
