#include "framework/docking/AutoHideOverlay.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMainWindow>
#include <QVBoxLayout>

AutoHideOverlay::AutoHideOverlay(QMainWindow* frame)
    : QFrame(frame), m_layout(new QVBoxLayout(this)), m_titleBar(this),
      m_animation(this, "geometry") {
    setObjectName(QStringLiteral("AutoHideOverlay"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);
    m_layout->setContentsMargins(1, 1, 1, 1);
    m_layout->setSpacing(0);
    m_layout->addWidget(&m_titleBar);
    m_titleBar.SetPinned(false);

    m_animation.setDuration(kSlideMilliseconds);
    m_animation.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_animation, &QPropertyAnimation::finished, this,
            &AutoHideOverlay::OnAnimationFinished);

    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(kHideDelayMilliseconds);
    connect(&m_hideTimer, &QTimer::timeout, this, &AutoHideOverlay::HideUnlessInUse);
    connect(qApp, &QApplication::focusChanged, this, &AutoHideOverlay::OnFocusChanged);
    hide();
}

AutoHideOverlay::~AutoHideOverlay() {
    // The content belongs to its pane, not to the panel.
    if (m_content) {
        m_layout->removeWidget(m_content);
        m_content->hide();
        m_content->setParent(nullptr);
    }
}

void AutoHideOverlay::SetContent(QWidget* content) {
    if (m_content == content)
        return;
    if (m_content)
        TakeContent()->hide();
    m_content = content;
    if (!content)
        return;
    content->setParent(this);
    m_layout->addWidget(content, 1);
    content->show();
}

QWidget* AutoHideOverlay::TakeContent() {
    QWidget* content = m_content;
    m_content = nullptr;
    if (content)
        m_layout->removeWidget(content);
    return content;
}

void AutoHideOverlay::SetAnchor(QWidget* anchor) {
    if (m_anchor)
        m_anchor->removeEventFilter(this);
    m_anchor = anchor;
    if (anchor)
        anchor->installEventFilter(this);
}

void AutoHideOverlay::SlideIn(const QRect& target, Qt::DockWidgetArea edge, bool animate) {
    m_hideTimer.stop();
    m_target = target;
    m_edge = edge;
    const bool wasIn = IsSlidIn();
    m_slidingOut = false;
    m_animation.stop();
    if (!isVisible())
        setGeometry(CollapsedRect());
    show();
    raise();
    if (animate && !wasIn) {
        m_animation.setStartValue(geometry());
        m_animation.setEndValue(m_target);
        m_animation.start();
    } else {
        setGeometry(m_target);
    }
    if (!wasIn)
        emit slidIn();
    // Opened by hovering: arm the timer, which will only hide the panel once
    // the mouse is neither on it nor on its tab.
    if (!IsMouseOver())
        m_hideTimer.start();
}

void AutoHideOverlay::SlideOut(bool animate) {
    m_hideTimer.stop();
    if (!isVisible() || (m_slidingOut && animate))
        return;
    m_slidingOut = true;
    m_animation.stop();
    if (animate) {
        m_animation.setStartValue(geometry());
        m_animation.setEndValue(CollapsedRect());
        m_animation.start();
    } else {
        OnAnimationFinished();
    }
}

void AutoHideOverlay::OnAnimationFinished() {
    if (!m_slidingOut)
        return;
    // Move the focus out before hiding, or Qt would pass it on to some
    // arbitrary neighbour of the panel.
    if (HasFocusInside() && parentWidget())
        parentWidget()->setFocus(Qt::OtherFocusReason);
    hide();
    m_slidingOut = false;
    emit slidOut();
}

QRect AutoHideOverlay::CollapsedRect() const {
    QRect rect = m_target;
    switch (m_edge) {
    case Qt::LeftDockWidgetArea:
        rect.setWidth(0);
        break;
    case Qt::RightDockWidgetArea:
        rect.setLeft(rect.right() + 1);
        break;
    case Qt::TopDockWidgetArea:
        rect.setHeight(0);
        break;
    default:
        rect.setTop(rect.bottom() + 1);
        break;
    }
    return rect;
}

bool AutoHideOverlay::HasFocusInside() const {
    // Walks parents rather than isAncestorOf, so popups opened from the
    // panel's content count as inside.
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
        if (widget == this)
            return true;
    return false;
}

bool AutoHideOverlay::IsMouseOver() const {
    const QPoint cursor = QCursor::pos();
    if (isVisible() && rect().contains(mapFromGlobal(cursor)))
        return true;
    return m_anchor && m_anchor->isVisible() &&
           m_anchor->rect().contains(m_anchor->mapFromGlobal(cursor));
}

void AutoHideOverlay::HideUnlessInUse() {
    if (!IsSlidIn() || IsMouseOver() || HasFocusInside())
        return;
    SlideOut(true);
}

void AutoHideOverlay::OnFocusChanged(QWidget*, QWidget* now) {
    if (!now || !IsSlidIn() || HasFocusInside())
        return;
    // A focus change within another top-level window (a dialog, a menu)
    // is not the user moving on inside the frame.
    if (now->window() != window())
        return;
    SlideOut(true);
}

void AutoHideOverlay::leaveEvent(QEvent* event) {
    QFrame::leaveEvent(event);
    if (IsSlidIn())
        m_hideTimer.start();
}

void AutoHideOverlay::enterEvent(QEnterEvent* event) {
    QFrame::enterEvent(event);
    m_hideTimer.stop();
}

void AutoHideOverlay::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && IsSlidIn()) {
        SlideOut(true);
        return;
    }
    QFrame::keyPressEvent(event);
}

bool AutoHideOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_anchor) {
        if (event->type() == QEvent::Leave && IsSlidIn())
            m_hideTimer.start();
        else if (event->type() == QEvent::Enter)
            m_hideTimer.stop();
    }
    return QFrame::eventFilter(watched, event);
}
