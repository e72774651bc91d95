#include "framework/commands/CommandRouter.h"
#include "framework/commands/CommandTarget.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonCategoryTab.h"
#include "framework/ribbon/RibbonCheckBox.h"
#include "framework/ribbon/RibbonKeyTips.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonPanel.h"
#include "resources/ApplicationIds.h"

#include <QMainWindow>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace CommandId;

// A small ribbon: application button with New and a Print button with one
// sub-item, a "&Home" tab with Paste, Cut and a check box, About on the tab
// row and New on the quick-access toolbar.
struct KeyTipsFixture : ::testing::Test {
    std::vector<unsigned> issued;
    CommandTarget frame;
    CommandRouter router;
    QMainWindow window;
    RibbonBar* ribbon = new RibbonBar;
    RibbonApplicationButton appButton;
    RibbonMainPanel* mainPanel = nullptr;
    RibbonCategory* home = nullptr;
    RibbonButton* print = nullptr;

    void SetUp() override {
        for (unsigned id : {FileNew, EditPaste, AppAbout, ViewStatusBar, FilePrintDirect})
            frame.AddCommand(id, [this, id] { issued.push_back(id); });
        router.SetTarget(CommandRouter::Stage::Frame, &frame);
        ribbon->SetCommandRouter(&router);
        window.setMenuWidget(ribbon);
        window.setCentralWidget(new QWidget);

        appButton.SetText(QStringLiteral("\nf"));
        ribbon->SetApplicationButton(&appButton, QSize(45, 45));
        mainPanel = ribbon->AddMainCategory(QStringLiteral("File"), 0, 0);
        mainPanel->Add(new RibbonButton(FileNew, QStringLiteral("&New"), 0, 0));
        print = new RibbonButton(FilePrint, QStringLiteral("Print"), 6, 6);
        print->SetKeys(QStringLiteral("p"), QStringLiteral("w"));
        print->AddSubItem(
            new RibbonButton(FilePrintDirect, QStringLiteral("&Quick Print"), 7, 7, true));
        mainPanel->Add(print);

        home = ribbon->AddCategory(QStringLiteral("&Home"), 0, 0);
        RibbonPanel* panel = home->AddPanel(QStringLiteral("Clipboard\nd"));
        panel->Add(new RibbonButton(EditPaste, QStringLiteral("Paste\nv"), 0, 0));
        panel->Add(new RibbonButton(EditCut, QStringLiteral("Cut\nx"), 1, -1));
        panel->Add(new RibbonCheckBox(ViewStatusBar, QStringLiteral("Status Bar")));
        ribbon->AddToTabs(new RibbonButton(AppAbout, QStringLiteral("\na"), QIcon()));
        ribbon->SetQuickAccessCommands({FileNew});

        window.resize(800, 400);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    RibbonKeyTips& KeyTips() { return ribbon->KeyTips(); }

    void PressAlt() { QTest::keyClick(&window, Qt::Key_Alt); }
    void Press(char key) { QTest::keyClick(&window, key); }
};

} // namespace

TEST_F(KeyTipsFixture, AltShowsTheFirstLevelAndAltAgainHidesIt) {
    PressAlt();
    ASSERT_TRUE(KeyTips().IsActive());
    EXPECT_EQ(KeyTips().ShownKeyTips(), (QStringList{"f", "1", "h", "a"}));
    EXPECT_EQ(KeyTips().ElementOf(QStringLiteral("h")), home->Tab());
    EXPECT_EQ(KeyTips().ElementOf(QStringLiteral("f")), &appButton);
    PressAlt();
    EXPECT_FALSE(KeyTips().IsActive());

    // Alt used as a modifier of another key shows nothing.
    QTest::keyPress(&window, Qt::Key_Alt);
    QTest::keyClick(&window, Qt::Key_F4, Qt::AltModifier);
    QTest::keyRelease(&window, Qt::Key_Alt);
    EXPECT_FALSE(KeyTips().IsActive());
}

TEST_F(KeyTipsFixture, KeyTipsLeadThroughTheMainPanelAndEscapeComesBack) {
    PressAlt();
    Press('f');
    ASSERT_TRUE(appButton.IsMainPanelShown());
    ASSERT_TRUE(KeyTips().IsActive());
    EXPECT_EQ(KeyTips().ShownKeyTips(), (QStringList{"n", "p", "w"}));

    // Print has no handler: its key tip still opens its sub-items.
    Press('p');
    EXPECT_EQ(mainPanel->SubItemsShown(), print);
    EXPECT_EQ(KeyTips().ShownKeyTips(), QStringList{"q"});

    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(mainPanel->SubItemsShown(), nullptr);
    EXPECT_EQ(KeyTips().ShownKeyTips(), (QStringList{"n", "p", "w"}));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(appButton.IsMainPanelShown());
    EXPECT_EQ(KeyTips().ShownKeyTips(), (QStringList{"f", "1", "h", "a"}));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(KeyTips().IsActive());

    PressAlt();
    Press('f');
    Press('w');
    Press('q');
    EXPECT_EQ(issued, std::vector<unsigned>{FilePrintDirect});
    EXPECT_FALSE(KeyTips().IsActive());
    EXPECT_FALSE(appButton.IsMainPanelShown()) << "a chosen sub-item closes the panel";
}

TEST_F(KeyTipsFixture, TabKeyTipOpensTheCategoryLevelAndLettersIssueCommands) {
    PressAlt();
    Press('h');
    ASSERT_TRUE(KeyTips().IsActive());
    EXPECT_EQ(ribbon->ActiveCategory(), home);
    // The check box has no key tip of its own: it gets its label's first free letter.
    EXPECT_EQ(KeyTips().ShownKeyTips(), (QStringList{"v", "x", "s"}));

    Press('x');
    EXPECT_TRUE(KeyTips().IsActive()) << "Cut is disabled: its key tip does nothing";
    EXPECT_TRUE(issued.empty());
    Press('z');
    EXPECT_TRUE(KeyTips().IsActive()) << "unknown keys are swallowed";
    Press('v');
    EXPECT_EQ(issued, std::vector<unsigned>{EditPaste});
    EXPECT_FALSE(KeyTips().IsActive());

    PressAlt();
    Press('a');
    Press('1');
    EXPECT_EQ(issued, (std::vector<unsigned>{EditPaste, AppAbout}))
        << "the level ends with About; '1' is an ordinary key again";
}

TEST_F(KeyTipsFixture, AltWithAKeyTipGoesStraightThereAndClicksEndKeyTips) {
    QTest::keyPress(&window, Qt::Key_Alt);
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    QTest::keyRelease(&window, Qt::Key_Alt);
    EXPECT_TRUE(appButton.IsMainPanelShown());
    EXPECT_TRUE(KeyTips().IsActive()) << "the main panel's level stays after Alt's release";
    appButton.CloseMainPanel();
    KeyTips().End();

    PressAlt();
    ASSERT_TRUE(KeyTips().IsActive());
    QTest::mouseClick(window.centralWidget(), Qt::LeftButton);
    EXPECT_FALSE(KeyTips().IsActive());
}

TEST_F(KeyTipsFixture, KeysOfOtherWindowsAreLeftAlone) {
    QWidget other;
    other.show();
    QTest::keyClick(&other, Qt::Key_Alt);
    EXPECT_FALSE(KeyTips().IsActive());
}
