#include "tests/presentation/window/PresentationTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>

#include <gtest/gtest.h>

#include <memory>

// Copying from the "Properties" pane: the selected rows as Tag<TAB>Data
// lines, one value, every row; and the tooltip of a value cut off by its
// column.

namespace {

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

struct FilledPane {
    CPropertiesWnd pane;
    FilledPane() {
        pane.AddTagRow(QStringLiteral("Camera Make"), QStringLiteral(u"Caf\u00E9 Optics"));
        pane.AddTagRow(QStringLiteral("Camera Model"), QStringLiteral("Z 9"));
        pane.AddTagRow(QStringLiteral("Aperture"), QStringLiteral("f/2.8"));
        pane.AddTagRow(QStringLiteral("Comment"), QString(400, u'x'));
    }
    QTreeWidgetItem* Row(int i) { return pane.TagList().topLevelItem(i); }
    // The action of `menu` whose text is `text`; null when there is none.
    static QAction* Item(QMenu& menu, const QString& text) {
        for (QAction* action : menu.actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }
};

} // namespace

TEST(PresentationCopy, SelectedRowsAreCopiedInListOrderAsUtf8TabSeparatedLines) {
    FilledPane filled;
    EXPECT_FALSE(filled.pane.CanCopyRows());
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    filled.pane.CopyRows(); // nothing selected: the clipboard keeps its text
    EXPECT_EQ(Clipboard(), QStringLiteral("before"));

    // Selected bottom-up; copied top-down.
    filled.Row(2)->setSelected(true);
    filled.Row(0)->setSelected(true);
    EXPECT_TRUE(filled.pane.CanCopyRows());
    filled.pane.CopyRows();
    const QString expected = QStringLiteral(u"Camera Make\tCaf\u00E9 Optics\nAperture\tf/2.8\n");
    EXPECT_EQ(Clipboard(), expected);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasText());
    EXPECT_EQ(QString::fromUtf8(data->data(QStringLiteral("text/plain;charset=utf-8"))), expected);

    filled.pane.SelectAllRows();
    EXPECT_EQ(filled.pane.TagList().selectedItems().size(), 4);
    EXPECT_EQ(filled.pane.SelectedRowsText().count(u'\n'), 4);
    EXPECT_TRUE(filled.pane.SelectedRowsText().startsWith(QStringLiteral("Camera Make\t")));
}

TEST(PresentationCopy, TheContextMenuCopiesTheRowUnderThePointerAndSelectsAll) {
    FilledPane filled;
    const std::unique_ptr<QMenu> menu(filled.pane.CreateContextMenu(filled.Row(1)));
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(texts, (QStringList{"&Copy", "Copy &Value", "Select &All"}));
    // Nothing selected yet: Copy has nothing to copy.
    EXPECT_FALSE(FilledPane::Item(*menu, "&Copy")->isEnabled());

    FilledPane::Item(*menu, "Copy &Value")->trigger();
    EXPECT_EQ(Clipboard(), QStringLiteral("Z 9"));
    FilledPane::Item(*menu, "Select &All")->trigger();
    EXPECT_EQ(filled.pane.TagList().selectedItems().size(), 4);

    // Below the last row: no value to copy.
    const std::unique_ptr<QMenu> blank(filled.pane.CreateContextMenu(nullptr));
    EXPECT_FALSE(FilledPane::Item(*blank, "Copy &Value")->isEnabled());
    EXPECT_TRUE(FilledPane::Item(*blank, "&Copy")->isEnabled());
}

TEST(PresentationCopy, OnlyAValueWiderThanItsColumnHasATooltip) {
    FilledPane filled;
    QTreeWidget& list = filled.pane.TagList();
    list.resize(700, 300);
    filled.pane.show();
    list.show();
    QCoreApplication::processEvents();
    const QPoint shortValue = list.visualItemRect(filled.Row(2)).topLeft() +
                              QPoint(list.header()->sectionPosition(1) + 5, 3);
    const QPoint longValue = list.visualItemRect(filled.Row(3)).topLeft() +
                             QPoint(list.header()->sectionPosition(1) + 5, 3);
    EXPECT_EQ(filled.pane.ToolTipAt(shortValue), QString());
    EXPECT_EQ(filled.pane.ToolTipAt(longValue), QString(400, u'x'));
    // Below the rows there is nothing to show.
    EXPECT_EQ(filled.pane.ToolTipAt(QPoint(5, 290)), QString());
}
