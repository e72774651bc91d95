#include "framework/views/ColumnChooser.h"
#include "presentation/window/PhotoColumns.h"
#include "tests/presentation/window/InspectionTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

#include <QHeaderView>
#include <QMenu>

// The file list's own menu, the keys of its layouts, the photographs'
// columns and what of the list is kept between runs.

namespace {

class ShellListMenu : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        frame = MakeFrame();
        ASSERT_TRUE(fixture::WriteFile(QFile::encodeName(PathOf("a.jpg")).toStdString(),
                                       fixture::CameraLikeJpeg()));
        ASSERT_TRUE(ShowFolder(View(), m_dir.path(), 1));
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    CExplorerView& View() { return ViewOf(*frame); }
    ShellFileList& List() { return View().FileList(); }

    // Right-clicks blank space and returns the menu that opened.
    QMenu* OpenMenu() {
        QMenu* shown = nullptr;
        const auto connection = QObject::connect(&View(), &CExplorerView::contextMenuShown,
                                                 [&](QMenu* menu) { shown = menu; });
        QWidget* viewport = List().CurrentView()->viewport();
        const QPoint blank(viewport->width() - 5, viewport->height() - 5);
        EXPECT_FALSE(List().CurrentView()->indexAt(blank).isValid());
        QContextMenuEvent event(QContextMenuEvent::Mouse, blank, viewport->mapToGlobal(blank));
        QApplication::sendEvent(viewport, &event);
        QObject::disconnect(connection);
        return shown;
    }
    static QStringList Texts(const QList<QAction*>& actions) {
        QStringList texts;
        for (const QAction* action : actions)
            if (!action->isSeparator())
                texts << action->text();
        return texts;
    }
    static QMenu* Submenu(QMenu* menu, const QString& name) {
        return menu->findChild<QMenu*>(name);
    }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ShellListMenu, BlankSpaceOpensViewSortByAndRefresh) {
    QMenu* menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Texts(menu->actions()), QStringList({"View", "Sort By", "Refresh"}));
    QMenu* view = Submenu(menu, "viewMenu");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Texts(view->actions()),
              QStringList({"Large Icons", "Small Icons", "List", "Details"}));
    // The radio mark is on the layout shown.
    const QList<QAction*> modes = view->actions();
    EXPECT_TRUE(modes[3]->isChecked());
    EXPECT_FALSE(modes[0]->isChecked());

    modes[0]->trigger();
    EXPECT_EQ(List().GetViewMode(), ShellFileList::ViewMode::LargeIcons);
    menu->close();
    QCoreApplication::processEvents();

    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> marked = Submenu(menu, "viewMenu")->actions();
    EXPECT_TRUE(marked[0]->isChecked());
    EXPECT_FALSE(marked[3]->isChecked());

    // Sort By offers the columns, the name marked; choosing it turns the order round.
    QMenu* sortBy = Submenu(menu, "sortByMenu");
    ASSERT_NE(sortBy, nullptr);
    const QStringList columns = Texts(sortBy->actions());
    EXPECT_EQ(columns.mid(0, 4), QStringList({"Name", "Size", "Type", "Date Modified"}));
    EXPECT_TRUE(columns.contains("Date Taken"));
    EXPECT_TRUE(columns.contains("Focal Length"));
    EXPECT_TRUE(sortBy->actions()[0]->isChecked());
    sortBy->actions()[0]->trigger();
    EXPECT_EQ(List().DetailsView()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    sortBy->actions()[columns.indexOf("ISO")]->trigger();
    EXPECT_EQ(List().DetailsView()->header()->sortIndicatorSection(),
              int(FolderListModel::ColumnCount) + int(PhotoColumns::Iso));
    menu->close();
}

TEST_F(ShellListMenu, CtrlShiftDigitsSwitchTheLayout) {
    List().setFocus();
    const std::pair<Qt::Key, ShellFileList::ViewMode> keys[] = {
        {Qt::Key_1, ShellFileList::ViewMode::LargeIcons},
        {Qt::Key_2, ShellFileList::ViewMode::SmallIcons},
        {Qt::Key_3, ShellFileList::ViewMode::List},
        {Qt::Key_4, ShellFileList::ViewMode::Details},
    };
    for (const auto& [key, mode] : keys) {
        QTest::keyClick(List().CurrentView(), key, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(List().GetViewMode(), mode) << key;
    }
}

TEST_F(ShellListMenu, PhotoColumnsShowThePaneTexts) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return List().ListModel().ColumnsRead(); }, 5000));
    const ShownRows rows = ExpectedRows(fixture::CameraLikeJpeg());
    const auto rowText = [&](const QString& label) {
        for (const auto& [tag, data] : rows)
            if (tag == label)
                return data.trimmed();
        return QString();
    };
    const int base = FolderListModel::ColumnCount;
    EXPECT_EQ(List().GetItemText(0, base + PhotoColumns::DateTaken), rowText("Date/Time"));
    EXPECT_EQ(List().GetItemText(0, base + PhotoColumns::Dimensions), rowText("Width and Height"));
    EXPECT_EQ(List().GetItemText(0, base + PhotoColumns::Exposure), rowText("Exposure Time"));
    EXPECT_EQ(List().GetItemText(0, base + PhotoColumns::Aperture), rowText("Aperture"));
    EXPECT_EQ(List().GetItemText(0, base + PhotoColumns::Iso), rowText("ISO Equiv"));
    EXPECT_EQ(List().GetItemText(0, base + PhotoColumns::FocalLength), rowText("Focal length"));
    EXPECT_FALSE(List().GetItemText(0, base + PhotoColumns::Camera).isEmpty());
}

TEST(PhotoColumnsCells, CameraNamesTheMakeOnlyWhenTheModelDoesNot) {
    FileReport report;
    report.record.exifValid = true;
    report.record.width = 4000;
    report.record.height = 3000;
    report.rows = {{"Camera make", "Canon"},
                   {"Camera model", "Canon EOS 5D"},
                   {"Date/Time", "2024:01:02 03:04:05"},
                   {"Width and Height", "4000 ,3000"}};
    std::vector<FileColumnCell> cells = PhotoColumns::CellsOf(report);
    ASSERT_EQ(cells.size(), size_t(PhotoColumns::Count));
    EXPECT_EQ(cells[PhotoColumns::Camera].text, "Canon EOS 5D");
    ASSERT_TRUE(cells[PhotoColumns::DateTaken].number.has_value());
    EXPECT_DOUBLE_EQ(*cells[PhotoColumns::Dimensions].number, 12e6);
    EXPECT_TRUE(cells[PhotoColumns::Iso].IsEmpty());

    report.rows[0].value = "NIKON CORPORATION";
    report.rows[1].value = "NIKON D70";
    report.rows[2].value = "    :  :     :  :  ";
    cells = PhotoColumns::CellsOf(report);
    EXPECT_EQ(cells[PhotoColumns::Camera].text, "NIKON D70");
    // A date that is no date still shows, and sorts after the dates.
    EXPECT_FALSE(cells[PhotoColumns::DateTaken].number.has_value());

    report.record.exifValid = false;
    EXPECT_TRUE(PhotoColumns::CellsOf(report).empty());
}

TEST_F(ShellListMenu, ColumnsLayoutAndSortingAreKeptBetweenRuns) {
    QHeaderView* header = List().DetailsView()->header();
    const int iso = int(FolderListModel::ColumnCount) + int(PhotoColumns::Iso);
    header->setSectionHidden(iso, true);
    header->resizeSection(FolderListModel::SizeColumn, 123);
    List().DetailsView()->sortByColumn(FolderListModel::DateColumn, Qt::DescendingOrder);
    List().SetViewMode(ShellFileList::ViewMode::SmallIcons);
    frame->close();
    frame.reset();

    frame = MakeFrame();
    QHeaderView* again = List().DetailsView()->header();
    EXPECT_TRUE(again->isSectionHidden(iso));
    EXPECT_EQ(again->sectionSize(FolderListModel::SizeColumn), 123);
    EXPECT_EQ(again->sortIndicatorSection(), FolderListModel::DateColumn);
    EXPECT_EQ(again->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(List().GetViewMode(), ShellFileList::ViewMode::SmallIcons);
}

// The photo columns as they were before Lens came.
class ColumnsBeforeLens : public FileColumnProvider {
public:
    QStringList Titles() const override {
        return PhotoColumns().Titles().mid(0, PhotoColumns::Lens);
    }
    std::vector<FileColumnCell> Read(const QByteArray&) const override { return {}; }
};

TEST_F(ShellListMenu, LensIsShownBesideTheCameraAndAnOlderColumnStateBringsItIn) {
    const int base = FolderListModel::ColumnCount, lens = base + PhotoColumns::Lens;
    QHeaderView* header = List().DetailsView()->header();
    std::unique_ptr<QMenu> chooser(ColumnChooserMenu(*header));
    EXPECT_TRUE(chooser->actions().value(lens)->isChecked());
    EXPECT_EQ(chooser->actions().value(lens)->text(), "Lens");
    EXPECT_EQ(header->visualIndex(lens), header->visualIndex(base + PhotoColumns::Camera) + 1);
    const int room = QFontMetrics(List().DetailsView()->font())
                         .horizontalAdvance(QStringLiteral("EF-S18-55mm f/3.5-5.6 IS II"));
    EXPECT_GE(header->sectionSize(lens), room);

    // What an older state kept stays; Lens comes after the others, as wide.
    ShellFileList older;
    older.SetColumnProvider(std::make_shared<ColumnsBeforeLens>());
    older.DetailsView()->header()->setSectionHidden(base + PhotoColumns::Iso, true);
    ASSERT_TRUE(List().RestoreColumnState(older.SaveColumnState()));
    EXPECT_TRUE(header->isSectionHidden(base + PhotoColumns::Iso));
    EXPECT_FALSE(header->isSectionHidden(lens));
    EXPECT_EQ(header->visualIndex(lens), lens);
    EXPECT_GE(header->sectionSize(lens), room);
}

} // namespace
