#include "presentation/window/OverviewWnd.h"
#include "presentation/window/PhotoFacts.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

// The bar chart's keys, clicks and what assistive technology is told, a
// bar's query narrowing the list's, and a paint of the "Overview" pane with
// thirty thousand photos counted.

namespace {

struct Shot {
    const char* model;
    float focal;
    int iso;
    const char* date;
};

FileFactsPtr FactsOf(const Shot& shot) {
    FileReport report;
    std::memset(&report.record, 0, sizeof report.record);
    ExifSummary& r = report.record;
    std::snprintf(r.cameraMake, sizeof r.cameraMake, "Velmora");
    std::snprintf(r.cameraModel, sizeof r.cameraModel, "%s", shot.model);
    std::snprintf(r.dateTime, sizeof r.dateTime, "%s", shot.date);
    r.focalLength = shot.focal;
    r.isoEquivalent = shot.iso;
    r.flashUsed = -1;
    r.exifValid = true;
    report.format = PhotoFormat::Jpeg;
    return PhotoFacts::Of(report);
}

// Keys move the current bar within the chart, never past either end.
TEST(BarChart, KeysMoveTheCurrentBar) {
    const struct {
        std::vector<Qt::Key> keys;
        int current;
    } cases[] = {
        {{}, 0},
        {{Qt::Key_Down, Qt::Key_Down}, 2},
        {{Qt::Key_End, Qt::Key_Down}, 11},
        {{Qt::Key_End, Qt::Key_Up, Qt::Key_Home, Qt::Key_Up}, 0},
        {{Qt::Key_PageDown}, 10},
        {{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp}, 1},
        {{Qt::Key_Right, Qt::Key_Left, Qt::Key_Left}, 0},
    };
    for (const auto& c : cases) {
        BarChartView chart;
        std::vector<BarChartView::Bar> bars;
        for (int i = 0; i < 12; ++i)
            bars.push_back({QString::number(i), uint64_t(i + 1), true});
        chart.SetBars(std::move(bars));
        chart.show();
        chart.activateWindow();
        chart.setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return chart.hasFocus(); }));
        QSignalSpy chosen(&chart, &BarChartView::barActivated);
        for (const Qt::Key key : c.keys)
            QTest::keyClick(&chart, key);
        QTest::keyClick(&chart, Qt::Key_Space);
        EXPECT_EQ(chart.CurrentBar(), c.current) << c.keys.size();
        ASSERT_EQ(chosen.count(), 1);
        EXPECT_EQ(chosen.first().at(0).toInt(), c.current);
    }
}

TEST(BarChart, OnlyBarsThatLeadSomewhereAreChosenAndEachIsAnItemToAssistiveTechnology) {
    BarChartView chart;
    chart.SetTitle(QStringLiteral("Lenses"));
    chart.SetBars({{QStringLiteral("EF 50mm"), 1200, true}, {QStringLiteral("Other"), 3, false}});
    chart.resize(300, chart.sizeHint().height());
    QSignalSpy chosen(&chart, &BarChartView::barActivated);
    QTest::mouseClick(&chart, Qt::LeftButton, {}, chart.RowRect(1).center());
    QTest::keyClick(&chart, Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 0) << "\"Other\" lists no photos of its own";
    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(5, 2));
    EXPECT_EQ(chosen.count(), 0) << "the title is no bar";

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Lenses"));
    EXPECT_EQ(list->text(QAccessible::Description), QStringLiteral("EF 50mm: 1,200, Other: 3"));
    ASSERT_EQ(list->childCount(), 2);
    QAccessibleInterface* first = list->child(0);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("EF 50mm: 1,200"));
    EXPECT_EQ(list->indexOfChild(first), 0);
    EXPECT_EQ(first->parent(), list);
    EXPECT_FALSE(first->state().selected);
    first->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_TRUE(first->state().selected);
    EXPECT_FALSE(list->child(1)->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
}

// However many photos are counted, a paint draws the few bins.
TEST(OverviewPane, PaintsThirtyThousandPhotosWellWithinAFrame) {
    COverviewWnd pane;
    pane.resize(360, 900);
    std::vector<FileFactsPtr> facts;
    char model[16];
    char date[20];
    for (int i = 0; i < 30000; ++i) {
        std::snprintf(model, sizeof model, "Model %d", i % 14);
        std::snprintf(date, sizeof date, "2023:%02d:%02d %02d:00:00", 1 + i % 12, 1 + i % 28,
                      i % 24);
        facts.push_back(FactsOf({model, float(10 + i % 300), 50 << (i % 9), date}));
    }
    pane.AddFacts(facts);
    pane.Refresh();
    ASSERT_EQ(pane.Stats().Photos(), 30000u);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    QWidget* charts = pane.Scroller().viewport();
    QElapsedTimer timer;
    qint64 slowest = 0;
    for (int round = 0; round < 5; ++round) {
        timer.start();
        // Renders every chart in view through its paint.
        const QPixmap shot = charts->grab();
        slowest = std::max(slowest, timer.nsecsElapsed());
    }
    EXPECT_LT(slowest, 16'000'000) << slowest / 1000 << " us";
}

// Out of sight the pane keeps what the list hands over; shown, it counts it
// all, and from then on counts each hand-over as it comes.
TEST(OverviewPane, BehindATabCountsWhatItWasHandedOnceShown) {
    COverviewWnd pane;
    pane.AddFacts({FactsOf({"One", 50, 100, "2023:05:14 09:10:00"}),
                   FactsOf({"Two", 35, 200, "2023:05:15 09:10:00"})});
    EXPECT_EQ(pane.Stats().Photos(), 0u);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    EXPECT_EQ(pane.Stats().Photos(), 2u);
    EXPECT_TRUE(pane.Header().text().startsWith(QStringLiteral("2 photos")))
        << pane.Header().text().toStdString();
    pane.AddFacts({FactsOf({"One", 85, 400, "2023:05:16 09:10:00"})});
    EXPECT_EQ(pane.Stats().Photos(), 3u);
}

TEST(OverviewQuery, ABarsQueryNarrowsTheSearchShown) {
    const struct {
        const char* current;
        const char* bin;
        const char* narrowed;
    } cases[] = {
        {"", "focal:35", "focal:35"},
        {"  ", "date:2023-05-14", "date:2023-05-14"},
        {"canon", "focal:35", "canon focal:35"},
        {"canon OR nikon", "iso:400", "(canon OR nikon) iso:400"},
        {"canon focal:35", "focal:35", "canon focal:35"},
        {"focal:350", "focal:35", "focal:350 focal:35"},
        {"canon", "focal:35 -focal35:>0", "canon focal:35 -focal35:>0"},
        {"canon", "lens:a OR lens:b", "canon (lens:a OR lens:b)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NarrowedQuery(QString::fromUtf8(c.current), QString::fromUtf8(c.bin)),
                  QString::fromUtf8(c.narrowed))
            << c.current << " + " << c.bin;
}

} // namespace
