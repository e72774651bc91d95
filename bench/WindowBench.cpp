// Time from a click on a file in the list to the last row of its tags in the
// "Properties" pane, in the real main window over a folder of 300 camera
// files (an EXIF block of about 60 KB each, maker note and thumbnail).
//
// Each iteration is one click; the clicks alternate between two files, so
// every click empties the list and fills it anew. Three roads are timed:
// the view's click handler alone (when it returns the last row is in the
// list), the same with the tag list painted, and a mouse press and release
// sent through Qt's event route to the file list, with the event loop run
// until it has painted the tag list (the file list's new selection is
// painted on the way). Besides Google Benchmark's mean, the counters give the
// median, 90th percentile and largest single click in milliseconds, and the
// share of clicks that painted the tag list and the file list within their
// time. Files are warm in the page cache.
//
// ClickFormat/EXT/NAME times the same click, to the painted tag list, on
// each real file of the corpus (its folders of other formats, camera JPEGs
// and more cameras), linked into the same folder; each timed click
// follows an untimed click on a camera file, so the list is always filled
// anew. Without the corpus (VELMORA_CORPUS, or the folder beside the
// checkout) those are skipped with a line saying so.
//
// The settings go to a temporary folder, never the user's.
//
// Usage: velmora_window_bench [benchmark flags]   (QT_QPA_PLATFORM as wanted)

#include "bench/CameraFiles.h"
#include "bench/PaintCounter.h"
#include "shell/ExplorerView.h"
#include "shell/MainFrame.h"
#include "shell/VelmoraApp.h"
#include "tests/fixtures/JpegBuilder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kFiles = 300;
constexpr int kClicks = 400;
constexpr int kFormatClicks = 40;
// Two files near the top of the list, so both are on screen for the mouse.
constexpr int kFirstClicked = 2;
constexpr int kSecondClicked = 5;

using Clock = std::chrono::steady_clock;

std::string FileName(int index) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.jpg", index);
    return name;
}

bench::CameraShot Shot(int index) {
    static const char* const kMakes[] = {"Velmora", "Northlight", "Kestrel Optics", "Aurel"};
    static const char* const kModels[] = {"Test Camera 100", "NL-7 Mark II", "K20", "A900 Pro"};
    bench::CameraShot shot;
    shot.order = index % 2 ? fixture::ByteOrder::Little : fixture::ByteOrder::Big;
    shot.make = kMakes[index % 4];
    shot.model = kModels[index % 4];
    shot.exposureDenominator = 60u << (index % 5);
    shot.iso = static_cast<uint16_t>(100 << (index % 4));
    shot.focalLengthTenths = 40 + static_cast<uint32_t>(index) * 37 % 1500;
    shot.width = 4000;
    shot.height = 3000;
    shot.makerNoteBytes = 50000 + static_cast<uint32_t>(index) * 7919 % 8000;
    if (index == kFirstClicked || index == kSecondClicked)
        shot.makerNoteBytes = 58000;
    shot.seed = static_cast<uint32_t>(index);
    if (index % 10 == 0)
        shot.comment = "Holiday picture " + std::to_string(index);
    return shot;
}

// Runs the event loop until `done` holds; false after `ms` milliseconds.
bool WaitFor(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// Nearest-rank percentile of sorted values.
double Percentile(const std::vector<double>& sorted, double p) {
    const auto rank = static_cast<size_t>(p / 100.0 * static_cast<double>(sorted.size()) + 0.999);
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

// One real file of another format, linked into the benchmark's folder.
struct FormatFile {
    std::string extension; // lower case
    std::string name;      // in the folder
    int row = -1;
};

// The main window over the folder, the rows of the two clicked files and the
// real files of other formats.
struct Window {
    CMainFrame* frame = nullptr;
    CExplorerView* view = nullptr;
    int rows[2] = {-1, -1};
    std::vector<FormatFile> formats;
};

// Times `click(row)` once per iteration, the rows alternating; pending
// events are handled between clicks, outside the time.
void TimeClicks(benchmark::State& state, const Window& window,
                const std::function<void(int)>& click) {
    QTreeWidget& tags = window.frame->PropertiesPane().TagList();
    // Inside the timed clicks only: shows what each road painted.
    PaintCounter tagPaints(tags.viewport());
    PaintCounter listPaints(window.view->FileList().CurrentView()->viewport());
    int paintedTags = 0;
    int paintedList = 0;
    std::vector<double> ms;
    ms.reserve(kClicks);
    int turn = 0;
    int shown = 0;
    for (auto _ : state) {
        const int row = window.rows[turn];
        turn ^= 1;
        tagPaints.count = listPaints.count = 0;
        const Clock::time_point start = Clock::now();
        click(row);
        const Clock::time_point end = Clock::now();
        paintedTags += tagPaints.count > 0;
        paintedList += listPaints.count > 0;
        const std::chrono::duration<double> seconds = end - start;
        state.SetIterationTime(seconds.count());
        ms.push_back(seconds.count() * 1e3);
        shown = tags.topLevelItemCount();
        QCoreApplication::processEvents();
    }
    if (shown == 0) {
        state.SkipWithError("the click left the tag list empty");
        return;
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = Percentile(ms, 50);
    state.counters["p90_ms"] = Percentile(ms, 90);
    state.counters["max_ms"] = ms.back();
    state.counters["rows"] = shown;
    // The share of clicks in whose time the tag list, or the file list, was painted.
    state.counters["tags_painted"] = double(paintedTags) / double(ms.size());
    state.counters["list_painted"] = double(paintedList) / double(ms.size());
}

// Times a click on `row`, to the painted tag list, after an untimed click
// on a camera file, so that every timed click fills the list anew.
void TimeFormatClicks(benchmark::State& state, const Window& window, int row) {
    QTreeWidget& tags = window.frame->PropertiesPane().TagList();
    std::vector<double> ms;
    ms.reserve(kFormatClicks);
    int shown = 0;
    for (auto _ : state) {
        window.view->OnClick(window.rows[0], 0);
        QCoreApplication::processEvents();
        const Clock::time_point start = Clock::now();
        window.view->OnClick(row, 0);
        tags.viewport()->repaint();
        const std::chrono::duration<double> seconds = Clock::now() - start;
        state.SetIterationTime(seconds.count());
        ms.push_back(seconds.count() * 1e3);
        shown = tags.topLevelItemCount();
        QCoreApplication::processEvents();
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = Percentile(ms, 50);
    state.counters["p90_ms"] = Percentile(ms, 90);
    state.counters["max_ms"] = ms.back();
    state.counters["rows"] = shown;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void RegisterBenchmarks(const Window& window) {
    CExplorerView* view = window.view;
    QWidget* tagViewport = window.frame->PropertiesPane().TagList().viewport();
    const auto manual = [](benchmark::internal::Benchmark* b) {
        b->Iterations(kClicks)->UseManualTime()->Unit(benchmark::kMicrosecond);
    };

    manual(benchmark::RegisterBenchmark("Click/ToLastRow", [=](benchmark::State& state) {
        TimeClicks(state, window, [view](int row) { view->OnClick(row, 0); });
    }));
    manual(benchmark::RegisterBenchmark("Click/ToLastRowPainted", [=](benchmark::State& state) {
        TimeClicks(state, window, [view, tagViewport](int row) {
            view->OnClick(row, 0);
            tagViewport->repaint();
        });
    }));
    manual(benchmark::RegisterBenchmark("Click/MouseToWindowPainted", [=](benchmark::State& state) {
        ShellFileList& list = view->FileList();
        QAbstractItemView* items = list.CurrentView();
        QPoint at[2];
        for (int i = 0; i < 2; ++i) {
            const QRect rect = items->visualRect(list.ItemIndex(window.rows[i]));
            if (!items->viewport()->rect().contains(rect.center())) {
                state.SkipWithError("a clicked file is not on screen");
                return;
            }
            at[i] = rect.center();
        }
        // The clock stops when the event loop has painted the tag list.
        PaintCounter tagPaints(window.frame->PropertiesPane().TagList().viewport());
        TimeClicks(state, window, [&](int row) {
            const QPoint point = at[row == window.rows[0] ? 0 : 1];
            tagPaints.count = 0;
            SendMouse(items->viewport(), QEvent::MouseButtonPress, point);
            SendMouse(items->viewport(), QEvent::MouseButtonRelease, point);
            const QDeadlineTimer deadline(1000);
            while (tagPaints.count == 0 && !deadline.hasExpired())
                QCoreApplication::processEvents();
        });
    }));
    for (const FormatFile& file : window.formats) {
        if (file.row < 0)
            continue;
        const std::string name = "ClickFormat/" + file.extension + "/" + file.name;
        const int row = file.row;
        benchmark::RegisterBenchmark(
            name.c_str(), [=](benchmark::State& state) { TimeFormatClicks(state, window, row); })
            ->Iterations(kFormatClicks)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }
}

// The corpus's folders of real photos: every other format, camera JPEGs,
// and more cameras and phones.
constexpr const char* kCorpusFolders[] = {"formats", "dev", "more"};

std::string LowerExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    if (!extension.empty())
        extension.erase(0, 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

// Links (hard, else symbolic; never a copy) every file of the corpus's
// folders into `dir` as zz_F_NAME, F the folder's initial (after the camera
// files, which stay on screen for the mouse), in name order.
std::vector<FormatFile> LinkFormatFiles(const QString& dir) {
    namespace fs = std::filesystem;
    const char* fromEnvironment = std::getenv("VELMORA_CORPUS");
    const fs::path corpus = fromEnvironment && *fromEnvironment ? fs::path(fromEnvironment)
                                                                : fs::path(VELMORA_CORPUS_DIR);
    std::error_code error;
    std::vector<fs::path> sources;
    for (const char* folder : kCorpusFolders)
        for (fs::directory_iterator it(corpus / folder, error), end; !error && it != end;
             it.increment(error))
            if (it->is_regular_file(error))
                sources.push_back(it->path());
    if (sources.empty()) {
        std::fprintf(stderr, "no corpus at %s: the clicks on real files are skipped\n",
                     corpus.c_str());
        return {};
    }
    std::sort(sources.begin(), sources.end());
    std::vector<FormatFile> files;
    for (const fs::path& source : sources) {
        FormatFile file;
        file.extension = LowerExtension(source);
        // The folder's initial keeps the names of different folders apart.
        file.name = "zz_" + source.parent_path().filename().string().substr(0, 1) + "_" +
                    source.filename().string();
        const fs::path link = fs::path(dir.toStdString()) / file.name;
        fs::create_hard_link(source, link, error);
        if (error)
            fs::create_symlink(source, link, error);
        if (error) {
            std::fprintf(stderr, "cannot link %s: %s\n", link.c_str(), error.message().c_str());
            continue;
        }
        files.push_back(std::move(file));
    }
    std::fprintf(stderr, "%zu real files linked from %s\n", files.size(), corpus.c_str());
    return files;
}

bool WriteFolder(const QString& dir) {
    // The image data after the headers is the same flat picture in every file.
    fixture::JpegBuilder image;
    image.FlatImage(4000, 3000, 90, 140, 200);
    size_t clickedSize = 0;
    size_t clickedHeaders = 0;
    for (int i = 0; i < kFiles; ++i) {
        fixture::Bytes file = bench::CameraHeaders(Shot(i));
        if (i == kFirstClicked)
            clickedHeaders = file.size();
        file.insert(file.end(), image.Data().begin(), image.Data().end());
        if (i == kFirstClicked)
            clickedSize = file.size();
        const std::string path =
            QDir(dir).filePath(QString::fromStdString(FileName(i))).toStdString();
        if (!fixture::WriteFile(path, file)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return false;
        }
    }
    std::fprintf(stderr, "%d files in %s; the clicked ones: %zu KB, %zu KB of it headers\n", kFiles,
                 qPrintable(dir), clickedSize / 1024, clickedHeaders / 1024);
    return true;
}

// Shows the folder in the view and finds the rows of the two clicked files.
bool ShowFolder(Window& window, const QString& dir) {
    ShellFileList& list = window.view->FileList();
    bool loaded = false;
    QObject::connect(&list, &ShellFileList::folderLoaded, [&loaded] { loaded = true; });
    if (!list.DisplayFolder(dir)) {
        std::fprintf(stderr, "the list cannot show %s\n", qPrintable(dir));
        return false;
    }
    const int expected = kFiles + static_cast<int>(window.formats.size());
    if (!WaitFor([&] { return loaded && list.GetItemCount() >= expected; }, 20000)) {
        std::fprintf(stderr, "the folder did not load: %d of %d items\n", list.GetItemCount(),
                     expected);
        return false;
    }
    // The model sorts after a delay; let that and the first layout happen.
    WaitFor([] { return false; }, 300);
    const int wanted[2] = {kFirstClicked, kSecondClicked};
    for (int i = 0; i < 2; ++i) {
        const QString name = QString::fromStdString(FileName(wanted[i]));
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (list.GetItemText(row, 0) == name)
                window.rows[i] = row;
        if (window.rows[i] < 0) {
            std::fprintf(stderr, "%s is not in the list\n", qPrintable(name));
            return false;
        }
    }
    for (FormatFile& file : window.formats) {
        const QString name = QString::fromStdString(file.name);
        for (int row = 0; row < list.GetItemCount() && file.row < 0; ++row)
            if (list.GetItemText(row, 0) == name)
                file.row = row;
        if (file.row < 0)
            std::fprintf(stderr, "%s is not in the list: skipped\n", file.name.c_str());
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    const QTemporaryDir config;
    const QTemporaryDir pictures;
    if (!config.isValid() || !pictures.isValid()) {
        std::fprintf(stderr, "cannot make temporary folders\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

    // The program's own command line only: the benchmark's flags are not its.
    int appArgc = 1;
    char* appArgv[] = {argv[0], nullptr};
    CVelmoraApp app(appArgc, appArgv);
    if (!app.InitInstance() || !app.MainFrame()) {
        std::fprintf(stderr, "start-up failed\n");
        return 1;
    }
    Window window;
    window.frame = app.MainFrame();
    // A first start takes most of the screen, which offscreen is 800 by 600:
    // too narrow a list for the mouse to reach the clicked names.
    window.frame->resize(1280, 800);
    window.view = window.frame->GetActiveView();
    if (!window.view) {
        std::fprintf(stderr, "the main frame has no view\n");
        return 1;
    }
    if (!WaitFor(
            [&] {
                return window.frame->windowHandle() && window.frame->windowHandle()->isExposed();
            },
            10000)) {
        std::fprintf(stderr, "the main window was never shown\n");
        return 1;
    }
    if (!WriteFolder(pictures.path()))
        return 1;
    window.formats = LinkFormatFiles(pictures.path());
    if (!ShowFolder(window, pictures.path()))
        return 1;

    RegisterBenchmarks(window);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
