#include "framework/views/LocalPath.h"
#include "framework/views/ShellFileList.h"
#include "framework/views/ShellFolderTree.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <set>
#include <utility>

namespace {

constexpr int kLoadTimeoutMs = 10000;

void WriteFile(const QString& path, const QByteArray& content = "x") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

// A file under exactly these name bytes, created bypassing any decoding and
// removed the same way: Qt cannot list a name that is not UTF-8, so it could
// not remove it either.
struct RawFile {
    explicit RawFile(QByteArray name) : path(std::move(name)) {}
    ~RawFile() { ::unlink(path.constData()); }
    QByteArray path;
};

void WriteRawFile(const QByteArray& path, const QByteArray& content) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, content.constData(), content.size()), content.size());
    ::close(fd);
}

QByteArray ReadRawFile(const QByteArray& path) {
    QByteArray content(64, '\0');
    const int fd = ::open(path.constData(), O_RDONLY);
    const ssize_t got = fd >= 0 ? ::read(fd, content.data(), content.size()) : -1;
    if (fd >= 0)
        ::close(fd);
    content.resize(got > 0 ? got : 0);
    return content;
}

std::set<QString> ItemNames(const ShellFileList& list) {
    std::set<QString> names;
    for (int i = 0; i < list.GetItemCount(); ++i)
        names.insert(list.GetItemText(i, 0));
    return names;
}

bool WaitForCount(const ShellFileList& list, int count, int timeoutMs = kLoadTimeoutMs) {
    return QTest::qWaitFor([&] { return list.GetItemCount() == count; }, timeoutMs);
}

// Catches what the list hands to the desktop instead of launching anything.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

// A folder with two files, a hidden file and a sub-folder, shown in a list.
class ShellListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = QDir(dir.path()).canonicalPath();
        WriteFile(root + "/b.txt", "bb");
        WriteFile(root + "/a.jpg", "a");
        WriteFile(root + "/.hidden", "h");
        ASSERT_TRUE(QDir(root).mkdir("sub"));
        WriteFile(root + "/sub/inner.jpg");
        list.resize(400, 300);
    }

    QTemporaryDir dir;
    QString root;
    ShellFileList list;
};

} // namespace

TEST_F(ShellListFixture, ListsTheFilesOfTheFolderButNoFoldersOrHiddenFiles) {
    QSignalSpy loaded(&list, &ShellFileList::folderLoaded);
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForCount(list, 2));
    EXPECT_EQ(ItemNames(list), (std::set<QString>{"a.jpg", "b.txt"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded.count() > 0; }, kLoadTimeoutMs));

    // Visiting the sub-folder and coming back must not leave it as an item.
    ASSERT_TRUE(list.DisplayFolder(root + "/sub"));
    ASSERT_TRUE(WaitForCount(list, 1));
    EXPECT_EQ(ItemNames(list), (std::set<QString>{"inner.jpg"}));
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForCount(list, 2));
    QTest::qWait(300); // let a late sort or refilter show up
    EXPECT_EQ(ItemNames(list), (std::set<QString>{"a.jpg", "b.txt"}));
}

TEST_F(ShellListFixture, ReportsItemTextPathAndTheCurrentFolder) {
    QString path;
    EXPECT_FALSE(list.GetCurrentFolder(path));
    EXPECT_FALSE(list.GetCurrentFolderName(path));
    EXPECT_FALSE(list.GetItemPath(0, path));

    QSignalSpy changed(&list, &ShellFileList::folderChanged);
    ASSERT_TRUE(list.DisplayFolder(root + "/sub/../"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), root);
    ASSERT_TRUE(list.GetCurrentFolder(path));
    EXPECT_EQ(path, root);
    ASSERT_TRUE(list.GetCurrentFolderName(path));
    EXPECT_EQ(path, QFileInfo(root).fileName());

    ASSERT_TRUE(WaitForCount(list, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemText(0, 0) == "a.jpg"; }, kLoadTimeoutMs));
    ASSERT_TRUE(list.GetItemPath(0, path));
    EXPECT_EQ(path, root + "/a.jpg");
    EXPECT_EQ(list.GetItemPathBytes(0), QFile::encodeName(root + "/a.jpg"));
    EXPECT_FALSE(list.GetItemText(0, 1).isEmpty()); // size
    EXPECT_TRUE(list.GetItemText(2, 0).isEmpty());
    EXPECT_TRUE(list.GetItemText(0, 4).isEmpty());
    EXPECT_TRUE(list.GetItemText(-1, 0).isEmpty());
    EXPECT_FALSE(list.GetItemPath(2, path));
    EXPECT_TRUE(path.isEmpty());
    EXPECT_TRUE(list.GetItemPathBytes(-1).isEmpty());

    ASSERT_TRUE(list.DisplayFolder("/"));
    ASSERT_TRUE(list.GetCurrentFolderName(path));
    EXPECT_EQ(path, "/");
}

TEST_F(ShellListFixture, RefusesWhatIsNotAReadableFolderAndKeepsTheOldOne) {
    ASSERT_TRUE(list.DisplayFolder(root + "/sub"));
    QSignalSpy changed(&list, &ShellFileList::folderChanged);
    for (const QString& bad : {QString(), QStringLiteral("relative/path"), QStringLiteral("."),
                               root + "/missing", root + "/a.jpg"})
        EXPECT_FALSE(list.DisplayFolder(bad)) << bad.toStdString();
    if (::geteuid() != 0) { // root reads everything
        ASSERT_TRUE(QDir(root).mkdir("locked"));
        QFile::setPermissions(root + "/locked", QFileDevice::WriteOwner);
        EXPECT_FALSE(list.DisplayFolder(root + "/locked"));
        QFile::setPermissions(root + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
    }
    EXPECT_EQ(changed.count(), 0);
    QString path;
    ASSERT_TRUE(list.GetCurrentFolder(path));
    EXPECT_EQ(path, root + "/sub");
}

TEST_F(ShellListFixture, FollowsChangesOnDisk) {
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForCount(list, 2));
    WriteFile(root + "/new.png");
    EXPECT_TRUE(WaitForCount(list, 3));
    EXPECT_TRUE(ItemNames(list).count("new.png"));
    ASSERT_TRUE(QFile::remove(root + "/b.txt"));
    EXPECT_TRUE(WaitForCount(list, 2));
    EXPECT_FALSE(ItemNames(list).count("b.txt"));
    // A new sub-folder is no item.
    ASSERT_TRUE(QDir(root).mkdir("later"));
    QTest::qWait(500);
    EXPECT_FALSE(ItemNames(list).count("later"));
}

TEST_F(ShellListFixture, SwitchesBetweenTheFourLayouts) {
    EXPECT_EQ(list.GetViewMode(), ShellFileList::ViewMode::Details);
    EXPECT_EQ(list.CurrentView(), list.DetailsView());
    ASSERT_TRUE(list.DisplayFolder(root));

    // Details: name, size, type and date, all shown.
    const QAbstractItemModel& model = list.Model();
    ASSERT_EQ(model.columnCount(list.DetailsView()->rootIndex()), 4);
    for (int column = 0; column < 4; ++column) {
        EXPECT_FALSE(model.headerData(column, Qt::Horizontal).toString().isEmpty());
        EXPECT_FALSE(list.DetailsView()->header()->isSectionHidden(column));
    }

    list.SetViewMode(ShellFileList::ViewMode::LargeIcons);
    EXPECT_EQ(list.GetViewMode(), ShellFileList::ViewMode::LargeIcons);
    EXPECT_EQ(list.CurrentView(), list.IconView());
    EXPECT_EQ(list.IconView()->viewMode(), QListView::IconMode);
    EXPECT_EQ(list.IconView()->iconSize(), QSize(96, 96));

    list.SetViewMode(ShellFileList::ViewMode::SmallIcons);
    EXPECT_EQ(list.IconView()->viewMode(), QListView::ListMode);
    EXPECT_EQ(list.IconView()->flow(), QListView::LeftToRight);
    EXPECT_EQ(list.IconView()->iconSize(), QSize(16, 16));

    list.SetViewMode(ShellFileList::ViewMode::List);
    EXPECT_EQ(list.IconView()->viewMode(), QListView::ListMode);
    EXPECT_EQ(list.IconView()->flow(), QListView::TopToBottom);
    EXPECT_TRUE(list.IconView()->isWrapping());

    // Both layouts show the same folder and share one selection.
    EXPECT_EQ(list.IconView()->rootIndex(), list.DetailsView()->rootIndex());
    EXPECT_EQ(list.IconView()->selectionModel(), list.DetailsView()->selectionModel());
    list.SetViewMode(ShellFileList::ViewMode::Details);
    EXPECT_EQ(list.CurrentView(), list.DetailsView());
    // The numbers are the list-view style bits the window code switches.
    EXPECT_EQ(int(ShellFileList::ViewMode::LargeIcons), 0);
    EXPECT_EQ(int(ShellFileList::ViewMode::Details), 1);
    EXPECT_EQ(int(ShellFileList::ViewMode::SmallIcons), 2);
    EXPECT_EQ(int(ShellFileList::ViewMode::List), 3);
}

TEST_F(ShellListFixture, ReportsClicksOnCellsAndOnBlankSpace) {
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForCount(list, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemText(1, 0) == "b.txt"; }, kLoadTimeoutMs));
    QSignalSpy clicked(&list, &ShellFileList::itemClicked);

    QTreeView* details = list.DetailsView();
    const QRect sizeCell = details->visualRect(list.ItemIndex(1, 1));
    ASSERT_TRUE(sizeCell.isValid());
    QTest::mouseClick(details->viewport(), Qt::LeftButton, {}, sizeCell.center());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 1);
    EXPECT_EQ(clicked.at(0).at(2).toString(), list.GetItemText(1, 1));

    QTest::mouseClick(details->viewport(), Qt::LeftButton, {},
                      QPoint(10, details->viewport()->height() - 5));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), -1);
    EXPECT_TRUE(clicked.at(1).at(2).toString().isEmpty());

    // Moving the selection by keyboard is no click.
    details->setFocus();
    QTest::keyClick(details, Qt::Key_Up);
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(ShellListFixture, DoubleClickAndEnterOpenTheFileAndChangeNothingElse) {
    UrlCatcher catcher;
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForCount(list, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemText(0, 0) == "a.jpg"; }, kLoadTimeoutMs));
    QSignalSpy changed(&list, &ShellFileList::folderChanged);
    QSignalSpy activated(&list, &ShellFileList::itemActivated);

    for (ShellFileList::ViewMode mode :
         {ShellFileList::ViewMode::Details, ShellFileList::ViewMode::LargeIcons}) {
        list.SetViewMode(mode);
        QAbstractItemView* view = list.CurrentView();
        view->doItemsLayout();
        const QRect cell = view->visualRect(list.ItemIndex(0));
        ASSERT_TRUE(cell.isValid());
        // A real double-click: a click, then the double-click event.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
    list.DetailsView()->setCurrentIndex(list.ItemIndex(1));
    list.SetViewMode(ShellFileList::ViewMode::Details);
    QTest::keyClick(list.DetailsView(), Qt::Key_Return);

    ASSERT_EQ(catcher.opened.size(), 3);
    EXPECT_EQ(catcher.opened.at(0).toLocalFile(), root + "/a.jpg");
    EXPECT_EQ(catcher.opened.at(1).toLocalFile(), root + "/a.jpg");
    EXPECT_EQ(catcher.opened.at(2).toLocalFile(), root + "/b.txt");
    EXPECT_EQ(activated.count(), 3);
    EXPECT_EQ(changed.count(), 0);
    QString folder;
    ASSERT_TRUE(list.GetCurrentFolder(folder));
    EXPECT_EQ(folder, root);
}

// Every name is listed, valid UTF-8 or not, and each item's bytes open its own
// file, never the one whose name decodes alike.
TEST_F(ShellListFixture, ItemBytesNameTheListedFileAndNoLookalike) {
    const QByteArray folder = QFile::encodeName(root) + "/sub";
    const QByteArray invalid = folder + "/a\xff.jpg";
    const QByteArray lookalike = folder + "/a\xef\xbf\xbd.jpg"; // U+FFFD, how \xff decodes
    const RawFile invalidFile(invalid);
    const RawFile lookalikeFile(lookalike);
    WriteRawFile(invalid, "invalid");
    WriteRawFile(lookalike, "lookalike");
    ASSERT_TRUE(QFile::remove(root + "/sub/inner.jpg"));

    QSignalSpy loaded(&list, &ShellFileList::folderLoaded);
    ASSERT_TRUE(list.DisplayFolder(root + "/sub"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() > 0; }, kLoadTimeoutMs));
    QTest::qWait(200);
    ASSERT_EQ(list.GetItemCount(), 2);
    const int invalidRow = list.GetItemPathBytes(0) == invalid ? 0 : 1;
    const int lookalikeRow = 1 - invalidRow;
    ASSERT_EQ(list.GetItemPathBytes(invalidRow), invalid);
    ASSERT_EQ(list.GetItemPathBytes(lookalikeRow), lookalike);
    EXPECT_EQ(ReadRawFile(list.GetItemPathBytes(invalidRow)), "invalid");
    EXPECT_EQ(ReadRawFile(list.GetItemPathBytes(lookalikeRow)), "lookalike");
    EXPECT_NE(list.GetItemText(invalidRow, 0), list.GetItemText(lookalikeRow, 0));

    // No text stands for the invalid name; the valid one has its path.
    QString path;
    EXPECT_FALSE(list.GetItemPath(invalidRow, path));
    EXPECT_TRUE(path.isEmpty());
    ASSERT_TRUE(list.GetItemPath(lookalikeRow, path));
    EXPECT_EQ(path, QFile::decodeName(lookalike));

    // The URL handed to the desktop carries the bytes, whatever they are.
    UrlCatcher catcher;
    ASSERT_TRUE(list.OpenItem(invalidRow));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.at(0).toEncoded(), "file://" + folder + "/a%FF.jpg");
    EXPECT_EQ(LocalFileUrl(invalid).toEncoded(), "file://" + folder + "/a%FF.jpg");
    EXPECT_EQ(LocalFileUrl(lookalike).toLocalFile(), QFile::decodeName(lookalike));
    EXPECT_TRUE(LocalFileUrl("relative").isEmpty());
    EXPECT_TRUE(LocalPathBytes(QString(QChar(0xD800))).isEmpty());
}

// A Latin-1 name, as old cameras and disks write them, reads as Latin-1 and
// is found again when the folder changes on disk.
TEST_F(ShellListFixture, ALatin1NameIsShownReadablyAndKeepsItsBytes) {
    const QByteArray latin1 = QFile::encodeName(root) + "/caf\xe9.jpg";
    const RawFile file(latin1);
    WriteRawFile(latin1, "latin1");
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForCount(list, 3));
    const QString shown = QString::fromLatin1("caf\xe9.jpg");
    EXPECT_EQ(ItemNames(list), (std::set<QString>{"a.jpg", "b.txt", shown}));
    int row = 0;
    while (row < list.GetItemCount() && list.GetItemText(row, 0) != shown)
        ++row;
    EXPECT_EQ(list.GetItemPathBytes(row), latin1);
    EXPECT_EQ(ReadRawFile(list.GetItemPathBytes(row)), "latin1");
    EXPECT_EQ(list.GetItemText(row, 2), list.GetItemText(0, 2)); // a JPEG like a.jpg
    EXPECT_FALSE(list.GetItemText(row, 1).isEmpty());

    ::unlink(latin1.constData());
    EXPECT_TRUE(WaitForCount(list, 2));
    EXPECT_EQ(ItemNames(list), (std::set<QString>{"a.jpg", "b.txt"}));
}

// Changes on disk keep the rows that stay, so the user's selection holds;
// a folder left before it was read adds nothing to the next one.
TEST_F(ShellListFixture, ChangesKeepTheSelectionAndALeftFolderAddsNothing) {
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForCount(list, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemText(1, 0) == "b.txt"; }, kLoadTimeoutMs));
    list.DetailsView()->setCurrentIndex(list.ItemIndex(1));
    WriteFile(root + "/0.jpg");
    ASSERT_TRUE(WaitForCount(list, 3));
    const QModelIndex current = list.DetailsView()->currentIndex();
    EXPECT_EQ(list.GetItemText(current.row(), 0), "b.txt");
    EXPECT_EQ(current.row(), 2);

    QSignalSpy loaded(&list, &ShellFileList::folderLoaded);
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(list.DisplayFolder(root + "/sub"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded.count() > 0; }, kLoadTimeoutMs));
    QTest::qWait(300);
    EXPECT_EQ(ItemNames(list), (std::set<QString>{"inner.jpg"}));
    EXPECT_EQ(loaded.count(), 1);
}

TEST(ShellFileListLoad, ALargeFolderLoadsWithoutStallingTheWindow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    constexpr int kFiles = 10000;
    for (int i = 0; i < kFiles; ++i)
        WriteRawFile(QFile::encodeName(dir.path()) + "/photo" + QByteArray::number(i) + ".jpg", "");

    for (ShellFileList::ViewMode mode :
         {ShellFileList::ViewMode::Details, ShellFileList::ViewMode::LargeIcons}) {
        ShellFileList list;
        list.resize(800, 600);
        list.SetViewMode(mode);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

        // The event loop keeps turning while the items arrive.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestGap = qMax(longestGap, sinceTick.restart()); });
        QElapsedTimer call;
        call.start();
        ASSERT_TRUE(list.DisplayFolder(dir.path()));
        EXPECT_LT(call.elapsed(), 1000);
        sinceTick.start();
        ticker.start();
        EXPECT_TRUE(WaitForCount(list, kFiles, 60000)) << list.GetItemCount();
        QTest::qWait(500); // the sort that follows the loading
        ticker.stop();
        EXPECT_LT(longestGap, 1500) << "mode " << int(mode);
    }
}

TEST(ShellFolderTree, ShowsThePlacesAndEveryFolderUnderComputerWithHomeSelected) {
    ShellFolderTree tree;
    EXPECT_EQ(tree.SelectedFolder(), QDir::cleanPath(QDir::homePath()));
    EXPECT_EQ(tree.model()->index(tree.model()->rowCount() - 1, 0).data().toString(), "Computer");
    EXPECT_EQ(tree.Model().rootPath(), "/");
    EXPECT_TRUE(tree.Model().filter().testFlag(QDir::Dirs));
    EXPECT_FALSE(tree.Model().filter().testFlag(QDir::Files));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = QDir(dir.path()).canonicalPath();
    WriteFile(root + "/file.jpg");
    ASSERT_TRUE(QDir(root).mkdir("child"));
    ASSERT_TRUE(tree.SelectFolder(root));
    EXPECT_EQ(tree.SelectedFolder(), root);
    const QModelIndex index = tree.Model().index(root);
    EXPECT_TRUE(tree.isExpanded(tree.IndexOf(root).parent()));
    tree.expand(tree.IndexOf(root));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.Model().rowCount(index) == 1; }, kLoadTimeoutMs));
    QTest::qWait(200);
    ASSERT_EQ(tree.Model().rowCount(index), 1);
    EXPECT_EQ(tree.Model().index(0, 0, index).data().toString(), "child");
    EXPECT_FALSE(tree.SelectFolder(root + "/missing"));
}

TEST(ShellFolderTree, ChoosingAFolderShowsItInTheRelatedList) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = QDir(dir.path()).canonicalPath();
    ASSERT_TRUE(QDir(root).mkdir("one"));
    WriteFile(root + "/one/pic.jpg");

    ShellFolderTree tree;
    ShellFileList list;
    QSignalSpy changed(&list, &ShellFileList::folderChanged);
    ASSERT_TRUE(tree.SelectFolder(root));
    EXPECT_EQ(changed.count(), 0); // not tied yet

    // Tying a list that shows nothing shows it the selected folder.
    tree.SetRelatedList(&list);
    ASSERT_EQ(changed.count(), 1);
    QString shown;
    ASSERT_TRUE(list.GetCurrentFolder(shown));
    EXPECT_EQ(shown, root);

    ASSERT_TRUE(tree.SelectFolder(root + "/one"));
    ASSERT_EQ(changed.count(), 2);
    ASSERT_TRUE(list.GetCurrentFolder(shown));
    EXPECT_EQ(shown, root + "/one");
    EXPECT_TRUE(WaitForCount(list, 1));

    // Untied, the tree leaves the list alone.
    tree.SetRelatedList(nullptr);
    ASSERT_TRUE(tree.SelectFolder(root));
    EXPECT_EQ(changed.count(), 2);
}

TEST(ShellFolderTree, ForgetsARelatedListThatIsGone) {
    ShellFolderTree tree;
    {
        ShellFileList list;
        tree.SetRelatedList(&list);
    }
    EXPECT_EQ(tree.RelatedList(), nullptr);
    EXPECT_TRUE(tree.SelectFolder(QDir::rootPath()));
}

#include "FrameworkShellListTest.moc"

namespace {

// What a Details cell needs to show `text` whole: the text and the margins
// the item delegate keeps on both sides of it.
int RoomFor(const QTreeView& view, const QString& text) {
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return view.fontMetrics().horizontalAdvance(text) + 2 * margin;
}

int RowOf(const ShellFileList& list, const QString& name) {
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetItemText(row, 0) == name)
            return row;
    return -1;
}

bool WaitForLoad(QSignalSpy& loaded, int count) {
    return QTest::qWaitFor([&] { return loaded.count() >= count; }, kLoadTimeoutMs);
}

} // namespace

TEST_F(ShellListFixture, DetailsColumnsFitAFolderAndKeepAWidthTheUserSet) {
    // A date with two-digit day and hour, and a long name in a second folder.
    QFile jpeg(root + "/a.jpg");
    ASSERT_TRUE(jpeg.open(QIODevice::ReadWrite));
    ASSERT_TRUE(jpeg.setFileTime(QDateTime(QDate(2026, 12, 17), QTime(10, 45)),
                                 QFileDevice::FileModificationTime));
    jpeg.close();
    WriteFile(root + "/sub/a rather long name of a picture taken on holiday.jpg");

    QTreeView& view = *list.DetailsView();
    QHeaderView& header = *view.header();
    QSignalSpy loaded(&list, &ShellFileList::folderLoaded);
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForLoad(loaded, 1));
    for (int row = 0; row < list.GetItemCount(); ++row)
        for (int column = 0; column < FolderListModel::ColumnCount; ++column)
            EXPECT_GE(header.sectionSize(column), RoomFor(view, list.GetItemText(row, column)))
                << list.GetItemText(row, column).toStdString();
    EXPECT_GE(header.sectionSize(FolderListModel::DateColumn), RoomFor(view, "Date Modified"));

    // The user narrows the date and widens the type; the next folder keeps both
    // and fits the others to what it holds.
    header.resizeSection(FolderListModel::DateColumn, 60);
    header.resizeSection(FolderListModel::TypeColumn, 333);
    ASSERT_TRUE(list.DisplayFolder(root + "/sub"));
    ASSERT_TRUE(WaitForLoad(loaded, 2));
    EXPECT_EQ(header.sectionSize(FolderListModel::DateColumn), 60);
    EXPECT_EQ(header.sectionSize(FolderListModel::TypeColumn), 333);
    const int longName = RowOf(list, "a rather long name of a picture taken on holiday.jpg");
    ASSERT_GE(longName, 0);
    EXPECT_GE(header.sectionSize(FolderListModel::NameColumn),
              RoomFor(view, list.GetItemText(longName, FolderListModel::NameColumn)));

    // And so does coming back.
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(WaitForLoad(loaded, 3));
    EXPECT_EQ(header.sectionSize(FolderListModel::DateColumn), 60);
    EXPECT_EQ(header.sectionSize(FolderListModel::TypeColumn), 333);
}

namespace {

// A search result as a search hands it over.
FolderEntry Result(const char* folder, const char* name, qint64 size) {
    FolderEntry entry;
    entry.name = name;
    entry.displayName = QString::fromUtf8(name);
    entry.size = size;
    entry.folder = folder;
    entry.folderText = QString::fromUtf8(folder);
    return entry;
}

QStringList Rows(const ShellFileList& list, int folderColumn) {
    QStringList rows;
    for (int row = 0; row < list.GetItemCount(); ++row)
        rows << list.GetItemText(row, folderColumn) + '/' + list.GetItemText(row, 0);
    return rows;
}

} // namespace

// Results stay in the order found until a column sorts them, merge into the
// chosen order as they come, and give way to the folder's own files, sorted
// as they were, with the Folder column gone.
TEST(ShellFileListResults, KeepTheOrderFoundUntilSortedAndEndWithTheFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath("top.jpg"));
    ShellFileList list;
    QHeaderView* header = list.DetailsView()->header();
    header->setSortIndicator(FolderListModel::SizeColumn, Qt::DescendingOrder);
    ASSERT_TRUE(list.DisplayFolder(dir.path()));
    ASSERT_TRUE(WaitForCount(list, 1));
    EXPECT_EQ(list.ListModel().FolderColumn(), -1);

    ASSERT_TRUE(list.ShowResults(dir.path()));
    EXPECT_EQ(list.GetItemCount(), 0);
    const int folder = list.ListModel().FolderColumn();
    ASSERT_EQ(folder, list.Model().columnCount() - 1);
    EXPECT_EQ(list.Model().headerData(folder, Qt::Horizontal).toString(), "Folder");
    list.AddResults({Result(".", "b.jpg", 3), Result("x/y", "a.jpg", 1)});
    list.AddResults({Result("x", "c.jpg", 2)});
    EXPECT_EQ(Rows(list, folder), QStringList({"./b.jpg", "x/y/a.jpg", "x/c.jpg"}));
    EXPECT_EQ(list.GetItemPathBytes(1), QFile::encodeName(dir.filePath("x/y/a.jpg")));
    EXPECT_EQ(list.GetItemPathBytes(0), QFile::encodeName(dir.filePath("b.jpg")));
    EXPECT_EQ(list.ItemIndex(1).data(Qt::ToolTipRole).toString(), "x/y/a.jpg");

    header->setSortIndicator(folder, Qt::AscendingOrder);
    EXPECT_EQ(Rows(list, folder), QStringList({"./b.jpg", "x/c.jpg", "x/y/a.jpg"}));
    list.AddResults({Result("w", "d.jpg", 4)});
    EXPECT_EQ(Rows(list, folder), QStringList({"./b.jpg", "w/d.jpg", "x/c.jpg", "x/y/a.jpg"}));
    // No column: the order found again.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    EXPECT_EQ(Rows(list, folder), QStringList({"./b.jpg", "x/y/a.jpg", "x/c.jpg", "w/d.jpg"}));

    ASSERT_TRUE(list.DisplayFolder(dir.path()));
    ASSERT_TRUE(WaitForCount(list, 1));
    EXPECT_EQ(list.ListModel().FolderColumn(), -1);
    EXPECT_EQ(list.Model().columnCount(), FolderListModel::ColumnCount);
    EXPECT_EQ(header->sortIndicatorSection(), FolderListModel::SizeColumn);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    // Results outside a results view are not taken.
    list.AddResults({Result("x", "e.jpg", 5)});
    EXPECT_EQ(list.GetItemCount(), 1);
}
