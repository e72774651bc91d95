#include "framework/ribbon/ImageStrip.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

namespace {

// An image's size in the pixels layouts count in.
QSize Logical(const QPixmap& pixmap) {
    return pixmap.deviceIndependentSize().toSize();
}

} // namespace

QString ImageStrip::DensePath(const QString& path, qreal ratio) {
    if (ratio <= 1.0)
        return path;
    const QFileInfo info(path);
    const QString dense = info.path() + QLatin1Char('/') + info.completeBaseName() +
                          QStringLiteral("@2x.") + info.suffix();
    return QFileInfo::exists(dense) ? dense : path;
}

QPixmap ImageStrip::LoadBitmapFile(const QString& path) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const QString chosen = DensePath(path, ratio);
    QPixmap pixmap(chosen);
    if (!pixmap.isNull())
        pixmap.setDevicePixelRatio(chosen == path ? 1.0 : 2.0);
    return pixmap;
}

bool ImageStrip::Load(unsigned bitmapId) {
    return LoadFile(BitmapPath(bitmapId));
}

bool ImageStrip::LoadFile(const QString& path) {
    m_strip = LoadBitmapFile(path);
    return !m_strip.isNull();
}

void ImageStrip::SetStrip(const QPixmap& strip) {
    m_strip = strip;
}

QString ImageStrip::BitmapPath(unsigned bitmapId) {
    return QStringLiteral(":/bitmaps/%1.png").arg(bitmapId);
}

int ImageStrip::Count() const {
    const QSize strip = Logical(m_strip);
    if (m_strip.isNull() || m_imageSize.width() <= 0 || strip.height() < m_imageSize.height())
        return 0;
    return strip.width() / m_imageSize.width();
}

QPixmap ImageStrip::Image(int index) const {
    if (index < 0 || m_imageSize.isEmpty())
        return QPixmap();
    if (index >= Count()) {
        QPixmap blank(m_imageSize);
        blank.fill(Qt::transparent);
        return blank;
    }
    // The strip's own pixels: twice as many of them in its @2x form.
    const qreal ratio = m_strip.devicePixelRatio();
    QPixmap image = m_strip.copy(QRectF(index * m_imageSize.width() * ratio, 0,
                                        m_imageSize.width() * ratio, m_imageSize.height() * ratio)
                                     .toRect());
    image.setDevicePixelRatio(ratio);
    return image;
}

QIcon ImageStrip::ExtractIcon(int index) const {
    const QPixmap image = Image(index);
    return image.isNull() ? QIcon() : QIcon(image);
}
