// Headers parsed per second from memory, and tag rows built per second.

#include "bench/CameraFiles.h"
#include "metadata/ByteStream.h"
#include "metadata/JpegExifReader.h"
#include "metadata/MessageSink.h"
#include "presentation/TagRows.h"
#include "tests/fixtures/CameraPicture.h"

#include <benchmark/benchmark.h>

#include <cstring>

using fixture::Bytes;

namespace {

// One file as the window reads it: a zero-filled record, a reader over it.
bool ReadOnce(const Bytes& file, ExifSummary& record) {
    std::memset(&record, 0, sizeof record);
    MemoryStream stream(file.data(), file.size());
    CJpegExifReader reader(&record, &DiscardingSink());
    reader.ReadSections(stream);
    return record.exifValid;
}

void ReadHeaders(benchmark::State& state, const Bytes& file) {
    ExifSummary record;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadOnce(file, record));
    state.SetItemsProcessed(state.iterations());
}

const Bytes& CameraBig() {
    static const Bytes file = fixture::CameraLikeJpeg(fixture::ByteOrder::Big);
    return file;
}

const Bytes& CameraLittle() {
    static const Bytes file = fixture::CameraLikeJpeg(fixture::ByteOrder::Little);
    return file;
}

const Bytes& NoExif() {
    static const Bytes file = [] {
        bench::CameraShot shot;
        shot.exif = false;
        shot.width = 640;
        shot.height = 480;
        return bench::CameraFile(shot);
    }();
    return file;
}

// An APP1 segment of about 60 KB, most of it maker note, as cameras write.
const Bytes& MakerNote60k() {
    static const Bytes file = [] {
        bench::CameraShot shot;
        shot.makerNoteBytes = 58000;
        shot.width = 640;
        shot.height = 480;
        return bench::CameraFile(shot);
    }();
    return file;
}

void BM_ReadHeaders_CameraBigEndian(benchmark::State& state) {
    ReadHeaders(state, CameraBig());
}
void BM_ReadHeaders_CameraLittleEndian(benchmark::State& state) {
    ReadHeaders(state, CameraLittle());
}
void BM_ReadHeaders_NoExif(benchmark::State& state) {
    ReadHeaders(state, NoExif());
}
void BM_ReadHeaders_MakerNote60k(benchmark::State& state) {
    ReadHeaders(state, MakerNote60k());
}

void BM_BuildTagRows(benchmark::State& state) {
    ExifSummary record;
    if (!ReadOnce(CameraBig(), record)) {
        state.SkipWithError("the camera file has no valid EXIF block");
        return;
    }
    for (auto _ : state) {
        std::vector<TagRow> rows = BuildTagRows(record);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_ReadHeaders_CameraBigEndian);
BENCHMARK(BM_ReadHeaders_CameraLittleEndian);
BENCHMARK(BM_ReadHeaders_NoExif);
BENCHMARK(BM_ReadHeaders_MakerNote60k);
BENCHMARK(BM_BuildTagRows);

BENCHMARK_MAIN();
