#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// A toolbar-image list: one bitmap holding images of one size side by side,
// addressed by index. Bitmaps are compiled-in resources named by id
// (":/bitmaps/<id>.png"). A bitmap that is missing leaves the strip empty; its
// images then come out transparent at the image size, so layouts keep their
// shape and nothing crashes.
class ImageStrip {
public:
    ImageStrip() = default;
    explicit ImageStrip(QSize imageSize) : m_imageSize(imageSize) {}

    void SetImageSize(QSize size) { m_imageSize = size; }
    QSize ImageSize() const { return m_imageSize; }

    // Loads bitmap `id`; false, with the strip emptied, when there is none.
    bool Load(unsigned bitmapId);
    bool LoadFile(const QString& path);
    void SetStrip(const QPixmap& strip);

    static QString BitmapPath(unsigned bitmapId);

    bool IsEmpty() const { return m_strip.isNull(); }
    // The number of whole images in the strip.
    int Count() const;

    // Image `index`: null for a negative index ("no image"), transparent for
    // an index the strip does not have.
    QPixmap Image(int index) const;
    // Image `index` taken out as an icon; a null icon for a negative index.
    QIcon ExtractIcon(int index) const;

private:
    QSize m_imageSize{16, 16};
    QPixmap m_strip;
};
