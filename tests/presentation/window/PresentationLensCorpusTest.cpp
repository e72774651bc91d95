#include "presentation/FileInspection.h"
#include "presentation/window/MetadataModel.h"

#include <QDir>
#include <QFile>
#include <QStandardItemModel>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

// The file list's Lens of every real file beside the repository names the
// lens the Metadata pane shows: EXIF's LensModel, else the first line of the
// maker's group. The column reads the note for its summary alone. The pane
// shows each maker's summary first in its group.

namespace {

constexpr const char* kFolders[] = {"dev", "formats", "more"};

// Every file of the corpus folders; empty without the corpus.
std::vector<QByteArray> CorpusFiles() {
    std::vector<QByteArray> files;
    for (const char* folder : kFolders) {
        const QDir dir(QStringLiteral(VELMORA_CORPUS_DIR "/") + QLatin1String(folder));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            files.push_back(QFile::encodeName(dir.filePath(name)));
    }
    return files;
}

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// The lens as the pane lists it.
std::string ListedLens(const std::vector<MetadataEntry>& tags) {
    for (const MetadataEntry& e : tags)
        if (e.group == "ExifIFD" && e.id == 0xA434 && !Trimmed(e.value.text).empty())
            return Trimmed(e.value.text);
    for (const MetadataEntry& e : tags)
        if (e.id == -1 && e.name.View() == "Lens")
            return Trimmed(e.text);
    return {};
}

TEST(PhotoColumnsLensCorpus, NamesTheLensTheMetadataPaneShows) {
    int files = 0, named = 0;
    for (const QByteArray& path : CorpusFiles()) {
        FileReport column, pane;
        std::string error;
        InspectOptions lens;
        lens.lens = true;
        lens.rows = false;
        InspectOptions all;
        all.allTags = true;
        all.rows = false;
        if (!InspectFile(path.constData(), column, error, lens) ||
            !InspectFile(path.constData(), pane, error, all) || !pane.record.exifValid)
            continue;
        ++files;
        named += column.lens.empty() ? 0 : 1;
        EXPECT_EQ(column.lens, ListedLens(pane.tags)) << path.constData();
    }
    if (files == 0)
        GTEST_SKIP() << "no corpus at " VELMORA_CORPUS_DIR;
    std::printf("lens named for %d of %d files with EXIF\n", named, files);
}

TEST(MetadataPaneCorpus, EachMakersSummaryLeadsItsGroup) {
    static const QStringList kSummary = {"Lens", "LensSerialNumber", "SerialNumber", "ShutterCount",
                                         "FirmwareVersion"};
    int groups = 0;
    for (const QByteArray& path : CorpusFiles()) {
        FileReport report;
        std::string error;
        InspectOptions all;
        all.allTags = true;
        all.rows = false;
        if (!InspectFile(path.constData(), report, error, all))
            continue;
        // The groups with a summary, by the names the pane gives them.
        QStringList makers;
        for (const MetadataEntry& e : report.tags)
            if (e.id == -1 && kSummary.contains(QString::fromStdString(e.name)) &&
                !makers.contains(QString::fromStdString(GroupDisplayName(e.group))))
                makers << QString::fromStdString(GroupDisplayName(e.group));
        const std::unique_ptr<QStandardItemModel> model = MetadataModel::Build(report.tags);
        for (int g = 0; g < model->rowCount(); ++g) {
            const QStandardItem* group = model->item(g);
            if (!makers.contains(group->text()))
                continue;
            ++groups;
            // The summary rows (no id) first, in their order, once each.
            int last = -1, row = 0;
            for (; row < group->rowCount(); ++row) {
                const int at = kSummary.indexOf(group->child(row)->text());
                if (at < 0 || !group->child(row, MetadataModel::IdColumn)->text().isEmpty())
                    break;
                EXPECT_GT(at, last) << path.constData() << " " << group->text().toStdString();
                last = at;
            }
            EXPECT_GT(row, 0) << path.constData() << " " << group->text().toStdString();
            for (; row < group->rowCount(); ++row)
                EXPECT_FALSE(kSummary.contains(group->child(row)->text()) &&
                             group->child(row, MetadataModel::IdColumn)->text().isEmpty())
                    << path.constData() << " " << group->child(row)->text().toStdString();
        }
    }
    if (groups == 0)
        GTEST_SKIP() << "no corpus at " VELMORA_CORPUS_DIR;
    std::printf("%d makers' groups\n", groups);
}

} // namespace
