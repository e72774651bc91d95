#include "resources/ApplicationIds.h"
#include "shell/FrameMenu.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/presentation/window/PresentationTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

#include "presentation/window/MetadataModel.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QTabBar>

#include <memory>

// The "Metadata" pane in the frame beside "Properties", the Copy and Select
// All commands that act on the pane holding the focus, and the one click
// that fills both panes.

namespace {

using namespace CommandId;

class ShellPanes : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        frame = MakeFrame();
    }
    void ShowActive() {
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    void FillProperties() {
        CPropertiesWnd& pane = frame->PropertiesPane();
        pane.AddTagRow(QStringLiteral("Camera Make"), QStringLiteral("Canon"));
        pane.AddTagRow(QStringLiteral("Camera Model"), QStringLiteral("EOS R5"));
        pane.AddTagRow(QStringLiteral("ISO"), QStringLiteral("400"));
    }
    static CommandUI State(unsigned id) { return Router().QueryState(id); }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ShellPanes, MetadataStartsAsATabBehindProperties) {
    CMetadataWnd& metadata = frame->MetadataPane();
    CPropertiesWnd& properties = frame->PropertiesPane();
    EXPECT_EQ(metadata.windowTitle(), QStringLiteral("Metadata"));
    EXPECT_EQ(metadata.objectName(), QStringLiteral("Pane159"));
    EXPECT_EQ(frame->dockWidgetArea(&metadata), Qt::RightDockWidgetArea);
    EXPECT_EQ(metadata.allowedAreas(), Qt::AllDockWidgetAreas);
    EXPECT_TRUE(metadata.CanAutoHide());
    EXPECT_EQ(metadata.Behaviour(), properties.Behaviour());
    EXPECT_TRUE(frame->tabifiedDockWidgets(&properties).contains(&metadata));

    ShowActive();
    // "Properties" is the tab in front.
    QStringList fronts;
    for (QTabBar* bar : frame->findChildren<QTabBar*>())
        if (bar->count() >= 2)
            fronts << bar->tabText(bar->currentIndex());
    EXPECT_EQ(fronts, QStringList{"Properties"});
    EXPECT_TRUE(metadata.IsPaneVisible());
}

TEST_F(ShellPanes, PreviewStartsBelowProperties) {
    CPreviewWnd& preview = frame->PreviewPane();
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Preview"));
    EXPECT_EQ(preview.objectName(), QStringLiteral("Pane161"));
    EXPECT_EQ(frame->dockWidgetArea(&preview), Qt::RightDockWidgetArea);
    EXPECT_TRUE(preview.CanAutoHide());
    EXPECT_FALSE(frame->tabifiedDockWidgets(&frame->PropertiesPane()).contains(&preview));
    ShowActive();
    EXPECT_GT(preview.y(), frame->PropertiesPane().y());
    EXPECT_EQ(preview.x(), frame->PropertiesPane().x());
}

TEST_F(ShellPanes, EachPanesEntryShowsAndHidesIt) {
    const std::unique_ptr<QMenu> menu(CreateFrameContextMenu(Router(), frame.get()));
    ShowActive();
    const struct {
        unsigned id;
        const char* text;
        DockablePane* pane;
    } cases[] = {{ViewMetadata, "&Metadata", &frame->MetadataPane()},
                 {ViewPreview, "P&review", &frame->PreviewPane()},
                 {ViewOverview, "&Overview", &frame->OverviewPane()}};
    for (const auto& c : cases) {
        QAction* entry = nullptr;
        for (QAction* action : menu->actions())
            if (action->data().toUInt() == c.id)
                entry = action;
        ASSERT_NE(entry, nullptr) << c.text;
        EXPECT_EQ(entry->text(), QString::fromUtf8(c.text));
        EXPECT_TRUE(State(c.id).IsChecked()) << c.text;
        entry->trigger();
        EXPECT_FALSE(c.pane->IsPaneVisible()) << c.text;
        EXPECT_FALSE(State(c.id).IsChecked()) << c.text;
        EXPECT_TRUE(frame->PropertiesPane().IsPaneVisible()) << c.text;
        Router().Execute(c.id);
        EXPECT_TRUE(c.pane->IsPaneVisible()) << c.text;
        EXPECT_TRUE(State(c.id).IsChecked()) << c.text;
    }
}

TEST_F(ShellPanes, AClickFillsTheRowsAtOnceAndThePictureAfter) {
    ShowActive();
    const QString path = PathOf(QStringLiteral("shot.jpg"));
    ASSERT_TRUE(
        fixture::WriteFile(QFile::encodeName(path).toStdString(), fixture::CameraLikeJpeg()));
    ASSERT_TRUE(frame->ShowImageTags(path));
    // The rows are in when the click returns; the picture is still to come.
    EXPECT_GT(frame->PropertiesPane().TagList().topLevelItemCount(), 0);
    EXPECT_EQ(frame->PreviewPane().ShownPath(), QFile::encodeName(path));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return frame->PreviewPane().Pending() == 0 &&
               frame->PreviewPane().Shown().gap != PreviewGap::Unreadable &&
               frame->PreviewPane().Picture().Message().isEmpty();
    }));
}

TEST_F(ShellPanes, CopyAndSelectAllActOnThePaneWithTheFocusAndCutAndPasteStayGreyed) {
    ShowActive();
    FillProperties();
    QTreeWidget& list = frame->PropertiesPane().TagList();
    list.setFocus();
    ASSERT_TRUE(list.hasFocus());
    EXPECT_FALSE(State(EditCopy).IsEnabled()); // nothing selected
    EXPECT_TRUE(State(EditSelectAll).IsEnabled());
    EXPECT_FALSE(State(EditCut).IsEnabled());
    EXPECT_FALSE(State(EditPaste).IsEnabled());

    list.topLevelItem(2)->setSelected(true);
    list.topLevelItem(0)->setSelected(true);
    EXPECT_TRUE(State(EditCopy).IsEnabled());
    EXPECT_FALSE(State(EditCut).IsEnabled());
    EXPECT_FALSE(State(EditPaste).IsEnabled());
    ASSERT_TRUE(Router().Execute(EditCopy));
    EXPECT_EQ(Clipboard(), QStringLiteral("Camera Make\tCanon\nISO\t400\n"));

    // The keys of the command, as the user presses them in the list.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), QStringLiteral("Camera Make\tCanon\nISO\t400\n"));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&list, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(), QStringLiteral("Camera Make\tCanon\nISO\t400\n"));

    ASSERT_TRUE(Router().Execute(EditSelectAll));
    EXPECT_EQ(list.selectedItems().size(), 3);

    // With the focus in the file list the rows are not what Copy would copy.
    ViewOf(*frame).FileList().setFocus();
    EXPECT_FALSE(State(EditCopy).IsEnabled());
    EXPECT_FALSE(State(EditSelectAll).IsEnabled());
}

TEST_F(ShellPanes, CopyTakesTheMetadataRowsWhenThatPaneHasTheFocus) {
    ShowActive();
    CMetadataWnd& metadata = frame->MetadataPane();
    MetadataEntry make;
    make.group = "IFD0";
    make.id = 0x010F;
    make.name = "Make";
    make.type = 2;
    make.text = make.rawOverride = "Canon";
    metadata.FillEntries({make});
    metadata.raise();
    metadata.ShowPane(true, true);
    QTreeView& tree = metadata.TagTree();
    tree.setFocus();
    ASSERT_TRUE(tree.hasFocus());
    EXPECT_FALSE(State(EditCopy).IsEnabled());
    ASSERT_TRUE(Router().Execute(EditSelectAll));
    EXPECT_TRUE(State(EditCopy).IsEnabled());
    ASSERT_TRUE(Router().Execute(EditCopy));
    EXPECT_EQ(Clipboard(), QStringLiteral("Image\tMake\tCanon\n"));
}

// The Metadata pane behind the Properties tab builds its rows when its tab
// comes to the front, not at the click.
TEST_F(ShellPanes, TheMetadataPaneBehindATabGetsItsRowsWhenShown) {
    ShowActive();
    const QString path = PathOf("camera.jpg");
    ASSERT_TRUE(
        fixture::WriteFile(QFile::encodeName(path).toStdString(), fixture::CameraLikeJpeg()));
    CMetadataWnd& metadata = frame->MetadataPane();
    auto* rows = metadata.findChild<QTreeView*>();
    ASSERT_NE(rows, nullptr);
    ASSERT_FALSE(rows->isVisible());
    ASSERT_TRUE(frame->ShowImageTags(path));
    EXPECT_FALSE(RowsOf(frame->PropertiesPane()).empty());
    EXPECT_EQ(rows->model()->rowCount(), 0);
    metadata.raise();
    metadata.ShowPane(true, true);
    ASSERT_TRUE(rows->isVisible());
    EXPECT_GT(rows->model()->rowCount(), 0);
}

TEST_F(ShellPanes, OneClickFillsBothPanes) {
    const QString path = PathOf("camera.jpg");
    ASSERT_TRUE(
        fixture::WriteFile(QFile::encodeName(path).toStdString(), fixture::CameraLikeJpeg()));
    ASSERT_TRUE(frame->ShowImageTags(path));
    EXPECT_FALSE(RowsOf(frame->PropertiesPane()).empty());

    QAbstractItemModel& model = *frame->MetadataPane().TagTree().model();
    ASSERT_GT(model.rowCount(), 0);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("Image"));
    QStringList tags;
    for (int r = 0; r < model.rowCount(model.index(0, 0)); ++r)
        tags << model.index(r, 0, model.index(0, 0)).data().toString();
    EXPECT_TRUE(tags.contains(QStringLiteral("Make"))) << tags.join(u',').toStdString();

    // A file without metadata empties both.
    const QString text = PathOf("notes.txt");
    ASSERT_TRUE(fixture::WriteFile(QFile::encodeName(text).toStdString(), {'h', 'i'}));
    frame->ShowImageTags(text);
    EXPECT_TRUE(RowsOf(frame->PropertiesPane()).empty());
    EXPECT_EQ(frame->MetadataPane().TagTree().model()->rowCount(), 0);
}

} // namespace
