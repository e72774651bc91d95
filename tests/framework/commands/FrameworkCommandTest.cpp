#include "framework/commands/CommandRouter.h"
#include "framework/commands/CommandTarget.h"
#include "resources/ApplicationIds.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Stage = CommandRouter::Stage;

// A target that records the commands it handled under its name.
struct RecordingTarget : CommandTarget {
    RecordingTarget(const char* name, std::vector<std::string>& log) : name(name), log(log) {}
    void Handle(unsigned id) {
        AddCommand(id, [this, id] { log.push_back(name + ":" + std::to_string(id)); });
    }
    std::string name;
    std::vector<std::string>& log;
};

struct RouteFixture : ::testing::Test {
    std::vector<std::string> log;
    RecordingTarget view{"view", log}, document{"document", log}, frame{"frame", log},
        application{"application", log};
    CommandRouter router;

    void SetUp() override {
        router.SetTarget(Stage::View, &view);
        router.SetTarget(Stage::Document, &document);
        router.SetTarget(Stage::Frame, &frame);
        router.SetTarget(Stage::Application, &application);
    }
};

TEST_F(RouteFixture, OffersCommandsToViewDocumentFrameApplicationFirstHandlerWins) {
    for (RecordingTarget* t : {&application, &frame, &document, &view})
        t->Handle(CommandId::FileNew);
    document.Handle(CommandId::FileOpen);
    application.Handle(CommandId::FileOpen);
    application.Handle(CommandId::AppAbout);

    EXPECT_TRUE(router.Execute(CommandId::FileNew));
    EXPECT_TRUE(router.Execute(CommandId::FileOpen));
    EXPECT_TRUE(router.Execute(CommandId::AppAbout));
    EXPECT_FALSE(router.Execute(CommandId::EditPaste));
    EXPECT_EQ(log, (std::vector<std::string>{"view:57600", "document:57601", "application:57664"}));

    log.clear();
    router.SetTarget(Stage::View, nullptr);
    router.SetTarget(Stage::Document, nullptr);
    router.Execute(CommandId::FileNew);
    EXPECT_EQ(log, std::vector<std::string>{"frame:57600"});
}

TEST_F(RouteFixture, DestroyedTargetLeavesTheRoute) {
    frame.Handle(CommandId::ViewLargeIcon);
    {
        RecordingTarget shortLived{"old view", log};
        shortLived.Handle(CommandId::ViewLargeIcon);
        router.SetTarget(Stage::View, &shortLived);
        router.Execute(CommandId::ViewLargeIcon);
    }
    EXPECT_EQ(router.Target(Stage::View), nullptr);
    router.Execute(CommandId::ViewLargeIcon);
    EXPECT_EQ(log, (std::vector<std::string>{"old view:59409", "frame:59409"}));
}

TEST_F(RouteFixture, RangeHandlersCoverTheirBoundsOnlyAndEarlierEntriesWin) {
    std::vector<unsigned> styles;
    frame.AddCommand(CommandId::AppLookOffice2007Silver, [&] { styles.push_back(0); });
    frame.AddCommandRange(CommandId::AppLookFirst, CommandId::AppLookLast,
                          [&](unsigned id) { styles.push_back(id); });
    view.AddCommandRange(CommandId::ViewModeFirst, CommandId::ViewModeLast,
                         [&](unsigned id) { styles.push_back(id); });

    for (unsigned id : {209u, 210u, 214u, 217u, 218u, 219u, 59407u, 59408u, 59413u, 59414u})
        router.Execute(id);
    EXPECT_EQ(styles, (std::vector<unsigned>{210, 214, 0, 218, 59408, 59413}));
}

TEST_F(RouteFixture, ActionsTriggerTheRouteAndShareOneActionPerCommand) {
    application.Handle(CommandId::FileNew);
    QAction* action = router.Action(CommandId::FileNew);
    EXPECT_EQ(router.Action(CommandId::FileNew), action);
    EXPECT_EQ(action->statusTip(), "Create a new document");
    EXPECT_EQ(action->toolTip(), "New");
    action->trigger();
    EXPECT_EQ(log, std::vector<std::string>{"application:57600"});
}

TEST_F(RouteFixture, CommandsNothingHandlesAreDisabled) {
    QAction* paste = router.Action(CommandId::EditPaste);
    QAction* open = router.Action(CommandId::FileOpen);
    EXPECT_FALSE(paste->isEnabled());
    EXPECT_FALSE(open->isEnabled());

    application.Handle(CommandId::FileOpen);
    router.UpdateAll();
    EXPECT_TRUE(open->isEnabled());
    EXPECT_FALSE(paste->isEnabled());
}

TEST_F(RouteFixture, UpdateHandlersSetEnableCheckAndRadio) {
    unsigned look = CommandId::AppLookOffice2007Silver;
    bool statusBarVisible = true;
    frame.AddCommandRange(CommandId::AppLookFirst, CommandId::AppLookLast,
                          [&](unsigned id) { look = id; });
    frame.AddUpdateRange(CommandId::AppLookFirst, CommandId::AppLookLast,
                         [&](CommandUI& ui) { ui.SetRadio(ui.Id() == look); });
    frame.AddCommand(CommandId::ViewStatusBar, [&] { statusBarVisible = !statusBarVisible; });
    frame.AddUpdate(CommandId::ViewStatusBar,
                    [&](CommandUI& ui) { ui.SetCheck(statusBarVisible); });
    frame.AddUpdateRange(CommandId::ViewModeFirst, CommandId::ViewModeLast,
                         [](CommandUI& ui) { ui.Enable(false); });
    // The view can run a view-mode command, yet the frame's update handler
    // decides its look: update handlers are looked for along the whole route
    // before command handlers are.
    view.Handle(CommandId::ViewLineUp);

    QAction* silver = router.Action(CommandId::AppLookOffice2007Silver);
    QAction* blue = router.Action(CommandId::AppLookOffice2007Blue);
    QAction* statusBar = router.Action(CommandId::ViewStatusBar);
    QAction* lineUp = router.Action(CommandId::ViewLineUp);

    EXPECT_TRUE(silver->isChecked());
    EXPECT_FALSE(blue->isChecked());
    ASSERT_NE(silver->actionGroup(), nullptr);
    EXPECT_TRUE(silver->actionGroup()->isExclusive()) << "radio marks need the look of a choice";
    EXPECT_NE(silver->actionGroup(), blue->actionGroup()) << "the handlers keep the choice";
    EXPECT_TRUE(statusBar->isCheckable());
    EXPECT_TRUE(statusBar->isChecked());
    EXPECT_EQ(statusBar->actionGroup(), nullptr);
    EXPECT_FALSE(lineUp->isEnabled());

    // Triggering the checked style again keeps its mark; Qt's own toggle
    // must not win over the handler.
    silver->trigger();
    EXPECT_TRUE(silver->isChecked());
    blue->trigger();
    EXPECT_TRUE(blue->isChecked());
    router.UpdateAll();
    EXPECT_FALSE(silver->isChecked());

    statusBar->trigger();
    EXPECT_FALSE(statusBarVisible);
    EXPECT_FALSE(statusBar->isChecked());

    // A value outside the range leaves every style unmarked.
    look = 0;
    router.UpdateAll();
    EXPECT_FALSE(silver->isChecked());
    EXPECT_FALSE(blue->isChecked());
}

TEST_F(RouteFixture, MenusUpdateTheirActionsBeforeShowing) {
    bool foldersVisible = false;
    frame.AddCommand(CommandId::ViewFolders, [] {});
    frame.AddUpdate(CommandId::ViewFolders, [&](CommandUI& ui) { ui.SetCheck(foldersVisible); });
    unsigned look = 0;
    frame.AddUpdateRange(CommandId::AppLookFirst, CommandId::AppLookLast,
                         [&](CommandUI& ui) { ui.SetRadio(ui.Id() == look); });

    QMenu menu;
    QMenu styles;
    menu.addAction(router.Action(CommandId::ViewFolders));
    menu.addMenu(&styles);
    styles.addAction(router.Action(CommandId::AppLookOffice2007Aqua));
    router.WatchMenu(&menu);

    foldersVisible = true;
    look = CommandId::AppLookOffice2007Aqua;
    menu.popup(QPoint(0, 0));
    EXPECT_TRUE(router.Action(CommandId::ViewFolders)->isChecked());
    EXPECT_FALSE(router.Action(CommandId::AppLookOffice2007Aqua)->isChecked())
        << "a submenu updates when it opens, not before";
    menu.close();

    emit styles.aboutToShow();
    EXPECT_TRUE(router.Action(CommandId::AppLookOffice2007Aqua)->isChecked());
}

TEST_F(RouteFixture, UserInputBringsOneIdlePassAndThenRest) {
    int updates = 0;
    bool enabled = false;
    frame.AddUpdate(CommandId::FileSave, [&](CommandUI& ui) {
        ++updates;
        ui.Enable(enabled);
    });
    QAction* save = router.Action(CommandId::FileSave);
    QTest::qWait(20);
    EXPECT_FALSE(save->isEnabled());

    QWidget window;
    window.show();
    enabled = true;
    const int before = updates;
    QTest::mouseClick(&window, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_TRUE(save->isEnabled());
    const int afterPass = updates;
    EXPECT_GT(afterPass, before);
    EXPECT_LE(afterPass - before, 2) << "passes after one click are coalesced";

    QTest::qWait(100);
    EXPECT_EQ(updates, afterPass) << "no passes without activity";
}

TEST_F(RouteFixture, EveryShortcutOfACommandIssuesIt) {
    application.Handle(CommandId::EditPaste);
    QWidget window;
    router.AddShortcut(CommandId::EditPaste, QKeySequence(Qt::CTRL | Qt::Key_V));
    router.AddShortcut(CommandId::EditPaste, QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    window.addAction(router.Action(CommandId::EditPaste));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(log, (std::vector<std::string>{"application:57637", "application:57637"}));
}

} // namespace
