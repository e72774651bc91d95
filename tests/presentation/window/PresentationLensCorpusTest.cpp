#include "presentation/FileInspection.h"

#include <QDir>

#include <gtest/gtest.h>

// For every real file beside the repository, the Lens column (which reads
// only what in the note can name the lens) names the lens the Metadata pane
// shows: EXIF's LensModel, else the first line of the maker's group.
TEST(PhotoColumnsLensCorpus, NamesTheLensThePaneShows) {
    int files = 0;
    for (const char* folder : {"dev", "formats", "more"}) {
        const QDir dir(QStringLiteral(VELMORA_CORPUS_DIR "/") + QLatin1String(folder));
        for (const QString& name : dir.entryList(QDir::Files)) {
            const std::string path = dir.filePath(name).toStdString();
            FileReport column, pane;
            std::string error;
            InspectOptions lens, all;
            lens.lens = true;
            all.allTags = true;
            if (!InspectFile(path.c_str(), column, error, lens) ||
                !InspectFile(path.c_str(), pane, error, all) || !pane.record.exifValid)
                continue;
            ++files;
            QString model, maker;
            for (const MetadataEntry& e : pane.tags) {
                if (e.group == "ExifIFD" && e.id == 0xA434)
                    model = QString::fromStdString(e.text).trimmed();
                else if (maker.isEmpty() && e.id == -1 && e.name.View() == "Lens")
                    maker = QString::fromStdString(e.text).trimmed();
            }
            const QString listed = model.isEmpty() ? maker : model;
            EXPECT_EQ(QString::fromStdString(column.lens), listed) << path;
        }
    }
    if (files == 0)
        GTEST_SKIP() << "no corpus at " VELMORA_CORPUS_DIR;
}
