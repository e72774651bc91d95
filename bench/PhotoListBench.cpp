// The file list over a folder of 10,000 real camera JPEGs (the files of the
// development corpus hard-linked over and over into a temporary folder, so
// the page cache is warm): the time from choosing the folder to its names
// listed and painted, to every photo column filled, to the first screen of
// Large Icons painted with pictures; the longest stall of the event loop
// while the columns fill and while Large Icons scrolls to the end and back
// twice; the thumbnail cache against its cap and the resident memory after
// each pass; and a click's time to its rows while background work runs.
//
// Usage: velmora_photolist_bench [CORPUS_DIR] [FILES] [SCROLL_PASSES]
// (QT_QPA_PLATFORM as wanted; two scroll passes unless told otherwise)

#include "bench/PaintCounter.h"
#include "bench/WindowMeasures.h"
#include "shell/ExplorerView.h"
#include "shell/MainFrame.h"
#include "shell/VelmoraApp.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

bool LinkCorpus(const QString& corpus, const QString& into, int files) {
    QStringList names = QDir(corpus).entryList({"*.jpg", "*.JPG", "*.jpeg"}, QDir::Files);
    if (names.isEmpty())
        return false;
    for (int i = 0; i < files; ++i) {
        const QByteArray from = QFile::encodeName(corpus + '/' + names[i % names.size()]);
        const QByteArray to = QFile::encodeName(into + QStringLiteral("/IMG_%1.jpg").arg(i));
        if (::link(from.constData(), to.constData()) != 0)
            return false;
    }
    std::printf("%d links to the %lld files of %s\n", files, qlonglong(names.size()),
                qPrintable(corpus));
    return true;
}

// The visible items of the icon view all have their pictures.
bool FirstScreenHasPictures(ShellFileList& list) {
    QAbstractItemView* view = list.CurrentView();
    ThumbnailLoader& loader = list.Thumbnails();
    if (loader.Pending() > 0)
        return false;
    const QRect area = view->viewport()->rect();
    int visible = 0;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (!view->visualRect(list.ItemIndex(row)).intersects(area))
            continue;
        ++visible;
        const FolderEntry* entry = list.ListModel().Entry(row);
        const int edge = view->iconSize().width();
        const ThumbnailKey key{list.GetItemPathBytes(row), entry->size, entry->modifiedMs, edge};
        if (!loader.Cache().Contains(key) && !loader.Failed(key))
            return false;
    }
    return visible > 0;
}

} // namespace

int main(int argc, char** argv) {
    const QString corpus =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VELMORA_DEV_CORPUS);
    const int files = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int scrollPasses = argc > 3 ? std::atoi(argv[3]) : 2;
    const QTemporaryDir config;
    const QTemporaryDir pictures;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("VELMORA_DECODER"))
        qputenv("VELMORA_DECODER", VELMORA_BUILD_DECODER);
    int appArgc = 1;
    char* appArgv[] = {argv[0], nullptr};
    CVelmoraApp app(appArgc, appArgv);
    if (!QDir(corpus).exists()) {
        std::printf("no corpus at %s: skipped\n", qPrintable(corpus));
        return 0;
    }
    if (!LinkCorpus(corpus, pictures.path(), files))
        return 1;
    if (!app.InitInstance() || !app.MainFrame())
        return 1;
    CMainFrame* frame = app.MainFrame();
    // The same size on every platform: a first start takes most of the
    // screen, which offscreen is only 800 by 600.
    frame->resize(1280, 800);
    ShellFileList& list = frame->GetActiveView()->FileList();
    if (!WaitFor([&] { return frame->windowHandle() && frame->windowHandle()->isExposed(); },
                 10000))
        return 1;
    list.SetViewMode(ShellFileList::ViewMode::Details);
    StallMeter stalls;
    QElapsedTimer clock;

    // Names listed and painted.
    {
        PaintCounter paints(list.DetailsView()->viewport());
        stalls.Start();
        clock.start();
        list.DisplayFolder(pictures.path());
        WaitFor([&] { return list.ListModel().ColumnsRead() || list.GetItemCount() == files; },
                20000);
        paints.count = 0;
        WaitFor([&] { return paints.count > 0; }, 5000);
        std::printf("names: %d listed and painted in %lld ms\n", list.GetItemCount(),
                    clock.elapsed());
        // Every photo column filled.
        WaitFor([&] { return list.ListModel().ColumnsRead(); }, 60000);
        std::printf("columns: all filled in %lld ms; longest event-loop stall %.1f ms\n",
                    clock.elapsed(), stalls.Stop());
    }

    // A click while the columns are read again (a refreshed folder): a mouse
    // press and release posted to the Details view at the item, timed to the
    // first paint of the Properties pane's list showing the file's rows, so
    // the time spent waiting behind the background work's hand-overs counts.
    {
        list.DisplayFolder(pictures.path());
        WaitFor([&] { return list.GetItemCount() == files; }, 20000);
        QTreeWidget& tags = frame->PropertiesPane().TagList();
        QWidget* viewport = list.DetailsView()->viewport();
        std::vector<std::pair<double, double>> ms; // the click, and its wait for a core
        int unpainted = 0;
        for (int i = 0; i < 20 && !list.ListModel().ColumnsRead(); ++i) {
            tags.clear();
            PaintTimer painted(tags.viewport(), [&] { return tags.topLevelItemCount() > 0; });
            const QPoint at = list.DetailsView()->visualRect(list.ItemIndex(i % 7)).center();
            QElapsedTimer click;
            click.start();
            painted.Start(click);
            const ThreadTimes before = ThisThreadTimes();
            for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QCoreApplication::postEvent(
                    viewport, new QMouseEvent(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                                              type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                               : Qt::NoButton,
                                              Qt::NoModifier));
            }
            if (!WaitFor([&] { return painted.atNs >= 0; }, 5000)) {
                ++unpainted;
                continue;
            }
            ms.push_back(
                {double(painted.atNs) / 1e6, ThisThreadTimes().waitedMs - before.waitedMs});
            WaitFor([] { return false; }, 20);
        }
        std::sort(ms.begin(), ms.end());
        if (!ms.empty())
            std::printf("click to its painted rows while columns are read: median %.2f ms, max "
                        "%.2f ms, %.2f ms of it waiting for a core (%zu clicks, %d never "
                        "painted)\n",
                        ms[ms.size() / 2].first, ms.back().first, ms.back().second, ms.size(),
                        unpainted);
        WaitFor([&] { return list.ListModel().ColumnsRead(); }, 60000);
    }

    // Large Icons: the first screen with its pictures.
    {
        list.Thumbnails().Cache().Clear();
        PaintCounter paints(list.IconView()->viewport());
        clock.start();
        stalls.Start();
        list.SetViewMode(ShellFileList::ViewMode::LargeIcons);
        WaitFor([&] { return FirstScreenHasPictures(list); }, 20000);
        paints.count = 0;
        WaitFor([&] { return paints.count > 0; }, 5000);
        std::printf("large icons: first screen painted with pictures in %lld ms (stall %.1f ms)\n",
                    clock.elapsed(), stalls.Stop());
    }

    // Scrolling to the end and back, twice, a step every 16 ms.
    QScrollBar* bar = list.IconView()->verticalScrollBar();
    const long before = ResidentKb();
    for (int pass = 1; pass <= scrollPasses; ++pass) {
        stalls.Start();
        clock.start();
        const int step = std::max(1, bar->pageStep());
        for (int value = 0; value <= bar->maximum(); value += step) {
            bar->setValue(value);
            WaitFor([] { return false; }, 16);
        }
        for (int value = bar->maximum(); value >= 0; value -= step) {
            bar->setValue(value);
            WaitFor([] { return false; }, 16);
        }
        WaitFor([&] { return FirstScreenHasPictures(list); }, 20000);
        const ThumbnailCache& cache = list.Thumbnails().Cache();
        std::printf("scroll pass %d: %lld ms, longest stall %.1f ms; cache %lld of %lld KiB, %d "
                    "pictures; resident %ld KiB (before scrolling %ld KiB)\n",
                    pass, clock.elapsed(), stalls.Stop(), cache.UsedBytes() / 1024,
                    cache.CapBytes() / 1024, cache.Count(), ResidentKb(), before);
    }
    frame->close();
    return 0;
}
