#include "framework/views/KeptTextDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

void KeptTextDelegate::Follow(const QFont& font, const QStyle* style) const {
    if (font != m_font || style != m_style || m_kept.size() >= kMostKept) {
        m_kept.clear();
        m_areas.clear();
        m_font = font;
        m_style = style;
    }
}

const QStaticText& KeptTextDelegate::Laid(const QString& text, int width, const QFont& font,
                                          Qt::TextElideMode elide) const {
    const Key key{text, width};
    auto found = m_kept.find(key);
    if (found == m_kept.end()) {
        const QFontMetrics metrics(font);
        QStaticText laid(metrics.elidedText(text, elide, width));
        laid.setTextFormat(Qt::PlainText);
        laid.setPerformanceHint(QStaticText::AggressiveCaching);
        laid.prepare(QTransform(), font);
        found = m_kept.insert(key, laid);
    }
    return *found;
}

QRect KeptTextDelegate::TextArea(const QStyleOptionViewItem& cell, const QStyle& style) const {
    const auto shows = [&](QStyleOptionViewItem::ViewItemFeature feature) {
        return quint64((cell.features & feature) ? 1 : 0);
    };
    const QSize decoration = cell.decorationSize;
    const quint64 key =
        quint64(cell.rect.width() & 0xFFFF) << 48 | quint64(cell.rect.height() & 0xFFF) << 36 |
        quint64(decoration.width() & 0xFFF) << 24 | quint64(decoration.height() & 0xFFF) << 12 |
        shows(QStyleOptionViewItem::HasDecoration) << 2 |
        shows(QStyleOptionViewItem::HasCheckIndicator) << 1 |
        quint64(cell.decorationPosition == QStyleOptionViewItem::Left ? 1 : 0);
    auto found = m_areas.constFind(key);
    if (found == m_areas.cend()) {
        if (m_areas.size() >= kMostKept)
            m_areas.clear();
        QRect area = style.subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget);
        const int margin =
            style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
        area.adjust(margin, 0, -margin, 0);
        found = m_areas.insert(key, area.translated(-cell.rect.topLeft()));
    }
    return found->translated(cell.rect.topLeft());
}

void KeptTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const bool plain = !cell.text.isEmpty() && cell.direction == Qt::LeftToRight &&
                       !(cell.features & QStyleOptionViewItem::WrapText) &&
                       !cell.text.contains(QChar::LineSeparator) &&
                       !cell.text.contains(QLatin1Char('\n'));
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    if (!plain) {
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        return;
    }
    Follow(cell.font, style);
    const QRect area = TextArea(cell, *style);
    const QString text = cell.text;
    // Background, selection, icon and focus as the style draws them.
    cell.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    if (area.width() <= 0)
        return;

    const QStaticText& laid = Laid(text, area.width(), cell.font, cell.textElideMode);
    const QSizeF size = laid.size();
    const Qt::Alignment align = QStyle::visualAlignment(cell.direction, cell.displayAlignment);
    qreal x = area.left();
    if (align & Qt::AlignRight)
        x = area.right() + 1 - size.width();
    else if (align & Qt::AlignHCenter)
        x = area.left() + (area.width() - size.width()) / 2;
    qreal y = area.top() + (area.height() - size.height()) / 2;
    if (align & Qt::AlignTop)
        y = area.top();
    else if (align & Qt::AlignBottom)
        y = area.bottom() + 1 - size.height();

    const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (cell.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    const QPalette::ColorRole role =
        cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setPen(cell.palette.color(group, role));
    painter->setFont(cell.font);
    painter->setClipRect(area, Qt::IntersectClip);
    painter->drawStaticText(QPointF(x, y), laid);
    painter->restore();
}
