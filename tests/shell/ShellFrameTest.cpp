#include "resources/ApplicationIds.h"
#include "tests/shell/ShellTestSupport.h"

#include <QHeaderView>
#include <QLabel>

// The bars and panes of the main frame, the commands it and its view answer,
// and the layout kept between runs.

namespace {

using namespace CommandId;

class ShellFrame : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        frame = MakeFrame();
    }

    static CommandUI State(unsigned id) { return Router().QueryState(id); }
    static bool Checked(unsigned id) {
        const CommandUI ui = State(id);
        return ui.IsMarkSet() && ui.IsChecked();
    }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ShellFrame, BarsAndPanesAreInTheirPlaces) {
    EXPECT_EQ(frame->menuWidget(), &frame->Ribbon());
    EXPECT_EQ(frame->toolBarArea(&frame->AddressRebar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame->AddressRebar().allowedAreas(), Qt::TopToolBarArea);

    CFolderBar& folders = frame->FolderPane();
    EXPECT_EQ(folders.windowTitle(), QStringLiteral("Folders"));
    EXPECT_EQ(frame->dockWidgetArea(&folders), Qt::LeftDockWidgetArea);
    EXPECT_EQ(folders.allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_EQ(folders.ClientArea()->focusProxy(), &folders.ShellTree());

    CPropertiesWnd& properties = frame->PropertiesPane();
    EXPECT_EQ(properties.windowTitle(), QStringLiteral("Properties"));
    EXPECT_EQ(frame->dockWidgetArea(&properties), Qt::RightDockWidgetArea);
    EXPECT_EQ(properties.allowedAreas(), Qt::AllDockWidgetAreas);
    EXPECT_TRUE(properties.CanAutoHide());

    EXPECT_EQ(frame->centralWidget(), frame->GetActiveView());
    EXPECT_EQ(Router().Target(CommandRouter::Stage::View), frame->GetActiveView());
    EXPECT_EQ(frame->FolderPane().ShellTree().RelatedList(), &ViewOf(*frame).FileList());
}

TEST_F(ShellFrame, TheStatusPanesKeepTheirTextsAndTheBarCanBeHidden) {
    QLabel* left = frame->StatusPane(StatusPane1);
    QLabel* right = frame->StatusPane(StatusPane2);
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->text(), QStringLiteral("Pane 1"));
    EXPECT_EQ(right->text(), QStringLiteral("Pane 2"));
    EXPECT_EQ(frame->StatusPane(122), nullptr);

    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    EXPECT_LT(left->geometry().center().x(), right->geometry().center().x());
    Router().Execute(AppLookOffice2007Blue);
    Router().Execute(ViewLargeIcon);
    EXPECT_EQ(left->text(), QStringLiteral("Pane 1"));
    EXPECT_EQ(right->text(), QStringLiteral("Pane 2"));

    EXPECT_TRUE(Checked(ViewStatusBar));
    ASSERT_TRUE(Router().Execute(ViewStatusBar));
    EXPECT_FALSE(frame->StatusBar().isVisible());
    EXPECT_FALSE(Checked(ViewStatusBar));
    ASSERT_TRUE(Router().Execute(ViewStatusBar));
    EXPECT_TRUE(frame->StatusBar().isVisible());
    EXPECT_TRUE(Checked(ViewStatusBar));
}

TEST_F(ShellFrame, TheFoldersCommandTwiceRestoresThePane) {
    CFolderBar& folders = frame->FolderPane();
    ASSERT_TRUE(folders.IsPaneVisible());
    EXPECT_TRUE(Checked(ViewFolders));

    ASSERT_TRUE(Router().Execute(ViewFolders));
    EXPECT_FALSE(folders.IsPaneVisible());
    EXPECT_FALSE(Checked(ViewFolders));
    ASSERT_TRUE(Router().Execute(ViewFolders));
    EXPECT_TRUE(folders.IsPaneVisible());
    EXPECT_TRUE(Checked(ViewFolders));

    // Collapsed to its tab, the pane counts as shown and hides its tab.
    folders.SetAutoHideMode(true);
    ASSERT_TRUE(folders.IsAutoHideMode());
    EXPECT_TRUE(Checked(ViewFolders));
    ASSERT_TRUE(Router().Execute(ViewFolders));
    EXPECT_FALSE(folders.IsPaneVisible());
    ASSERT_TRUE(Router().Execute(ViewFolders));
    EXPECT_TRUE(folders.IsPaneVisible());
    EXPECT_TRUE(folders.IsAutoHideMode());
}

TEST_F(ShellFrame, ExactlyOneViewModeCarriesTheRadioMark) {
    const unsigned modes[] = {ViewLargeIcon, ViewDetails, ViewList, ViewSmallIcon};
    const ShellFileList::ViewMode layouts[] = {
        ShellFileList::ViewMode::LargeIcons, ShellFileList::ViewMode::Details,
        ShellFileList::ViewMode::List, ShellFileList::ViewMode::SmallIcons};
    auto marked = [&] {
        std::vector<unsigned> ids;
        for (unsigned id : modes)
            if (Checked(id))
                ids.push_back(id);
        return ids;
    };
    EXPECT_EQ(marked(), std::vector<unsigned>{ViewDetails});
    for (int i : {0, 2, 3, 3, 1}) {
        ASSERT_TRUE(Router().Execute(modes[i]));
        EXPECT_EQ(ViewOf(*frame).FileList().GetViewMode(), layouts[i]);
        EXPECT_EQ(marked(), std::vector<unsigned>{modes[i]});
        EXPECT_TRUE(State(modes[i]).IsEnabled());
    }
    // The two the view does not know reach the frame, which disables them.
    for (unsigned id : {ViewLineUp, ViewByName}) {
        EXPECT_FALSE(State(id).IsEnabled());
        EXPECT_TRUE(Router().Execute(id));
    }
    EXPECT_EQ(ViewOf(*frame).FileList().GetViewMode(), ShellFileList::ViewMode::Details);
}

TEST_F(ShellFrame, TheLayoutOfTheLastRunComesBack) {
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    frame->resize(900, 640);
    Router().Execute(ViewFolders);
    frame->PropertiesPane().SetAutoHideMode(true);
    Router().Execute(ViewStatusBar);
    ASSERT_TRUE(frame->close());
    frame.reset();

    const auto next = MakeFrame();
    next->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(next.get()));
    EXPECT_EQ(next->size(), QSize(900, 640));
    EXPECT_FALSE(next->FolderPane().IsPaneVisible());
    EXPECT_TRUE(next->PropertiesPane().IsAutoHideMode());
    EXPECT_TRUE(next->PropertiesPane().IsPaneVisible()); // its tab
    EXPECT_TRUE(next->StatusBar().isHidden());

    // Whatever was put away comes back through a command.
    Router().Execute(ViewFolders);
    Router().Execute(ViewStatusBar);
    EXPECT_TRUE(next->FolderPane().IsPaneVisible());
    EXPECT_FALSE(next->StatusBar().isHidden());
    Router().Execute(ViewProperties);
    EXPECT_FALSE(next->PropertiesPane().IsPaneVisible());
    EXPECT_FALSE(Checked(ViewProperties));
    Router().Execute(ViewProperties);
    EXPECT_TRUE(next->PropertiesPane().IsPaneVisible());
    EXPECT_TRUE(Checked(ViewProperties));
}

// Tag column and at least this much of the Data column on a first start.
constexpr int kDataShown = 200;

int DataShown(CPropertiesWnd& pane) {
    QTreeWidget& list = pane.TagList();
    return list.viewport()->width() - list.header()->sectionSize(0);
}

TEST_F(ShellFrame, AFirstStartShowsTagsAndTheirDataAndAStoredLayoutWins) {
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    CPropertiesWnd& properties = frame->PropertiesPane();
    QHeaderView& header = *properties.TagList().header();
    EXPECT_EQ(header.sectionSize(0), 150);
    EXPECT_EQ(header.sectionSize(1), 500);
    EXPECT_GE(DataShown(properties), kDataShown);

    // The user makes the pane narrow; the next start keeps it so.
    frame->resizeDocks({&properties}, {180}, Qt::Horizontal);
    QTest::qWait(50);
    const int narrow = properties.width();
    ASSERT_LT(narrow, 250);
    ASSERT_TRUE(frame->close());
    frame.reset();

    const auto next = MakeFrame();
    next->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(next.get()));
    EXPECT_EQ(next->PropertiesPane().width(), narrow);
}

TEST_F(ShellFrame, PanesFloatingTogetherAreDraggedAsOneInBothDockingModes) {
    EXPECT_TRUE(frame->dockOptions().testFlag(QMainWindow::GroupedDragging));
    App().Styles().SetDockingMode(DockingMode::Standard);
    EXPECT_TRUE(frame->dockOptions().testFlag(QMainWindow::GroupedDragging));
    App().Styles().SetDockingMode(DockingMode::Smart);
    EXPECT_TRUE(frame->dockOptions().testFlag(QMainWindow::GroupedDragging));
    EXPECT_TRUE(frame->dockOptions().testFlag(QMainWindow::AllowTabbedDocks));
}

} // namespace
