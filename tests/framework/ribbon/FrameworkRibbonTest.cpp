#include "framework/commands/CommandRouter.h"
#include "framework/commands/CommandTarget.h"
#include "framework/ribbon/ImageStrip.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonCategoryTab.h"
#include "framework/ribbon/RibbonCheckBox.h"
#include "framework/ribbon/RibbonLabel.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonMainPanelButton.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPanel.h"
#include "framework/ribbon/RibbonQuickAccessBar.h"
#include "framework/ribbon/RibbonRecentFilesList.h"
#include "framework/ribbon/RibbonSeparator.h"
#include "framework/styles/VisualStyles.h"
#include "resources/ApplicationIds.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QHelpEvent>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace CommandId;

constexpr unsigned kMissingBitmap = 9001;

void Hover(QWidget* widget) {
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(widget, &enter);
}

void Unhover(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

// A window with a ribbon and a status bar, and a frame that answers some
// commands and records them.
struct RibbonFixture : ::testing::Test {
    std::vector<unsigned> issued;
    CommandTarget frame;
    CommandRouter router;
    QMainWindow window;
    RibbonBar* ribbon = new RibbonBar;
    RibbonCategory* home = nullptr;

    void SetUp() override {
        for (unsigned id : {FileNew, FileOpen, EditPaste, AppAbout, AppExit})
            frame.AddCommand(id, [this, id] { issued.push_back(id); });
        router.SetTarget(CommandRouter::Stage::Frame, &frame);
        ribbon->SetCommandRouter(&router);
        window.setMenuWidget(ribbon);
        window.setStatusBar(new QStatusBar);
        window.setCentralWidget(new QWidget);
        home = ribbon->AddCategory(QStringLiteral("&Home"), kMissingBitmap, kMissingBitmap);
    }

    void Show() {
        window.resize(800, 400);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QString Status() { return window.statusBar()->currentMessage(); }
};

} // namespace

TEST(ImageStripTest, SlicesTheStripIntoImagesOfItsSize) {
    QPixmap strip(48, 16);
    QPainter painter(&strip);
    painter.fillRect(0, 0, 16, 16, Qt::red);
    painter.fillRect(16, 0, 16, 16, Qt::green);
    painter.fillRect(32, 0, 16, 16, Qt::blue);
    painter.end();

    ImageStrip images(QSize(16, 16));
    images.SetStrip(strip);
    EXPECT_EQ(images.Count(), 3);
    const QImage second = images.Image(1).toImage();
    EXPECT_EQ(second.size(), QSize(16, 16));
    EXPECT_EQ(second.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(second.pixelColor(15, 15), QColor(Qt::green));
    EXPECT_EQ(images.ExtractIcon(2).pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::blue));

    EXPECT_TRUE(images.Image(-1).isNull()) << "-1 is no image";
    EXPECT_TRUE(images.ExtractIcon(-1).isNull());
    const QImage beyond = images.Image(3).toImage();
    EXPECT_EQ(beyond.size(), QSize(16, 16)) << "an index past the end keeps the layout";
    EXPECT_EQ(beyond.pixelColor(4, 4).alpha(), 0);
}

// A strip of twice the density gives images of the same layout size, each
// with twice the pixels; Qt's @2x rule picks such a strip only for a dense
// screen, and only when it exists.
TEST(ImageStripTest, ADenseStripGivesImagesOfTheSameLayoutSize) {
    QPixmap dense(64, 32);
    dense.fill(Qt::blue);
    dense.setDevicePixelRatio(2);
    ImageStrip images(QSize(16, 16));
    images.SetStrip(dense);
    EXPECT_EQ(images.Count(), 2);
    const QPixmap image = images.Image(1);
    EXPECT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(16, 16));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath(QStringLiteral("110.png"));
    EXPECT_EQ(ImageStrip::DensePath(plain, 2.0), plain); // no @2x file beside it
    QFile(dir.filePath(QStringLiteral("110@2x.png"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(ImageStrip::DensePath(plain, 2.0), dir.filePath(QStringLiteral("110@2x.png")));
    EXPECT_EQ(ImageStrip::DensePath(plain, 1.0), plain);
}

TEST(ImageStripTest, MissingBitmapGivesBlankImagesOfTheImageSize) {
    ImageStrip images;
    images.SetImageSize(QSize(32, 32));
    EXPECT_FALSE(images.Load(kMissingBitmap));
    EXPECT_TRUE(images.IsEmpty());
    EXPECT_EQ(images.Count(), 0);
    EXPECT_EQ(images.Image(13).size(), QSize(32, 32));
    EXPECT_EQ(images.Image(13).toImage().pixelColor(16, 16).alpha(), 0);
    EXPECT_EQ(ImageStrip::BitmapPath(113), QStringLiteral(":/bitmaps/113.png"));
}

TEST(RibbonElementTest, TextsSplitIntoLabelAndKeyTip) {
    RibbonButton paste(EditPaste, QStringLiteral("Paste\nv"));
    EXPECT_EQ(paste.Text(), QStringLiteral("Paste"));
    EXPECT_EQ(paste.KeyTip(), QStringLiteral("v"));

    RibbonButton keyOnly(AppAbout, QStringLiteral("\na"));
    EXPECT_TRUE(keyOnly.Text().isEmpty());
    EXPECT_EQ(keyOnly.KeyTip(), QStringLiteral("a"));

    // Without a key tip the access letter serves; "&&" is a plain ampersand.
    RibbonButton saveAs(FileSaveAs, QStringLiteral("Save &As..."));
    EXPECT_EQ(saveAs.KeyTip(), QStringLiteral("a"));
    EXPECT_EQ(saveAs.DisplayText(), QStringLiteral("Save As..."));
    RibbonButton both(0, QStringLiteral("Fish && &Chips"));
    EXPECT_EQ(both.DisplayText(), QStringLiteral("Fish & Chips"));
    EXPECT_EQ(both.KeyTip(), QStringLiteral("c"));
    RibbonButton none(0, QStringLiteral("Style"));
    EXPECT_TRUE(none.KeyTip().isEmpty());

    RibbonButton print(FilePrint, QStringLiteral("Print"));
    print.SetKeys(QStringLiteral("p"), QStringLiteral("w"));
    EXPECT_EQ(print.KeyTip(), QStringLiteral("p"));
    EXPECT_EQ(print.MenuKeyTip(), QStringLiteral("w"));
}

TEST_F(RibbonFixture, ElementsTakeTheSharedActionOfTheirCommandAndFollowIt) {
    RibbonPanel* panel = home->AddPanel(QStringLiteral("Clipboard\nd"));
    auto* paste = new RibbonButton(EditPaste, QStringLiteral("Paste\nv"), 0, 0);
    auto* cut = new RibbonButton(EditCut, QStringLiteral("Cut\nx"), 1, -1);
    panel->Add(paste);
    panel->Add(cut);
    Show();

    EXPECT_EQ(paste->Action(), router.Action(EditPaste));
    EXPECT_TRUE(paste->isEnabled());
    EXPECT_FALSE(cut->isEnabled()) << "nothing handles Cut";

    QTest::mouseClick(paste, Qt::LeftButton);
    QTest::mouseClick(cut, Qt::LeftButton);
    EXPECT_EQ(issued, std::vector<unsigned>{EditPaste});

    // The same action disabled elsewhere greys the element.
    router.Action(EditPaste)->setEnabled(false);
    EXPECT_FALSE(paste->isEnabled());
    QTest::mouseClick(paste, Qt::LeftButton);
    EXPECT_EQ(issued.size(), 1u);
}

TEST_F(RibbonFixture, PanelsGiveLargeElementsAColumnAndStackSmallOnesByThree) {
    RibbonPanel* panel = home->AddPanel(QStringLiteral("Clipboard\nd"), QIcon());
    EXPECT_EQ(panel->Name(), QStringLiteral("Clipboard"));
    EXPECT_EQ(panel->KeyTip(), QStringLiteral("d"));
    auto* paste = new RibbonButton(EditPaste, QStringLiteral("Paste"), 0, 0);
    QList<RibbonElement*> small{new RibbonButton(EditCut, QStringLiteral("Cut"), 1, -1),
                                new RibbonButton(EditCopy, QStringLiteral("Copy"), 2, -1),
                                new RibbonButton(EditSelectAll, QStringLiteral("Select All")),
                                new RibbonCheckBox(ViewStatusBar, QStringLiteral("Status Bar"))};
    panel->Add(paste);
    for (RibbonElement* element : small)
        panel->Add(element);
    Show();

    EXPECT_EQ(paste->Look(), RibbonLook::Large);
    EXPECT_EQ(paste->height(), RibbonMetrics::kContentHeight);
    for (RibbonElement* element : small) {
        EXPECT_EQ(element->Look(), RibbonLook::Small);
        EXPECT_EQ(element->height(), RibbonMetrics::kSmallHeight);
        EXPECT_GT(element->x(), paste->geometry().right());
    }
    EXPECT_EQ(small[0]->x(), small[2]->x());
    EXPECT_LT(small[0]->y(), small[1]->y());
    EXPECT_LT(small[1]->y(), small[2]->y());
    EXPECT_GT(small[3]->x(), small[2]->geometry().right()) << "a fourth starts a new column";
    EXPECT_EQ(small[3]->y(), small[0]->y());

    const auto* cut = static_cast<RibbonButton*>(small[0]);
    EXPECT_EQ(cut->SmallImage().size(), QSize(16, 16));
    EXPECT_TRUE(cut->LargeImage().isNull());
    EXPECT_TRUE(static_cast<RibbonButton*>(small[2])->SmallImage().isNull());
    EXPECT_EQ(paste->LargeImage().size(), QSize(32, 32));
}

TEST_F(RibbonFixture, TooltipShowsTitleAndDescription) {
    RibbonPanel* panel = home->AddPanel(QStringLiteral("Clipboard"));
    auto* paste = new RibbonButton(EditPaste, QStringLiteral("Paste\nv"), 0, 0);
    auto* quick = new RibbonButton(FilePrintDirect, QStringLiteral("&Quick Print..."), 7, 7);
    panel->Add(paste);
    panel->Add(quick);
    Show();

    EXPECT_EQ(paste->ToolTipHtml(), QStringLiteral("<b>Paste</b><br>Insert Clipboard contents"));
    EXPECT_EQ(quick->ToolTipText(), QStringLiteral("Quick Print")) << "no prompt: the label";
    EXPECT_EQ(quick->ToolTipHtml(), QStringLiteral("<b>Quick Print</b>"));
    paste->SetToolTipText(QStringLiteral("<Paste>"));
    paste->SetDescription(QStringLiteral("Put it here"));
    EXPECT_EQ(paste->ToolTipHtml(), QStringLiteral("<b>&lt;Paste&gt;</b><br>Put it here"));

    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), paste->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(paste, &help);
    EXPECT_EQ(QToolTip::text(), paste->ToolTipHtml());
    QToolTip::hideText();
}

TEST_F(RibbonFixture, PointingAtAnElementPutsItsPromptOnTheStatusBar) {
    RibbonPanel* panel = home->AddPanel(QStringLiteral("Clipboard"));
    auto* paste = new RibbonButton(EditPaste, QStringLiteral("Paste\nv"), 0, 0);
    auto* cut = new RibbonButton(EditCut, QStringLiteral("Cut\nx"), 1, -1);
    panel->Add(paste);
    panel->Add(cut);
    Show();

    Hover(paste);
    EXPECT_EQ(Status(), QStringLiteral("Insert Clipboard contents"));
    Unhover(paste);
    EXPECT_EQ(Status(), QString()) << "no message left to hide the status bar's panes";
    Hover(cut);
    EXPECT_EQ(Status(), QStringLiteral("Cut the selection and put it on the Clipboard"))
        << "disabled elements still explain themselves";
}

TEST_F(RibbonFixture, CheckBoxFollowsItsCommandsCheckState) {
    QStatusBar* bar = window.statusBar();
    frame.AddCommand(ViewStatusBar, [bar] { bar->setVisible(bar->isHidden()); });
    frame.AddUpdate(ViewStatusBar, [bar](CommandUI& ui) { ui.SetCheck(!bar->isHidden()); });
    auto* box = new RibbonCheckBox(ViewStatusBar, QStringLiteral("Status Bar"));
    home->AddPanel(QStringLiteral("View"))->Add(box);
    Show();

    EXPECT_TRUE(box->IsChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(box->IsChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(box->IsChecked());
}

TEST_F(RibbonFixture, MenuButtonWithoutDefaultCommandOnlyDropsItsMenu) {
    auto* menu = new QMenu;
    QAction* entry = menu->addAction(QStringLiteral("Entry"));
    entry->setStatusTip(QStringLiteral("An entry"));
    auto* style = new RibbonButton(RibbonElement::kNoCommand, QStringLiteral("Style"));
    style->SetMenu(menu, false, true);
    style->SetDescription(QStringLiteral("Choose one"));
    ribbon->AddToTabs(style);
    Show();

    EXPECT_EQ(style->Action(), nullptr);
    EXPECT_EQ(menu->parent(), style);
    EXPECT_FALSE(style->IsSplit());
    QTest::mouseClick(style, Qt::LeftButton);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(issued.empty());
    EXPECT_TRUE(style->IsDropDownShown());
    EXPECT_EQ(menu->geometry().right(), style->mapToGlobal(QPoint(style->width(), 0)).x() - 1)
        << "right-aligned to the button";
    emit menu->hovered(entry);
    EXPECT_EQ(Status(), QStringLiteral("An entry")) << "menu prompts reach the status bar";
    menu->close();
    EXPECT_FALSE(style->IsDropDownShown());
    EXPECT_EQ(Status(), QString()) << "the menu's last prompt is taken away";
}

TEST_F(RibbonFixture, SplitButtonIssuesItsCommandOrDropsDownByPart) {
    auto* button = new RibbonButton(EditPaste, QStringLiteral("Paste"), 0, -1);
    auto* sub = new RibbonButton(FileNew, QStringLiteral("New"), 0, 0, true);
    button->AddSubItem(new RibbonLabel(QStringLiteral("Heading")));
    button->AddSubItem(sub);
    home->AddPanel(QStringLiteral("P"))->Add(button);
    Show();

    ASSERT_TRUE(button->IsSplit());
    EXPECT_EQ(sub->Look(), RibbonLook::Described);
    EXPECT_EQ(button->SubItems().first()->Look(), RibbonLook::Menu);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(issued, std::vector<unsigned>{EditPaste});
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 3, 4));
    ASSERT_TRUE(button->IsDropDownShown());
    EXPECT_TRUE(sub->isVisible());
    QTest::mouseClick(sub, Qt::LeftButton);
    EXPECT_EQ(issued, (std::vector<unsigned>{EditPaste, FileNew}));
    EXPECT_FALSE(button->IsDropDownShown()) << "choosing a sub-item closes the drop-down";
}

TEST_F(RibbonFixture, ApplicationButtonOpensTheMainPanel) {
    RibbonApplicationButton appButton;
    appButton.SetText(QStringLiteral("\nf"));
    ribbon->SetApplicationButton(&appButton, QSize(45, 45));
    RibbonMainPanel* panel =
        ribbon->AddMainCategory(QStringLiteral("File"), kMissingBitmap, kMissingBitmap);
    auto* open = new RibbonButton(FileOpen, QStringLiteral("&Open..."), 1, 1);
    auto* print = new RibbonButton(FilePrint, QStringLiteral("Print"), 6, 6);
    auto* quick = new RibbonButton(FilePrintDirect, QStringLiteral("&Quick Print"), 7, 7, true);
    print->AddSubItem(quick);
    panel->Add(open);
    panel->Add(print);
    panel->Add(new RibbonSeparator(true));
    RibbonRecentFilesList* recent = panel->AddRecentFilesList(QStringLiteral("Recent Documents"));
    auto* exit = new RibbonMainPanelButton(AppExit, QStringLiteral("E&xit"), 15);
    panel->AddToBottom(exit);
    Show();

    EXPECT_EQ(appButton.size(), QSize(45, 45));
    EXPECT_EQ(appButton.MainPanel(), panel);
    EXPECT_TRUE(appButton.Image().isNull()) << "no image set, and none invented";
    QTest::mouseClick(&appButton, Qt::LeftButton);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(open->Look(), RibbonLook::Menu);
    EXPECT_EQ(recent->width(), 300);
    EXPECT_GT(recent->x(), open->geometry().right()) << "recent documents on the right";
    EXPECT_GT(exit->y(), recent->geometry().bottom()) << "Exit in the bottom row";
    EXPECT_EQ(exit->SmallImage().size(), QSize(16, 16));
    EXPECT_TRUE(recent->isVisible());

    // Pointing at Print shows its sub-items in place of the recent documents,
    // though Print itself is disabled.
    EXPECT_FALSE(print->isEnabled());
    Hover(print);
    EXPECT_EQ(panel->SubItemsShown(), print);
    EXPECT_TRUE(quick->isVisible());
    EXPECT_FALSE(recent->isVisible());
    EXPECT_GT(quick->mapTo(panel, QPoint(0, 0)).x(), print->geometry().right());
    Hover(open);
    EXPECT_EQ(panel->SubItemsShown(), nullptr);
    EXPECT_TRUE(recent->isVisible());

    // Prompts from the panel (a window of its own) reach the frame.
    Hover(open);
    EXPECT_EQ(Status(), QStringLiteral("Open an existing document"));

    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible()) << "choosing an element closes the panel";
    EXPECT_EQ(issued, std::vector<unsigned>{FileOpen});
    EXPECT_EQ(Status(), QString()) << "no prompt left behind by the closed panel";
    QTest::mouseClick(&appButton, Qt::LeftButton);
    QTest::mouseClick(exit, Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(issued, (std::vector<unsigned>{FileOpen, AppExit}));
}

TEST_F(RibbonFixture, QuickAccessButtonsBorrowTheImagesOfTheirCommands) {
    auto* paste = new RibbonButton(EditPaste, QStringLiteral("Paste"), 0, 0);
    home->AddPanel(QStringLiteral("P"))->Add(paste);
    ribbon->SetQuickAccessCommands({EditPaste, FileNew});
    Show();

    EXPECT_EQ(ribbon->QuickAccessCommands(), (QList<unsigned>{EditPaste, FileNew}));
    const QList<RibbonButton*> buttons = ribbon->QuickAccessBar()->Buttons();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->SmallImage().toImage(), paste->SmallImage().toImage());
    EXPECT_TRUE(buttons[1]->SmallImage().isNull()) << "no element issues New";
    EXPECT_EQ(buttons[0]->KeyTip(), QStringLiteral("1"));
    EXPECT_EQ(buttons[1]->KeyTip(), QStringLiteral("2"));
    EXPECT_EQ(buttons[0]->ToolTipText(), QStringLiteral("Paste"));
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(issued, std::vector<unsigned>{FileNew});
}

TEST_F(RibbonFixture, CategoriesInsertAtTheirIndexAndTabsSwitchThem) {
    RibbonCategory* last = ribbon->AddCategory(QStringLiteral("&View"), 0, 0);
    RibbonCategory* first =
        ribbon->AddCategory(QStringLiteral("&Start"), 0, 0, QSize(16, 16), QSize(32, 32), 0);
    EXPECT_EQ(ribbon->Categories(), (QList<RibbonCategory*>{first, home, last}));
    Show();
    EXPECT_EQ(ribbon->ActiveCategory(), home) << "the first added stays active";
    EXPECT_TRUE(home->isVisible());
    QTest::mouseClick(last->Tab(), Qt::LeftButton);
    EXPECT_EQ(ribbon->ActiveCategory(), last);
    EXPECT_FALSE(home->isVisible());
    EXPECT_LT(first->Tab()->x(), home->Tab()->x());
}

TEST_F(RibbonFixture, ColoursFollowTheVisualStyle) {
    const QPalette saved = qApp->palette();
    VisualStyles styles;
    ribbon->FollowVisualStyles(styles);
    styles.ApplyVisualStyle(DrawingTheme::Office2007, Office2007Style::Black);
    EXPECT_EQ(ribbon->Colours().ribbonTop,
              ColoursOf(DrawingTheme::Office2007, Office2007Style::Black).ribbonTop);
    styles.ApplyVisualStyle(DrawingTheme::OfficeXP);
    EXPECT_EQ(ribbon->Colours().ribbonTop,
              ColoursOf(DrawingTheme::OfficeXP, Office2007Style::Black).ribbonTop);
    qApp->setStyleSheet(QString());
    qApp->setPalette(saved);
}
