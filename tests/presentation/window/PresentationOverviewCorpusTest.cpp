#include "framework/views/FolderListModel.h"
#include "presentation/FileInspection.h"
#include "presentation/window/OverviewWnd.h"
#include "presentation/window/PhotoColumns.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

// The "Overview" pane over each folder of real files beside the repository,
// filled from the file list's own reading of its columns: the same charts
// and header as the photos' whole records counted one by one, read as
// velmora-tags --stats reads them (whose counts are checked against
// exiftool's readings), so nothing is lost on the way through the list.
TEST(OverviewCorpus, CountsWhatEachFileRecordSays) {
    int folders = 0;
    for (const char* name : {"dev", "formats", "more"}) {
        const QDir dir(QStringLiteral(VELMORA_CORPUS_DIR "/") + QLatin1String(name));
        if (!dir.exists())
            continue;
        ++folders;
        PhotoStats expected;
        for (const QString& file : dir.entryList(QDir::Files)) {
            FileReport report;
            std::string error;
            InspectOptions options;
            options.lens = true;
            if (InspectFile(QFile::encodeName(dir.filePath(file)).constData(), report, error,
                            options))
                expected.Add(report.record, report.format, report.lens, report.HasPosition());
        }
        std::vector<StatsChart> charts = expected.Charts(COverviewWnd::kTop);
        std::erase_if(charts, [](const StatsChart& chart) { return chart.bins.empty(); });
        std::string table;
        AppendChartsText(charts, table);

        FolderListModel model;
        model.SetColumnProvider(std::make_shared<PhotoColumns>());
        COverviewWnd pane;
        pane.Follow(&model);
        model.SetFolder(dir.absolutePath());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return model.rowCount() > 0 && model.ColumnsRead(); }, 60000))
            << name;
        pane.Refresh();
        EXPECT_GT(expected.Photos(), 0u) << name;
        EXPECT_EQ(pane.Stats().Photos(), expected.Photos()) << name;
        EXPECT_EQ(pane.Header().text().toStdString(), expected.HeaderLine()) << name;
        EXPECT_EQ(pane.NumbersText().toStdString(), table) << name;
    }
    if (folders == 0)
        GTEST_SKIP() << "no corpus at " VELMORA_CORPUS_DIR;
}
