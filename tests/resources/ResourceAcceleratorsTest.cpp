#include "resources/Accelerators.h"

#include <QAction>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr unsigned kNew = 57600, kOpen = 57601, kSave = 57603, kUndo = 57643, kCut = 57635,
                   kCopy = 57634, kPaste = 57637, kNextPane = 57680, kPrevPane = 57681,
                   kLargeIcons = 59409, kSmallIcons = 59408, kList = 59410, kDetails = 59411;

QKeySequence Keys(const char* text) {
    return QKeySequence(QString::fromLatin1(text), QKeySequence::PortableText);
}

TEST(ResourceAccelerators, MainFrameTableInOrder) {
    const std::pair<const char*, unsigned> expected[] = {
        {"Ctrl+N", kNew},
        {"Ctrl+O", kOpen},
        {"Ctrl+S", kSave},
        {"Ctrl+Z", kUndo},
        {"Ctrl+X", kCut},
        {"Ctrl+C", kCopy},
        {"Ctrl+V", kPaste},
        {"Alt+Backspace", kUndo},
        {"Shift+Del", kCut},
        {"Ctrl+Ins", kCopy},
        {"Shift+Ins", kPaste},
        {"F6", kNextPane},
        {"Shift+F6", kPrevPane},
        {"Ctrl+Shift+1", kLargeIcons},
        {"Ctrl+Shift+2", kSmallIcons},
        {"Ctrl+Shift+3", kList},
        {"Ctrl+Shift+4", kDetails},
    };
    const auto table = MainFrameAccelerators();
    ASSERT_EQ(table.size(), std::size(expected));
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(QKeySequence(table[i].keys), Keys(expected[i].first)) << "row " << i;
        EXPECT_EQ(table[i].commandId, expected[i].second) << "row " << i;
    }
}

TEST(ResourceAccelerators, BothSpellingsIssueTheSameCommand) {
    EXPECT_EQ(ShortcutsOf(MainFrameAccelerators(), kPaste),
              (QList{Keys("Ctrl+V"), Keys("Shift+Ins")}));
    EXPECT_EQ(ShortcutsOf(MainFrameAccelerators(), kCut),
              (QList{Keys("Ctrl+X"), Keys("Shift+Del")}));
    EXPECT_EQ(ShortcutsOf(MainFrameAccelerators(), kCopy),
              (QList{Keys("Ctrl+C"), Keys("Ctrl+Ins")}));
    EXPECT_EQ(ShortcutsOf(MainFrameAccelerators(), kUndo),
              (QList{Keys("Ctrl+Z"), Keys("Alt+Backspace")}));
    EXPECT_EQ(ShortcutsOf(MainFrameAccelerators(), kNew), QList{Keys("Ctrl+N")});
    EXPECT_TRUE(ShortcutsOf(MainFrameAccelerators(), 57642).isEmpty()); // Select All has no key
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
    EXPECT_EQ(actions.size(), 13u);
    ASSERT_TRUE(actions.count(kPaste));

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
    EXPECT_EQ(triggered[kPaste], 2);
    EXPECT_EQ(triggered[kUndo], 1);
    EXPECT_EQ(triggered[kPrevPane], 1);
    EXPECT_EQ(triggered[kNextPane], 0);
}

} // namespace
