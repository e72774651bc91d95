#include "framework/ribbon/RibbonPanel.h"

#include "framework/commands/StringTable.h"
#include "framework/ribbon/RibbonAccessible.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonElement.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"
#include "framework/styles/StyleRoles.h"

#include <QEvent>
#include <QPainter>

using namespace RibbonMetrics;

namespace {

constexpr int kColumnGap = 2;
constexpr int kSide = 4;

} // namespace

RibbonPanel::RibbonPanel(const QString& name, const QIcon& icon, QWidget* parent)
    : QWidget(parent), m_name(StringTable::LabelOf(name)), m_keys(StringTable::KeyTipOf(name)),
      m_icon(icon) {
    RibbonAccessible::Install();
    setProperty(StyleRole::kProperty, StyleRole::kRibbonPanel);
    setAttribute(Qt::WA_Hover);
    setAccessibleName(RibbonElement::WithoutAccessMarks(m_name));
}

void RibbonPanel::Add(RibbonElement* element) {
    if (!element)
        return;
    element->setParent(this);
    element->SetLook(element->CanBeLarge() ? RibbonLook::Large : RibbonLook::Small);
    m_elements.append(element);
    element->Attach(m_bar, m_category);
    element->show();
    updateGeometry();
    Relayout();
}

void RibbonPanel::Attach(RibbonBar* bar, const RibbonCategory* category) {
    m_bar = bar;
    m_category = category;
    for (RibbonElement* element : m_elements)
        element->Attach(bar, category);
    updateGeometry();
    Relayout();
}

QList<RibbonPanel::Column> RibbonPanel::Columns() const {
    QList<Column> columns;
    Column small;
    const auto flush = [&] {
        if (!small.elements.isEmpty())
            columns.append(small);
        small = Column();
    };
    for (RibbonElement* element : m_elements) {
        const int width = element->sizeHint().width();
        if (element->Look() == RibbonLook::Large || element->sizeHint().height() > kSmallHeight) {
            flush();
            columns.append(Column{{element}, width});
            continue;
        }
        small.elements.append(element);
        small.width = qMax(small.width, width);
        if (small.elements.size() == kRows)
            flush();
    }
    flush();
    return columns;
}

QSize RibbonPanel::sizeHint() const {
    int width = 0;
    for (const Column& column : Columns())
        width += column.width + kColumnGap;
    width = qMax(width - kColumnGap, 0) + 2 * kSide;
    const int caption = fontMetrics().horizontalAdvance(m_name) + 2 * kSide + 8;
    return QSize(qMax(width, caption), kPanelHeight);
}

void RibbonPanel::resizeEvent(QResizeEvent*) {
    Relayout();
}

bool RibbonPanel::event(QEvent* event) {
    // An element that changed its size asks for a new layout.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) {
        updateGeometry();
        Relayout();
    }
    return QWidget::event(event);
}

void RibbonPanel::Relayout() {
    const QList<Column> columns = Columns();
    int used = 0;
    for (const Column& column : columns)
        used += column.width + kColumnGap;
    used = qMax(used - kColumnGap, 0);
    // Content narrower than the caption sits in the middle.
    int x = qMax(kSide, (width() - used) / 2);
    for (const Column& column : columns) {
        int y = kPanelMargin;
        for (RibbonElement* element : column.elements) {
            const QSize hint = element->sizeHint();
            const bool tall = hint.height() > kSmallHeight;
            const int w = tall ? column.width : hint.width();
            element->setGeometry(x, y, w, tall ? kContentHeight : kSmallHeight);
            y += kSmallHeight;
        }
        x += column.width + kColumnGap;
    }
}

void RibbonPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ThemeColours& colours = m_bar ? m_bar->Colours() : RibbonPaint::DefaultColours();
    const QColor top(colours.ribbonTop);
    const QColor bottom(colours.ribbonBottom);
    const QColor border(colours.border);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool hot = underMouse();

    QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
    fill.setColorAt(0, RibbonPaint::PanelTop(colours, hot));
    fill.setColorAt(1, RibbonPaint::PanelBottom(colours, hot));
    painter.setPen(Mix(border, top, 0.2));
    painter.setBrush(fill);
    painter.drawRoundedRect(frame, 3, 3);

    // The caption sits on a band of its own along the bottom.
    const QRectF caption(frame.left(), frame.bottom() - kCaptionHeight, frame.width(),
                         kCaptionHeight);
    painter.save();
    painter.setClipRect(caption.adjusted(-1, 0, 1, 1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Mix(bottom, border, hot ? 0.25 : 0.35));
    painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 2.5, 2.5);
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(RibbonPaint::TextColour(colours, RibbonPaint::Surface::Ribbon, true));
    painter.drawText(caption.toRect().adjusted(kSide, 0, -kSide, 0), Qt::AlignCenter, m_name);
}
