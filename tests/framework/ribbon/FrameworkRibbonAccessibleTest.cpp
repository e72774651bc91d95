#include "framework/commands/CommandRouter.h"
#include "framework/commands/CommandTarget.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonCategoryTab.h"
#include "framework/ribbon/RibbonCheckBox.h"
#include "framework/ribbon/RibbonLabel.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonPanel.h"
#include "framework/ribbon/RibbonQuickAccessBar.h"
#include "framework/ribbon/RibbonRecentFilesList.h"
#include "framework/ribbon/RibbonSeparator.h"
#include "framework/views/ShellFileList.h"
#include "resources/ApplicationIds.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

// The ribbon and the file list as a screen reader reads them, through the
// same interfaces the platform's accessibility bridge asks.

namespace {

using namespace CommandId;

constexpr unsigned kMissingBitmap = 9001;

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

struct AccessibleRibbon : ::testing::Test {
    std::vector<unsigned> issued;
    bool statusBarShown = true;
    CommandTarget frame;
    CommandRouter router;
    QMainWindow window;
    RibbonBar* ribbon = new RibbonBar;
    RibbonCategory* home = nullptr;
    RibbonPanel* clipboard = nullptr;

    void SetUp() override {
        for (unsigned id : {FileNew, FileOpen, EditPaste, AppAbout, AppExit})
            frame.AddCommand(id, [this, id] { issued.push_back(id); });
        frame.AddCommand(ViewStatusBar, [this] { statusBarShown = !statusBarShown; });
        frame.AddUpdate(ViewStatusBar, [this](CommandUI& ui) { ui.SetCheck(statusBarShown); });
        router.SetTarget(CommandRouter::Stage::Frame, &frame);
        ribbon->SetCommandRouter(&router);
        window.setMenuWidget(ribbon);
        window.setStatusBar(new QStatusBar);
        window.setCentralWidget(new QWidget);
        home = ribbon->AddCategory(QStringLiteral("&Home"), kMissingBitmap, kMissingBitmap);
        clipboard = home->AddPanel(QStringLiteral("Clipboard\nzc"));
    }

    void Show() {
        window.resize(800, 400);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST_F(AccessibleRibbon, APlainButtonIsANamedPushButtonThatPressesLikeAClick) {
    auto* paste = new RibbonButton(EditPaste, QStringLiteral("Paste\nv"), 0, 0);
    auto* cut = new RibbonButton(EditCut, QStringLiteral("Cu&t"), 1, -1);
    clipboard->Add(paste);
    clipboard->Add(cut);
    Show();

    QAccessibleInterface* iface = Accessible(paste);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::PushButton);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Paste"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("Insert Clipboard contents"));
    EXPECT_EQ(iface->text(QAccessible::Accelerator), QStringLiteral("v"));
    const QAccessible::State state = iface->state();
    EXPECT_FALSE(state.disabled);
    EXPECT_FALSE(state.invisible);
    EXPECT_TRUE(state.focusable);
    EXPECT_FALSE(state.checkable);
    EXPECT_FALSE(state.hasPopup);

    QAccessibleActionInterface* actions = iface->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->actionNames(), (QStringList{QAccessibleActionInterface::pressAction(),
                                                   QAccessibleActionInterface::setFocusAction()}));
    EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
              QStringList{QStringLiteral("v")});
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(issued, std::vector<unsigned>{EditPaste});

    // Focus through the action interface; Space then presses as a click does.
    actions->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_TRUE(paste->hasFocus());
    EXPECT_TRUE(iface->state().focused);
    QTest::keyClick(paste, Qt::Key_Space);
    EXPECT_EQ(issued, (std::vector<unsigned>{EditPaste, EditPaste}));

    // Greyed: said so, with nothing to press and nothing happening if pressed.
    QAccessibleInterface* greyed = Accessible(cut);
    EXPECT_EQ(greyed->text(QAccessible::Name), QStringLiteral("Cut")) << "no access mark";
    EXPECT_EQ(greyed->text(QAccessible::Accelerator), QString()) << "greyed: no key tip";
    EXPECT_TRUE(greyed->state().disabled);
    EXPECT_FALSE(greyed->state().focusable);
    EXPECT_TRUE(greyed->actionInterface()->actionNames().isEmpty());
    greyed->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(issued.size(), 2u);

    // The element sits in its named panel, in its named page, in the ribbon.
    QAccessibleInterface* panel = iface->parent();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->object(), clipboard);
    EXPECT_EQ(panel->role(), QAccessible::Grouping);
    EXPECT_EQ(panel->text(QAccessible::Name), QStringLiteral("Clipboard"));
    EXPECT_GE(panel->indexOfChild(iface), 0);
    QAccessibleInterface* page = panel->parent();
    EXPECT_EQ(page->object(), home);
    EXPECT_EQ(page->text(QAccessible::Name), QStringLiteral("Home"));
    EXPECT_EQ(page->parent()->object(), ribbon);
    EXPECT_EQ(page->parent()->role(), QAccessible::ToolBar);
    EXPECT_EQ(page->parent()->text(QAccessible::Name), QStringLiteral("Ribbon"));
}

TEST_F(AccessibleRibbon, ACheckBoxReportsItsMarkAndTogglesThroughItsCommand) {
    auto* box = new RibbonCheckBox(ViewStatusBar, QStringLiteral("Status &Bar"));
    home->AddPanel(QStringLiteral("View"))->Add(box);
    Show();

    QAccessibleInterface* iface = Accessible(box);
    EXPECT_EQ(iface->role(), QAccessible::CheckBox);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Status Bar"));
    EXPECT_EQ(iface->text(QAccessible::Accelerator), QStringLiteral("b"));
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_TRUE(iface->state().checked);
    QAccessibleActionInterface* actions = iface->actionInterface();
    EXPECT_EQ(actions->actionNames().value(0), QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::toggleAction()),
              QStringList{QStringLiteral("b")});

    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(statusBarShown);
    EXPECT_FALSE(iface->state().checked) << "the mark follows the command's state";
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(statusBarShown);
    EXPECT_TRUE(iface->state().checked);
}

TEST_F(AccessibleRibbon, CategoryTabsArePageTabsAndTheActiveOneIsSelected) {
    RibbonCategory* view =
        ribbon->AddCategory(QStringLiteral("&View"), kMissingBitmap, kMissingBitmap);
    Show();

    QAccessibleInterface* homeTab = Accessible(home->Tab());
    QAccessibleInterface* viewTab = Accessible(view->Tab());
    EXPECT_EQ(homeTab->role(), QAccessible::PageTab);
    EXPECT_EQ(homeTab->text(QAccessible::Name), QStringLiteral("Home"));
    EXPECT_EQ(homeTab->text(QAccessible::Accelerator), QStringLiteral("h"));
    EXPECT_TRUE(homeTab->state().selectable);
    EXPECT_TRUE(homeTab->state().selected);
    EXPECT_FALSE(viewTab->state().selected);
    EXPECT_EQ(Accessible(view)->role(), QAccessible::PropertyPage);
    EXPECT_TRUE(Accessible(view)->state().invisible) << "the page of another tab is hidden";

    viewTab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(ribbon->ActiveCategory(), view);
    EXPECT_TRUE(viewTab->state().selected);
    EXPECT_FALSE(homeTab->state().selected);
}

TEST_F(AccessibleRibbon, MenuAndSplitButtonsOfferTheirDropDowns) {
    auto* menu = new QMenu;
    menu->addAction(QStringLiteral("Entry"));
    auto* style = new RibbonButton(RibbonElement::kNoCommand, QStringLiteral("Style\ns"));
    style->SetMenu(menu, false, true);
    style->SetToolTipText(QStringLiteral("Visual style"));
    style->SetDescription(QStringLiteral("Choose one"));
    ribbon->AddToTabs(style);
    auto* split = new RibbonButton(EditPaste, QStringLiteral("Paste"), 0, -1);
    split->SetKeys(QStringLiteral("v"), QStringLiteral("w"));
    split->AddSubItem(new RibbonButton(FileNew, QStringLiteral("New"), 0, 0, true));
    clipboard->Add(split);
    Show();

    QAccessibleInterface* iface = Accessible(style);
    EXPECT_EQ(iface->role(), QAccessible::ButtonMenu);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Style"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("Choose one"));
    EXPECT_TRUE(iface->state().hasPopup);
    EXPECT_TRUE(iface->state().collapsed);
    QAccessibleActionInterface* actions = iface->actionInterface();
    EXPECT_EQ(actions->actionNames(), (QStringList{QAccessibleActionInterface::showMenuAction(),
                                                   QAccessibleActionInterface::setFocusAction()}));
    EXPECT_EQ(actions->keyBindingsForAction(QAccessibleActionInterface::showMenuAction()),
              QStringList{QStringLiteral("s")});
    actions->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(menu->isVisible()) << "a press drops the menu down, as a click does";
    EXPECT_TRUE(iface->state().expanded);
    EXPECT_TRUE(issued.empty());
    menu->close();
    actions->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(menu->isVisible());
    menu->close();

    QAccessibleInterface* splitIface = Accessible(split);
    EXPECT_EQ(splitIface->role(), QAccessible::ButtonMenu);
    QAccessibleActionInterface* splitActions = splitIface->actionInterface();
    EXPECT_EQ(splitActions->actionNames().mid(0, 2),
              (QStringList{QAccessibleActionInterface::pressAction(),
                           QAccessibleActionInterface::showMenuAction()}));
    EXPECT_EQ(splitActions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
              QStringList{QStringLiteral("v")});
    EXPECT_EQ(splitActions->keyBindingsForAction(QAccessibleActionInterface::showMenuAction()),
              QStringList{QStringLiteral("w")});
    splitActions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(issued, std::vector<unsigned>{EditPaste});
    EXPECT_FALSE(split->IsDropDownShown());
    splitActions->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(split->IsDropDownShown());
    EXPECT_EQ(issued.size(), 1u);
}

TEST_F(AccessibleRibbon, TheApplicationButtonIsNamedForTheApplicationAndOpensItsPanel) {
    const QString oldName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    RibbonApplicationButton appButton;
    appButton.SetText(QStringLiteral("\nf"));
    appButton.SetToolTipText(QStringLiteral("File"));
    ribbon->SetApplicationButton(&appButton, QSize(45, 45));
    RibbonMainPanel* panel =
        ribbon->AddMainCategory(QStringLiteral("File"), kMissingBitmap, kMissingBitmap);
    auto* open = new RibbonButton(FileOpen, QStringLiteral("&Open..."), 1, 1);
    panel->Add(open);
    panel->Add(new RibbonSeparator(true));
    RibbonRecentFilesList* recent = panel->AddRecentFilesList(QStringLiteral("Recent Documents"));
    Show();

    QAccessibleInterface* iface = Accessible(&appButton);
    EXPECT_EQ(iface->role(), QAccessible::PushButton);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Velmora"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("File"));
    EXPECT_EQ(iface->text(QAccessible::Accelerator), QStringLiteral("f"));
    EXPECT_TRUE(iface->state().hasPopup);
    EXPECT_FALSE(iface->state().expanded);
    EXPECT_TRUE(Accessible(open)->state().invisible) << "the closed panel's items are hidden";

    QAccessibleActionInterface* actions = iface->actionInterface();
    actions->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(panel->isVisible());
    EXPECT_TRUE(iface->state().expanded);
    EXPECT_EQ(Accessible(panel)->text(QAccessible::Name), QStringLiteral("File"));
    EXPECT_FALSE(Accessible(open)->state().invisible);
    EXPECT_EQ(Accessible(open)->text(QAccessible::Name), QStringLiteral("Open..."));
    EXPECT_EQ(Accessible(open)->text(QAccessible::Accelerator), QStringLiteral("o"));
    EXPECT_EQ(Accessible(recent)->role(), QAccessible::List);
    EXPECT_EQ(Accessible(recent)->text(QAccessible::Name), QStringLiteral("Recent Documents"));
    EXPECT_TRUE(Accessible(recent)->actionInterface()->actionNames().isEmpty());

    Accessible(open)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(issued, std::vector<unsigned>{FileOpen});
    EXPECT_FALSE(panel->isVisible()) << "pressing an item closes the panel, as a click does";
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(panel->isVisible());
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(panel->isVisible()) << "a second press closes it, as a second click does";
    QGuiApplication::setApplicationDisplayName(oldName);
}

TEST_F(AccessibleRibbon, ImageOnlyButtonsGoByTheirTooltipTitles) {
    auto* paste = new RibbonButton(EditPaste, QStringLiteral("Paste\nv"), 0, 0);
    auto* newFile = new RibbonButton(FileNew, QStringLiteral("&New"), 1, 1);
    clipboard->Add(paste);
    clipboard->Add(newFile);
    QPixmap image(16, 16);
    image.fill(Qt::blue);
    auto* about = new RibbonButton(AppAbout, QStringLiteral("\na"), QIcon(image));
    ribbon->AddToTabs(about);
    ribbon->SetQuickAccessCommands({FileNew, EditPaste});
    Show();

    QAccessibleInterface* aboutIface = Accessible(about);
    EXPECT_EQ(aboutIface->role(), QAccessible::PushButton);
    EXPECT_FALSE(aboutIface->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(aboutIface->text(QAccessible::Name), about->ToolTipText());
    EXPECT_EQ(aboutIface->text(QAccessible::Description),
              QStringLiteral("Display program information, version number and copyright"));
    EXPECT_EQ(aboutIface->text(QAccessible::Accelerator), QStringLiteral("a"));

    const QList<RibbonButton*> quick = ribbon->QuickAccessBar()->Buttons();
    ASSERT_EQ(quick.size(), 2);
    EXPECT_EQ(Accessible(ribbon->QuickAccessBar())->role(), QAccessible::ToolBar);
    EXPECT_EQ(Accessible(ribbon->QuickAccessBar())->text(QAccessible::Name),
              QStringLiteral("Quick Access Toolbar"));
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface* iface = Accessible(quick[i]);
        EXPECT_EQ(iface->role(), QAccessible::PushButton);
        EXPECT_EQ(iface->text(QAccessible::Accelerator), QString::number(i + 1));
        EXPECT_FALSE(iface->text(QAccessible::Description).isEmpty());
    }
    EXPECT_EQ(Accessible(quick[0])->text(QAccessible::Name), newFile->ToolTipText());
    EXPECT_EQ(Accessible(quick[1])->text(QAccessible::Name), paste->ToolTipText());
    Accessible(quick[1])->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    Accessible(quick[0])->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(issued, (std::vector<unsigned>{EditPaste, FileNew}));
}

TEST_F(AccessibleRibbon, LabelsAndSeparatorsAreTextAndLinesWithNothingToPress) {
    auto* label = new RibbonLabel(QStringLiteral("Some && more"));
    auto* line = new RibbonSeparator;
    clipboard->Add(label);
    clipboard->Add(line);
    Show();

    EXPECT_EQ(Accessible(label)->role(), QAccessible::StaticText);
    EXPECT_EQ(Accessible(label)->text(QAccessible::Name), QStringLiteral("Some & more"));
    EXPECT_TRUE(Accessible(label)->actionInterface()->actionNames().isEmpty());
    EXPECT_FALSE(Accessible(label)->state().focusable);
    EXPECT_EQ(Accessible(line)->role(), QAccessible::Separator);
    EXPECT_TRUE(Accessible(line)->text(QAccessible::Name).isEmpty());
    EXPECT_TRUE(Accessible(line)->actionInterface()->actionNames().isEmpty());
}

namespace {

// Every interface under `root` whose name is `name`, the whole tree walked.
int CountNamed(QAccessibleInterface* root, const QString& name, int depth = 0) {
    if (!root || depth > 32)
        return 0;
    int count = root->text(QAccessible::Name) == name ? 1 : 0;
    for (int i = 0; i < root->childCount(); ++i)
        count += CountNamed(root->child(i), name, depth + 1);
    return count;
}

} // namespace

TEST(AccessibleFileList, OnlyTheShownLayoutIsInTheAccessibilityTree) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = QDir(dir.path()).canonicalPath();
    for (const char* name : {"a.jpg", "b.txt"}) {
        QFile file(root + '/' + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    ShellFileList list;
    list.resize(400, 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemCount() == 2; }, 10000));

    QAccessibleInterface* iface = Accessible(&list);
    ASSERT_NE(iface, nullptr);
    for (ShellFileList::ViewMode mode :
         {ShellFileList::ViewMode::Details, ShellFileList::ViewMode::LargeIcons,
          ShellFileList::ViewMode::List, ShellFileList::ViewMode::Details}) {
        list.SetViewMode(mode);
        QTest::qWait(50);
        SCOPED_TRACE(int(mode));
        EXPECT_EQ(CountNamed(iface, QStringLiteral("a.jpg")), 1) << "each file once";
        EXPECT_EQ(CountNamed(iface, QStringLiteral("b.txt")), 1);
        ASSERT_EQ(iface->childCount(), 1);
        QAccessibleInterface* shown = iface->child(0);
        EXPECT_EQ(shown->object(), list.CurrentView());
        EXPECT_EQ(iface->indexOfChild(shown), 0);
        EXPECT_EQ(iface->indexOfChild(Accessible(mode == ShellFileList::ViewMode::Details
                                                     ? static_cast<QWidget*>(list.IconView())
                                                     : list.DetailsView())),
                  -1);
        // What stands at the middle of the list belongs to the shown layout.
        const QPoint centre = list.mapToGlobal(list.rect().center());
        QAccessibleInterface* hit = iface->childAt(centre.x(), centre.y());
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(hit->object(), list.CurrentView());
    }
}
