#include "presentation/FileInspection.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <string_view>

// The file list's Lens of every real file beside the repository names the
// lens the Metadata pane shows: EXIF's LensModel, else the first line of the
// maker's group. The column reads the note for its summary alone.

namespace {

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
    for (const char* folder : {"dev", "formats", "more"}) {
        const QDir dir(QStringLiteral(VELMORA_CORPUS_DIR "/") + QLatin1String(folder));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            const QByteArray path = QFile::encodeName(dir.filePath(name));
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
    }
    if (files == 0)
        GTEST_SKIP() << "no corpus at " VELMORA_CORPUS_DIR;
    std::printf("lens named for %d of %d files with EXIF\n", named, files);
}

} // namespace
