#include "tests/presentation/window/MetadataTestSupport.h"
#include "tests/presentation/window/PresentationTestSupport.h"

#include "presentation/window/MetadataModel.h"
#include "presentation/window/MetadataWnd.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

// The "Metadata" pane: groups named for people, the filter, copying, the
// raw value in the tooltip and the GPS position that opens a map.

namespace {

using Column = MetadataModel::Column;

struct MetadataPane : ::testing::Test {
    CMetadataWnd pane;
    QList<QUrl> opened;

    MetadataPane() {
        pane.SetUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
    }
    QAbstractItemModel& Model() { return *pane.TagTree().model(); }
    QStringList Groups() {
        QStringList names;
        for (int g = 0; g < Model().rowCount(); ++g)
            names << Model().index(g, 0).data().toString();
        return names;
    }
    QModelIndex GroupIndex(const QString& name) {
        for (int g = 0; g < Model().rowCount(); ++g)
            if (Model().index(g, 0).data().toString() == name)
                return Model().index(g, 0);
        return {};
    }
    // The cell `column` of row `row` in group `group`.
    QModelIndex Cell(const QString& group, int row, int column = Column::TagColumn) {
        return Model().index(row, column, GroupIndex(group));
    }
    // Every shown row as "Group/Tag=Value".
    QStringList Shown() {
        QStringList rows;
        for (int g = 0; g < Model().rowCount(); ++g) {
            const QModelIndex group = Model().index(g, 0);
            for (int r = 0; r < Model().rowCount(group); ++r)
                rows << group.data().toString() + u'/' +
                            Model().index(r, 0, group).data().toString() + u'=' +
                            Model().index(r, 1, group).data().toString();
        }
        return rows;
    }
    void Select(const QModelIndex& index) {
        pane.TagTree().selectionModel()->select(index, QItemSelectionModel::Select |
                                                           QItemSelectionModel::Rows);
    }
    static QAction* Item(QMenu& menu, const QString& text) {
        for (QAction* action : menu.actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }
};

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

} // namespace

TEST_F(MetadataPane, GroupsTakeTheirDisplayNamesInAFixedOrderAndKeepTheReadersRowOrder) {
    pane.FillEntries(EveryGroupEntries());
    EXPECT_EQ(Groups(), (QStringList{"Image", "Exif", "GPS", "Interoperability", "Thumbnail",
                                     "SubIFD", "XMP", "IPTC"}));
    EXPECT_EQ(Shown(),
              (QStringList{"Image/Make=Canon", "Image/Model=EOS R5", "Exif/ExposureTime=1/250 s",
                           "Exif/ISO=400", "GPS/GPSMapDatum=WGS-84",
                           "Interoperability/InteropIndex=R98 - DCF basic file",
                           // No text for people: the value as written.
                           "Thumbnail/ThumbnailOffset=4242", "SubIFD/ImageWidth=6000",
                           "XMP/dc:subject[1]=Harbour", "IPTC/Keywords=boat"}));
    // The tree opens with every group expanded.
    for (int g = 0; g < Model().rowCount(); ++g)
        EXPECT_TRUE(pane.TagTree().isExpanded(Model().index(g, 0))) << g;

    // Id and Type: hexadecimal tag numbers and field type names, empty for XMP.
    EXPECT_EQ(Cell("Exif", 0, Column::IdColumn).data().toString(), QStringLiteral("0x829A"));
    EXPECT_EQ(Cell("Exif", 0, Column::TypeColumn).data().toString(), QStringLiteral("RATIONAL"));
    EXPECT_EQ(Cell("Interoperability", 0, Column::IdColumn).data().toString(),
              QStringLiteral("0x0001"));
    EXPECT_EQ(Cell("XMP", 0, Column::IdColumn).data().toString(), QString());
    EXPECT_EQ(Cell("XMP", 0, Column::TypeColumn).data().toString(), QString());
    EXPECT_EQ(Model().headerData(Column::IdColumn, Qt::Horizontal).toString(),
              QStringLiteral("Id"));
}

TEST_F(MetadataPane, IdAndTypeAreHiddenUntilChosenOnTheHeaderMenu) {
    QHeaderView* header = pane.TagTree().header();
    EXPECT_FALSE(header->isSectionHidden(Column::TagColumn));
    EXPECT_FALSE(header->isSectionHidden(Column::ValueColumn));
    EXPECT_TRUE(header->isSectionHidden(Column::IdColumn));
    EXPECT_TRUE(header->isSectionHidden(Column::TypeColumn));

    const std::unique_ptr<QMenu> menu(pane.CreateHeaderMenu());
    QAction* id = Item(*menu, "Id");
    ASSERT_NE(id, nullptr);
    EXPECT_FALSE(id->isChecked());
    id->trigger();
    EXPECT_FALSE(header->isSectionHidden(Column::IdColumn));
    EXPECT_TRUE(header->isSectionHidden(Column::TypeColumn));
    const std::unique_ptr<QMenu> again(pane.CreateHeaderMenu());
    EXPECT_TRUE(Item(*again, "Id")->isChecked());
    Item(*again, "Id")->trigger();
    EXPECT_TRUE(header->isSectionHidden(Column::IdColumn));
}

TEST_F(MetadataPane, TheFilterKeepsRowsByNameOrValueInAnyCaseAndEscapeClearsIt) {
    pane.FillEntries(EveryGroupEntries());
    pane.SetFilterText(QStringLiteral("exposure"));
    EXPECT_EQ(Shown(), QStringList{"Exif/ExposureTime=1/250 s"});
    EXPECT_EQ(Groups(), QStringList{"Exif"});

    // By the value people see, and by a part of it.
    pane.SetFilterText(QStringLiteral("CANON"));
    EXPECT_EQ(Shown(), QStringList{"Image/Make=Canon"});
    pane.SetFilterText(QStringLiteral("dcf"));
    EXPECT_EQ(Shown(), QStringList{"Interoperability/InteropIndex=R98 - DCF basic file"});
    // A group's own name keeps nothing.
    pane.SetFilterText(QStringLiteral("Thumbnail"));
    EXPECT_EQ(Shown(), QStringList{"Thumbnail/ThumbnailOffset=4242"});
    pane.SetFilterText(QStringLiteral("Interoperability"));
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(Groups().isEmpty());

    // Typing in the box filters at each keystroke; the groups shown again
    // are expanded.
    pane.SetFilterText(QString());
    QTest::keyClicks(&pane.FilterBox(), QStringLiteral("iS"));
    EXPECT_EQ(Shown(), QStringList{"Exif/ISO=400"});
    QTest::keyClick(&pane.FilterBox(), Qt::Key_Backspace);
    EXPECT_EQ(Shown().size(), 5); // "i"
    QTest::keyClick(&pane.FilterBox(), Qt::Key_Escape);
    EXPECT_EQ(pane.FilterBox().text(), QString());
    EXPECT_EQ(Shown().size(), 10);
    for (int g = 0; g < Model().rowCount(); ++g)
        EXPECT_TRUE(pane.TagTree().isExpanded(Model().index(g, 0))) << g;

    // A new file is shown through the filter already typed.
    pane.SetFilterText(QStringLiteral("make"));
    pane.FillEntries(GpsEntries());
    EXPECT_EQ(Shown(), QStringList{"Image/Make=Canon"});
    pane.Clear();
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(MetadataPane, CopyGivesGroupTagAndValueLinesInTheOrderShown) {
    pane.FillEntries(EveryGroupEntries());
    EXPECT_FALSE(pane.CanCopyRows());
    Select(Cell("IPTC", 0));
    Select(Cell("Exif", 1));
    Select(Cell("Image", 0));
    EXPECT_TRUE(pane.CanCopyRows());
    pane.CopyRows();
    EXPECT_EQ(Clipboard(),
              QStringLiteral("Image\tMake\tCanon\nExif\tISO\t400\nIPTC\tKeywords\tboat\n"));

    // A selected group copies its rows that are shown.
    pane.TagTree().clearSelection();
    pane.SetFilterText(QStringLiteral("model"));
    Select(GroupIndex("Image"));
    EXPECT_EQ(pane.SelectedRowsText(), QStringLiteral("Image\tModel\tEOS R5\n"));

    pane.SetFilterText(QString());
    pane.SelectAllRows();
    EXPECT_EQ(pane.SelectedRowsText().count(u'\n'), 10);

    // The tooltip is the value as written.
    EXPECT_EQ(Cell("Exif", 0, Column::ValueColumn).data(Qt::ToolTipRole).toString(),
              QStringLiteral("1/250"));
    EXPECT_EQ(Cell("Exif", 0, Column::TagColumn).data(Qt::ToolTipRole).toString(),
              QStringLiteral("1/250"));
}

TEST_F(MetadataPane, TheContextMenuCopiesOneValueAndSelectsAll) {
    pane.FillEntries(EveryGroupEntries());
    const std::unique_ptr<QMenu> menu(pane.CreateContextMenu(Cell("Exif", 0, Column::TagColumn)));
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(texts, (QStringList{"&Copy", "Copy &Value", "Select &All"}));
    Item(*menu, "Copy &Value")->trigger();
    EXPECT_EQ(Clipboard(), QStringLiteral("1/250 s"));
    Item(*menu, "Select &All")->trigger();
    EXPECT_EQ(pane.SelectedRowsText().count(u'\n'), 10);

    // A group row has no value of its own.
    const std::unique_ptr<QMenu> group(pane.CreateContextMenu(GroupIndex("Exif")));
    EXPECT_FALSE(Item(*group, "Copy &Value")->isEnabled());
    EXPECT_EQ(Item(*group, "Open in &Map"), nullptr);
}

TEST_F(MetadataPane, APositionRowComesFirstInGpsAndOpensTheMap) {
    pane.FillEntries(GpsEntries());
    const QModelIndex position = Cell("GPS", 0);
    EXPECT_EQ(position.data().toString(), QStringLiteral("Position"));
    EXPECT_EQ(Cell("GPS", 0, Column::ValueColumn).data().toString(),
              QStringLiteral("48.858222, 2.294500"));
    EXPECT_EQ(Cell("GPS", 1).data().toString(), QStringLiteral("GPSLatitudeRef"));
    EXPECT_EQ(Model().rowCount(GroupIndex("GPS")), 5);

    const std::unique_ptr<QMenu> menu(pane.CreateContextMenu(position));
    QAction* map = Item(*menu, "Open in &Map");
    ASSERT_NE(map, nullptr);
    map->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().toString(), QStringLiteral("geo:48.858222,2.294500"));
    EXPECT_EQ(opened.first().scheme(), QStringLiteral("geo"));

    // Other rows have no map to open.
    const std::unique_ptr<QMenu> other(pane.CreateContextMenu(Cell("GPS", 2)));
    EXPECT_EQ(Item(*other, "Open in &Map"), nullptr);
    EXPECT_FALSE(pane.OpenInMap(Cell("GPS", 2)));
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(MetadataPane, NoPositionRowWithoutBothCoordinates) {
    std::vector<MetadataEntry> entries = GpsEntries();
    entries.pop_back(); // no longitude
    pane.FillEntries(entries);
    EXPECT_EQ(Cell("GPS", 0).data().toString(), QStringLiteral("GPSLatitudeRef"));
    EXPECT_EQ(Model().rowCount(GroupIndex("GPS")), 3);

    pane.FillEntries(EveryGroupEntries()); // a GPS group with a datum only
    EXPECT_EQ(Cell("GPS", 0).data().toString(), QStringLiteral("GPSMapDatum"));
    EXPECT_EQ(pane.GeoUriOf(Cell("GPS", 0)), QString());
}

TEST_F(MetadataPane, EveryPartHasAnAccessibleNameAndTheKeyboardReachesTheRows) {
    EXPECT_FALSE(pane.accessibleName().isEmpty());
    EXPECT_FALSE(pane.FilterBox().accessibleName().isEmpty());
    EXPECT_FALSE(pane.FilterBox().placeholderText().isEmpty());
    EXPECT_FALSE(pane.TagTree().accessibleName().isEmpty());

    pane.FillEntries(EveryGroupEntries());
    pane.resize(400, 300);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&pane));
    pane.FilterBox().setFocus();
    QTest::keyClick(&pane.FilterBox(), Qt::Key_Down);
    EXPECT_TRUE(pane.TagTree().hasFocus());
    EXPECT_TRUE(pane.TagTree().currentIndex().isValid());
    // Ctrl+A in the tree selects every row.
    QTest::keyClick(&pane.TagTree(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pane.SelectedRowsText().count(u'\n'), 10);
}
