#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonElement.h"
#include "resources/ApplicationIds.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/shell/ShellTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QStatusBar>

// The whole frame as the pointer and assistive technology meet it: the
// status bar after a prompt, and the file list read item by item.

namespace {

using namespace CommandId;

class ShellAccessibility : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        frame = MakeFrame();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    void Hover(QWidget* widget) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(widget, &enter);
    }
    void Unhover(QWidget* widget) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }

    // The panes show their start-up texts and no message covers them.
    void ExpectPanesAsAtStartUp() {
        QLabel* left = frame->StatusPane(StatusPane1);
        QLabel* right = frame->StatusPane(StatusPane2);
        ASSERT_TRUE(left && right);
        EXPECT_EQ(frame->StatusBar().currentMessage(), QString());
        EXPECT_EQ(left->text(), QStringLiteral("Pane 1"));
        EXPECT_EQ(right->text(), QStringLiteral("Pane 2"));
        EXPECT_TRUE(left->isVisible());
        EXPECT_TRUE(right->isVisible());
    }

    static int CountNamed(QAccessibleInterface* root, const QString& name, int depth = 0) {
        if (!root || depth > 32)
            return 0;
        int count = root->text(QAccessible::Name) == name ? 1 : 0;
        for (int i = 0; i < root->childCount(); ++i)
            count += CountNamed(root->child(i), name, depth + 1);
        return count;
    }

    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(ShellAccessibility, ThePromptGoesWithThePointerAndThePanesComeBack) {
    ExpectPanesAsAtStartUp();
    for (unsigned id : {EditPaste, AppAbout, ViewStatusBar, FileNew}) {
        SCOPED_TRACE(id);
        RibbonElement* element = frame->Ribbon().FindById(id);
        ASSERT_NE(element, nullptr);
        Hover(element);
        EXPECT_FALSE(frame->StatusBar().currentMessage().isEmpty()) << "the prompt shows";
        EXPECT_EQ(frame->StatusBar().currentMessage(), element->statusTip());
        Unhover(element);
        ExpectPanesAsAtStartUp();
    }
    // Twice over the same element changes nothing either.
    RibbonElement* paste = frame->Ribbon().FindById(EditPaste);
    Hover(paste);
    Unhover(paste);
    ExpectPanesAsAtStartUp();
}

TEST_F(ShellAccessibility, TheApplicationButtonIsNamedForTheApplication) {
    QAccessibleInterface* iface =
        QAccessible::queryAccessibleInterface(frame->Ribbon().ApplicationButton());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::PushButton);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Velmora"));
    EXPECT_EQ(iface->text(QAccessible::Accelerator), QStringLiteral("f"));
}

TEST_F(ShellAccessibility, EachFileIsReadOnceInEveryLayout) {
    for (const char* name : {"one.jpg", "two.txt"}) {
        QFile file(PathOf(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    ASSERT_TRUE(ShowFolder(ViewOf(*frame), m_dir.path(), 2));
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&ViewOf(*frame));
    ASSERT_NE(view, nullptr);
    for (unsigned id : {ViewDetails, ViewLargeIcon, ViewSmallIcon, ViewList, ViewDetails}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(Router().Execute(id));
        EXPECT_EQ(CountNamed(view, QStringLiteral("one.jpg")), 1);
        EXPECT_EQ(CountNamed(view, QStringLiteral("two.txt")), 1);
    }
}

// The trees are named for what they hold; the file list's table has every
// column the list shows, header and cells, and the folder tree's table only
// the one it shows.
TEST_F(ShellAccessibility, TheTreesAreNamedAndTheListsTableHasEveryColumn) {
    fixture::CameraPicture picture = fixture::TypicalCamera();
    picture.exif[0xA434] = fixture::Ascii("Velmora 35mm F1.4"); // a cell in every column
    ASSERT_TRUE(fixture::WriteFile(QFile::encodeName(PathOf("a.jpg")).toStdString(),
                                   fixture::CameraJpeg(picture)));
    ShellFileList& list = ViewOf(*frame).FileList();
    ASSERT_TRUE(ShowFolder(ViewOf(*frame), m_dir.path(), 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.ListModel().ColumnsRead(); }, kLoadTimeoutMs));
    QAccessibleInterface* files = QAccessible::queryAccessibleInterface(list.DetailsView());
    QAccessibleInterface* folders =
        QAccessible::queryAccessibleInterface(&frame->FolderPane().ShellTree());
    EXPECT_EQ(files->text(QAccessible::Name), "Files in " + QDir(m_dir.path()).dirName());
    EXPECT_EQ(folders->text(QAccessible::Name), QStringLiteral("Folders"));
    EXPECT_EQ(ShellFileList().accessibleName(), QStringLiteral("Files"));
    EXPECT_EQ(folders->tableInterface()->columnCount(), 1);

    QAccessibleTableInterface* table = files->tableInterface();
    ASSERT_EQ(table->columnCount(), list.Model().columnCount());
    ASSERT_GT(table->columnCount(), FolderListModel::ColumnCount);
    for (int column = 0; column < table->columnCount(); ++column) {
        SCOPED_TRACE(column);
        const QString title = list.Model().headerData(column, Qt::Horizontal).toString();
        EXPECT_EQ(table->columnDescription(column), title);
        EXPECT_EQ(files->child(column)->text(QAccessible::Name), title) << "the header cell";
        QAccessibleInterface* cell = table->cellAt(0, column);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), list.GetItemText(0, column));
        EXPECT_FALSE(cell->text(QAccessible::Name).isEmpty());
    }
}

// Tab and Shift+Tab go round the frame's shown controls only, never into the
// pane tabbed behind another. The Metadata pane is entered at its filter box,
// which Ctrl+F reaches from the rows.
TEST_F(ShellAccessibility, TabVisitsWhatIsShownAndReachesTheFilterBox) {
    CMetadataWnd& metadata = frame->MetadataPane();
    QWidget* filter = &metadata.FilterBox();
    QWidget* rows = &metadata.TagTree();
    ASSERT_TRUE(frame->tabifiedDockWidgets(&frame->PropertiesPane()).contains(&metadata));
    const std::pair<DockablePane*, DockablePane*> fronts[] = {
        {&frame->PropertiesPane(), &metadata}, {&metadata, &frame->PropertiesPane()}};
    for (const auto& [front, behind] : fronts) {
        front->ShowPane(true, true);
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            SCOPED_TRACE(front->windowTitle().toStdString() +
                         (key == Qt::Key_Tab ? " Tab" : " Backtab"));
            QList<QWidget*> visited{QApplication::focusWidget()};
            ASSERT_TRUE(front->isAncestorOf(visited.front()));
            for (int i = 0; i < 40 && (i == 0 || visited.back() != visited.front()); ++i) {
                QTest::keyClick(visited.back(), key);
                QWidget* w = QApplication::focusWidget();
                visited.append(w);
                EXPECT_TRUE(
                    w && w->isVisible() && !behind->isAncestorOf(w) &&
                    QRect(w->mapTo(frame.get(), QPoint()), w->size()).intersects(frame->rect()))
                    << w << " is out of sight";
            }
            EXPECT_EQ(visited.back(), visited.front()) << "the round closes";
            if (front == &metadata) {
                ASSERT_TRUE(visited.contains(filter));
                const qsizetype next = visited.indexOf(filter) + (key == Qt::Key_Tab ? 1 : -1);
                EXPECT_EQ(visited.value(next), rows) << "box and rows are neighbours";
            }
        }
    }
    rows->setFocus();
    QTest::keyClick(rows, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(filter->hasFocus());
}
