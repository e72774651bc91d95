#include "framework/commands/StringTable.h"
#include "resources/Accelerators.h"
#include "resources/ApplicationIds.h"

#include <QAction>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <set>

// What must hold of the frame's shortcuts, whatever rows the table gains.

namespace {

using namespace CommandId;

QKeySequence Keys(const char* text) {
    return QKeySequence(QString::fromLatin1(text), QKeySequence::PortableText);
}

// The command `keys` issue; 0 when they issue none.
unsigned CommandOf(const QKeySequence& keys) {
    for (const Accelerator& row : MainFrameAccelerators())
        if (QKeySequence(row.keys) == keys)
            return row.commandId;
    return 0;
}

TEST(ResourceAccelerators, NoKeyIsBoundTwice) {
    std::set<int> seen;
    for (const Accelerator& row : MainFrameAccelerators())
        EXPECT_TRUE(seen.insert(row.keys.toCombined()).second)
            << QKeySequence(row.keys).toString().toStdString();
}

TEST(ResourceAccelerators, EveryCommandHasAPromptForTheStatusBar) {
    for (const Accelerator& row : MainFrameAccelerators())
        EXPECT_FALSE(StringTable::PromptOf(StringTable::Load(row.commandId)).isEmpty())
            << row.commandId;
}

// The keys the program promises, the classic second spellings included.
TEST(ResourceAccelerators, ThePromisedKeysIssueTheirCommands) {
    const std::pair<const char*, unsigned> promised[] = {
        {"Ctrl+N", FileNew},
        {"Ctrl+O", FileOpen},
        {"Ctrl+S", FileSave},
        {"Ctrl+C", EditCopy},
        {"Ctrl+Ins", EditCopy},
        {"Ctrl+X", EditCut},
        {"Shift+Del", EditCut},
        {"Ctrl+V", EditPaste},
        {"Shift+Ins", EditPaste},
        {"Ctrl+Z", EditUndo},
        {"Alt+Backspace", EditUndo},
        {"F6", NextPane},
        {"Shift+F6", PrevPane},
        {"Ctrl+Shift+1", ViewLargeIcon},
        {"Ctrl+Shift+2", ViewSmallIcon},
        {"Ctrl+Shift+3", ViewList},
        {"Ctrl+Shift+4", ViewDetails},
    };
    for (const auto& [keys, command] : promised)
        EXPECT_EQ(CommandOf(Keys(keys)), command) << keys;
    // Menus show the first key of a command: the modern spelling comes first.
    EXPECT_EQ(ShortcutsOf(MainFrameAccelerators(), EditPaste).value(0), Keys("Ctrl+V"));
    EXPECT_EQ(ShortcutsOf(MainFrameAccelerators(), EditUndo).value(0), Keys("Ctrl+Z"));
    EXPECT_TRUE(ShortcutsOf(MainFrameAccelerators(), EditSelectAll).isEmpty());
}

// Keys pressed in a window reach the shared action of their command, and the
// old spelling reaches the same action as the new one.
TEST(ResourceAccelerators, KeysTriggerTheSharedActions) {
    QWidget window;
    std::map<unsigned, QAction*> actions;
    ApplyAccelerators(MainFrameAccelerators(), [&](unsigned id) {
        auto*& action = actions[id];
        if (!action) {
            action = new QAction(&window);
            window.addAction(action);
        }
        return action;
    });
    std::set<unsigned> commands;
    for (const Accelerator& row : MainFrameAccelerators())
        commands.insert(row.commandId);
    EXPECT_EQ(actions.size(), commands.size()) << "one shared action per command";
    ASSERT_TRUE(actions.count(EditPaste));

    std::map<unsigned, int> triggered;
    for (const auto& [id, action] : actions)
        QObject::connect(action, &QAction::triggered, [&triggered, id = id] { ++triggered[id]; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(&window, Qt::Key_Backspace, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(triggered[EditPaste], 2);
    EXPECT_EQ(triggered[EditUndo], 1);
    EXPECT_EQ(triggered[PrevPane], 1);
    EXPECT_EQ(triggered[NextPane], 0);
}

} // namespace
