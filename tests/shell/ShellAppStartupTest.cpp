#include "framework/commands/StringTable.h"
#include "framework/views/UserFolders.h"
#include "resources/ApplicationIds.h"
#include "shell/StartupSelection.h"
#include "tests/shell/ShellAppTestSupport.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

// Start-up: the platform services in their order, the two messages that end
// it, and what a successful start leaves behind.

namespace {

using namespace CommandId;

const QString kSocketsMessage = QStringLiteral("Windows sockets initialization failed.");
const QString kOleMessage = QStringLiteral(
    "OLE initialization failed.  Make sure that the OLE libraries are the correct version.");

using ShellAppStartup = ShellAppFixture;

TEST_F(ShellAppStartup, PreparesTheServicesInOrderThenShowsAnUntitledWindow) {
    ASSERT_TRUE(Start());
    const std::vector<std::string> order{"common controls", "framework",     "sockets",  "ole",
                                         "control hosting", "context menus", "keyboard", "tooltips",
                                         "shell",           "tooltip kinds"};
    EXPECT_EQ(calls, order);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(App().StartupStatus(), 0);

    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Untitled - Velmora"));
    // Desktops match the window to its installed entry by this name.
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.velmora.Velmora"));
    EXPECT_EQ(QCoreApplication::applicationVersion(), QStringLiteral(VELMORA_VERSION_TEXT));
    ASSERT_NE(Doc(), nullptr);
    EXPECT_TRUE(Doc()->GetPathName().isEmpty());
    EXPECT_EQ(Router().Target(CommandRouter::Stage::Document), Doc());
    EXPECT_EQ(Router().Target(CommandRouter::Stage::View), Frame()->GetActiveView());

    // The settings live under the key and the application's title.
    EXPECT_TRUE(App().Settings().FileName().contains(
        QStringLiteral("Local AppWizard-Generated Applications/Velmora")))
        << App().Settings().FileName().toStdString();
}

TEST(StartFolder, TheGivenThenTheLastThenPicturesThenHome) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("home/Pictures"));
    const QString home = dir.filePath("home");
    const QString pictures = dir.filePath("home/Pictures");
    const DesktopFolders withPictures{home, {{"PICTURES", pictures}}};
    const DesktopFolders without{home, {{"PICTURES", dir.filePath("home/Bilder")}}};
    const struct {
        QString given, last;
        const DesktopFolders& desktop;
        QString expected;
    } cases[] = {
        {"/given", dir.path(), withPictures, "/given"},
        {"", dir.path(), withPictures, dir.path()},
        {"", dir.filePath("gone"), withPictures, pictures},
        {"", "", withPictures, pictures},
        {"", "", without, home},
        {"", "", DesktopFolders{home, {}}, home},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseStartFolder(c.given, c.last, c.desktop), c.expected)
            << c.given.toStdString() << " " << c.last.toStdString();
}

TEST(FirstStart, TheWindowTakesMostOfTheScreenInItsMiddle) {
    const QRect available(0, 30, 1280, 770);
    const QRect placed = CMainFrame::FirstStartGeometry(available);
    EXPECT_EQ(placed.size(), QSize(1152, 693));
    EXPECT_EQ(placed.center(), available.center());
    EXPECT_TRUE(available.contains(placed));
}

TEST_F(ShellAppStartup, AFirstStartShowsPicturesOnMostOfTheScreenALaterOneTheLastFolder) {
    ASSERT_TRUE(QDir::home().mkpath(QStringLiteral("Pictures")));
    const QString pictures = QDir::cleanPath(QDir::home().filePath(QStringLiteral("Pictures")));
    const auto shown = [] {
        QString folder;
        Frame()->GetActiveView()->FileList().GetCurrentFolder(folder);
        return folder;
    };
    ASSERT_TRUE(Start());
    EXPECT_EQ(shown(), pictures);
    EXPECT_EQ(Frame()->FolderPane().ShellTree().SelectedFolder(), pictures);
    EXPECT_EQ(Frame()->AddressBox().currentText(), QStringLiteral("~/Pictures"));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect wanted = CMainFrame::FirstStartGeometry(available);
    EXPECT_GE(Frame()->width(), wanted.width());
    EXPECT_GE(Frame()->height(), wanted.height());

    ASSERT_TRUE(Frame()->GetActiveView()->FileList().DisplayFolder(m_dir.path()));
    ASSERT_TRUE(Frame()->close());
    App().ExitInstance();
    ASSERT_TRUE(Start());
    EXPECT_EQ(shown(), QDir::cleanPath(m_dir.path()));
    ASSERT_TRUE(QDir(pictures).removeRecursively());
}

TEST_F(ShellAppStartup, FailingSocketsShowOnlyTheirMessageAndNeverTouchOle) {
    Services().failSockets = true;
    EXPECT_FALSE(Start());
    EXPECT_EQ(prompts.messages, QStringList{kSocketsMessage});
    EXPECT_EQ(calls, (std::vector<std::string>{"common controls", "framework", "sockets"}));
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_FALSE(AnyMainWindowLeft());
    EXPECT_NE(App().StartupStatus(), 0);
}

TEST_F(ShellAppStartup, FailingOleShowsItsMessageAndEndsBeforeAnythingElse) {
    Services().failOle = true;
    EXPECT_FALSE(Start());
    EXPECT_EQ(prompts.messages, QStringList{kOleMessage});
    EXPECT_EQ(calls.back(), "ole");
    EXPECT_EQ(Frame(), nullptr);
    EXPECT_FALSE(AnyMainWindowLeft());
}

TEST_F(ShellAppStartup, TheMessageIsAnOkBoxThatWaitsForTheUser) {
    App().SetPrompts(std::make_unique<UserPrompts>());
    Services().failSockets = true;
    bool started = true;
    const bool shown = WithModalDialog([&] { started = Start(); },
                                       [](QWidget* modal) {
                                           auto* box = qobject_cast<QMessageBox*>(modal);
                                           ASSERT_NE(box, nullptr);
                                           EXPECT_EQ(box->text(), kSocketsMessage);
                                           EXPECT_EQ(box->windowTitle(), QStringLiteral("Velmora"));
                                           EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
                                           box->button(QMessageBox::Ok)->click();
                                       });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(started);
    EXPECT_FALSE(AnyMainWindowLeft());
}

TEST_F(ShellAppStartup, TheEditMenuIsRegisteredForContextUse) {
    ASSERT_TRUE(Start());
    const std::unique_ptr<QMenu> edit(
        App().CreateContextMenu(StringTable::Load(StringId::EditMenuName)));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->title(), QStringLiteral("Edit"));
    QList<unsigned> ids;
    for (const QAction* item : edit->actions())
        ids.append(item->data().toUInt());
    EXPECT_EQ(ids, (QList<unsigned>{EditCut, EditCopy, EditPaste}));
    EXPECT_EQ(App().CreateContextMenu(QStringLiteral("Nothing")), nullptr);
}

// Every command of the classic menu is reachable from the frame's context
// menu, and its items issue their commands.
TEST_F(ShellAppStartup, TheContextMenuOffersTheClassicMenu) {
    ASSERT_TRUE(Start());
    // What the frame shows on a right click.
    const std::unique_ptr<QMenu> menu(static_cast<QMainWindow*>(Frame())->createPopupMenu());
    ASSERT_NE(menu, nullptr);

    QStringList popups;
    QList<unsigned> ids;
    std::function<void(const QMenu&)> collect = [&](const QMenu& from) {
        for (QAction* item : from.actions()) {
            if (item->menu())
                collect(*item->menu());
            else if (!item->isSeparator())
                ids.append(item->data().toUInt());
        }
    };
    for (QAction* item : menu->actions())
        if (item->menu())
            popups.append(item->text());
    collect(*menu);
    EXPECT_EQ(popups, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    for (unsigned id : {FileNew, FileOpen, FileSave, FileSaveAs, RecentFileFirst, AppExit, EditUndo,
                        EditCut, EditCopy, EditPaste, ViewStatusBar, AppLookWindows2000,
                        AppLookOffice2007Aqua, AppAbout, ViewFolders, ViewProperties})
        EXPECT_TRUE(ids.contains(id)) << id;

    // File > New renews the document.
    Doc()->SetPathName(PathOf("x.jpg"));
    QMenu* file = menu->actions().first()->menu();
    for (QAction* item : file->actions())
        if (item->data().toUInt() == FileNew)
            item->trigger();
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Untitled - Velmora"));
}

} // namespace
