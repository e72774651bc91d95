#include "framework/commands/MenuBuilder.h"
#include "framework/commands/StringTable.h"
#include "resources/Accelerators.h"
#include "resources/ApplicationIds.h"
#include "resources/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// What must hold of the menu tables, whatever items they gain, and how menus
// built from them follow the commands' shared actions.

namespace {

using namespace CommandId;

constexpr unsigned kMenus[] = {ResourceId::MainFrame, ResourceId::EditPopupMenu,
                               ResourceId::StyleMenu};

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

std::string Text(std::u16string_view label) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(label.data()),
                                static_cast<qsizetype>(label.size()))
        .toStdString();
}

QMenu* MenuOf(const QMenuBar* bar, int index) {
    return bar->actions().value(index)->menu<QMenu*>();
}

// The item of `menu` or its submenus that issues `id`.
QAction* ItemOf(const QMenu* menu, unsigned id) {
    for (QAction* action : menu->actions()) {
        if (const QMenu* submenu = action->menu<QMenu*>()) {
            if (QAction* found = ItemOf(submenu, id))
                return found;
        } else if (!action->isSeparator() && action->data().toUInt() == id) {
            return action;
        }
    }
    return nullptr;
}

TEST(ResourceMenus, EveryTableIsTopLevelPopupsEachClosed) {
    for (unsigned menuId : kMenus) {
        SCOPED_TRACE(menuId);
        int depth = 0;
        for (const MenuEntry& entry : MenuResource(menuId)) {
            if (depth == 0)
                EXPECT_EQ(entry.kind, MenuEntryKind::Popup) << "only popups at the top";
            if (entry.kind == MenuEntryKind::Popup)
                ++depth;
            else if (entry.kind == MenuEntryKind::EndPopup)
                ASSERT_GT(depth--, 0) << "an end without its popup";
        }
        EXPECT_EQ(depth, 0) << "a popup left open";
    }
}

// Each item issues a command with a status-bar prompt, except the choices of
// the application's look, which their labels name well enough.
TEST(ResourceMenus, EveryItemIssuesACommandWithAPrompt) {
    for (unsigned menuId : kMenus)
        for (const MenuEntry& entry : MenuResource(menuId)) {
            if (entry.kind != MenuEntryKind::Item)
                continue;
            EXPECT_NE(entry.commandId, 0u) << Text(entry.label);
            if (entry.commandId >= AppLookFirst && entry.commandId <= AppLookLast)
                continue;
            EXPECT_FALSE(StringTable::PromptOf(StringTable::Load(entry.commandId)).isEmpty())
                << Text(entry.label);
        }
}

// The shortcut a label shows after its tab is the first key of its command in
// the frame's table, and an item whose command has a key shows it.
TEST(ResourceMenus, LabelsShowTheFirstKeyOfTheirCommand) {
    for (unsigned menuId : kMenus)
        for (const MenuEntry& entry : MenuResource(menuId)) {
            if (entry.kind != MenuEntryKind::Item)
                continue;
            const QString label = QString::fromStdString(Text(entry.label));
            const QString shown = label.section(u'\t', 1);
            const QKeySequence first =
                ShortcutsOf(MainFrameAccelerators(), entry.commandId).value(0);
            EXPECT_EQ(shown, first.toString(QKeySequence::PortableText)) << Text(entry.label);
        }
}

// Within one menu no two items share an access letter, and no label has two.
TEST(ResourceMenus, AccessLettersAreUniqueAmongSiblings) {
    for (unsigned menuId : kMenus) {
        std::vector<std::set<QChar>> levels(1);
        for (const MenuEntry& entry : MenuResource(menuId)) {
            if (entry.kind == MenuEntryKind::EndPopup) {
                levels.pop_back();
                continue;
            }
            if (entry.kind == MenuEntryKind::Separator)
                continue;
            const QString label = QString::fromStdString(Text(entry.label)).section(u'\t', 0, 0);
            EXPECT_LE(label.count(u'&'), 1) << Text(entry.label);
            if (const qsizetype at = label.indexOf(u'&'); at >= 0 && at + 1 < label.size())
                EXPECT_TRUE(levels.back().insert(label.at(at + 1).toLower()).second)
                    << Text(entry.label);
            if (entry.kind == MenuEntryKind::Popup)
                levels.emplace_back();
        }
    }
}

TEST(ResourceMenus, TheFrameMenuHasTheClassicMenusAndEveryLook) {
    Commands commands;
    std::unique_ptr<QMenuBar> bar(
        BuildMenuBar(MenuResource(ResourceId::MainFrame), commands.Lookup()));
    ASSERT_TRUE(bar);
    QStringList titles;
    for (const QAction* menu : bar->actions())
        titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Help"}));

    for (unsigned look = AppLookFirst; look <= AppLookLast; ++look)
        EXPECT_TRUE(ItemOf(MenuOf(bar.get(), 2), look)) << look;
    for (unsigned id : {FileNew, FileOpen, FileSave, FileSaveAs, AppExit})
        EXPECT_TRUE(ItemOf(MenuOf(bar.get(), 0), id)) << id;
    EXPECT_TRUE(ItemOf(MenuOf(bar.get(), 1), EditCopy));
    EXPECT_TRUE(ItemOf(MenuOf(bar.get(), 3), AppAbout));

    // The ribbon's "Style" drop-down offers the Office 2007 looks alone.
    std::unique_ptr<QMenu> style(BuildMenu(MenuResource(ResourceId::StyleMenu), commands.Lookup()));
    ASSERT_TRUE(style);
    for (const QAction* item : style->actions())
        EXPECT_TRUE(item->data().toUInt() >= AppLookOffice2007Blue &&
                    item->data().toUInt() <= AppLookOffice2007Aqua)
            << item->text().toStdString();

    EXPECT_EQ(BuildMenu(MenuResource(999), commands.Lookup()), nullptr);
    EXPECT_EQ(BuildMenuBar(MenuResource(999), commands.Lookup()), nullptr);
}

TEST(ResourceMenus, TheEditPopupIsNamedEditAndCopies) {
    Commands commands;
    std::unique_ptr<QMenu> edit(
        BuildMenu(MenuResource(ResourceId::EditPopupMenu), commands.Lookup()));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->title(), "Edit");
    EXPECT_TRUE(ItemOf(edit.get(), EditCopy));
}

// The item triggers the shared action and follows its state, without taking
// over the shared action's text.
TEST(ResourceMenus, ItemsFollowTheirSharedActions) {
    Commands commands;
    QAction* statusBar = commands(ViewStatusBar);
    statusBar->setText("Toggle Status Bar");
    statusBar->setStatusTip("Show or hide the status bar");
    statusBar->setCheckable(true);
    statusBar->setChecked(true);
    QAction* silver = commands(AppLookOffice2007Silver);
    auto* styles = new QActionGroup(silver);
    styles->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    silver->setActionGroup(styles);
    silver->setCheckable(true);
    silver->setChecked(true);

    std::unique_ptr<QMenuBar> bar(
        BuildMenuBar(MenuResource(ResourceId::MainFrame), commands.Lookup()));
    QAction* item = ItemOf(MenuOf(bar.get(), 2), ViewStatusBar);
    ASSERT_TRUE(item);
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

    const QAction* silverItem = ItemOf(MenuOf(bar.get(), 2), AppLookOffice2007Silver);
    ASSERT_TRUE(silverItem);
    EXPECT_TRUE(silverItem->isChecked());
    ASSERT_TRUE(silverItem->actionGroup());
    EXPECT_TRUE(silverItem->actionGroup()->isExclusive()) << "drawn as a radio choice";
}

TEST(ResourceMenus, ItemsWithoutACommandAreDisabled) {
    std::unique_ptr<QMenuBar> bar(
        BuildMenuBar(MenuResource(ResourceId::MainFrame), [](unsigned) { return nullptr; }));
    for (const QAction* item : MenuOf(bar.get(), 0)->actions())
        if (!item->isSeparator())
            EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
}

TEST(ResourceMenus, BeforeShowUpdatesTheMenusSharedActions) {
    Commands commands;
    QList<QAction*> updated;
    std::unique_ptr<QMenu> edit(
        BuildMenu(MenuResource(ResourceId::EditPopupMenu), commands.Lookup(), nullptr,
                  [&](const QList<QAction*>& actions) { updated = actions; }));
    emit edit->aboutToShow();
    EXPECT_EQ(updated, (QList{commands(EditCut), commands(EditCopy), commands(EditPaste)}));
}

} // namespace
