// The window's search over a tree of real camera JPEGs (the files of the
// development corpus hard-linked over and over into a temporary tree of
// folders, so the page cache is warm): from Enter in the search box to the
// first results painted, to the whole search done (against velmora-tags
// -r --where for the same query), the longest stall of the event loop
// meanwhile, a click on a result to its painted rows while the search runs
// (median and slowest), and the resident memory with every result listed.
//
// Usage: velmora_search_bench [CORPUS_DIR] [FILES] [QUERY] [READERS]
// (QT_QPA_PLATFORM as wanted; 30,000 files and the empty query, which
// matches every photo, unless told otherwise)

#include "bench/WindowMeasures.h"
#include "resources/ApplicationIds.h"
#include "shell/ExplorerView.h"
#include "shell/MainFrame.h"
#include "shell/VelmoraApp.h"

#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWindow>

#include <cstdio>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// A photo library's shape: a folder a month, kFilesPerFolder in each.
constexpr int kFilesPerFolder = 150;

bool LinkTree(const QString& corpus, const QString& into, int files) {
    const QStringList names = QDir(corpus).entryList({"*.jpg", "*.JPG", "*.jpeg"}, QDir::Files);
    if (names.isEmpty())
        return false;
    QString folder;
    for (int i = 0; i < files; ++i) {
        if (i % kFilesPerFolder == 0) {
            const int n = i / kFilesPerFolder;
            folder = QStringLiteral("%1/%2/%3").arg(into).arg(2000 + n / 12).arg(n % 12 + 1);
            if (!QDir().mkpath(folder))
                return false;
        }
        const QByteArray from = QFile::encodeName(corpus + '/' + names[i % names.size()]);
        const QByteArray to = QFile::encodeName(folder + QStringLiteral("/IMG_%1.jpg").arg(i));
        if (::link(from.constData(), to.constData()) != 0)
            return false;
    }
    std::printf("%d links to the %lld files of %s, %d a folder\n", files, qlonglong(names.size()),
                qPrintable(corpus), kFilesPerFolder);
    return true;
}

// The command line's time for the same search in the given form, best of
// three: `-l` prints the matches' paths only, `--csv` their rows too, as
// the file list shows each match's cells.
double CommandLineMs(const QString& root, const QString& query, const QString& form) {
    double best = -1;
    for (int run = 0; run < 3; ++run) {
        QProcess tags;
        tags.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        tags.start(QStringLiteral(VELMORA_TAGS), {"-r", form, "--where", query, root});
        if (!tags.waitForFinished(120000))
            return -1;
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

double ProcessCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void PostClick(QWidget* viewport, const QPoint& at) {
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            viewport,
            new QMouseEvent(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
}

} // namespace

int main(int argc, char** argv) {
    const QString corpus =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VELMORA_DEV_CORPUS);
    const int files = argc > 2 ? std::atoi(argv[2]) : 30000;
    const QString query = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const int readers = argc > 4 ? std::atoi(argv[4]) : 0;
    const QTemporaryDir config;
    const QTemporaryDir pictures;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    int appArgc = 1;
    char* appArgv[] = {argv[0], nullptr};
    CVelmoraApp app(appArgc, appArgv);
    if (!QDir(corpus).exists()) {
        std::printf("no corpus at %s: skipped\n", qPrintable(corpus));
        return 0;
    }
    if (!LinkTree(corpus, pictures.path(), files))
        return 1;
    if (!app.InitInstance() || !app.MainFrame())
        return 1;
    CMainFrame* frame = app.MainFrame();
    // The same size on every platform: a first start takes most of the
    // screen, which offscreen is only 800 by 600.
    frame->resize(1280, 800);
    CExplorerView& view = *frame->GetActiveView();
    ShellFileList& list = view.FileList();
    if (!WaitFor([&] { return frame->windowHandle() && frame->windowHandle()->isExposed(); },
                 10000))
        return 1;
    list.SetViewMode(ShellFileList::ViewMode::Details);
    view.Searching().SetReaders(readers);
    list.DisplayFolder(pictures.path());
    WaitFor([&] { return list.ListModel().ColumnsRead(); }, 10000);

    const double commandLine = CommandLineMs(pictures.path(), query, QStringLiteral("-l"));
    const double withRows = CommandLineMs(pictures.path(), query, QStringLiteral("--csv"));
    std::printf("query '%s'; velmora-tags -r -l --where: %.0f ms, with --csv instead of -l: %.0f "
                "ms (best of 3)\n",
                qPrintable(query), commandLine, withRows);
    QLineEdit* box = frame->SearchField().lineEdit();
    const auto searching = [&] { return view.Searching().IsRunning(); };

    // Enter to the first results painted, to the end; stalls meanwhile.
    {
        StallMeter stalls;
        QElapsedTimer clock;
        PaintTimer painted(list.DetailsView()->viewport(), [&] { return list.GetItemCount() > 0; });
        box->setText(query);
        stalls.Start();
        clock.start();
        painted.Start(clock);
        const ThreadTimes before = ThisThreadTimes();
        const double cpuBefore = ProcessCpuMs();
        emit box->returnPressed();
        WaitFor([&] { return !searching(); }, 300000);
        const double cpu = ProcessCpuMs() - cpuBefore;
        const double whole = double(clock.nsecsElapsed()) / 1e6;
        const ThreadTimes after = ThisThreadTimes();
        const double stall = stalls.Stop();
        std::printf("first results painted in %.1f ms (target 150 ms); whole search %.0f ms, "
                    "%.2fx the command line (target 1.5x); the window's thread ran %.0f ms of "
                    "it and waited %.0f ms for a core\n",
                    double(painted.atNs) / 1e6, whole, commandLine > 0 ? whole / commandLine : 0.0,
                    after.ranMs - before.ranMs, after.waitedMs - before.waitedMs);
        std::printf("the process ran %.0f ms on all its threads; whole search %.2fx the command "
                    "line with --csv\n",
                    cpu, withRows > 0 ? whole / withRows : 0.0);
        std::printf("longest event-loop stall %.1f ms (target 50 ms); %s\n", stall,
                    qPrintable(frame->StatusPane(CommandId::StatusPane1)->text()));
        std::printf("resident %ld KiB with %d results listed, peak %ld KiB\n", ResidentKb(),
                    list.GetItemCount(), StatusKb("VmHWM"));
    }

    // Clicks on results while the search runs again, each timed to the
    // first paint of the Properties pane's list with the file's rows.
    {
        QWidget* viewport = list.DetailsView()->viewport();
        box->setText(query);
        // The first click comes once the results it clicks are painted, as a
        // user's would.
        QElapsedTimer sinceEnter;
        PaintTimer resultsPainted(viewport, [&] { return list.GetItemCount() > 7; });
        sinceEnter.start();
        resultsPainted.Start(sinceEnter);
        emit box->returnPressed();
        WaitFor([&] { return resultsPainted.atNs >= 0; }, 10000);
        QTreeWidget& tags = frame->PropertiesPane().TagList();
        std::vector<std::pair<double, double>> ms; // the click, and its wait for a core
        int unpainted = 0;
        int duringSearch = 0;
        for (int i = 0; i < 40 && searching(); ++i) {
            tags.clear();
            PaintTimer painted(tags.viewport(), [&] { return tags.topLevelItemCount() > 0; });
            const QPoint at = list.DetailsView()->visualRect(list.ItemIndex(i % 7)).center();
            QElapsedTimer click;
            click.start();
            painted.Start(click);
            const ThreadTimes before = ThisThreadTimes();
            PostClick(viewport, at);
            if (!WaitFor([&] { return painted.atNs >= 0; }, 5000)) {
                ++unpainted;
                continue;
            }
            duringSearch += searching() ? 1 : 0;
            ms.push_back(
                {double(painted.atNs) / 1e6, ThisThreadTimes().waitedMs - before.waitedMs});
            WaitFor([] { return false; }, 20);
        }
        std::sort(ms.begin(), ms.end());
        if (!ms.empty())
            std::printf("click to its painted rows while the search runs: median %.2f ms, max "
                        "%.2f ms, %.2f ms of it waiting for a core (target 5 ms; %zu clicks, %d "
                        "of them before the search ended, %d never painted)\n",
                        ms[ms.size() / 2].first, ms.back().first, ms.back().second, ms.size(),
                        duringSearch, unpainted);
        WaitFor([&] { return !searching(); }, 300000);
        std::printf("resident %ld KiB after a second search, peak %ld KiB\n", ResidentKb(),
                    StatusKb("VmHWM"));
    }
    frame->close();
    return 0;
}
