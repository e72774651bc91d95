#include "shell/FrameMenu.h"

#include "framework/commands/CommandRouter.h"
#include "framework/commands/MenuBuilder.h"
#include "resources/ApplicationIds.h"
#include "resources/Menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <memory>

namespace {

// A pane item: its own label (the panes' commands have no menu text), the
// router's state each time the menu opens.
void AddPaneItem(QMenu& menu, CommandRouter& router, unsigned id, const QString& label) {
    QAction* item = menu.addAction(label);
    item->setData(id);
    QObject::connect(item, &QAction::triggered, &router, [&router, id] { router.Execute(id); });
    QObject::connect(&menu, &QMenu::aboutToShow, item, [&router, item, id] {
        const CommandUI ui = router.QueryState(id);
        item->setEnabled(ui.IsEnabled());
        item->setCheckable(ui.IsMarkSet());
        item->setChecked(ui.IsChecked());
    });
}

} // namespace

QMenu* CreateFrameContextMenu(CommandRouter& router, QWidget* parent) {
    auto* menu = new QMenu(parent);
    // The menu bar is only the builder's vessel: its popups move into the
    // context menu and the bar itself is never shown.
    const std::unique_ptr<QMenuBar> bar(BuildMenuBar(
        MenuResource(ResourceId::MainFrame), [&router](unsigned id) { return router.Action(id); },
        nullptr, [&router](const QList<QAction*>& commands) { router.UpdateActions(commands); }));
    if (bar) {
        for (QAction* entry : bar->actions()) {
            if (QMenu* popup = entry->menu()) {
                popup->setParent(menu, popup->windowFlags());
                menu->addMenu(popup);
            }
        }
    }
    menu->addSeparator();
    AddPaneItem(*menu, router, CommandId::ViewFolders, QStringLiteral("&Folders"));
    AddPaneItem(*menu, router, CommandId::ViewProperties, QStringLiteral("&Properties"));
    AddPaneItem(*menu, router, CommandId::ViewMetadata, QStringLiteral("&Metadata"));
    AddPaneItem(*menu, router, CommandId::ViewPreview, QStringLiteral("P&review"));
    AddPaneItem(*menu, router, CommandId::ViewOverview, QStringLiteral("&Overview"));
    return menu;
}
