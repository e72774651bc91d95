#include "framework/ribbon/ImageStrip.h"

bool ImageStrip::Load(unsigned bitmapId) {
    return LoadFile(BitmapPath(bitmapId));
}

bool ImageStrip::LoadFile(const QString& path) {
    m_strip = QPixmap(path);
    return !m_strip.isNull();
}

void ImageStrip::SetStrip(const QPixmap& strip) {
    m_strip = strip;
}

QString ImageStrip::BitmapPath(unsigned bitmapId) {
    return QStringLiteral(":/bitmaps/%1.png").arg(bitmapId);
}

int ImageStrip::Count() const {
    if (m_strip.isNull() || m_imageSize.width() <= 0 || m_strip.height() < m_imageSize.height())
        return 0;
    return m_strip.width() / m_imageSize.width();
}

QPixmap ImageStrip::Image(int index) const {
    if (index < 0 || m_imageSize.isEmpty())
        return QPixmap();
    if (index >= Count()) {
        QPixmap blank(m_imageSize);
        blank.fill(Qt::transparent);
        return blank;
    }
    return m_strip.copy(index * m_imageSize.width(), 0, m_imageSize.width(), m_imageSize.height());
}

QIcon ImageStrip::ExtractIcon(int index) const {
    const QPixmap image = Image(index);
    return image.isNull() ? QIcon() : QIcon(image);
}
