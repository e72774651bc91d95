#pragma once

#include "framework/docking/PaneStyle.h"
#include "framework/docking/PaneTitleBar.h"

#include <QDockWidget>
#include <QPointer>

class AutoHideBar;
class AutoHideOverlay;
class AutoHideTab;
class QMainWindow;

// A pane of the main frame: a dock widget with a caption strip of our own
// (caption, pin, close) and the behaviour flags of the window code: which
// edges it may dock at, whether it may float, be closed and be auto-hidden.
//
// Auto-hide: the pin collapses the pane to a tab on the auto-hide bar of its
// edge (see AutoHideBar). The dock widget itself is hidden but stays in the
// frame's layout, so its place (edge, size, tab group) is kept; its content
// moves into an overlay that slides in over the frame's centre when the tab
// is hovered or clicked. Pinning again puts the content back and shows the
// dock widget in its old place.
//
// Subclasses put their controls into ClientArea(), typically in OnCreate(),
// and lay them out in AdjustLayout(), which runs whenever the client area
// changes size, docked, floating or slid in.
//
// Tabbed with other panes, a pane whose tab is not the current one keeps its
// client area hidden, so Tab and Shift+Tab (and assistive technology) never
// reach controls that cannot be seen.
class DockablePane : public QDockWidget {
    Q_OBJECT
public:
    explicit DockablePane(QWidget* parent = nullptr);
    ~DockablePane() override;

    // Creates the pane in `frame`: `caption` is its title; the width (left and
    // right edges) or height (top and bottom) of `rect` its docked size; the
    // gripper is the caption strip; `id` names the pane for state saving
    // (object name "Pane<id>"); `style` gives the edge it docks at first
    // (PaneStyle::Align*) and whether it starts visible (PaneStyle::Visible).
    // The pane docks only when DockToFrame() is called. False when OnCreate()
    // fails or the pane was created already.
    bool Create(const QString& caption, QMainWindow* frame, const QRect& rect, bool hasGripper,
                int id, quint32 style, PaneBehaviours behaviour = DefaultPaneBehaviour);

    int PaneId() const { return m_id; }
    PaneBehaviours Behaviour() const { return m_behaviour; }
    QMainWindow* Frame() const { return m_frame; }

    // The edges the pane may dock at, as an edge mask (PaneStyle::Align*).
    void EnableDocking(quint32 edgeMask);
    // Docks the pane into its frame at the edge of its creation style, or at
    // the first allowed edge when that one is not allowed.
    void DockToFrame();

    QWidget* ClientArea() { return &m_client; }
    QRect ClientRect() const { return m_client.rect(); }
    PaneTitleBar* TitleBar() { return &m_titleBar; }

    // Shown, or collapsed with its tab shown. While the pane is collapsed,
    // setVisible() shows and hides its tab.
    bool IsPaneVisible() const;
    // Shows or hides the pane; with `activate` a shown pane also takes the
    // focus, and a collapsed one slides in to take it.
    void ShowPane(bool show, bool activate);

    // Auto-hide is possible for a docked pane with the AutoHide behaviour on
    // an edge that has an auto-hide bar.
    bool CanAutoHide() const;
    bool IsAutoHideMode() const { return m_autoHidden; }
    void SetAutoHideMode(bool autoHide);
    Qt::DockWidgetArea AutoHideEdge() const {
        return m_autoHidden ? m_autoHideEdge : Qt::NoDockWidgetArea;
    }
    AutoHideTab* AutoHideTabButton() const;
    AutoHideOverlay* Overlay() const;
    // Width or height the pane had when docked; the overlay slides in at it.
    int DockedExtent() const { return m_dockedExtent; }
    void SetDockedExtent(int extent) { m_dockedExtent = extent; }

    // Slides a collapsed pane in over the frame's centre or out again.
    void SlideIn(bool activate);
    void SlideOut();
    bool IsSlidIn() const;

    void setVisible(bool visible) override;

signals:
    void autoHideModeChanged(bool autoHide);

protected:
    // Builds the pane's controls; false makes Create() fail.
    virtual bool OnCreate();
    // Lays out the controls in the client area. By default the first child
    // widget of the client area fills it.
    virtual void AdjustLayout();
    // What takes the focus when the pane is activated; by default the client
    // area's focus proxy. A pane whose Tab order starts elsewhere than where
    // its work is (a filter box above rows) names the latter here.
    virtual QWidget* ActivationFocus();
    // The client area has come into sight: with the pane, slid in, or with
    // its tab chosen. A pane that puts off work while out of sight (a tab
    // behind another, as on a first start) does it here.
    virtual void ClientShown() {}

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The two halves of SetAutoHideMode: to a tab on the edge's bar (with the
    // overlay that slides the pane in), and back into the dock.
    void CollapseToTab();
    void CreateOverlay();
    void PinBack();
    void ApplyFeatures();
    void UpdatePinButton();
    void SetDockVisible(bool visible);
    QRect OverlayTarget() const;
    bool IsVerticalEdge(Qt::DockWidgetArea edge) const;
    void ResizeDocked();
    void FocusContent();
    // Hides the client area while a tab of the same group covers the pane.
    void FollowTabCover();

    QWidget m_client;
    PaneTitleBar m_titleBar;
    QWidget m_noCaption;
    QMainWindow* m_frame = nullptr;
    QPointer<AutoHideBar> m_bar;
    QPointer<AutoHideTab> m_tab;
    QPointer<AutoHideOverlay> m_overlay;
    PaneBehaviours m_behaviour = DefaultPaneBehaviour;
    Qt::DockWidgetArea m_startArea = Qt::LeftDockWidgetArea;
    Qt::DockWidgetArea m_autoHideEdge = Qt::NoDockWidgetArea;
    int m_id = 0;
    int m_dockedExtent = 200;
    bool m_created = false;
    bool m_startVisible = true;
    bool m_autoHidden = false;
    bool m_tabShown = false;
    bool m_settingDockVisibility = false;
    bool m_coveredByTab = false;
};
