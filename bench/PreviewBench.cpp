// The "Preview" pane in the real main window: how soon after a click the
// rows are painted (the picture must not hold them up), how soon the picture
// is painted, and the window's memory while the keyboard pages through 1,000
// photos.
//
// Click/RowsPainted: the view's click handler and a repaint of the tag list,
// as today (target: within 5 ms). Preview/<file>: from the click to the
// preview pane's picture painted, the event loop running meanwhile; the
// clicks alternate between the file and a small one, so each fills the pane
// anew (targets: 150 ms for a 24-megapixel JPEG decoded at a reduced scale,
// 60 ms where an embedded preview covers the pane). Paging/1000: Down pressed
// 1,000 times in the list, each time until the picture is shown; the
// counters give the resident memory (VmRSS) after the first 100 photos and
// after all, and the largest sample (target: flat).
//
// The files are written by Qt into a temporary folder: a 6000 x 4000 JPEG
// without a preview, the same with a 640 x 427 EXIF preview, a raw file with
// a 1920 x 1280 preview, and 1,000 1600 x 1200 JPEGs. The settings go to a
// temporary folder, never the user's.
//
// Usage: velmora_preview_bench [benchmark flags]   (QT_QPA_PLATFORM as wanted)

#include "bench/PaintCounter.h"
#include "presentation/window/PictureDecoder.h"
#include "shell/ExplorerView.h"
#include "shell/MainFrame.h"
#include "shell/VelmoraApp.h"
#include "tests/fixtures/ExifBuilder.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kClicks = 30;
constexpr int kPagedPhotos = 1000;
constexpr int kRssSampleEvery = 50;

using Clock = std::chrono::steady_clock;

// Runs the event loop until `done` holds; false after `ms` milliseconds. It
// sleeps between events (a timer wakes it), so the pane's thread has the
// processor to itself: a loop that spun would take a core from it.
bool WaitFor(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms);
    QTimer wake;
    wake.start(2);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(p / 100.0 * double(values.size()) + 0.999);
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

// The resident memory of this process in MiB.
double ResidentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// A photograph-like picture: soft gradients, shapes and grain, so the JPEG
// is as costly to decode as a camera's.
QImage PhotoLike(int w, int h, quint32 seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(40, 90, 170));
    sky.setColorAt(0.6, QColor(230, 170, 120));
    sky.setColorAt(1, QColor(30, 50, 30));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(seed);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 120, 200, 120));
        painter.setPen(Qt::NoPen);
        const int r = random.bounded(w / 40, w / 6);
        painter.drawEllipse(QPoint(random.bounded(w), random.bounded(h)), r, r);
    }
    painter.end();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int grain = int(random.bounded(16)) - 8;
            const QRgb p = line[x];
            line[x] =
                qRgb(std::clamp(qRed(p) + grain, 0, 255), std::clamp(qGreen(p) + grain, 0, 255),
                     std::clamp(qBlue(p) + grain, 0, 255));
        }
    }
    return image;
}

QByteArray Jpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

fixture::Bytes AsBytes(const QByteArray& bytes) {
    return fixture::Bytes(bytes.begin(), bytes.end());
}

// `picture` with an EXIF block holding `preview` as its thumbnail.
QByteArray WithPreview(const QByteArray& picture, const QByteArray& preview) {
    fixture::ExifBuilder exif(fixture::ByteOrder::Big);
    exif.Ascii(0, 0x010F, "Velmora").Short(0, 0x0112, 1);
    const int ifd1 = exif.AddDirectory();
    exif.Long(ifd1, 0x0201, 0).Long(ifd1, 0x0202, uint32_t(preview.size())).Next(0, ifd1);
    exif.Set(ifd1, 0x0201, exif.U32(exif.Append(AsBytes(preview))));
    const fixture::Bytes payload = exif.Payload();
    const int length = int(payload.size()) + 2;
    QByteArray file = picture.left(2);
    file += char(0xFF);
    file += char(0xE1);
    file += char(length >> 8);
    file += char(length & 0xFF);
    file += QByteArray(reinterpret_cast<const char*>(payload.data()), qsizetype(payload.size()));
    return file + picture.mid(2);
}

// A raw file: IFD0 names its preview JPEG and a sensor directory.
QByteArray RawWithPreview(const QByteArray& preview) {
    fixture::ExifBuilder tiff(fixture::ByteOrder::Little);
    const int sensor = tiff.AddDirectory();
    tiff.Long(0, 0x00FE, 1).Long(0, 0x0201, 0).Long(0, 0x0202, uint32_t(preview.size()));
    tiff.Link(0, 0x014A, sensor)
        .Add(0, fixture::MakeEntry(0xC612, fixture::kByte, 4, {1, 4, 0, 0}));
    tiff.Long(sensor, 0x0100, 6000).Long(sensor, 0x0101, 4000).Short(sensor, 0x0103, 7);
    tiff.Set(0, 0x0201, tiff.U32(tiff.Append(AsBytes(preview))));
    const fixture::Bytes bytes = tiff.Tiff();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Window {
    CMainFrame* frame = nullptr;
    CExplorerView* view = nullptr;
    QString folder;
};

int RowOf(ShellFileList& list, const QString& name) {
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetItemText(row, 0) == name)
            return row;
    return -1;
}

// Times a click on `name` to the painted rows, or to the painted preview;
// an untimed click on `other` first, so each click fills the panes anew.
void TimeClicks(benchmark::State& state, const Window& window, const QString& name,
                const QString& other, bool toPicture) {
    ShellFileList& list = window.view->FileList();
    const int row = RowOf(list, name);
    const int otherRow = RowOf(list, other);
    CPreviewWnd& pane = window.frame->PreviewPane();
    if (row < 0 || otherRow < 0) {
        state.SkipWithError("a file is not in the list");
        return;
    }
    bool shown = false;
    const QMetaObject::Connection connection =
        QObject::connect(&pane, &CPreviewWnd::pictureShown, [&shown] { shown = true; });
    std::vector<double> ms;
    for (auto _ : state) {
        shown = false;
        window.view->OnClick(otherRow, 0);
        WaitFor([&] { return shown; }, 2000);
        shown = false;
        const Clock::time_point start = Clock::now();
        window.view->OnClick(row, 0);
        window.frame->PropertiesPane().TagList().viewport()->repaint();
        if (toPicture) {
            if (!WaitFor([&] { return shown; }, 5000)) {
                state.SkipWithError("the picture never came");
                break;
            }
            pane.Picture().repaint();
        }
        const std::chrono::duration<double> seconds = Clock::now() - start;
        state.SetIterationTime(seconds.count());
        ms.push_back(seconds.count() * 1e3);
        WaitFor([&] { return shown; }, 2000);
    }
    QObject::disconnect(connection);
    if (ms.empty())
        return;
    state.counters["median_ms"] = Percentile(ms, 50);
    state.counters["p90_ms"] = Percentile(ms, 90);
    state.counters["max_ms"] = Percentile(ms, 100);
    const QSize box = pane.FittedBox();
    state.counters["box_w"] = box.width();
    state.counters["box_h"] = box.height();
    state.counters["embedded"] = pane.Shown().origin == PreviewOrigin::Embedded;
}

void Page(benchmark::State& state, const Window& window) {
    ShellFileList& list = window.view->FileList();
    CPreviewWnd& pane = window.frame->PreviewPane();
    QAbstractItemView* items = list.CurrentView();
    const int first = RowOf(list, QStringLiteral("page_0000.jpg"));
    if (first < 0) {
        state.SkipWithError("the paged files are not in the list");
        return;
    }
    items->setFocus();
    bool shown = false;
    const QMetaObject::Connection connection =
        QObject::connect(&pane, &CPreviewWnd::pictureShown, [&shown] { shown = true; });
    double afterFirst = 0;
    double largest = 0;
    double last = 0;
    int missed = 0;
    double perPhotoMs = 0;
    for (auto _ : state) {
        window.view->OnClick(first, 0);
        items->setCurrentIndex(list.ItemIndex(first));
        WaitFor([&] { return shown; }, 2000);
        const Clock::time_point start = Clock::now();
        for (int i = 1; i < kPagedPhotos; ++i) {
            shown = false;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::sendEvent(items, &press);
            QCoreApplication::sendEvent(items, &release);
            missed += !WaitFor([&] { return shown; }, 2000);
            if (i % kRssSampleEvery == 0) {
                const double rss = ResidentMiB();
                if (i == 100)
                    afterFirst = rss;
                largest = std::max(largest, rss);
                last = rss;
            }
        }
        const std::chrono::duration<double> seconds = Clock::now() - start;
        state.SetIterationTime(seconds.count());
        perPhotoMs = seconds.count() * 1e3 / (kPagedPhotos - 1);
    }
    QObject::disconnect(connection);
    state.counters["rss_after_100_mib"] = afterFirst;
    state.counters["rss_after_1000_mib"] = last;
    state.counters["rss_max_mib"] = largest;
    state.counters["missed"] = missed;
    state.counters["ms_per_photo"] = perPhotoMs;
}

bool WriteFolder(const QString& dir) {
    const QImage big = PhotoLike(6000, 4000, 1);
    const QByteArray bigJpeg = Jpeg(big, 90);
    const QByteArray preview =
        Jpeg(big.scaled(640, 427, Qt::KeepAspectRatio, Qt::SmoothTransformation), 85);
    const QByteArray rawPreview =
        Jpeg(big.scaled(1920, 1280, Qt::KeepAspectRatio, Qt::SmoothTransformation), 90);
    const QByteArray small = Jpeg(PhotoLike(320, 240, 2), 85);
    const QByteArray paged = Jpeg(PhotoLike(1600, 1200, 3), 88);
    bool ok = Write(dir + "/a_big.jpg", bigJpeg) &&
              Write(dir + "/a_embedded.jpg", WithPreview(bigJpeg, preview)) &&
              Write(dir + "/a_raw.dng", RawWithPreview(rawPreview)) &&
              Write(dir + "/a_small.jpg", small);
    for (int i = 0; ok && i < kPagedPhotos; ++i)
        ok = Write(dir + QStringLiteral("/page_%1.jpg").arg(i, 4, 10, QLatin1Char('0')), paged);
    std::fprintf(stderr, "24-megapixel JPEG %lld KB, its EXIF preview %lld KB; %d photos to page\n",
                 qint64(bigJpeg.size() / 1024), qint64(preview.size() / 1024), kPagedPhotos);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const QTemporaryDir config;
    const QTemporaryDir pictures;
    if (!config.isValid() || !pictures.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("VELMORA_DECODER"))
        qputenv("VELMORA_DECODER", VELMORA_BUILD_DECODER);
    int appArgc = 1;
    char* appArgv[] = {argv[0], nullptr};
    CVelmoraApp app(appArgc, appArgv);
    if (!app.InitInstance() || !app.MainFrame()) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    Window window{app.MainFrame(), app.MainFrame()->GetActiveView(), pictures.path()};
    if (!window.view || !WaitFor(
                            [&] {
                                return window.frame->windowHandle() &&
                                       window.frame->windowHandle()->isExposed();
                            },
                            10000))
        return 1;
    if (!WriteFolder(pictures.path()))
        return 1;
    // A desktop's window, the pane about 560 x 400.
    window.frame->resize(1280, 900);
    window.frame->resizeDocks({&window.frame->PreviewPane()}, {560}, Qt::Horizontal);
    window.frame->resizeDocks({&window.frame->PreviewPane()}, {440}, Qt::Vertical);
    ShellFileList& list = window.view->FileList();
    list.DisplayFolder(pictures.path());
    if (!WaitFor([&] { return list.GetItemCount() >= kPagedPhotos + 4; }, 20000))
        return 1;
    WaitFor([] { return false; }, 300);

    const auto manual = [](benchmark::internal::Benchmark* b, int iterations) {
        b->Iterations(iterations)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    const QString small = QStringLiteral("a_small.jpg");
    manual(benchmark::RegisterBenchmark("Click/RowsPainted",
                                        [&](benchmark::State& s) {
                                            TimeClicks(s, window, QStringLiteral("a_big.jpg"),
                                                       small, false);
                                        }),
           kClicks);
    for (const char* name : {"a_big.jpg", "a_embedded.jpg", "a_raw.dng"}) {
        const QString file = QString::fromLatin1(name);
        manual(benchmark::RegisterBenchmark((std::string("Preview/") + name).c_str(),
                                            [&window, file, small](benchmark::State& s) {
                                                TimeClicks(s, window, file, small, true);
                                            }),
               kClicks);
    }
    // The decode alone, on this thread: what the pane's thread spends.
    for (const char* name : {"a_big.jpg", "a_embedded.jpg", "a_raw.dng"}) {
        const QByteArray path = QFile::encodeName(pictures.filePath(QString::fromLatin1(name)));
        benchmark::RegisterBenchmark(
            (std::string("Decode/") + name).c_str(),
            [&window, path](benchmark::State& s) {
                const QSize box = window.frame->PreviewPane().FittedBox();
                for (auto _ : s)
                    benchmark::DoNotOptimize(
                        PictureForPreview(*window.view->Decoder(), path, box).image.width());
            })
            ->Iterations(kClicks)
            ->Unit(benchmark::kMillisecond);
    }
    manual(
        benchmark::RegisterBenchmark("Paging/1000", [&](benchmark::State& s) { Page(s, window); }),
        1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
