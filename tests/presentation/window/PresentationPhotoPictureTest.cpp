// The photographs' pictures: EXIF thumbnails, orientation and the decode of
// the picture itself when there is no thumbnail.
#include "presentation/window/Orientation.h"
#include "presentation/window/PhotoPictures.h"
#include "tests/framework/FrameworkThumbnailTestSupport.h"
#include "tests/presentation/window/DecoderTestSupport.h"

#include <QDir>
#include <QElapsedTimer>

#include <functional>

#include <sys/stat.h>

namespace {

QImage LoadThumbnail(const QByteArray& path, int edge) {
    return PhotoPictures(SharedTestDecoder()).Picture(path, edge);
}

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

} // namespace
