#include "ViewMenu.h"

#include "CommandIds.h"
#include "CommandRouter.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <utility>

namespace {

// The menu has actions of its own rather than the router's shared ones, so
// its labels never become the labels of other elements issuing the same ids.
void AddItem(QMenu& menu, CommandRouter& router, unsigned id, const QString& label,
             QActionGroup* group = nullptr) {
    QAction* action = menu.addAction(label);
    if (group)
        group->addAction(action);
    QObject::connect(action, &QAction::triggered, &router, [&router, id] { router.Execute(id); });
    QObject::connect(&menu, &QMenu::aboutToShow, action, [&router, action, id] {
        const CommandUI ui = router.QueryState(id);
        action->setEnabled(ui.IsEnabled());
        action->setCheckable(ui.IsMarkSet());
        action->setChecked(ui.IsChecked());
    });
}

} // namespace

QMenu* CreateViewMenu(CommandRouter& router, QWidget* parent) {
    using namespace CommandId;
    auto* menu = new QMenu(QStringLiteral("&View"), parent);
    AddItem(*menu, router, ViewStatusBar, QStringLiteral("&Status Bar"));
    AddItem(*menu, router, ViewFolders, QStringLiteral("&Folders"));
    AddItem(*menu, router, ViewProperties, QStringLiteral("&Properties"));

    QMenu* looks = menu->addMenu(QStringLiteral("&Application Look"));
    // Exclusive only in look: the update handlers decide the mark, and a
    // stored style outside the nine marks none of them.
    auto* group = new QActionGroup(menu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const std::pair<unsigned, const char*> plain[] = {
        {AppLookWindows2000, "Windows &2000"},
        {AppLookOfficeXP, "Office &XP"},
        {AppLookWindowsXP, "&Windows XP"},
        {AppLookOffice2003, "Office 200&3"},
        {AppLookVisualStudio2005, "Visual Studio.NET 200&5"},
    };
    for (const auto& [id, label] : plain)
        AddItem(*looks, router, id, QString::fromLatin1(label), group);
    QMenu* office2007 = looks->addMenu(QStringLiteral("Office 200&7"));
    const std::pair<unsigned, const char*> office[] = {
        {AppLookOffice2007Blue, "&Blue Style"},
        {AppLookOffice2007Black, "B&lack Style"},
        {AppLookOffice2007Silver, "&Silver Style"},
        {AppLookOffice2007Aqua, "&Aqua Style"},
    };
    for (const auto& [id, label] : office)
        AddItem(*office2007, router, id, QString::fromLatin1(label), group);
    return menu;
}
