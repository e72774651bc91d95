#include "framework/ribbon/RibbonKeyTipBadge.h"

#include "framework/ribbon/RibbonPaint.h"

#include <QPainter>

RibbonKeyTipBadge::RibbonKeyTipBadge(const QString& keys, bool enabled, const ThemeColours& colours)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_keys(keys), m_enabled(enabled), m_colours(colours) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    setFont(small);
    resize(sizeHint());
}

void RibbonKeyTipBadge::CentreOn(const QPoint& globalPos) {
    move(globalPos - QPoint(width() / 2, height() / 2));
}

QSize RibbonKeyTipBadge::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const int height = fm.height() + 2;
    return QSize(qMax(height, fm.horizontalAdvance(m_keys.toUpper()) + 8), height);
}

void RibbonKeyTipBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor base(m_colours.base);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, base);
    fill.setColorAt(1, Mix(base, QColor(m_colours.ribbonBottom), 0.6));
    painter.fillRect(rect(), fill);
    painter.setPen(Mix(QColor(m_colours.text), base, 0.45));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(RibbonPaint::TextColour(m_colours, RibbonPaint::Surface::Menu, m_enabled));
    painter.drawText(rect(), Qt::AlignCenter, m_keys.toUpper());
}
