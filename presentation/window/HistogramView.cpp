#include "presentation/window/HistogramView.h"

#include "presentation/window/PreviewAccessible.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The curve of one channel across `area`, from its bottom left to its bottom
// right corner, each level's height its count against `peak`.
QPainterPath Curve(const std::array<uint32_t, 256>& counts, uint32_t peak, const QRectF& area) {
    QPainterPath path(area.bottomLeft());
    for (int level = 0; level < 256; ++level) {
        const double x = area.left() + area.width() * (level + 0.5) / 256.0;
        const double y = area.bottom() - area.height() * double(counts[size_t(level)]) / peak;
        path.lineTo(x, y);
    }
    path.lineTo(area.bottomRight());
    return path;
}

} // namespace

HistogramView::HistogramView(QWidget* parent) : QWidget(parent) {
    InstallPreviewAccessibility();
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HistogramView::SetHistogram(const Histogram& histogram) {
    m_histogram = histogram;
    update();
}

void HistogramView::Clear() {
    SetHistogram(Histogram());
}

void HistogramView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const uint32_t peak = m_histogram.Peak();
    if (peak == 0)
        return;
    const QRectF area = QRectF(rect()).adjusted(2, 2, -2, -2);
    // The grey area is filled without antialiasing: smoothing its edge made
    // the paint ten times as long (about 5 ms at this size), and it came
    // with the paint of a click's rows when the picture arrived meanwhile.
    QColor grey = palette().color(QPalette::Text);
    grey.setAlpha(110);
    painter.setPen(Qt::NoPen);
    painter.setBrush(grey);
    painter.drawPath(Curve(m_histogram.counts[Histogram::Luminance], peak, area));
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor lines[] = {QColor(220, 40, 40, 200), QColor(40, 170, 40, 200),
                            QColor(50, 90, 230, 200)};
    for (int channel = Histogram::Red; channel <= Histogram::Blue; ++channel) {
        painter.setPen(QPen(lines[channel - Histogram::Red], 1.0));
        painter.drawPath(Curve(m_histogram.counts[size_t(channel)], peak, area));
    }
}
