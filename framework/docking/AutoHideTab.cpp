#include "framework/docking/AutoHideTab.h"

#include <QEnterEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

AutoHideTab::AutoHideTab(const QString& text, Qt::DockWidgetArea edge, QWidget* parent)
    : QAbstractButton(parent), m_edge(edge) {
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

bool AutoHideTab::IsVertical() const {
    return m_edge == Qt::LeftDockWidgetArea || m_edge == Qt::RightDockWidgetArea;
}

QTabBar::Shape AutoHideTab::Shape() const {
    switch (m_edge) {
    case Qt::LeftDockWidgetArea:
        return QTabBar::RoundedWest;
    case Qt::RightDockWidgetArea:
        return QTabBar::RoundedEast;
    case Qt::BottomDockWidgetArea:
        return QTabBar::RoundedSouth;
    default:
        return QTabBar::RoundedNorth;
    }
}

void AutoHideTab::initStyleOption(QStyleOptionTab* option) const {
    option->initFrom(this);
    option->shape = Shape();
    option->text = text();
    option->position = QStyleOptionTab::OnlyOneTab;
    if (isChecked())
        option->state |= QStyle::State_Selected;
    if (isDown())
        option->state |= QStyle::State_Sunken;
}

// As QTabBar::tabSizeHint: the caption, the style's padding around it, then
// whatever the style adds for the tab's shape.
QSize AutoHideTab::sizeHint() const {
    QStyleOptionTab option;
    initStyleOption(&option);
    const QFontMetrics& metrics = fontMetrics();
    const int hSpace = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    const int vSpace = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    const int along = metrics.size(Qt::TextShowMnemonic, text()).width() + hSpace;
    const int across = metrics.height() + vSpace;
    const QSize contents = IsVertical() ? QSize(across, along) : QSize(along, across);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

void AutoHideTab::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTab option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_TabBarTab, option);
}

void AutoHideTab::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    emit hovered();
}

void AutoHideTab::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    emit left();
}
