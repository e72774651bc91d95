#include "framework/commands/MenuBuilder.h"
#include "resources/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// Shared actions made on demand, as a command router makes them.
class Commands {
public:
    QAction* operator()(unsigned id) {
        QAction*& action = m_actions[id];
        if (!action)
            action = new QAction(&m_owner);
        return action;
    }
    ActionLookup Lookup() {
        return [this](unsigned id) { return (*this)(id); };
    }

private:
    QObject m_owner;
    std::map<unsigned, QAction*> m_actions;
};

// One line per item: "-" for a separator, "label=id", or "label>" followed by
// the submenu's lines indented.
QStringList Describe(const QMenu* menu, const QString& indent = {}) {
    QStringList lines;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            lines << indent + u'-';
        else if (const QMenu* submenu = action->menu<QMenu*>())
            lines << indent + submenu->title() + u'>' << Describe(submenu, indent + u' ');
        else
            lines << indent + action->text() + u'=' + action->data().toString();
    }
    return lines;
}

QMenu* MenuOf(const QMenuBar* bar, int index) {
    return bar->actions().value(index)->menu<QMenu*>();
}

TEST(ResourceMenus, MainFrameMenuBar) {
    Commands commands;
    std::unique_ptr<QMenuBar> bar(BuildMenuBar(MenuResource(128), commands.Lookup()));
    ASSERT_TRUE(bar);
    ASSERT_EQ(bar->actions().size(), 4);

    EXPECT_EQ(MenuOf(bar.get(), 0)->title(), "&File");
    EXPECT_EQ(Describe(MenuOf(bar.get(), 0)),
              (QStringList{"&New\tCtrl+N=57600", "&Open...\tCtrl+O=57601", "&Save\tCtrl+S=57603",
                           "Save &As...=57604", "-", "Recent File=57616", "-", "E&xit=57665"}));
    EXPECT_EQ(MenuOf(bar.get(), 1)->title(), "&Edit");
    EXPECT_EQ(Describe(MenuOf(bar.get(), 1)),
              (QStringList{"&Undo\tCtrl+Z=57643", "-", "Cu&t\tCtrl+X=57635", "&Copy\tCtrl+C=57634",
                           "&Paste\tCtrl+V=57637"}));
    EXPECT_EQ(MenuOf(bar.get(), 2)->title(), "&View");
    EXPECT_EQ(Describe(MenuOf(bar.get(), 2)),
              (QStringList{"&Status Bar=59393", "&Application Look>", " Windows &2000=210",
                           " Office &XP=211", " &Windows XP=212", " Office 200&3=213",
                           " Visual Studio.NET 200&5=214", " Office 200&7>", "  &Blue Style=215",
                           "  B&lack Style=216", "  &Silver Style=217", "  &Aqua Style=218"}));
    EXPECT_EQ(MenuOf(bar.get(), 3)->title(), "&Help");
    EXPECT_EQ(Describe(MenuOf(bar.get(), 3)), QStringList{"&About Velmora...=57664"});
}

TEST(ResourceMenus, EditPopupAndStyleMenu) {
    Commands commands;
    std::unique_ptr<QMenu> edit(BuildMenu(MenuResource(119), commands.Lookup()));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->title(), "Edit");
    EXPECT_EQ(Describe(edit.get()),
              (QStringList{"Cu&t\tCtrl+X=57635", "&Copy\tCtrl+C=57634", "&Paste\tCtrl+V=57637"}));

    std::unique_ptr<QMenu> style(BuildMenu(MenuResource(200), commands.Lookup()));
    ASSERT_TRUE(style);
    EXPECT_EQ(Describe(style.get()),
              (QStringList{"Office 2007 (&Blue Style)=215", "Office 2007 (B&lack Style)=216",
                           "Office 2007 (&Silver Style)=217", "Office 2007 (&Aqua Style)=218"}));

    EXPECT_EQ(BuildMenu(MenuResource(999), commands.Lookup()), nullptr);
    EXPECT_EQ(BuildMenuBar(MenuResource(999), commands.Lookup()), nullptr);
}

// The item triggers the shared action and follows its state, without taking
// over the shared action's text.
TEST(ResourceMenus, ItemsFollowTheirSharedActions) {
    Commands commands;
    QAction* statusBar = commands(59393);
    statusBar->setText("Toggle Status Bar");
    statusBar->setStatusTip("Show or hide the status bar");
    statusBar->setCheckable(true);
    statusBar->setChecked(true);
    QAction* silver = commands(217);
    auto* styles = new QActionGroup(silver);
    styles->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    silver->setActionGroup(styles);
    silver->setCheckable(true);
    silver->setChecked(true);

    std::unique_ptr<QMenuBar> bar(BuildMenuBar(MenuResource(128), commands.Lookup()));
    QMenu* view = MenuOf(bar.get(), 2);
    QAction* item = view->actions().at(0);
    EXPECT_EQ(item->text(), "&Status Bar");
    EXPECT_EQ(item->statusTip(), "Show or hide the status bar");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(item->isChecked());

    int triggered = 0;
    QObject::connect(statusBar, &QAction::triggered, [&] {
        ++triggered;
        statusBar->setChecked(true); // the command's handler keeps the bar shown
    });
    item->trigger();
    EXPECT_EQ(triggered, 1);
    EXPECT_TRUE(item->isChecked()) << "the command's state, not the click, decides the mark";

    statusBar->setEnabled(false);
    EXPECT_FALSE(item->isEnabled());
    statusBar->setEnabled(true);
    statusBar->setChecked(false);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(statusBar->text(), "Toggle Status Bar");

    const QMenu* office2007 =
        view->actions().at(1)->menu<QMenu*>()->actions().at(5)->menu<QMenu*>();
    const QAction* silverItem = office2007->actions().at(2);
    ASSERT_EQ(silverItem->data().toUInt(), 217u);
    EXPECT_TRUE(silverItem->isChecked());
    ASSERT_TRUE(silverItem->actionGroup());
    EXPECT_TRUE(silverItem->actionGroup()->isExclusive()) << "drawn as a radio choice";
}

TEST(ResourceMenus, ItemsWithoutACommandAreDisabled) {
    std::unique_ptr<QMenuBar> bar(
        BuildMenuBar(MenuResource(128), [](unsigned) { return nullptr; }));
    for (const QAction* item : MenuOf(bar.get(), 0)->actions())
        if (!item->isSeparator())
            EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
}

TEST(ResourceMenus, BeforeShowUpdatesTheMenusSharedActions) {
    Commands commands;
    QList<QAction*> updated;
    std::unique_ptr<QMenu> edit(
        BuildMenu(MenuResource(119), commands.Lookup(), nullptr,
                  [&](const QList<QAction*>& actions) { updated = actions; }));
    emit edit->aboutToShow();
    EXPECT_EQ(updated, (QList{commands(57635), commands(57634), commands(57637)}));
}

} // namespace
