#pragma once

#include <QToolBar>

#include <vector>

class AutoHideTab;
class QMainWindow;

// The thin strip along one edge of the frame that holds the tabs of the panes
// collapsed on that edge. It is a fixed tool bar of the frame so the frame's
// layout keeps room for it, and it shows itself only while it holds a visible
// tab. Bars exist only on the edges given to EnableAutoHidePanes; a pane can be
// collapsed only onto an edge that has one.
class AutoHideBar : public QToolBar {
    Q_OBJECT
public:
    AutoHideBar(Qt::DockWidgetArea edge, QMainWindow* frame);
    ~AutoHideBar() override;

    // The bar of `frame` on `edge`, or null when auto-hiding is not enabled there.
    static AutoHideBar* ForEdge(const QMainWindow* frame, Qt::DockWidgetArea edge);

    Qt::DockWidgetArea Edge() const { return m_edge; }

    // The bar owns the tabs it hands out; RemoveTab deletes one.
    AutoHideTab* AddTab(const QString& text);
    void RemoveTab(AutoHideTab* tab);
    void SetTabShown(AutoHideTab* tab, bool shown);
    bool IsTabShown(const AutoHideTab* tab) const;
    int ShownTabCount() const;

    // The bar stays hidden while it has nothing to show, whoever asks.
    void setVisible(bool visible) override;

private:
    struct Entry {
        AutoHideTab* tab;
        QAction* action;
    };
    const Entry* Find(const AutoHideTab* tab) const;
    void PlaceInFrame();
    void UpdateVisibility();

    Qt::DockWidgetArea m_edge;
    QMainWindow* m_frame;
    bool m_placed = false;
    std::vector<Entry> m_entries;
};

// Makes panes collapsible onto the frame edges named by the alignment bits of
// `edgeMask` (PaneStyle::AlignLeft ... AlignAny). Calling it again adds edges.
void EnableAutoHidePanes(QMainWindow* frame, quint32 edgeMask);
