#include "resources/Resources.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Strip {
    unsigned id;
    int width;
    int height;
    std::vector<int> usedImages; // the indices the ribbon shows
};

// Every strip with its exact size; images are as wide as the strip is high,
// except the application button's single 26 x 26 picture.
const Strip kStrips[] = {
    {110, 176, 16, {0, 1, 2}},
    {111, 64, 32, {0}},
    {112, 26, 26, {0}},
    {113, 448, 16, {0, 7, 27}},
    {114, 448, 32, {0, 1, 2, 3, 6, 7, 8, 9, 11}},
    {115, 256, 16, {0, 1, 2, 3, 6, 7, 8, 9, 11, 15}},
};

QImage Cell(const QImage& strip, int index) {
    const int size = strip.height();
    return strip.copy(index * size, 0, size, size);
}

// A picture, not an empty or flat square: a fair share of visible pixels in
// several colours.
bool LooksLikePicture(const QImage& cell) {
    int visible = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb pixel = cell.pixel(x, y);
            if (qAlpha(pixel) > 32) {
                ++visible;
                colours.insert(pixel);
            }
        }
    return visible * 8 >= cell.width() * cell.height() && colours.size() >= 4;
}

TEST(ResourcePictures, EveryStripHasItsExactSizeAndAlpha) {
    for (const Strip& strip : kStrips) {
        // Loaded by path alone: the data must be registered without any call
        // into the library.
        const QImage image(QStringLiteral(":/bitmaps/%1.png").arg(strip.id));
        ASSERT_FALSE(image.isNull()) << strip.id;
        EXPECT_EQ(image.width(), strip.width) << strip.id;
        EXPECT_EQ(image.height(), strip.height) << strip.id;
        EXPECT_TRUE(image.hasAlphaChannel()) << strip.id;
    }
    EXPECT_TRUE(LoadBitmap(999).isNull());
}

// Each strip's @2x form holds the same pictures at twice the size, drawn
// there rather than blown up: the cells differ from the 1x ones scaled.
TEST(ResourcePictures, EveryStripHasASharpFormOfTwiceItsSize) {
    for (const Strip& strip : kStrips) {
        const QImage small(QStringLiteral(":/bitmaps/%1.png").arg(strip.id));
        const QImage dense(QStringLiteral(":/bitmaps/%1@2x.png").arg(strip.id));
        ASSERT_FALSE(dense.isNull()) << strip.id;
        EXPECT_EQ(dense.size(), small.size() * 2) << strip.id;
        EXPECT_TRUE(dense.hasAlphaChannel()) << strip.id;
        for (const int index : strip.usedImages) {
            const QImage cell = Cell(dense, index);
            EXPECT_TRUE(LooksLikePicture(cell)) << strip.id << " image " << index;
            EXPECT_NE(cell.convertToFormat(QImage::Format_ARGB32),
                      Cell(small, index).scaled(cell.size()).convertToFormat(QImage::Format_ARGB32))
                << strip.id << " image " << index;
        }
    }
}

// Distinct commands get distinct pictures: catches a strip whose images slid
// out of place or were repeated.
TEST(ResourcePictures, CommandsHavePicturesOfTheirOwn) {
    for (const Strip& strip : kStrips) {
        const QImage image = LoadBitmap(strip.id).toImage().convertToFormat(QImage::Format_ARGB32);
        QSet<QByteArray> seen;
        for (const int index : strip.usedImages) {
            const QImage cell = Cell(image, index);
            const QByteArray bytes(reinterpret_cast<const char*>(cell.constBits()),
                                   cell.sizeInBytes());
            EXPECT_FALSE(seen.contains(bytes)) << strip.id << " image " << index;
            seen.insert(bytes);
        }
    }
}

TEST(ResourcePictures, NoImageOfAStripIsBlank) {
    for (const Strip& strip : kStrips) {
        const QImage image = LoadBitmap(strip.id).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int index = 0; index < image.width() / image.height(); ++index)
            EXPECT_TRUE(LooksLikePicture(Cell(image, index))) << strip.id << " image " << index;
    }
}

TEST(ResourcePictures, ApplicationIconHasEverySize) {
    const QIcon icon = ApplicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : kApplicationIconSizes) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image(QStringLiteral(":/icons/%1.png").arg(size));
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_TRUE(LooksLikePicture(image.convertToFormat(QImage::Format_ARGB32))) << size;
    }
    EXPECT_EQ(QImage(QStringLiteral(":/icons/velmora.png")).size(), QSize(256, 256));
}

} // namespace
