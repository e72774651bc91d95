#include "tests/presentation/window/InspectionTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QSignalSpy>

#include <sys/stat.h>
#include <unistd.h>

// The road of one click: the list reports a click on a cell, the view picks
// the file, the frame inspects it, the "Properties" pane shows its rows.

namespace {

using fixture::Bytes;

class ShellClick : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        WriteFile("a.jpg", m_camera);
        WriteFile("b.jpg", m_second);
        WriteFile("notes.txt", {'h', 'i'});
        frame = MakeFrame();
        ASSERT_TRUE(ShowFolder(View(), m_dir.path(), 3));
    }

    void WriteFile(const QString& name, const Bytes& bytes) {
        ASSERT_TRUE(fixture::WriteFile(QFile::encodeName(PathOf(name)).toStdString(), bytes));
    }
    CExplorerView& View() { return ViewOf(*frame); }
    ShellFileList& List() { return View().FileList(); }
    ShownRows Shown() { return RowsOf(frame->PropertiesPane()); }

    // What the list reports for a mouse click on a cell.
    void Click(const QString& name, int column = 0) {
        const int row = RowOf(List(), name);
        ASSERT_GE(row, 0) << name.toStdString();
        emit List().itemClicked(row, column, List().GetItemText(row, column));
    }

    const Bytes m_camera = fixture::CameraLikeJpeg();
    const Bytes m_second = SecondCameraJpeg("Model 2");
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ShellClick, EachFileClickedReplacesTheRowsWithExactlyItsOwn) {
    const ShownRows camera = ExpectedRows(m_camera);
    ASSERT_FALSE(camera.empty());

    Click("a.jpg");
    EXPECT_EQ(Shown(), camera);
    // Any non-empty cell of the row names the same file; reading it again
    // shows its rows once, not twice.
    Click("a.jpg", 1);
    EXPECT_EQ(Shown(), camera);

    Click("b.jpg");
    EXPECT_EQ(Shown(), ExpectedRows(m_second));
    // A file without EXIF data empties the list.
    Click("notes.txt");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ShellClick, ClicksThatReachNoReadableFileKeepTheRows) {
    Click("a.jpg");
    const ShownRows before = Shown();

    // Blank space, and a cell without text.
    emit List().itemClicked(-1, -1, QString());
    emit List().itemClicked(RowOf(List(), "b.jpg"), 99, QString());
    EXPECT_EQ(Shown(), before);

    // Still listed, but gone from the disk by the time of the click.
    const int row = RowOf(List(), "b.jpg");
    ASSERT_TRUE(QFile::remove(PathOf("b.jpg")));
    emit List().itemClicked(row, 0, QStringLiteral("b.jpg"));
    EXPECT_EQ(Shown(), before);

    // Root reads every file, whatever its mode.
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(PathOf("notes.txt")).constData(), 0), 0);
        Click("notes.txt");
        EXPECT_EQ(Shown(), before);
    }
}

TEST_F(ShellClick, AFifoInTheFolderNeverBlocksTheWindow) {
    const QByteArray fifo = QFile::encodeName(PathOf("pipe.jpg"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(ShowFolder(View(), m_dir.path(), 3));
    QTest::qWait(200); // a late arrival of the FIFO would show up now
    EXPECT_EQ(RowOf(List(), "pipe.jpg"), -1);

    Click("a.jpg");
    const ShownRows camera = Shown();
    EXPECT_FALSE(camera.empty());
    // Handed over by other means (a stale listing), it is not opened.
    frame->ShowImageTags(fifo);
    EXPECT_EQ(Shown(), camera);
    EXPECT_LT(timer.elapsed(), 3000);
}

// A name that is not valid UTF-8 (Latin-1 from an old camera) is listed and
// read by its own bytes.
TEST_F(ShellClick, AFileWithALatin1NameShowsItsRows) {
    const Bytes photo = SecondCameraJpeg("Latin-1");
    const QByteArray path = QFile::encodeName(m_dir.path()) + "/caf\xe9.jpg";
    // Qt cannot list the name, so it would not remove it with the folder.
    const auto removeFile = qScopeGuard([&] { ::unlink(path.constData()); });
    ASSERT_TRUE(fixture::WriteFile(path.toStdString(), photo));
    ASSERT_TRUE(ShowFolder(View(), m_dir.path(), 4));
    Click(QString::fromLatin1("caf\xe9.jpg"));
    const ShownRows rows = ExpectedRows(photo);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(Shown(), rows);
}

TEST_F(ShellClick, AMouseClickAndAKeyboardMoveBothShowTheCurrentFile) {
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    QAbstractItemView* view = List().CurrentView();
    const QModelIndex a = List().ItemIndex(RowOf(List(), "a.jpg"));
    view->scrollTo(a);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(a).center());
    const ShownRows camera = ExpectedRows(m_camera);
    EXPECT_EQ(Shown(), camera);

    // Down moves the selection to b.jpg and shows its rows at once; Up,
    // End and Home likewise.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    ASSERT_EQ(view->currentIndex().row(), RowOf(List(), "b.jpg"));
    EXPECT_EQ(Shown(), ExpectedRows(m_second));
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(Shown(), camera);
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_TRUE(Shown().empty()); // notes.txt has no EXIF block
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(Shown(), camera);

    // In the icon layouts too.
    View().FileList().SetViewMode(ShellFileList::ViewMode::LargeIcons);
    view = List().CurrentView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Right);
    ASSERT_EQ(view->currentIndex().row(), RowOf(List(), "b.jpg"));
    EXPECT_EQ(Shown(), ExpectedRows(m_second));
}

// A held arrow key repeats: the files passed are not read, the one reached
// last is, once the repeats stop.
TEST_F(ShellClick, AHeldKeyShowsOnlyTheLastFileReached) {
    for (int i = 0; i < 6; ++i)
        WriteFile(QStringLiteral("c%1.jpg").arg(i), SecondCameraJpeg(std::to_string(i)));
    ASSERT_TRUE(ShowFolder(View(), m_dir.path(), 9));
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    QAbstractItemView* view = List().CurrentView();
    view->setFocus();
    view->setCurrentIndex(List().ItemIndex(0));
    Click(List().GetItemText(0, 0));
    const ShownRows first = Shown();

    int shows = 0;
    QObject::connect(&View(), &CExplorerView::fileChosen, [&] { ++shows; });
    for (int i = 0; i < 5; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(view, &press);
        QCoreApplication::processEvents(); // what the loop does between repeats
    }
    EXPECT_EQ(view->currentIndex().row(), 5);
    EXPECT_EQ(shows, 0);
    EXPECT_EQ(Shown(), first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows > 0; }, 2000));
    QTest::qWait(100);
    EXPECT_EQ(shows, 1);
    const int row = view->currentIndex().row();
    QFile file(PathOf(List().GetItemText(row, 0)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(Shown(), ExpectedRows(Bytes(bytes.begin(), bytes.end())));
}

} // namespace

TEST_F(ShellClick, AViewOutsideAnyFrameTellsWhatHappenedThroughItsSignals) {
    // The view never looks for its frame: it only reports, and the frame
    // connects. A view of its own, in no window, reports the same way.
    CExplorerView loose(Router());
    QSignalSpy chosen(&loose, &CExplorerView::fileChosen);
    QSignalSpy address(&loose, &CExplorerView::addressChanged);
    ASSERT_TRUE(ShowFolder(loose, m_dir.path(), 3));
    EXPECT_EQ(address.last().at(0).toString(), m_dir.path());

    const int row = RowOf(loose.FileList(), QStringLiteral("b.jpg"));
    loose.OnClick(row, 0);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toByteArray(), QFile::encodeName(PathOf(QStringLiteral("b.jpg"))));
    // The frame's pane was not touched by the loose view.
    EXPECT_TRUE(Shown().empty());
}
