#include "framework/views/ColumnChooser.h"
#include "framework/views/NaturalOrder.h"
#include "framework/views/ShellFileList.h"
#include "framework/views/UserActivity.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>

namespace {

constexpr int kTimeoutMs = 10000;

TEST(NaturalOrder, CountsDigitRunsAndIgnoresCase) {
    const auto less = [](const char* a, const char* b) {
        return NaturalCompare(QString::fromUtf8(a), QString::fromUtf8(b)) < 0;
    };
    EXPECT_TRUE(less("a2", "a10"));
    EXPECT_FALSE(less("a10", "a2"));
    EXPECT_TRUE(less("IMG_9.jpg", "img_10.JPG"));
    EXPECT_TRUE(less("a", "B"));
    EXPECT_TRUE(less("x1y2", "x1y10"));
    EXPECT_TRUE(less("a", "a1"));
    // Longer than any machine integer, and with leading zeros.
    EXPECT_TRUE(less("n99999999999999999999999", "n100000000000000000000000"));
    EXPECT_EQ(NaturalCompare(u"a007", u"A7"), 0);
    EXPECT_TRUE(less("1", "a")); // digits before letters, as in the code table
    EXPECT_EQ(NaturalCompare(u"", u""), 0);
    EXPECT_TRUE(less("", "0"));
}

TEST(NaturalOrder, CellsSortNumbersBeforeTexts) {
    const FileColumnCell two{"2", 2.0};
    const FileColumnCell ten{"10", 10.0};
    const FileColumnCell text{"abc", std::nullopt};
    EXPECT_LT(CompareCells(two, ten), 0);
    EXPECT_GT(CompareCells(ten, two), 0);
    EXPECT_LT(CompareCells(ten, text), 0);
    EXPECT_GT(CompareCells(text, two), 0);
    EXPECT_TRUE((FileColumnCell{}).IsEmpty());
}

// Columns whose cells come from the files' contents: "n=NUMBER" gives a
// number, any other content a text, an empty file nothing. Counts its reads
// and can be slowed down.
class ContentColumns : public FileColumnProvider {
public:
    QStringList Titles() const override { return {QStringLiteral("Value")}; }
    std::vector<FileColumnCell> Read(const QByteArray& path) const override {
        ++reads;
        {
            const std::lock_guard lock(mutex);
            readPaths.insert(path);
        }
        if (delayMs > 0)
            QThread::msleep(delayMs);
        QFile file(QFile::decodeName(path));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString content = QString::fromUtf8(file.readAll());
        if (content.isEmpty())
            return {};
        if (content.startsWith(u"n="))
            return {{content.mid(2), content.mid(2).toDouble()}};
        return {{content, std::nullopt}};
    }
    mutable std::atomic<int> reads{0};
    mutable std::mutex mutex;
    mutable std::set<QByteArray> readPaths;
    int delayMs = 0;
};

void Write(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList Names(const ShellFileList& list) {
    QStringList names;
    for (int i = 0; i < list.GetItemCount(); ++i)
        names << list.GetItemText(i, 0);
    return names;
}

class FileColumnsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = QDir(dir.path()).canonicalPath();
        list.resize(600, 300);
    }
    bool Show(const QString& folder, int count) {
        FolderListModel& model = list.ListModel();
        return list.DisplayFolder(folder) &&
               QTest::qWaitFor([&] { return list.GetItemCount() == count && model.ColumnsRead(); },
                               kTimeoutMs);
    }
    void SortBy(int column, Qt::SortOrder order) {
        list.DetailsView()->sortByColumn(column, order);
    }

    QTemporaryDir dir;
    QString root;
    ShellFileList list;
    std::shared_ptr<ContentColumns> columns = std::make_shared<ContentColumns>();
};

TEST_F(FileColumnsFixture, NamesSortNaturallyAndKeepTheirOrderForTies) {
    for (const char* name : {"a10.jpg", "a2.jpg", "A1.jpg", "b.jpg", "a02.jpg"})
        Write(root + "/" + name, "x");
    ASSERT_TRUE(Show(root, 5));
    // a2 and a02 tie by number; their bytes break the tie, "a02" first.
    EXPECT_EQ(Names(list), QStringList({"A1.jpg", "a02.jpg", "a2.jpg", "a10.jpg", "b.jpg"}));
    SortBy(FolderListModel::NameColumn, Qt::DescendingOrder);
    EXPECT_EQ(Names(list), QStringList({"b.jpg", "a10.jpg", "a2.jpg", "a02.jpg", "A1.jpg"}));
}

TEST_F(FileColumnsFixture, ColumnsAreFilledInTheBackgroundAndSortWithEmptyCellsLast) {
    list.SetColumnProvider(columns);
    Write(root + "/f1", "n=10");
    Write(root + "/f2", "n=9");
    Write(root + "/f3", "");
    Write(root + "/f4", "n=100");
    Write(root + "/f5", "text");
    ASSERT_TRUE(Show(root, 5));
    const int value = FolderListModel::ColumnCount;
    ASSERT_EQ(list.Model().columnCount(), value + 1);
    EXPECT_EQ(list.Model().headerData(value, Qt::Horizontal).toString(), "Value");
    EXPECT_EQ(list.GetItemText(0, value), "10");
    EXPECT_EQ(list.GetItemText(2, value), "");

    // Numbers as numbers (9 before 10 before 100), then texts, then files
    // without a value, in both orders.
    SortBy(value, Qt::AscendingOrder);
    EXPECT_EQ(Names(list), QStringList({"f2", "f1", "f4", "f5", "f3"}));
    SortBy(value, Qt::DescendingOrder);
    EXPECT_EQ(Names(list), QStringList({"f5", "f4", "f1", "f2", "f3"}));

    // A file that changes on disk is read again and moves to its place.
    Write(root + "/f3", "n=1");
    list.Refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemText(4, value) == "1"; }, kTimeoutMs));
    EXPECT_EQ(Names(list), QStringList({"f5", "f4", "f1", "f2", "f3"}));
    SortBy(value, Qt::AscendingOrder);
    EXPECT_EQ(Names(list).first(), "f3");
}

TEST_F(FileColumnsFixture, AFolderLeftMidWayIsReadNoFurther) {
    columns->delayMs = 5;
    list.SetColumnProvider(columns);
    ASSERT_TRUE(QDir(root).mkdir("big"));
    ASSERT_TRUE(QDir(root).mkdir("small"));
    constexpr int kBig = 400;
    for (int i = 0; i < kBig; ++i)
        Write(root + QStringLiteral("/big/p%1").arg(i), "n=1");
    Write(root + "/small/only", "n=42");

    ASSERT_TRUE(list.DisplayFolder(root + "/big"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return columns->reads.load() > 10; }, kTimeoutMs));
    ASSERT_TRUE(Show(root + "/small", 1));
    EXPECT_EQ(list.GetItemText(0, FolderListModel::ColumnCount), "42");
    const int readsThen = columns->reads.load();
    QTest::qWait(200);
    // At most the jobs running at the change finish their file.
    EXPECT_LE(columns->reads.load(), readsThen + 2);
    EXPECT_LT(readsThen, kBig / 2);
}

// A click anywhere in the application holds the cells read back until the
// user pauses: what the click changes is painted first.
TEST_F(FileColumnsFixture, CellsWaitWhileTheUserClicks) {
    columns->delayMs = 5;
    list.SetColumnProvider(columns);
    constexpr int kFiles = 400;
    for (int i = 0; i < kFiles; ++i)
        Write(root + QStringLiteral("/p%1").arg(i), "n=1");
    const auto filled = [&] {
        int cells = 0;
        for (int row = 0; row < list.GetItemCount(); ++row)
            cells += !list.GetItemText(row, FolderListModel::ColumnCount).isEmpty();
        return cells;
    };
    ASSERT_TRUE(list.DisplayFolder(root));
    ASSERT_TRUE(QTest::qWaitFor([&] { return filled() > 0; }, kTimeoutMs));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.DetailsView()->viewport(), &press);
    const int atClick = filled();
    ASSERT_LT(atClick, kFiles / 2);
    QTest::qWait(UserActivity::kBusyMs / 2);
    EXPECT_EQ(filled(), atClick);
    EXPECT_TRUE(QTest::qWaitFor([&] { return filled() == kFiles; }, kTimeoutMs));
}

// An input is answered before any background reading goes on: the flag
// the readers stand aside for is set with "busy" and clears on its own.
TEST(UserActivity, AnInputIsAnsweredBeforeReadingGoesOn) {
    UserActivity activity;
    QWidget widget;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &key);
    EXPECT_TRUE(*activity.Answering() && activity.IsBusy());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !*activity.Answering(); }, kTimeoutMs));
    activity.Calm();
    EXPECT_FALSE(activity.IsBusy());
}

TEST_F(FileColumnsFixture, TheHeaderMenuShowsAndHidesColumnsButNeverTheName) {
    list.SetColumnProvider(columns);
    QHeaderView* header = list.DetailsView()->header();
    std::unique_ptr<QMenu> menu(ColumnChooserMenu(*header));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), FolderListModel::ColumnCount + 1);
    EXPECT_EQ(actions[0]->text(), "Name");
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_EQ(actions.last()->text(), "Value");
    EXPECT_TRUE(actions.last()->isChecked());
    actions.last()->trigger();
    EXPECT_TRUE(header->isSectionHidden(FolderListModel::ColumnCount));
    actions.last()->trigger();
    EXPECT_FALSE(header->isSectionHidden(FolderListModel::ColumnCount));

    // The state kept between runs brings back order, visibility and sorting.
    header->setSectionHidden(FolderListModel::SizeColumn, true);
    header->moveSection(FolderListModel::ColumnCount, 1);
    SortBy(FolderListModel::ColumnCount, Qt::DescendingOrder);
    const QByteArray state = list.SaveColumnState();
    ShellFileList other;
    other.SetColumnProvider(columns);
    ASSERT_TRUE(other.RestoreColumnState(state));
    QHeaderView* restored = other.DetailsView()->header();
    EXPECT_TRUE(restored->isSectionHidden(FolderListModel::SizeColumn));
    EXPECT_EQ(restored->visualIndex(FolderListModel::ColumnCount), 1);
    EXPECT_EQ(restored->sortIndicatorSection(), FolderListModel::ColumnCount);
    EXPECT_EQ(restored->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_FALSE(other.RestoreColumnState("not a header state"));
}

} // namespace

// A folder is listed in a few sorted batches, the first a screenful, before
// any file is opened for its columns; the cells then repaint only their own
// columns.
TEST_F(FileColumnsFixture, NamesComeInBoundedBatchesBeforeColumnsAreRead) {
    list.SetColumnProvider(columns);
    constexpr int kFiles = 300;
    for (int i = kFiles - 1; i >= 0; --i)
        Write(root + QStringLiteral("/p%1").arg(i), QByteArray("n=") + QByteArray::number(i));
    const FolderListModel& model = list.ListModel();
    std::vector<int> batches;
    std::vector<int> readsWhenInserted;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, &list,
                     [&](const QModelIndex&, int first, int last) {
                         batches.push_back(last - first + 1);
                         readsWhenInserted.push_back(columns->reads.load());
                     });
    std::vector<std::pair<int, int>> changedColumns;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, &list,
                     [&](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                         changedColumns.emplace_back(topLeft.column(), bottomRight.column());
                     });
    ASSERT_TRUE(Show(root, kFiles));

    ASSERT_FALSE(batches.empty());
    EXPECT_LE(size_t(batches.front()), FolderListModel::kFirstBatch);
    int total = 0;
    for (const int rows : batches) {
        EXPECT_LE(size_t(rows), FolderListModel::kBatch);
        total += rows;
    }
    EXPECT_EQ(total, kFiles);
    for (const int reads : readsWhenInserted)
        EXPECT_EQ(reads, 0);

    const int value = FolderListModel::ColumnCount;
    for (int row = 0; row < kFiles; ++row) {
        ASSERT_EQ(list.GetItemText(row, 0), QStringLiteral("p%1").arg(row));
        ASSERT_EQ(list.GetItemText(row, value), QString::number(row));
    }
    ASSERT_FALSE(changedColumns.empty());
    for (const auto& [left, right] : changedColumns) {
        EXPECT_EQ(left, value);
        EXPECT_EQ(right, value);
    }
}
