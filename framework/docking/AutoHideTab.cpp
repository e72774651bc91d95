#include "framework/docking/AutoHideTab.h"

#include <QEnterEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace {
constexpr int kTextPadding = 8;
}

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

QSize AutoHideTab::sizeHint() const {
    const QSize along(fontMetrics().horizontalAdvance(text()) + 2 * kTextPadding,
                      fontMetrics().height() + kTextPadding);
    return IsVertical() ? along.transposed() : along;
}

void AutoHideTab::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = Shape();
    option.text = text();
    option.position = QStyleOptionTab::OnlyOneTab;
    if (isChecked())
        option.state |= QStyle::State_Selected;
    if (isDown())
        option.state |= QStyle::State_Sunken;
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
