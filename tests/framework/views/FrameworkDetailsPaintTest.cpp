#include "framework/views/DetailsTreeView.h"
#include "framework/views/KeptTextDelegate.h"

#include <QImage>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Where a picture differs from its top left pixel (the background).
QRect Ink(const QImage& image) {
    const QRgb background = image.pixel(0, 0);
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

struct CellCase {
    const char* text;
    Qt::Alignment alignment;
    int width;
};

// One cell, alone in a one-column view, painted by `delegate`.
QImage PaintedCell(const CellCase& c, QAbstractItemDelegate& delegate) {
    QStandardItemModel model(1, 1);
    auto* item = new QStandardItem(QString::fromUtf8(c.text));
    item->setTextAlignment(c.alignment);
    model.setItem(0, 0, item);
    QTreeView view;
    view.setRootIsDecorated(false);
    view.setHeaderHidden(true);
    view.setFrameShape(QFrame::NoFrame);
    view.setModel(&model);
    view.setItemDelegate(&delegate);
    view.resize(c.width, 60);
    view.setColumnWidth(0, c.width);
    view.show();
    const QRect cell = view.visualRect(model.index(0, 0));
    return view.viewport()->grab(cell).toImage();
}

TEST(KeptTextDelegate, DrawsACellsTextWhereTheStyleDoes) {
    const CellCase cases[] = {
        {"Canon EOS 5D Mark IV", Qt::AlignLeft | Qt::AlignVCenter, 300},
        {"1/250", Qt::AlignRight | Qt::AlignVCenter, 200},
        {"3,456 KB", Qt::AlignHCenter | Qt::AlignVCenter, 200},
        // Elided: the ellipsis and what comes before it, in the same room.
        {"EF-S 18-55mm f/3.5-5.6 IS STM and a long tail", Qt::AlignLeft | Qt::AlignVCenter, 90},
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(c.text);
        QStyledItemDelegate style;
        KeptTextDelegate kept;
        const QRect expected = Ink(PaintedCell(c, style));
        // Twice: the second paint comes from the kept layout.
        Ink(PaintedCell(c, kept));
        const QRect drawn = Ink(PaintedCell(c, kept));
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_NEAR(drawn.left(), expected.left(), 2);
        EXPECT_NEAR(drawn.right(), expected.right(), 2);
        EXPECT_NEAR(drawn.top(), expected.top(), 2);
        EXPECT_NEAR(drawn.bottom(), expected.bottom(), 2);
    }
}

TEST(DetailsTreeView, RepaintsForChangedCellsOnlyWhenTheyAreInSight) {
    QStandardItemModel model(2000, 3);
    DetailsTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&model);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    struct ChangeCase {
        int top;
        int bottom;
        bool repainted;
    } cases[] = {
        {1500, 1600, false}, // far below
        {0, 2, true},        // the first rows
        {1, 1999, true},     // a range that spans what is shown
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.top);
        QCoreApplication::processEvents();
        int paints = 0;
        struct Counter : QObject {
            int* count;
            explicit Counter(int* n) : count(n) {}
            bool eventFilter(QObject*, QEvent* event) override {
                *count += event->type() == QEvent::Paint;
                return false;
            }
        } counter(&paints);
        view.viewport()->installEventFilter(&counter);
        emit model.dataChanged(model.index(c.top, 0), model.index(c.bottom, 2));
        QTest::qWait(30);
        view.viewport()->removeEventFilter(&counter);
        EXPECT_EQ(paints > 0, c.repainted);
    }
}

} // namespace
