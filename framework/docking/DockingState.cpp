#include "framework/docking/DockingState.h"

#include "framework/docking/DockablePane.h"

#include <QDataStream>
#include <QIODevice>
#include <QMainWindow>

namespace {

constexpr quint32 kMagic = 0x56444B53; // "VDKS"
constexpr quint32 kFormat = 1;

struct CollapsedPane {
    QString name;
    qint32 extent = 0;
    bool tabShown = true;
};

QList<DockablePane*> Panes(const QMainWindow& frame) {
    return frame.findChildren<DockablePane*>(Qt::FindDirectChildrenOnly);
}

} // namespace

QByteArray SaveDockingState(const QMainWindow& frame, int version) {
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kFormat << qint32(version) << frame.saveState(version);
    QList<DockablePane*> collapsed;
    for (DockablePane* pane : Panes(frame))
        if (pane->IsAutoHideMode())
            collapsed.append(pane);
    out << qint32(collapsed.size());
    for (DockablePane* pane : collapsed)
        out << pane->objectName() << qint32(pane->DockedExtent()) << pane->IsPaneVisible();
    return state;
}

bool RestoreDockingState(QMainWindow& frame, const QByteArray& state, int version) {
    QDataStream in(state);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint32 format = 0;
    qint32 savedVersion = 0;
    QByteArray qtState;
    qint32 count = 0;
    in >> magic >> format >> savedVersion >> qtState >> count;
    if (in.status() != QDataStream::Ok || magic != kMagic || format != kFormat ||
        savedVersion != version || count < 0)
        return false;
    QList<CollapsedPane> collapsed;
    for (qint32 i = 0; i < count; ++i) {
        CollapsedPane pane;
        in >> pane.name >> pane.extent >> pane.tabShown;
        if (in.status() != QDataStream::Ok)
            return false;
        collapsed.append(pane);
    }

    // Qt restores docked panes only; bring collapsed ones back into the
    // layout first, then collapse the ones the state names.
    const QList<DockablePane*> panes = Panes(frame);
    for (DockablePane* pane : panes)
        pane->SetAutoHideMode(false);
    if (!frame.restoreState(qtState, version))
        return false;
    for (const CollapsedPane& saved : collapsed) {
        for (DockablePane* pane : panes) {
            if (pane->objectName() != saved.name)
                continue;
            pane->SetAutoHideMode(true);
            if (!pane->IsAutoHideMode())
                break;
            if (saved.extent > 0)
                pane->SetDockedExtent(saved.extent);
            pane->setVisible(saved.tabShown);
            break;
        }
    }
    return true;
}
