#include "framework/views/Orientation.h"
#include "framework/views/ShellFileList.h"
#include "framework/views/ThumbnailCache.h"
#include "framework/views/ThumbnailSource.h"
#include "tests/fixtures/ExifBuilder.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// A 3 x 2 picture whose pixels all differ, so every turn and mirror shows.
QImage Corners() {
    QImage image(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, qRgb(x * 100, y * 100, 50));
    return image;
}

TEST(Orientation, EachOfTheEightValuesTurnsThePictureUpright) {
    const QImage stored = Corners();
    const int w = stored.width();
    const int h = stored.height();
    // Where the stored pixel (x, y) lands in the upright picture.
    const std::function<QPoint(int, int)> lands[9] = {
        nullptr,
        [](int x, int y) { return QPoint(x, y); },
        [&](int x, int y) { return QPoint(w - 1 - x, y); },
        [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); },
        [&](int x, int y) { return QPoint(x, h - 1 - y); },
        [](int x, int y) { return QPoint(y, x); },
        [&](int x, int y) { return QPoint(h - 1 - y, x); },
        [&](int x, int y) { return QPoint(h - 1 - y, w - 1 - x); },
        [&](int x, int y) { return QPoint(y, w - 1 - x); },
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QImage upright = Upright(stored, orientation);
        const bool turned = orientation >= 5;
        ASSERT_EQ(upright.size(), turned ? QSize(h, w) : QSize(w, h)) << orientation;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(upright.pixel(lands[orientation](x, y)), stored.pixel(x, y))
                    << "orientation " << orientation << " at " << x << "," << y;
    }
    EXPECT_EQ(Upright(stored, 0), stored);
    EXPECT_EQ(Upright(stored, 9), stored);
}

QPixmap Pixmap(int w, int h) {
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::red);
    return pixmap;
}

ThumbnailKey Key(int n) {
    return {QByteArray("/photos/") + QByteArray::number(n), 100, 5, 32};
}

TEST(ThumbnailCache, DropsTheLeastRecentlyUsedAndNeverExceedsItsCap) {
    const qint64 one = ThumbnailCache::CostOf(Pixmap(10, 10));
    ThumbnailCache cache(one * 3);
    cache.Insert(Key(1), Pixmap(10, 10));
    cache.Insert(Key(2), Pixmap(10, 10));
    cache.Insert(Key(3), Pixmap(10, 10));
    EXPECT_EQ(cache.UsedBytes(), one * 3);
    ASSERT_NE(cache.Find(Key(1)), nullptr); // 1 is now the most recent
    cache.Insert(Key(4), Pixmap(10, 10));
    EXPECT_FALSE(cache.Contains(Key(2)));
    EXPECT_TRUE(cache.Contains(Key(1)));
    EXPECT_TRUE(cache.Contains(Key(3)));
    EXPECT_LE(cache.UsedBytes(), cache.CapBytes());

    // A larger one makes room for itself; one above the cap is not held.
    cache.Insert(Key(5), Pixmap(20, 10));
    EXPECT_LE(cache.UsedBytes(), cache.CapBytes());
    EXPECT_TRUE(cache.Contains(Key(5)));
    EXPECT_TRUE(cache.Contains(Key(4)));
    EXPECT_FALSE(cache.Contains(Key(3)));
    EXPECT_FALSE(cache.Contains(Key(1)));
    cache.Insert(Key(6), Pixmap(40, 40));
    EXPECT_FALSE(cache.Contains(Key(6)));

    // Replacing keeps the count right; a changed file is another key.
    cache.Insert(Key(5), Pixmap(10, 10));
    EXPECT_EQ(cache.UsedBytes(), one * 2);
    ThumbnailKey changed = Key(5);
    changed.modifiedMs += 1;
    EXPECT_EQ(cache.Find(changed), nullptr);

    for (int i = 10; i < 200; ++i) {
        cache.Insert(Key(i), Pixmap(1 + i % 17, 1 + i % 13));
        ASSERT_LE(cache.UsedBytes(), cache.CapBytes());
    }
    cache.SetCapBytes(one);
    EXPECT_LE(cache.UsedBytes(), one);
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Filled(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A JPEG file: `picture`'s own JPEG with an EXIF block put in after its
// start, holding the orientation and, when given, a thumbnail at
// `thumbnailOffset` (by default where it is) of `thumbnailLength` bytes.
QByteArray WithExif(const QByteArray& picture, int orientation, const QByteArray& thumbnail,
                    std::optional<uint32_t> thumbnailOffset = std::nullopt) {
    fixture::ExifBuilder exif(fixture::ByteOrder::Big);
    exif.Ascii(0, 0x010F, "Velmora");
    exif.Short(0, 0x0112, uint16_t(orientation));
    if (!thumbnail.isEmpty()) {
        const int ifd1 = exif.AddDirectory();
        exif.Long(ifd1, 0x0201, 0);
        exif.Long(ifd1, 0x0202, uint32_t(thumbnail.size()));
        exif.Next(0, ifd1);
        const uint32_t at = exif.Append(fixture::Bytes(thumbnail.begin(), thumbnail.end()));
        exif.Set(ifd1, 0x0201, exif.U32(thumbnailOffset.value_or(at)));
    }
    const fixture::Bytes payload = exif.Payload();
    QByteArray file = picture.left(2);
    const int length = int(payload.size()) + 2;
    file += char(0xFF);
    file += char(0xE1);
    file += char(length >> 8);
    file += char(length & 0xFF);
    file += QByteArray(reinterpret_cast<const char*>(payload.data()), qsizetype(payload.size()));
    file += picture.mid(2);
    return file;
}

class ThumbnailFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QByteArray Write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QFile::encodeName(dir.filePath(name));
    }
    static bool IsMostly(const QImage& image, QColor colour) {
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        return qAbs(centre.red() - colour.red()) < 40 &&
               qAbs(centre.green() - colour.green()) < 40 &&
               qAbs(centre.blue() - colour.blue()) < 40;
    }
    QTemporaryDir dir;
};

TEST_F(ThumbnailFiles, TheExifThumbnailIsUsedTurnedUprightAndScaled) {
    const QByteArray picture = Encoded(Filled(400, 200, Qt::red), "JPEG");
    const QByteArray thumbnail = Encoded(Filled(80, 40, Qt::blue), "JPEG");
    const QImage plain = LoadThumbnail(Write("plain.jpg", WithExif(picture, 1, thumbnail)), 32);
    ASSERT_FALSE(plain.isNull());
    EXPECT_EQ(plain.size(), QSize(32, 16));
    EXPECT_TRUE(IsMostly(plain, Qt::blue)); // the thumbnail, not the picture

    const QImage turned = LoadThumbnail(Write("turned.jpg", WithExif(picture, 6, thumbnail)), 32);
    EXPECT_EQ(turned.size(), QSize(16, 32));
}

TEST_F(ThumbnailFiles, WithoutAThumbnailThePictureIsDecodedSmall) {
    const QByteArray picture = Encoded(Filled(400, 200, Qt::red), "JPEG");
    const QImage jpeg = LoadThumbnail(Write("a.jpg", WithExif(picture, 8, {})), 40);
    ASSERT_FALSE(jpeg.isNull());
    EXPECT_EQ(jpeg.size(), QSize(20, 40));
    EXPECT_TRUE(IsMostly(jpeg, Qt::red));

    const QImage png =
        LoadThumbnail(Write("b.png", Encoded(Filled(50, 100, Qt::green), "PNG")), 40);
    EXPECT_EQ(png.size(), QSize(20, 40));
    // Smaller than the edge: kept as it is.
    EXPECT_EQ(LoadThumbnail(Write("c.png", Encoded(Filled(8, 4, Qt::green), "PNG")), 40).size(),
              QSize(8, 4));
}

// None of these may crash, hang or yield a picture it does not have.
TEST_F(ThumbnailFiles, HostileFilesGiveNoPictureAndNeverBlock) {
    QElapsedTimer timer;
    timer.start();
    const QByteArray picture = Encoded(Filled(64, 64, Qt::red), "JPEG");
    const QByteArray thumbnail = Encoded(Filled(16, 16, Qt::blue), "JPEG");
    EXPECT_TRUE(LoadThumbnail(Write("empty.jpg", {}), 32).isNull());
    EXPECT_TRUE(LoadThumbnail(Write("text.jpg", "not a picture at all"), 32).isNull());
    // Cut inside the EXIF block, and inside the picture: whatever comes
    // back, it comes back.
    const QByteArray full = WithExif(picture, 1, thumbnail);
    LoadThumbnail(Write("cut-exif.jpg", full.left(40)), 32);
    LoadThumbnail(Write("cut-picture.jpg", full.left(full.size() - 200)), 32);
    // A thumbnail said to lie far past the end of its block.
    const QImage past =
        LoadThumbnail(Write("past.jpg", WithExif(picture, 1, thumbnail, 0x7FFFFFF0u)), 32);
    EXPECT_FALSE(!past.isNull() && IsMostly(past, Qt::blue));
    // A FIFO is never opened, a folder neither.
    const QByteArray fifo = QFile::encodeName(dir.filePath("pipe.jpg"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    EXPECT_TRUE(LoadThumbnail(fifo, 32).isNull());
    EXPECT_TRUE(LoadThumbnail(QFile::encodeName(dir.path()), 32).isNull());
    EXPECT_TRUE(LoadThumbnail(QByteArray("/no/such/file.jpg"), 32).isNull());
    EXPECT_LT(timer.elapsed(), 5000);
}

// The icon layouts show the pictures; a folder of hostile files next to a
// good one keeps the window going and leaves them their icons.
TEST_F(ThumbnailFiles, TheIconLayoutsShowThePicturesOfTheShownFolder) {
    Write("good.jpg", WithExif(Encoded(Filled(300, 200, Qt::red), "JPEG"), 1, {}));
    Write("empty.jpg", {});
    Write("cut.jpg", Encoded(Filled(300, 200, Qt::red), "JPEG").left(100));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0600), 0);
    ShellFileList list;
    list.resize(600, 400);
    list.SetViewMode(ShellFileList::ViewMode::LargeIcons);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.DisplayFolder(QDir(dir.path()).canonicalPath()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemCount() == 3; }, 5000));
    ThumbnailCache& cache = list.Thumbnails().Cache();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return cache.Count() >= 1 && list.Thumbnails().Pending() == 0; }, 5000));
    EXPECT_EQ(cache.Count(), 1); // only the good one decodes
    // Switching folder mid-way drops what was asked.
    list.Thumbnails().Cache().Clear();
    ASSERT_TRUE(list.DisplayFolder(QDir::rootPath()));
    EXPECT_EQ(list.Thumbnails().Pending(), 0);
}

} // namespace
