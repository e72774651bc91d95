#include "shell/RibbonContent.h"
#include "framework/commands/CommandRouter.h"
#include "framework/commands/CommandTarget.h"
#include "framework/ribbon/ImageStrip.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonCategoryTab.h"
#include "framework/ribbon/RibbonCheckBox.h"
#include "framework/ribbon/RibbonKeyTips.h"
#include "framework/ribbon/RibbonLabel.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonMainPanelButton.h"
#include "framework/ribbon/RibbonPanel.h"
#include "framework/ribbon/RibbonQuickAccessBar.h"
#include "framework/ribbon/RibbonRecentFilesList.h"
#include "framework/ribbon/RibbonSeparator.h"
#include "resources/ApplicationIds.h"

#include <QAction>
#include <QActionGroup>
#include <QEnterEvent>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace CommandId;

// What the elements are expected to be: id, label as in the string table, key
// tip, small and large image.
struct Expected {
    unsigned id;
    const char* label;
    const char* keyTip;
    int small;
    int large;
};

// The ribbon as the main frame builds it, with a frame that handles what the
// application, the document and the frame handle; print and clipboard
// commands have no handler.
struct ContentFixture : ::testing::Test {
    std::vector<unsigned> issued;
    unsigned look = AppLookOffice2007Silver;
    CommandTarget frame;
    CommandRouter router;
    QMainWindow window;
    RibbonBar* ribbon = new RibbonBar;
    RibbonApplicationButton appButton;
    ImageStrip panelImages;

    void SetUp() override {
        for (unsigned id : {FileNew, FileOpen, FileClose, FileSave, FileSaveAs, AppAbout, AppExit})
            frame.AddCommand(id, [this, id] { issued.push_back(id); });
        frame.AddCommandRange(AppLookFirst, AppLookLast, [this](unsigned id) {
            look = id;
            issued.push_back(id);
        });
        frame.AddUpdateRange(AppLookFirst, AppLookLast,
                             [this](CommandUI& ui) { ui.SetRadio(ui.Id() == look); });
        QStatusBar* bar = new QStatusBar;
        frame.AddCommand(ViewStatusBar, [bar] { bar->setVisible(bar->isHidden()); });
        frame.AddUpdate(ViewStatusBar, [bar](CommandUI& ui) { ui.SetCheck(!bar->isHidden()); });
        router.SetTarget(CommandRouter::Stage::Frame, &frame);

        window.setMenuWidget(ribbon);
        window.setStatusBar(bar);
        window.setCentralWidget(new QWidget);
        BuildRibbonContent(*ribbon, appButton, panelImages, router);
        window.resize(900, 500);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    RibbonMainPanel* MainPanel() { return ribbon->MainCategory()->MainPanel(); }
    RibbonCategory* Home() { return ribbon->Categories().value(0); }
    RibbonButton* TabButton(int index) {
        return qobject_cast<RibbonButton*>(ribbon->TabElements().value(index));
    }

    static void ExpectButtons(const QList<RibbonElement*>& elements,
                              const std::vector<Expected>& expected) {
        ASSERT_EQ(size_t(elements.size()), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const auto* button = qobject_cast<RibbonButton*>(elements[qsizetype(i)]);
            ASSERT_NE(button, nullptr) << i;
            EXPECT_EQ(button->Id(), expected[i].id) << i;
            EXPECT_EQ(button->Text(), QString::fromUtf8(expected[i].label)) << i;
            EXPECT_EQ(button->KeyTip(), QString::fromUtf8(expected[i].keyTip)) << i;
            EXPECT_EQ(button->SmallImageIndex(), expected[i].small) << i;
            EXPECT_EQ(button->LargeImageIndex(), expected[i].large) << i;
        }
    }
};

} // namespace

TEST_F(ContentFixture, ApplicationButtonHasOnlyItsKeyTipAndTheFileTooltip) {
    EXPECT_EQ(ribbon->ApplicationButton(), &appButton);
    EXPECT_TRUE(appButton.Text().isEmpty());
    EXPECT_EQ(appButton.KeyTip(), QStringLiteral("f"));
    EXPECT_EQ(appButton.ToolTipText(), QStringLiteral("File"));
    EXPECT_EQ(appButton.size(), QSize(45, 45));
    EXPECT_EQ(appButton.MainPanel(), MainPanel());
    EXPECT_EQ(ribbon->MainCategory()->Name(), QStringLiteral("File"));
    EXPECT_EQ(ribbon->MainCategory()->SmallImages().ImageSize(), QSize(16, 16));
    EXPECT_EQ(ribbon->MainCategory()->LargeImages().ImageSize(), QSize(32, 32));
    EXPECT_EQ(panelImages.ImageSize(), QSize(16, 16));
    EXPECT_EQ(router.Target(CommandRouter::Stage::Frame), &frame);
}

TEST_F(ContentFixture, PicturesComeFromTheirBitmaps) {
    const auto argb = [](const QPixmap& p) {
        return p.toImage().convertToFormat(QImage::Format_ARGB32);
    };
    EXPECT_EQ(appButton.Image().size(), QSize(26, 26));
    EXPECT_EQ(panelImages.Count(), 28);
    EXPECT_EQ(ribbon->MainCategory()->SmallImages().Count(), 16);
    EXPECT_EQ(ribbon->MainCategory()->LargeImages().Count(), 14);
    EXPECT_EQ(Home()->SmallImages().Count(), 11);
    EXPECT_EQ(Home()->LargeImages().Count(), 2);
    EXPECT_EQ(argb(TabButton(1)->Icon().pixmap(16)), argb(panelImages.Image(0)));
    EXPECT_EQ(argb(Home()->Panels()[0]->Icon().pixmap(16)), argb(panelImages.Image(27)));
    EXPECT_EQ(argb(Home()->Panels()[1]->Icon().pixmap(16)), argb(panelImages.Image(7)));
    const auto* quickPrint = qobject_cast<RibbonButton*>(ribbon->FindById(FilePrintDirect));
    EXPECT_EQ(argb(quickPrint->LargeImage()), argb(ribbon->MainCategory()->LargeImages().Image(7)));
    EXPECT_EQ(argb(ribbon->QuickAccessBar()->Buttons()[3]->SmallImage()),
              argb(quickPrint->SmallImage()));
}

TEST_F(ContentFixture, MainPanelHoldsTheFileCommandsInOrder) {
    const QList<RibbonElement*> elements = MainPanel()->Elements();
    ASSERT_EQ(elements.size(), 8);
    ExpectButtons(elements.mid(0, 5), {{FileNew, "&New", "n", 0, 0},
                                       {FileOpen, "&Open...", "o", 1, 1},
                                       {FileSave, "&Save", "s", 2, 2},
                                       {FileSaveAs, "Save &As...", "a", 3, 3},
                                       {FilePrint, "Print", "p", 6, 6}});
    const auto* separator = qobject_cast<RibbonSeparator*>(elements[5]);
    ASSERT_NE(separator, nullptr);
    EXPECT_TRUE(separator->IsHorizontal());
    ExpectButtons({elements[6]}, {{FileClose, "&Close", "c", 9, 9}});
    const auto* recent = qobject_cast<RibbonRecentFilesList*>(elements[7]);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->Text(), QStringLiteral("Recent Documents"));
    EXPECT_EQ(recent->ListWidth(), 300);
    EXPECT_TRUE(recent->Files().isEmpty());

    const QList<RibbonElement*> bottom = MainPanel()->BottomElements();
    ASSERT_EQ(bottom.size(), 1);
    EXPECT_NE(qobject_cast<RibbonMainPanelButton*>(bottom[0]), nullptr);
    ExpectButtons(bottom, {{AppExit, "E&xit", "x", 15, -1}});
}

TEST_F(ContentFixture, PrintDropsDownAHeadingAndThreeDescribedButtons) {
    auto* print = qobject_cast<RibbonButton*>(MainPanel()->Elements()[4]);
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->MenuKeyTip(), QStringLiteral("w"));
    const QList<RibbonElement*> items = print->SubItems();
    ASSERT_EQ(items.size(), 4);
    const auto* heading = qobject_cast<RibbonLabel*>(items[0]);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->Text(), QStringLiteral("Preview and print the document"));
    EXPECT_FALSE(heading->IsMultiLine());
    ExpectButtons(items.mid(1), {{FilePrintDirect, "&Quick Print", "q", 7, 7},
                                 {FilePrintPreview, "Print Pre&view", "v", 8, 8},
                                 {FilePrintSetup, "Print Set&up", "u", 11, 11}});
    for (RibbonElement* item : items.mid(1)) {
        EXPECT_TRUE(static_cast<RibbonButton*>(item)->IsAlwaysShowDescription());
        EXPECT_EQ(item->Look(), RibbonLook::Described);
    }
}

TEST_F(ContentFixture, HomeCategoryHasClipboardAndViewPanels) {
    ASSERT_EQ(ribbon->Categories().size(), 1);
    RibbonCategory* home = Home();
    EXPECT_EQ(home->Name(), QStringLiteral("&Home"));
    EXPECT_EQ(home->Tab()->KeyTip(), QStringLiteral("h"));
    EXPECT_EQ(home->Tab()->DisplayText(), QStringLiteral("Home"));
    EXPECT_EQ(ribbon->ActiveCategory(), home);

    const QList<RibbonPanel*> panels = home->Panels();
    ASSERT_EQ(panels.size(), 2);
    EXPECT_EQ(panels[0]->Name(), QStringLiteral("Clipboard"));
    EXPECT_EQ(panels[0]->KeyTip(), QStringLiteral("d"));
    EXPECT_FALSE(panels[0]->Icon().isNull());
    EXPECT_EQ(panels[1]->Name(), QStringLiteral("View"));
    EXPECT_TRUE(panels[1]->KeyTip().isEmpty());
    EXPECT_FALSE(panels[1]->Icon().isNull());

    ExpectButtons(panels[0]->Elements(), {{EditPaste, "Paste", "v", 0, 0},
                                          {EditCut, "Cut", "x", 1, -1},
                                          {EditCopy, "Copy", "c", 2, -1},
                                          {EditSelectAll, "Select All", "a", -1, -1}});
    const QList<RibbonElement*> clipboard = panels[0]->Elements();
    EXPECT_EQ(clipboard[0]->Look(), RibbonLook::Large);
    EXPECT_EQ(clipboard[1]->Look(), RibbonLook::Small);
    EXPECT_TRUE(static_cast<RibbonButton*>(clipboard[3])->SmallImage().isNull());

    ASSERT_EQ(panels[1]->Elements().size(), 1);
    const auto* box = qobject_cast<RibbonCheckBox*>(panels[1]->Elements()[0]);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Id(), ViewStatusBar);
    EXPECT_EQ(box->Text(), QStringLiteral("Status Bar"));
}

TEST_F(ContentFixture, TabRowHoldsStyleThenAbout) {
    ASSERT_EQ(ribbon->TabElements().size(), 2);
    RibbonButton* style = TabButton(0);
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->Text(), QStringLiteral("Style"));
    EXPECT_EQ(style->Id(), RibbonElement::kNoCommand);
    EXPECT_EQ(style->Action(), nullptr);
    EXPECT_EQ(style->SmallImageIndex(), -1);
    EXPECT_EQ(style->LargeImageIndex(), -1);
    EXPECT_TRUE(style->SmallImage().isNull());
    EXPECT_EQ(style->ToolTipText(), QStringLiteral("Modify Visual Style"));
    EXPECT_EQ(style->Description(), QStringLiteral("Choose one of the Office 2007 themes"));
    ASSERT_NE(style->Menu(), nullptr);
    EXPECT_FALSE(style->IsDefaultCommand());
    EXPECT_TRUE(style->IsMenuRightAligned());

    RibbonButton* about = TabButton(1);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->Id(), AppAbout);
    EXPECT_TRUE(about->Text().isEmpty());
    EXPECT_EQ(about->KeyTip(), QStringLiteral("a"));
    EXPECT_FALSE(about->Icon().isNull());
    EXPECT_FALSE(about->IsAlwaysShowDescription());
    EXPECT_GT(about->x(), style->x()) << "About after Style, at the right end";
    EXPECT_EQ(about->ToolTipText(), QStringLiteral("About"));
}

TEST_F(ContentFixture, StyleMenuOffersTheFourOffice2007StylesWithTheCurrentMarked) {
    RibbonButton* style = TabButton(0);
    QMenu* menu = style->Menu();
    QTest::mouseClick(style, Qt::LeftButton);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(issued.empty()) << "the button issues no command of its own";

    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 4);
    const QStringList labels{"Office 2007 (&Blue Style)", "Office 2007 (B&lack Style)",
                             "Office 2007 (&Silver Style)", "Office 2007 (&Aqua Style)"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i]->text(), labels[i]);
        EXPECT_EQ(items[i]->isChecked(), i == 2) << "silver is in force";
        ASSERT_NE(items[i]->actionGroup(), nullptr);
        EXPECT_TRUE(items[i]->actionGroup()->isExclusive()) << "drawn as a radio mark";
    }
    items[3]->trigger();
    EXPECT_EQ(issued, std::vector<unsigned>{AppLookOffice2007Aqua});
    menu->close();

    // The mark follows the style the frame reports, whoever changed it.
    look = 0;
    QTest::mouseClick(style, Qt::LeftButton);
    for (QAction* item : menu->actions())
        EXPECT_FALSE(item->isChecked());
    menu->close();
    EXPECT_NE(router.Action(AppLookOffice2007Blue)->text(), labels[0])
        << "the shared actions keep the labels other menus give them";
}

TEST_F(ContentFixture, QuickAccessHoldsNewOpenSaveQuickPrint) {
    EXPECT_EQ(ribbon->QuickAccessCommands(),
              (QList<unsigned>{FileNew, FileOpen, FileSave, FilePrintDirect}));
}

TEST_F(ContentFixture, UnhandledPrintAndClipboardCommandsShowDisabled) {
    for (unsigned id : {FilePrint, FilePrintDirect, FilePrintPreview, FilePrintSetup, EditPaste,
                        EditCut, EditCopy, EditSelectAll}) {
        RibbonElement* element = ribbon->FindById(id);
        ASSERT_NE(element, nullptr) << id;
        EXPECT_FALSE(element->isEnabled()) << id;
    }
    for (unsigned id :
         {FileNew, FileOpen, FileSave, FileSaveAs, FileClose, AppExit, AppAbout, ViewStatusBar})
        EXPECT_TRUE(ribbon->FindById(id)->isEnabled()) << id;
    EXPECT_TRUE(TabButton(0)->isEnabled()) << "Style has no command to disable it";
}

TEST_F(ContentFixture, StatusBarCheckBoxFollowsTheStatusBar) {
    auto* box = qobject_cast<RibbonCheckBox*>(ribbon->FindById(ViewStatusBar));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->IsChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(window.statusBar()->isHidden());
    EXPECT_FALSE(box->IsChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(window.statusBar()->isHidden());
    EXPECT_TRUE(box->IsChecked());
}

TEST_F(ContentFixture, PointingShowsThePromptAndKeyTipsReachEveryLevel) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(ribbon->FindById(AppAbout), &enter);
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Display program information, version number and copyright"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(ribbon->FindById(AppAbout), &leave);
    EXPECT_EQ(window.statusBar()->currentMessage(), QString());

    RibbonKeyTips& keyTips = ribbon->KeyTips();
    QTest::keyClick(&window, Qt::Key_Alt);
    EXPECT_EQ(keyTips.ShownKeyTips(), (QStringList{"f", "1", "2", "3", "4", "h", "s", "a"}));
    QTest::keyClick(&window, Qt::Key_F);
    EXPECT_TRUE(appButton.IsMainPanelShown());
    EXPECT_EQ(keyTips.ShownKeyTips(), (QStringList{"n", "o", "s", "a", "p", "w", "c", "x"}));
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_H);
    EXPECT_EQ(keyTips.ShownKeyTips(), (QStringList{"v", "x", "c", "a", "s"}));
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_A);
    EXPECT_EQ(issued, std::vector<unsigned>{AppAbout});
    EXPECT_FALSE(keyTips.IsActive());
}
