#include "framework/docking/DockablePane.h"

#include "framework/docking/AutoHideBar.h"
#include "framework/docking/AutoHideOverlay.h"
#include "framework/docking/AutoHideTab.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>

namespace {
// Smallest size a collapsed pane slides in at, and what it leaves of the
// frame's centre at most.
constexpr int kMinimumSlideExtent = 60;
constexpr int kCentreMargin = 20;
} // namespace

DockablePane::DockablePane(QWidget* parent)
    : QDockWidget(parent), m_client(this), m_titleBar(this), m_noCaption(this) {
    m_client.setObjectName(QStringLiteral("paneClient"));
    m_client.installEventFilter(this);
    // Hidden behind another pane's tab (FollowTabCover), the client keeps its
    // sizes: the tab group takes the least room of its panes, and a pane of
    // caption only would squeeze the one in front.
    QSizePolicy sizes = m_client.sizePolicy();
    sizes.setRetainSizeWhenHidden(true);
    m_client.setSizePolicy(sizes);
    setWidget(&m_client);
    setFocusProxy(&m_client);
    m_noCaption.hide();
    setTitleBarWidget(&m_titleBar);

    connect(&m_titleBar, &PaneTitleBar::pinClicked, this, [this] { SetAutoHideMode(true); });
    connect(&m_titleBar, &PaneTitleBar::closeClicked, this, [this] { close(); });
    connect(this, &QDockWidget::topLevelChanged, this, [this] { UpdatePinButton(); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { UpdatePinButton(); });
    connect(this, &QDockWidget::visibilityChanged, this, [this] { FollowTabCover(); });
    ApplyFeatures();
}

DockablePane::~DockablePane() {
    if (m_bar && m_tab)
        m_bar->RemoveTab(m_tab);
    delete m_overlay;
}

bool DockablePane::Create(const QString& caption, QMainWindow* frame, const QRect& rect,
                          bool hasGripper, int id, quint32 style, PaneBehaviours behaviour) {
    if (m_created || !frame)
        return false;
    m_frame = frame;
    if (parentWidget() != frame)
        setParent(frame);
    hide(); // until docked, or it would show as a loose child of the frame
    setObjectName(QStringLiteral("Pane%1").arg(id));
    setWindowTitle(caption);
    m_id = id;
    m_behaviour = behaviour;
    const Qt::DockWidgetArea area = DockAreaFromStyle(style);
    m_startArea = area == Qt::NoDockWidgetArea ? Qt::LeftDockWidgetArea : area;
    m_startVisible = (style & PaneStyle::Visible) != 0;
    m_dockedExtent = IsVerticalEdge(m_startArea) ? rect.width() : rect.height();
    m_client.resize(rect.size());
    if (hasGripper) {
        setTitleBarWidget(&m_titleBar);
        m_titleBar.show();
        m_noCaption.hide();
    } else {
        setTitleBarWidget(&m_noCaption);
        m_noCaption.show();
        m_titleBar.hide();
    }
    ApplyFeatures();
    if (!OnCreate())
        return false;
    m_created = true;
    return true;
}

bool DockablePane::OnCreate() {
    return true;
}

void DockablePane::AdjustLayout() {
    const auto children = m_client.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (!child->isWindow()) {
            child->setGeometry(ClientRect());
            return;
        }
    }
}

QWidget* DockablePane::ActivationFocus() {
    return &m_client;
}

void DockablePane::FocusContent() {
    if (QWidget* target = ActivationFocus())
        target->setFocus(Qt::OtherFocusReason);
}

// The main window's layout moves the panes behind the current tab of a group
// out of sight (far above and left of the frame) but leaves them shown, so
// their controls would stay in the Tab order. Hiding the client area (and
// the pane's focus proxy) takes them out of it until the pane's tab is chosen
// again.
void DockablePane::FollowTabCover() {
    const QRect place = geometry();
    const bool covered = m_frame && !m_autoHidden && !isHidden() && !isFloating() &&
                         widget() == &m_client && (place.right() < 0 || place.bottom() < 0) &&
                         !m_frame->tabifiedDockWidgets(this).isEmpty();
    if (covered == m_coveredByTab)
        return;
    m_coveredByTab = covered;
    m_client.setVisible(!covered);
    // Tab reaches a pane through its proxy, whether the client shows or not.
    setFocusProxy(covered ? nullptr : &m_client);
}

void DockablePane::EnableDocking(quint32 edgeMask) {
    setAllowedAreas(DockAreasFromMask(edgeMask));
}

void DockablePane::DockToFrame() {
    if (!m_frame)
        return;
    Qt::DockWidgetArea area = m_startArea;
    if (!isAreaAllowed(area)) {
        for (Qt::DockWidgetArea candidate : {Qt::LeftDockWidgetArea, Qt::TopDockWidgetArea,
                                             Qt::RightDockWidgetArea, Qt::BottomDockWidgetArea}) {
            if (isAreaAllowed(candidate)) {
                area = candidate;
                break;
            }
        }
    }
    m_frame->addDockWidget(area, this);
    ResizeDocked();
    setVisible(m_startVisible);
    UpdatePinButton();
}

void DockablePane::ResizeDocked() {
    if (!m_frame || m_dockedExtent <= 0)
        return;
    const Qt::DockWidgetArea area = m_frame->dockWidgetArea(this);
    if (area == Qt::NoDockWidgetArea)
        return;
    m_frame->resizeDocks({this}, {m_dockedExtent},
                         IsVerticalEdge(area) ? Qt::Horizontal : Qt::Vertical);
}

bool DockablePane::IsVerticalEdge(Qt::DockWidgetArea edge) const {
    return edge == Qt::LeftDockWidgetArea || edge == Qt::RightDockWidgetArea;
}

void DockablePane::ApplyFeatures() {
    DockWidgetFeatures features = DockWidgetMovable;
    if (m_behaviour.testFlag(PaneBehaviour::Float))
        features |= DockWidgetFloatable;
    if (m_behaviour.testFlag(PaneBehaviour::Close))
        features |= DockWidgetClosable;
    setFeatures(features);
    m_titleBar.SetCloseVisible(m_behaviour.testFlag(PaneBehaviour::Close));
    UpdatePinButton();
}

bool DockablePane::CanAutoHide() const {
    if (!m_frame || !m_behaviour.testFlag(PaneBehaviour::AutoHide) || isFloating())
        return false;
    const Qt::DockWidgetArea area = m_frame->dockWidgetArea(const_cast<DockablePane*>(this));
    return area != Qt::NoDockWidgetArea && AutoHideBar::ForEdge(m_frame, area);
}

void DockablePane::UpdatePinButton() {
    m_titleBar.SetPinVisible(!m_autoHidden && CanAutoHide());
}

bool DockablePane::IsPaneVisible() const {
    return m_autoHidden ? m_tabShown : !isHidden();
}

void DockablePane::ShowPane(bool show, bool activate) {
    setVisible(show);
    if (!show || !activate)
        return;
    if (m_autoHidden) {
        SlideIn(true);
    } else {
        raise(); // brings it to the front of its tab group
        FollowTabCover();
        FocusContent();
    }
}

void DockablePane::setVisible(bool visible) {
    if (m_autoHidden && !m_settingDockVisibility) {
        m_tabShown = visible;
        if (m_bar && m_tab)
            m_bar->SetTabShown(m_tab, visible);
        if (!visible && m_overlay)
            m_overlay->SlideOut(false);
        return;
    }
    QDockWidget::setVisible(visible);
}

void DockablePane::SetDockVisible(bool visible) {
    m_settingDockVisibility = true;
    QDockWidget::setVisible(visible);
    m_settingDockVisibility = false;
}

void DockablePane::SetAutoHideMode(bool autoHide) {
    if (autoHide == m_autoHidden)
        return;
    if (autoHide) {
        if (!CanAutoHide())
            return;
        CollapseToTab();
    } else {
        PinBack();
    }
    UpdatePinButton();
    emit autoHideModeChanged(m_autoHidden);
}

void DockablePane::CollapseToTab() {
    m_autoHideEdge = m_frame->dockWidgetArea(this);
    m_bar = AutoHideBar::ForEdge(m_frame, m_autoHideEdge);
    if (!isHidden()) {
        const int extent = IsVerticalEdge(m_autoHideEdge) ? width() : height();
        if (extent > 0)
            m_dockedExtent = extent;
    }
    m_tabShown = !isHidden();

    if (!m_overlay)
        CreateOverlay();
    m_overlay->TitleBar()->SetCaption(windowTitle());
    m_overlay->TitleBar()->SetCloseVisible(m_behaviour.testFlag(PaneBehaviour::Close));

    m_tab = m_bar->AddTab(windowTitle());
    m_tab->setToolTip(windowTitle());
    connect(m_tab, &AutoHideTab::hovered, this, [this] { SlideIn(false); });
    connect(m_tab, &AutoHideTab::clicked, this, [this] { SlideIn(true); });
    m_bar->SetTabShown(m_tab, m_tabShown);
    m_overlay->SetAnchor(m_tab);

    setWidget(nullptr);
    m_autoHidden = true;
    FollowTabCover();
    m_overlay->SetContent(&m_client);
    SetDockVisible(false);
    m_frame->installEventFilter(this);
}

void DockablePane::CreateOverlay() {
    m_overlay = new AutoHideOverlay(m_frame);
    PaneTitleBar* overlayTitle = m_overlay->TitleBar();
    connect(overlayTitle, &PaneTitleBar::pinClicked, this, [this] { SetAutoHideMode(false); });
    connect(overlayTitle, &PaneTitleBar::closeClicked, this, [this] { hide(); });
    connect(m_overlay, &AutoHideOverlay::slidIn, this, [this] {
        if (m_tab)
            m_tab->setChecked(true);
    });
    connect(m_overlay, &AutoHideOverlay::slidOut, this, [this] {
        if (m_tab)
            m_tab->setChecked(false);
    });
}

void DockablePane::PinBack() {
    m_frame->removeEventFilter(this);
    if (m_overlay) {
        m_overlay->SlideOut(false);
        m_overlay->TakeContent();
    }
    setWidget(&m_client);
    if (m_bar && m_tab)
        m_bar->RemoveTab(m_tab);
    m_tab = nullptr;
    m_autoHidden = false;
    SetDockVisible(m_tabShown);
    if (m_tabShown) {
        raise();
        ResizeDocked();
    }
    FollowTabCover();
}

QRect DockablePane::OverlayTarget() const {
    if (!m_bar || !m_frame)
        return {};
    if (QLayout* layout = m_frame->layout())
        layout->activate(); // the bar may have just appeared
    const QRect bar = m_bar->geometry();
    const QRect frame = m_frame->rect();
    if (IsVerticalEdge(m_autoHideEdge)) {
        const int room = m_autoHideEdge == Qt::LeftDockWidgetArea ? frame.right() - bar.right()
                                                                  : bar.left() - frame.left();
        const int extent =
            qBound(qMin(kMinimumSlideExtent, room), m_dockedExtent, qMax(0, room - kCentreMargin));
        const int left =
            m_autoHideEdge == Qt::LeftDockWidgetArea ? bar.right() + 1 : bar.left() - extent;
        return QRect(left, bar.top(), extent, bar.height());
    }
    const int room = m_autoHideEdge == Qt::TopDockWidgetArea ? frame.bottom() - bar.bottom()
                                                             : bar.top() - frame.top();
    const int extent =
        qBound(qMin(kMinimumSlideExtent, room), m_dockedExtent, qMax(0, room - kCentreMargin));
    const int top = m_autoHideEdge == Qt::TopDockWidgetArea ? bar.bottom() + 1 : bar.top() - extent;
    return QRect(bar.left(), top, bar.width(), extent);
}

void DockablePane::SlideIn(bool activate) {
    if (!m_autoHidden || !m_tabShown || !m_overlay)
        return;
    m_overlay->SlideIn(OverlayTarget(), m_autoHideEdge, true);
    if (activate)
        FocusContent();
}

void DockablePane::SlideOut() {
    if (m_overlay)
        m_overlay->SlideOut(true);
}

AutoHideTab* DockablePane::AutoHideTabButton() const {
    return m_tab;
}

AutoHideOverlay* DockablePane::Overlay() const {
    return m_overlay;
}

bool DockablePane::IsSlidIn() const {
    return m_overlay && m_overlay->IsSlidIn();
}

bool DockablePane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_client && event->type() == QEvent::Resize) {
        AdjustLayout();
    } else if (watched == &m_client && event->type() == QEvent::Show) {
        ClientShown();
    } else if (watched == m_frame && event->type() == QEvent::Resize && IsSlidIn()) {
        // Keep the slid-in panel against its edge while the frame changes size.
        m_overlay->SlideIn(OverlayTarget(), m_autoHideEdge, false);
    }
    return QDockWidget::eventFilter(watched, event);
}

bool DockablePane::event(QEvent* event) {
    if (event->type() == QEvent::WindowTitleChange) {
        m_titleBar.SetCaption(windowTitle());
        if (m_overlay)
            m_overlay->TitleBar()->SetCaption(windowTitle());
        if (m_tab)
            m_tab->setText(windowTitle());
    } else if (event->type() == QEvent::Show) {
        UpdatePinButton();
    } else if (event->type() == QEvent::Move) {
        FollowTabCover();
    }
    return QDockWidget::event(event);
}
