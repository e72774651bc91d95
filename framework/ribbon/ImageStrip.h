#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// A toolbar-image list: one bitmap holding images of one size side by side,
// addressed by index. Bitmaps are compiled-in resources named by id
// (":/bitmaps/<id>.png", and "<id>@2x.png" for screens of twice the
// density). Sizes are in layout pixels whichever form was loaded. A bitmap that is missing leaves
// the strip empty; its images then come out transparent at the image size, so layouts keep their
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
    // Qt's @2x rule: on a screen of more than one device pixel per pixel,
    // "<name>@2x.<ext>" beside `path` when there is one, else `path`.
    static QString DensePath(const QString& path, qreal ratio);
    // The bitmap at `path` in the form for the application's screens (see
    // DensePath), its device pixel ratio set: a 2x form paints at the size
    // of the 1x one.
    static QPixmap LoadBitmapFile(const QString& path);

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
