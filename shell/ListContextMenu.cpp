#include "shell/ListContextMenu.h"

#include "framework/commands/CommandIds.h"
#include "framework/commands/CommandRouter.h"
#include "framework/views/ShellFileList.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>

namespace {

void AddSortMenu(QMenu& menu, ShellFileList& list) {
    QMenu* sortBy = menu.addMenu(QObject::tr("Sort By"));
    sortBy->setObjectName(QStringLiteral("sortByMenu"));
    QTreeView* details = list.DetailsView();
    const QHeaderView* header = details->header();
    auto* group = new QActionGroup(sortBy);
    const QAbstractItemModel& model = list.Model();
    for (int column = 0; column < model.columnCount(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        QAction* action = sortBy->addAction(model.headerData(column, Qt::Horizontal).toString());
        action->setCheckable(true);
        action->setActionGroup(group);
        action->setChecked(header->sortIndicatorSection() == column);
        QObject::connect(action, &QAction::triggered, details, [details, column] {
            const QHeaderView* header = details->header();
            Qt::SortOrder order = Qt::AscendingOrder;
            if (header->sortIndicatorSection() == column)
                order = header->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                           : Qt::AscendingOrder;
            details->sortByColumn(column, order);
        });
    }
}

} // namespace

QMenu* CreateListContextMenu(ShellFileList& list, CommandRouter& router, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("listContextMenu"));
    QMenu* view = menu->addMenu(QObject::tr("View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    for (unsigned id : {CommandId::ViewLargeIcon, CommandId::ViewSmallIcon, CommandId::ViewList,
                        CommandId::ViewDetails})
        view->addAction(router.Action(id));
    AddSortMenu(*menu, list);
    menu->addSeparator();
    QAction* refresh = menu->addAction(QObject::tr("Refresh"));
    QObject::connect(refresh, &QAction::triggered, &list, [&list] { list.Refresh(); });
    // The marks are brought up to date before the menus show.
    router.WatchMenu(menu);
    router.UpdateActions(view->actions());
    return menu;
}
