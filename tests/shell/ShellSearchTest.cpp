#include "presentation/window/PhotoSearch.h"
#include "resources/ApplicationIds.h"
#include "tests/presentation/window/InspectionTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>

// The search of a folder tree from the box at the right of the address bar:
// results streamed into the file list with their folders, a query that
// cannot be compiled, Escape, the way back to a folder's search, a click on
// a result, and what assistive technology is told.

namespace {

using fixture::Bytes;

class ShellSearch : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("sub/deeper")));
        WriteFile("a.jpg", m_camera);
        WriteFile("notes.txt", {'h', 'i'});
        WriteFile("sub/b.jpg", m_second);
        WriteFile("sub/deeper/c.jpg", m_camera);
        frame = MakeFrame();
        ASSERT_TRUE(ShowFolder(View(), m_dir.path(), 2));
    }

    void WriteFile(const QString& name, const Bytes& bytes) {
        ASSERT_TRUE(fixture::WriteFile(QFile::encodeName(PathOf(name)).toStdString(), bytes));
    }
    CExplorerView& View() { return ViewOf(*frame); }
    ShellFileList& List() { return View().FileList(); }
    SearchBox& Box() { return frame->SearchField(); }
    QString FolderName() const { return QDir(m_dir.path()).dirName(); }

    // Types the query and presses Enter, as a user would.
    void Enter(const QString& query) {
        Box().lineEdit()->setText(query);
        QTest::keyClick(Box().lineEdit(), Qt::Key_Return);
    }
    bool WaitForSearchEnd() {
        return QTest::qWaitFor([&] { return !View().Searching().IsRunning(); }, kLoadTimeoutMs);
    }
    // "name in folder" of every row, in the list's order.
    QStringList Shown() {
        QStringList shown;
        const int folder = List().ListModel().FolderColumn();
        for (int row = 0; row < List().GetItemCount(); ++row)
            shown << List().GetItemText(row, 0) + " in " + List().GetItemText(row, folder);
        return shown;
    }

    const Bytes m_camera = fixture::CameraLikeJpeg();
    const Bytes m_second = SecondCameraJpeg("Model 2");
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ShellSearch, AnEmptyQueryListsEveryPhotoBelowWithItsFolder) {
    Enter(QString());
    ASSERT_TRUE(WaitForSearchEnd());
    ASSERT_TRUE(List().ShowsResults());
    EXPECT_EQ(Shown(), QStringList({"a.jpg in .", "b.jpg in sub", "c.jpg in sub/deeper"}));
    EXPECT_EQ(frame->AddressBox().currentText(), "Search results in " + FolderName());
    EXPECT_EQ(frame->StatusPane(CommandId::StatusPane1)->text(),
              QStringLiteral("3 of 3 photos match \u00b7 3 folders"));
    EXPECT_TRUE(frame->SearchBusy().isHidden());
    // The result's own path, for a click and for opening it.
    EXPECT_EQ(List().GetItemPathBytes(2), QFile::encodeName(PathOf("sub/deeper/c.jpg")));
    // The photo columns come with the results.
    EXPECT_FALSE(List().GetItemText(0, FolderListModel::ColumnCount).isEmpty());
}

TEST_F(ShellSearch, AQueryKeepsOnlyTheMatchesAndTheBoxRemembersIt) {
    Enter(QStringLiteral("model:\"Model 2\""));
    ASSERT_TRUE(WaitForSearchEnd());
    EXPECT_EQ(Shown(), QStringList({"b.jpg in sub"}));
    EXPECT_EQ(frame->StatusPane(CommandId::StatusPane1)->text(),
              QStringLiteral("1 of 3 photos matches \u00b7 3 folders"));
    ASSERT_GE(Box().count(), 1);
    EXPECT_EQ(Box().itemText(0), QStringLiteral("model:\"Model 2\""));
}

TEST_F(ShellSearch, AQueryThatCannotBeCompiledSaysWhereAndSearchesNothing) {
    Enter(QStringLiteral("iso:>"));
    EXPECT_FALSE(View().Searching().IsRunning());
    EXPECT_FALSE(List().ShowsResults());
    EXPECT_EQ(List().GetItemCount(), 2);
    ASSERT_NE(Box().ErrorLabel(), nullptr);
    EXPECT_TRUE(Box().ErrorLabel()->text().contains(QStringLiteral("at character")))
        << Box().ErrorLabel()->text().toStdString();
    EXPECT_EQ(Box().count(), 0) << "not kept in the drop-down";
    // Typing on takes the message away.
    QTest::keyClick(Box().lineEdit(), Qt::Key_1);
    EXPECT_EQ(Box().ErrorLabel(), nullptr);
}

TEST_F(ShellSearch, AQueryThatCannotBeCompiledLeavesTheResultsShown) {
    Enter(QStringLiteral("second"));
    ASSERT_TRUE(WaitForSearchEnd());
    const QString status = frame->StatusPane(CommandId::StatusPane1)->text();
    Enter(QStringLiteral("(second"));
    EXPECT_NE(Box().ErrorLabel(), nullptr);
    EXPECT_EQ(Shown(), QStringList({"b.jpg in sub"}));
    EXPECT_EQ(frame->StatusPane(CommandId::StatusPane1)->text(), status);
    EXPECT_EQ(View().KeptQuery(m_dir.path()), QStringLiteral("second"));
}

TEST_F(ShellSearch, EscapeStopsAndReturnsToTheFolder) {
    Enter(QString());
    ASSERT_TRUE(List().ShowsResults());
    EXPECT_FALSE(frame->SearchBusy().isHidden()) << "busy while reading";
    QTest::keyClick(Box().lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(View().Searching().IsRunning());
    EXPECT_FALSE(List().ShowsResults());
    EXPECT_TRUE(Box().currentText().isEmpty());
    EXPECT_TRUE(frame->SearchBusy().isHidden());
    EXPECT_EQ(frame->AddressBox().currentText(), m_dir.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().GetItemCount() == 2; }, kLoadTimeoutMs));
    EXPECT_EQ(List().ListModel().FolderColumn(), -1);
    EXPECT_EQ(View().KeptQuery(m_dir.path()), QString());
}

TEST_F(ShellSearch, APauseAfterTypingSearches) {
    Box().setFocus();
    QTest::keyClicks(Box().lineEdit(), QStringLiteral("second"));
    EXPECT_FALSE(List().ShowsResults()) << "not on every key";
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().ShowsResults(); }, kLoadTimeoutMs));
    ASSERT_TRUE(WaitForSearchEnd());
    EXPECT_EQ(Shown(), QStringList({"b.jpg in sub"}));
    // Emptying the box by typing is as Escape.
    Box().lineEdit()->selectAll();
    QTest::keyClick(Box().lineEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(List().ShowsResults());
}

TEST_F(ShellSearch, ShowingTheFolderAgainBringsItsSearchBack) {
    Enter(QStringLiteral("second"));
    ASSERT_TRUE(WaitForSearchEnd());
    // Off to another folder, to look at a file there.
    ASSERT_TRUE(ShowFolder(View(), PathOf("sub"), 1));
    EXPECT_FALSE(List().ShowsResults());
    EXPECT_TRUE(Box().currentText().isEmpty());
    EXPECT_EQ(Box().lineEdit()->placeholderText(), QStringLiteral("Search sub"));
    // Back: the search, its words in the box.
    ASSERT_TRUE(List().DisplayFolder(m_dir.path()));
    EXPECT_EQ(Box().currentText(), QStringLiteral("second"));
    ASSERT_TRUE(WaitForSearchEnd());
    EXPECT_TRUE(List().ShowsResults());
    EXPECT_EQ(Shown(), QStringList({"b.jpg in sub"}));
}

TEST_F(ShellSearch, AClickOnAResultShowsItsRows) {
    Enter(QString());
    ASSERT_TRUE(WaitForSearchEnd());
    const int folder = List().ListModel().FolderColumn();
    for (const auto& [row, bytes] : {std::pair{1, &m_second}, std::pair{2, &m_camera}}) {
        // Its Folder cell names it as well as its name does.
        emit List().itemClicked(row, folder, List().GetItemText(row, folder));
        EXPECT_EQ(RowsOf(frame->PropertiesPane()), ExpectedRows(*bytes)) << row;
    }
}

TEST_F(ShellSearch, TheBoxKeepsTheLastTenQueriesNewestFirst) {
    for (int i = 0; i < 12; ++i)
        Enter(QStringLiteral("iso:%1").arg(i));
    Enter(QStringLiteral("iso:5"));
    ASSERT_EQ(Box().count(), SearchBox::kHistory);
    EXPECT_EQ(Box().itemText(0), QStringLiteral("iso:5"));
    EXPECT_EQ(Box().itemText(1), QStringLiteral("iso:11"));
    EXPECT_EQ(Box().findText(QStringLiteral("iso:1")), -1);
    EXPECT_EQ(Box().currentText(), QStringLiteral("iso:5"));
}

TEST_F(ShellSearch, TheBoxAndTheFolderColumnAreNamed) {
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&Box())->text(QAccessible::Name),
              "Search " + FolderName());
    EXPECT_EQ(Box().lineEdit()->placeholderText(), "Search " + FolderName());
    EXPECT_FALSE(Box().toolTip().isEmpty());
    Enter(QString());
    ASSERT_TRUE(WaitForSearchEnd());
    QAccessibleInterface* files = QAccessible::queryAccessibleInterface(List().DetailsView());
    EXPECT_EQ(files->text(QAccessible::Name), "Search results in " + FolderName());
    QAccessibleTableInterface* table = files->tableInterface();
    const int folder = List().ListModel().FolderColumn();
    ASSERT_EQ(table->columnCount(), folder + 1);
    EXPECT_EQ(table->columnDescription(folder), QStringLiteral("Folder"));
    // The view lays out its rows on its own time.
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() > 1; }, kLoadTimeoutMs));
    QAccessibleInterface* cell = table->cellAt(1, folder);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("sub"));
    // Next to the names, where it is seen.
    EXPECT_EQ(List().DetailsView()->header()->visualIndex(folder), 1);
}

// The status bar's words, numbers grouped whatever the locale says.
TEST(SearchProgressText, CountsAreGroupedAndAgree) {
    const struct {
        SearchProgress progress;
        const char* text;
    } cases[] = {
        {{.photos = 18305, .matches = 1234, .folders = 212},
         "1,234 of 18,305 photos match \u00b7 212 folders"},
        {{.photos = 1, .matches = 1, .folders = 1}, "1 of 1 photo matches \u00b7 1 folder"},
        {{}, "0 of 0 photos match \u00b7 0 folders"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SearchProgressText(c.progress), QString::fromUtf8(c.text));
}

// The search alone, over more files than one hand-over takes.
class PhotoSearchRun : public ::testing::Test {
protected:
    static constexpr int kFiles = 240;
    static constexpr int kWaitMs = 5000;

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        const Bytes camera = fixture::CameraLikeJpeg();
        for (const char* folder : {"a", "b/c"}) {
            ASSERT_TRUE(QDir(m_dir.path()).mkpath(folder));
            for (int i = 0; i < kFiles / 2; ++i) {
                const QString name = QString::asprintf("%s/%03d.jpg", folder, i);
                ASSERT_TRUE(fixture::WriteFile(
                    QFile::encodeName(m_dir.filePath(name)).toStdString(), camera));
            }
        }
    }

    QTemporaryDir m_dir;
    PhotoSearch search;
    QueryError error;
};

TEST_F(PhotoSearchRun, TheFirstMatchComesAtOnceAndAllInTheWalksOrderTurnByTurn) {
    for (const size_t perTurn : {PhotoSearch::kRowsPerTurn, size_t{7}}) {
        SCOPED_TRACE(perTurn);
        PhotoSearch searching;
        searching.SetRowsPerTurn(perTurn);
        std::vector<std::vector<FolderEntry>> found;
        QObject::connect(&searching, &PhotoSearch::found,
                         [&] { found.push_back(searching.TakeFound()); });
        QSignalSpy finished(&searching, &PhotoSearch::finished);
        ASSERT_TRUE(searching.Start(m_dir.path(), QString(), error));
        ASSERT_TRUE(finished.wait(kWaitMs));
        ASSERT_GE(found.size(), 1u);
        EXPECT_EQ(found.front().size(), 1u);
        QStringList names;
        for (const std::vector<FolderEntry>& handOver : found) {
            EXPECT_LE(handOver.size(), perTurn);
            for (const FolderEntry& entry : handOver)
                names << entry.folderText + '/' + entry.displayName;
        }
        ASSERT_EQ(names.size(), kFiles);
        EXPECT_EQ(names.first(), QStringLiteral("a/000.jpg"));
        EXPECT_EQ(names[kFiles / 2], QStringLiteral("b/c/000.jpg"));
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
        EXPECT_EQ(searching.Progress().photos, kFiles);
        EXPECT_EQ(searching.Progress().folders, 4); // the searched one, a, b, b/c
        EXPECT_TRUE(searching.Progress().done);
        EXPECT_EQ(finished.size(), 1);
    }
}

TEST_F(PhotoSearchRun, AStoppedSearchHandsNothingMoreOver) {
    QSignalSpy found(&search, &PhotoSearch::found);
    QSignalSpy progressed(&search, &PhotoSearch::progressed);
    ASSERT_TRUE(search.Start(m_dir.path(), QString(), error));
    search.Stop();
    EXPECT_FALSE(search.IsRunning());
    QTest::qWait(200);
    EXPECT_EQ(found.size(), 0);
    EXPECT_EQ(progressed.size(), 0);
    // A new search runs to its end beside the stopped one's readers.
    QSignalSpy finished(&search, &PhotoSearch::finished);
    ASSERT_TRUE(search.Start(m_dir.path(), QStringLiteral("-make:nobody"), error));
    ASSERT_TRUE(finished.wait(kWaitMs));
    EXPECT_EQ(search.Progress().matches, kFiles);
}

} // namespace
