#include "framework/docking/AutoHideBar.h"

#include "framework/docking/AutoHideTab.h"
#include "framework/docking/PaneStyle.h"

#include <QAction>
#include <QMainWindow>

namespace {

QString BarName(Qt::DockWidgetArea edge) {
    switch (edge) {
    case Qt::LeftDockWidgetArea:
        return QStringLiteral("AutoHideBarLeft");
    case Qt::RightDockWidgetArea:
        return QStringLiteral("AutoHideBarRight");
    case Qt::TopDockWidgetArea:
        return QStringLiteral("AutoHideBarTop");
    default:
        return QStringLiteral("AutoHideBarBottom");
    }
}

} // namespace

AutoHideBar::AutoHideBar(Qt::DockWidgetArea edge, QMainWindow* frame)
    : QToolBar(frame), m_edge(edge), m_frame(frame) {
    setObjectName(BarName(edge));
    setMovable(false);
    setFloatable(false);
    setAllowedAreas(ToolBarAreaFor(edge));
    setOrientation(edge == Qt::LeftDockWidgetArea || edge == Qt::RightDockWidgetArea
                       ? Qt::Vertical
                       : Qt::Horizontal);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setContentsMargins(0, 0, 0, 0);
    // Not a bar the user switches on or off: keep it out of the frame's menu.
    toggleViewAction()->setVisible(false);
    hide();
}

AutoHideBar::~AutoHideBar() = default;

AutoHideBar* AutoHideBar::ForEdge(const QMainWindow* frame, Qt::DockWidgetArea edge) {
    if (!frame)
        return nullptr;
    return frame->findChild<AutoHideBar*>(BarName(edge), Qt::FindDirectChildrenOnly);
}

AutoHideTab* AutoHideBar::AddTab(const QString& text) {
    PlaceInFrame();
    auto* tab = new AutoHideTab(text, m_edge);
    QAction* action = addWidget(tab);
    m_entries.push_back({tab, action});
    UpdateVisibility();
    return tab;
}

void AutoHideBar::RemoveTab(AutoHideTab* tab) {
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->tab != tab)
            continue;
        QAction* action = it->action;
        m_entries.erase(it);
        removeAction(action);
        delete action; // takes the tab with it
        UpdateVisibility();
        return;
    }
}

void AutoHideBar::SetTabShown(AutoHideTab* tab, bool shown) {
    if (const Entry* entry = Find(tab)) {
        entry->action->setVisible(shown);
        UpdateVisibility();
    }
}

bool AutoHideBar::IsTabShown(const AutoHideTab* tab) const {
    const Entry* entry = Find(tab);
    return entry && entry->action->isVisible();
}

int AutoHideBar::ShownTabCount() const {
    int count = 0;
    for (const Entry& entry : m_entries)
        count += entry.action->isVisible() ? 1 : 0;
    return count;
}

void AutoHideBar::setVisible(bool visible) {
    QToolBar::setVisible(visible && ShownTabCount() > 0);
}

const AutoHideBar::Entry* AutoHideBar::Find(const AutoHideTab* tab) const {
    for (const Entry& entry : m_entries)
        if (entry.tab == tab)
            return &entry;
    return nullptr;
}

// The bar joins the frame's layout when it first gets a tab, on a line of
// its own next to the docked panes, so tool bars the frame set up earlier
// keep their rows.
void AutoHideBar::PlaceInFrame() {
    if (m_placed || !m_frame)
        return;
    const Qt::ToolBarArea area = ToolBarAreaFor(m_edge);
    m_frame->addToolBarBreak(area);
    m_frame->addToolBar(area, this);
    m_placed = true;
}

void AutoHideBar::UpdateVisibility() {
    setVisible(ShownTabCount() > 0);
}

void EnableAutoHidePanes(QMainWindow* frame, quint32 edgeMask) {
    if (!frame)
        return;
    const Qt::DockWidgetArea edges[] = {Qt::LeftDockWidgetArea, Qt::TopDockWidgetArea,
                                        Qt::RightDockWidgetArea, Qt::BottomDockWidgetArea};
    const Qt::DockWidgetAreas wanted = DockAreasFromMask(edgeMask);
    for (Qt::DockWidgetArea edge : edges) {
        if (wanted.testFlag(edge) && !AutoHideBar::ForEdge(frame, edge))
            new AutoHideBar(edge, frame);
    }
}
