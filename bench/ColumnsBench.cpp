// The photo columns of the file list read for real files, as the workers
// read them: every file of a corpus folder through PhotoColumns::Read, one
// after another on one thread (the page cache warm after the first pass).
// Items per second are files.
//
// Usage: velmora_columns_bench [benchmark flags]

#include "presentation/window/PhotoColumns.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <vector>

namespace {

std::vector<QByteArray> FilesOf(const char* folder) {
    std::vector<QByteArray> files;
    const QDir dir(QString::fromUtf8(VELMORA_CORPUS_DIR) + u'/' + QLatin1String(folder));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        files.push_back(QFile::encodeName(dir.filePath(name)));
    return files;
}

void ReadColumns(benchmark::State& state, const char* folder) {
    const std::vector<QByteArray> files = FilesOf(folder);
    if (files.empty()) {
        state.SkipWithError("no corpus folder");
        return;
    }
    const PhotoColumns columns;
    for (auto _ : state)
        for (const QByteArray& path : files)
            benchmark::DoNotOptimize(columns.Read(path));
    state.SetItemsProcessed(state.iterations() * int64_t(files.size()));
}

void BM_ColumnsDev(benchmark::State& state) {
    ReadColumns(state, "dev");
}
BENCHMARK(BM_ColumnsDev)->Unit(benchmark::kMillisecond);

void BM_ColumnsMore(benchmark::State& state) {
    ReadColumns(state, "more");
}
BENCHMARK(BM_ColumnsMore)->Unit(benchmark::kMillisecond);

void BM_ColumnsFormats(benchmark::State& state) {
    ReadColumns(state, "formats");
}
BENCHMARK(BM_ColumnsFormats)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
