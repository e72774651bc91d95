#include "framework/commands/CommandRouter.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonRecentFilesList.h"
#include "framework/settings/SettingsStore.h"
#include "framework/styles/VisualStyles.h"
#include "presentation/window/PhotoPictures.h"
#include "resources/ApplicationIds.h"
#include "shell/ApplicationLook.h"
#include "shell/ExplorerView.h"
#include "shell/MainFrame.h"
#include "shell/VelmoraApp.h"
#include "tests/framework/FrameworkThumbnailTestSupport.h"

#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The main frame and its view made from what they are handed alone: the
// command route, the settings and the styles are the test's own, and there
// is no application object to reach for.

namespace {

using namespace CommandId;

const QString kKey = QStringLiteral("Velmora Frame Tests");
const QString kTitle = QStringLiteral("Velmora");

class FrameAlone : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CVelmoraApp::Instance(), nullptr);
        ASSERT_TRUE(dir.isValid());
        QSettings stored(QSettings::NativeFormat, QSettings::UserScope, kKey, kTitle);
        stored.clear();
        stored.sync();
    }
    std::unique_ptr<CMainFrame> MakeFrame() {
        auto frame = std::make_unique<CMainFrame>(services);
        EXPECT_TRUE(frame->Create());
        frame->InitialUpdateFrame();
        return frame;
    }

    CommandRouter router;
    SettingsStore settings{kKey, kTitle};
    VisualStyles styles;
    ApplicationLookChoice look;
    FrameServices services{router, settings, styles, look};
    QTemporaryDir dir;
};

// Each command goes down the route the frame was given, to the frame or its view.
TEST_F(FrameAlone, TheCommandsOfTheGivenRouteReachTheFrameAndItsView) {
    const auto frame = MakeFrame();
    ASSERT_NE(frame->GetActiveView(), nullptr);
    EXPECT_EQ(router.Target(CommandRouter::Stage::Frame), frame.get());
    EXPECT_EQ(router.Target(CommandRouter::Stage::View), frame->GetActiveView());
    ShellFileList& list = frame->GetActiveView()->FileList();
    const struct {
        unsigned id;
        std::function<bool()> done;
    } table[] = {
        {ViewStatusBar, [&] { return frame->StatusBar().isHidden(); }},
        {ViewFolders, [&] { return !frame->FolderPane().IsPaneVisible(); }},
        {ViewLargeIcon, [&] { return list.GetViewMode() == ShellFileList::ViewMode::LargeIcons; }},
        {AppLookOffice2003,
         [&] { return styles.Theme() == DrawingTheme::Office2003 && look.Current() == 213; }},
    };
    for (const auto& row : table) {
        EXPECT_FALSE(row.done()) << row.id;
        ASSERT_TRUE(router.Execute(row.id)) << row.id;
        EXPECT_TRUE(row.done()) << row.id;
    }
    EXPECT_EQ(settings.GetInt(QString::fromLatin1(ApplicationLookChoice::kSettingsKey), -1), 213);
    // The view shows the photographs' pictures.
    EXPECT_NE(dynamic_cast<const PhotoPictures*>(&list.Thumbnails().Provider()), nullptr);
}

// The style and the layout are read from and kept in the settings handed over.
TEST_F(FrameAlone, TheStyleAndTheLayoutLiveInTheGivenSettings) {
    settings.WriteInt(QString::fromLatin1(ApplicationLookChoice::kSettingsKey), 211);
    {
        const auto frame = MakeFrame();
        EXPECT_EQ(look.Current(), 211u);
        EXPECT_EQ(styles.Theme(), DrawingTheme::OfficeXP);
        ASSERT_TRUE(router.Execute(ViewStatusBar));
        frame->SaveWorkspace();
    }
    EXPECT_EQ(settings.GetInt(QStringLiteral("Workspace/StatusBar"), -1), 0);
    EXPECT_FALSE(settings.GetBytes(QStringLiteral("Workspace/FileListColumns")).isEmpty());
    const auto again = MakeFrame();
    EXPECT_TRUE(again->StatusBar().isHidden());
}

// What the application asks of its frame, by name.
TEST_F(FrameAlone, TheApplicationsQuestionsAreAnsweredByName) {
    const auto frame = MakeFrame();
    frame->resize(1280, 800);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));

    const QString folder = QDir(dir.path()).canonicalPath();
    frame->SelectTreeFolder(folder);
    EXPECT_EQ(frame->FolderPane().ShellTree().SelectedFolder(), folder);
    frame->ShowFolder(QDir::rootPath());
    EXPECT_EQ(frame->ShownFolder(), QDir::rootPath());

    const QStringList recent = {QStringLiteral("/photos/a.jpg"), QStringLiteral("/photos/b.jpg")};
    frame->ShowRecentFiles(recent);
    RibbonMainPanel* panel = frame->AppButton().MainPanel();
    ASSERT_TRUE(panel && panel->RecentFilesList());
    EXPECT_EQ(panel->RecentFilesList()->Files(), recent);

    for (const int width : {300, 400}) {
        frame->SetPropertiesWidth(width);
        // The dock layout takes the new size at its next turn.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return qAbs(frame->PropertiesPane().width() - width) <= 10; }, 2000))
            << frame->PropertiesPane().width() << " for " << width;
    }

    const QString jpeg = dir.filePath(QStringLiteral("a.jpg"));
    QFile file(jpeg);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WithExif(Encoded(Filled(40, 20, Qt::red), "JPEG"), 1, {}));
    file.close();
    ASSERT_TRUE(frame->ShowImageTags(jpeg));
    EXPECT_TRUE(frame->PropertiesRowsText().contains(QStringLiteral("\tVelmora\n")))
        << frame->PropertiesRowsText().toStdString();
}

// A view alone opens its menu of the route it was given.
TEST_F(FrameAlone, TheViewsMenuIssuesTheGivenRoutesCommands) {
    CExplorerView view(router);
    QMenu* menu = nullptr;
    QObject::connect(&view, &CExplorerView::contextMenuShown, [&](QMenu* shown) { menu = shown; });
    view.OnContextMenu(QPoint(10, 10), -1);
    ASSERT_NE(menu, nullptr);
    const auto* viewMenu = menu->findChild<QMenu*>(QStringLiteral("viewMenu"));
    ASSERT_NE(viewMenu, nullptr);
    EXPECT_TRUE(viewMenu->actions().contains(router.Action(ViewLargeIcon)));
    menu->close();
}

} // namespace
