#pragma once

#include "tests/fixtures/ExifBuilder.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

// Picture files for the thumbnail tests: encoded by Qt, with an EXIF block
// put in where wanted, written into a temporary folder.

inline QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline QImage Filled(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A JPEG file: `picture`'s own JPEG with an EXIF block put in after its
// start, holding the orientation and, when given, a thumbnail at
// `thumbnailOffset` (by default where it is) of `thumbnailLength` bytes.
inline QByteArray WithExif(const QByteArray& picture, int orientation, const QByteArray& thumbnail,
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
