#include "presentation/window/BarChartView.h"

#include "presentation/window/BarChartAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace {

constexpr int kPad = 4;
constexpr int kGap = 6;
// The label column takes at most this share of the width, in percent.
constexpr int kMostLabelShare = 45;

QString CountText(uint64_t count) {
    QLocale locale;
    // The C locale leaves groups out by default; "18,305" reads better.
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(qulonglong(count));
}

QFont TitleFont(const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    return bold;
}

} // namespace

BarChartView::BarChartView(QWidget* parent) : QWidget(parent) {
    InstallBarChartAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void BarChartView::SetTitle(const QString& title) {
    m_title = title;
    setAccessibleName(title);
    update();
}

void BarChartView::SetBars(std::vector<Bar> bars) {
    m_bars = std::move(bars);
    m_peak = 0;
    for (const Bar& bar : m_bars)
        m_peak = std::max(m_peak, bar.count);
    if (m_current >= int(m_bars.size()))
        m_current = m_bars.empty() ? -1 : int(m_bars.size()) - 1;
    m_hovered = m_pressed = -1;
    Measure();
    setAccessibleDescription(BarsText());
    if (QAccessible::isActive()) {
        // The bars are the list's items: a reader asks for them again.
        QAccessibleEvent changed(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&changed);
    }
    updateGeometry();
    update();
}

QString BarChartView::BarsText() const {
    QStringList parts;
    parts.reserve(qsizetype(m_bars.size()));
    for (size_t i = 0; i < m_bars.size(); ++i)
        parts << QStringLiteral("%1: %2").arg(m_bars[i].label, m_countTexts[i]);
    return parts.join(QStringLiteral(", "));
}

void BarChartView::Measure() {
    const QFontMetrics metrics(font());
    m_labelWidth = 0;
    m_countWidth = 0;
    m_countTexts.clear();
    for (const Bar& bar : m_bars) {
        m_countTexts.push_back(CountText(bar.count));
        m_labelWidth = std::max(m_labelWidth, metrics.horizontalAdvance(bar.label));
        m_countWidth = std::max(m_countWidth, metrics.horizontalAdvance(m_countTexts.back()));
    }
}

void BarChartView::SetLeastLabelWidth(int width) {
    if (width == m_leastLabelWidth)
        return;
    m_leastLabelWidth = width;
    update();
}

int BarChartView::TitleHeight() const {
    return QFontMetrics(TitleFont(font())).height() + 2 * kPad;
}

int BarChartView::RowHeight() const {
    return fontMetrics().height() + kPad;
}

QSize BarChartView::sizeHint() const {
    const int width = 2 * kPad + m_labelWidth + 2 * kGap + m_countWidth + 120;
    return {width, TitleHeight() + int(m_bars.size()) * RowHeight() + kPad};
}

QSize BarChartView::minimumSizeHint() const {
    return {120, sizeHint().height()};
}

QRect BarChartView::RowRect(int index) const {
    if (index < 0 || index >= int(m_bars.size()))
        return {};
    return {0, TitleHeight() + index * RowHeight(), width(), RowHeight()};
}

int BarChartView::BarAt(const QPoint& point) const {
    if (point.y() < TitleHeight() || point.x() < 0 || point.x() >= width())
        return -1;
    const int index = (point.y() - TitleHeight()) / RowHeight();
    return index < int(m_bars.size()) ? index : -1;
}

void BarChartView::SetCurrentBar(int index) {
    if (index < -1 || index >= int(m_bars.size()) || index == m_current)
        return;
    const QRect before = RowRect(m_current);
    m_current = index;
    update(before);
    update(RowRect(m_current));
    Announce();
    if (m_current >= 0)
        emit currentBarChanged(m_current);
}

void BarChartView::Announce() {
    if (!hasFocus() || m_current < 0 || !QAccessible::isActive())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(m_current);
    QAccessible::updateAccessibility(&focus);
}

void BarChartView::SetHovered(int index) {
    if (index == m_hovered)
        return;
    update(RowRect(m_hovered));
    m_hovered = index;
    update(RowRect(m_hovered));
    const bool leads = index >= 0 && m_bars[size_t(index)].active;
    setCursor(leads ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void BarChartView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QPalette& colours = palette();
    if (exposed.top() < TitleHeight()) {
        painter.setFont(TitleFont(font()));
        painter.setPen(colours.color(QPalette::WindowText));
        painter.drawText(QRect(kPad, 0, width() - 2 * kPad, TitleHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         m_bars.empty() ? tr("%1: none").arg(m_title) : m_title);
        painter.setFont(font());
    }
    if (m_bars.empty() || m_peak == 0)
        return;

    // Only the rows the paint exposes.
    const int rowHeight = RowHeight();
    const int first = std::max(0, (exposed.top() - TitleHeight()) / rowHeight);
    const int last =
        std::min(int(m_bars.size()) - 1, (exposed.bottom() - TitleHeight()) / rowHeight);
    const int labelWidth =
        std::min(std::max(m_labelWidth, m_leastLabelWidth), width() * kMostLabelShare / 100);
    const int barLeft = kPad + labelWidth + kGap;
    const int room = std::max(1, width() - barLeft - kGap - m_countWidth - kPad);
    const QFontMetrics metrics = fontMetrics();
    QColor hover = colours.color(QPalette::Highlight);
    hover.setAlpha(40);
    const QColor barColour = colours.color(QPalette::Highlight);
    const QColor otherColour = colours.color(QPalette::Mid);
    const QColor text = colours.color(QPalette::WindowText);

    for (int i = first; i <= last; ++i) {
        const Bar& bar = m_bars[size_t(i)];
        const QRect row = RowRect(i);
        if (i == m_hovered && bar.active)
            painter.fillRect(row, hover);
        painter.setPen(text);
        painter.drawText(QRect(kPad, row.top(), labelWidth, rowHeight),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(bar.label, Qt::ElideRight, labelWidth));
        // A bar with a count is never thinner than a line, however small.
        const int length =
            bar.count == 0 ? 0
                           : std::max(1, int(double(room) * double(bar.count) / double(m_peak)));
        painter.fillRect(QRect(barLeft, row.top() + 2, length, rowHeight - 4),
                         bar.active ? barColour : otherColour);
        painter.drawText(QRect(barLeft + length + kGap, row.top(), m_countWidth + kGap, rowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         m_countTexts[size_t(i)]);
        if (i == m_current && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = row.adjusted(1, 0, -1, 0);
            focus.backgroundColor = colours.color(QPalette::Window);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
}

void BarChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = BarAt(event->position().toPoint());
    if (m_pressed >= 0)
        SetCurrentBar(m_pressed);
    setFocus(Qt::MouseFocusReason);
}

void BarChartView::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = std::exchange(m_pressed, -1);
    if (event->button() == Qt::LeftButton && pressed >= 0 &&
        BarAt(event->position().toPoint()) == pressed && m_bars[size_t(pressed)].active)
        emit barActivated(pressed);
    QWidget::mouseReleaseEvent(event);
}

void BarChartView::mouseMoveEvent(QMouseEvent* event) {
    SetHovered(BarAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void BarChartView::leaveEvent(QEvent* event) {
    SetHovered(-1);
    QWidget::leaveEvent(event);
}

void BarChartView::keyPressEvent(QKeyEvent* event) {
    const int count = int(m_bars.size());
    // A page of rows: what a screenful of a pane holds, roughly.
    constexpr int kPage = 10;
    int to = m_current;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        to = std::max(0, m_current - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        to = std::min(count - 1, m_current + 1);
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = count - 1;
        break;
    case Qt::Key_PageUp:
        to = std::max(0, m_current - kPage);
        break;
    case Qt::Key_PageDown:
        to = std::min(count - 1, m_current + kPage);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_current >= 0 && m_bars[size_t(m_current)].active)
            emit barActivated(m_current);
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (count > 0)
        SetCurrentBar(to);
    event->accept();
}

void BarChartView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (m_current < 0 && !m_bars.empty())
        SetCurrentBar(0);
    else if (m_current >= 0)
        emit currentBarChanged(m_current);
    Announce();
    update(RowRect(m_current));
}

void BarChartView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update(RowRect(m_current));
}

void BarChartView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        Measure();
        updateGeometry();
    }
}
