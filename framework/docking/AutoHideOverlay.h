#pragma once

#include "framework/docking/PaneTitleBar.h"

#include <QFrame>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>

class QMainWindow;
class QVBoxLayout;

// The panel in which a collapsed pane slides in over the frame's centre. It
// borrows the pane's content while the pane is collapsed and slides away
// again once the mouse has left it and its tab, unless the keyboard focus is
// inside it; it also goes when the focus moves elsewhere or on Escape.
class AutoHideOverlay : public QFrame {
    Q_OBJECT
public:
    explicit AutoHideOverlay(QMainWindow* frame);
    ~AutoHideOverlay() override;

    PaneTitleBar* TitleBar() { return &m_titleBar; }

    // Shows `content` inside the panel (reparenting it); TakeContent hands it
    // back still parented to the panel, for the caller to reparent at once.
    void SetContent(QWidget* content);
    QWidget* TakeContent();
    QWidget* Content() const { return m_content; }

    // The widget (the tab) that keeps the panel open while under the mouse.
    void SetAnchor(QWidget* anchor);

    // Slides the panel to `target`, growing out of the frame edge `edge`.
    // Called while the panel is shown it just moves it there.
    void SlideIn(const QRect& target, Qt::DockWidgetArea edge, bool animate);
    void SlideOut(bool animate);
    // Shown and not on its way out.
    bool IsSlidIn() const { return isVisible() && !m_slidingOut; }

    static constexpr int kSlideMilliseconds = 150;
    static constexpr int kHideDelayMilliseconds = 400;

signals:
    void slidIn();
    void slidOut();

protected:
    void leaveEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect CollapsedRect() const;
    bool HasFocusInside() const;
    bool IsMouseOver() const;
    void HideUnlessInUse();
    void OnFocusChanged(QWidget* old, QWidget* now);
    void OnAnimationFinished();

    QVBoxLayout* m_layout;
    PaneTitleBar m_titleBar;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_anchor;
    QPropertyAnimation m_animation;
    QTimer m_hideTimer;
    QRect m_target;
    Qt::DockWidgetArea m_edge = Qt::LeftDockWidgetArea;
    bool m_slidingOut = false;
};
