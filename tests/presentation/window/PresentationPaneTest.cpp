#include "tests/presentation/window/PresentationTestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The pane docked in a frame, as the main window holds it.
struct DockedPane {
    QMainWindow frame;
    CPropertiesWnd* pane = new CPropertiesWnd(&frame);

    DockedPane() {
        frame.setCentralWidget(new QWidget(&frame));
        frame.resize(900, 600);
        pane->Create(QStringLiteral("Properties"), &frame, QRect(0, 0, 300, 200), true, 157,
                     PaneStyle::AlignRight | PaneStyle::Visible);
        pane->DockToFrame();
    }
    void ExpectListFillsClientArea() {
        QCoreApplication::processEvents();
        EXPECT_FALSE(pane->ClientRect().isEmpty());
        EXPECT_EQ(pane->TagList().geometry(), pane->ClientRect());
        EXPECT_EQ(pane->TagList().header()->sectionSize(1), 500);
    }
};

QFont Font(const char* family, qreal points, QFont::Weight weight, bool italic) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setWeight(weight);
    font.setItalic(italic);
    return font;
}

} // namespace

TEST(PresentationPane, StartsEmptyWithTagAndDataColumns) {
    CPropertiesWnd pane;
    QTreeWidget& list = pane.TagList();
    ASSERT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.headerItem()->text(0), QStringLiteral("Tag"));
    EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("Data"));
    EXPECT_EQ(list.header()->sectionSize(0), 150);
    EXPECT_EQ(list.header()->sectionSize(1), 500);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list.property("controlId").toInt(), 2);
}

TEST(PresentationPane, AppendsRowsInCallOrderAndTheRecordsRowsAsBuilt) {
    CPropertiesWnd pane;
    EXPECT_TRUE(pane.AddTagRow(QStringLiteral("Width and Height"), QStringLiteral("4000 ,3000")));
    EXPECT_TRUE(pane.AddTagRow(QStringLiteral("Aperture"), QStringLiteral("f/2.8")));

    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    record.exifValid = true;
    std::strcpy(record.cameraMake, "Caf\xE9"); // Latin-1, not UTF-8
    record.fNumber = 2.8f;
    record.exposureTime = 0.004f;
    EXPECT_TRUE(pane.FillTagList(record));

    ShownRows expected = {{QStringLiteral("Width and Height"), QStringLiteral("4000 ,3000")},
                          {QStringLiteral("Aperture"), QStringLiteral("f/2.8")}};
    const ShownRows built = AsShown(BuildTagRows(record));
    expected.insert(expected.end(), built.begin(), built.end());
    EXPECT_EQ(RowsOf(pane), expected);
    // The rows' UTF-8 reaches the list as characters, not as bytes.
    EXPECT_EQ(RowsOf(pane).at(2).second, QStringLiteral(u"Caf\u00E9"));
}

TEST(PresentationPane, ListFillsTheClientAreaAndTakesThePanesFocus) {
    DockedPane docked;
    docked.frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&docked.frame));
    docked.ExpectListFillsClientArea();
    docked.frame.resize(1200, 800);
    docked.ExpectListFillsClientArea();

    docked.frame.centralWidget()->setFocusPolicy(Qt::StrongFocus);
    docked.frame.centralWidget()->setFocus();
    docked.pane->setFocus();
    EXPECT_TRUE(docked.pane->TagList().hasFocus());

    docked.pane->setFloating(true);
    docked.pane->resize(420, 310);
    docked.ExpectListFillsClientArea();
}

// Face from the application font; size, weight and slant from the menu font.
TEST(PresentationPane, FontFollowsTheApplicationAndMenuFonts) {
    const QFont appFont = QApplication::font();
    const QFont menuFont = QApplication::font("QMenu");
    QApplication::setFont(Font("Velmora Sans", 10, QFont::Normal, false));
    QApplication::setFont(Font("Menu Face", 15, QFont::Bold, true), "QMenu");
    DockedPane docked;
    const QFont& font = docked.pane->TagList().font();
    EXPECT_EQ(font.family(), QStringLiteral("Velmora Sans"));
    EXPECT_EQ(font.pointSizeF(), 15);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());

    // A new application font reaches the docked pane as a change of its own
    // font; with no menu font of its own the menu uses it too. Nothing of the
    // earlier bold italic remains.
    QApplication::setFont(Font("First Face", 11, QFont::Normal, false));
    QCoreApplication::processEvents();
    EXPECT_EQ(font.family(), QStringLiteral("First Face"));
    EXPECT_EQ(font.pointSizeF(), 11);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());

    // A menu font in pixels, announced as a change of the desktop theme.
    QFont pixelMenu(QStringLiteral("Menu Face"));
    pixelMenu.setPixelSize(18);
    QApplication::setFont(pixelMenu, "QMenu");
    QEvent themeChange(QEvent::ThemeChange);
    QCoreApplication::sendEvent(docked.pane, &themeChange);
    EXPECT_EQ(font.pixelSize(), 18);
    EXPECT_EQ(font.family(), QStringLiteral("First Face"));
    EXPECT_EQ(docked.pane->TagListFont(), font);

    QApplication::setFont(appFont);
    QApplication::setFont(menuFont, "QMenu");
}
