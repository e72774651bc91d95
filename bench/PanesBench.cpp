// Speed of the "Metadata" pane for a file of 300 tags: filling the pane
// (model, filter and expanded tree) as a click on a file does, alone and
// with the tree painted; and one keystroke in the filter box, typed and
// erased in turn, with the tree painted. The pane is docked in a frame as
// the main window holds it; run offscreen or on a display.
//
// Usage: velmora_panes_bench [benchmark flags]

#include "metadata/tags/MetadataEntry.h"
#include "presentation/window/MetadataWnd.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTreeView>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 300;

// Groups in the proportions of a camera file with XMP: most in Exif and
// the maker's directories, a GPS directory, a thumbnail and some XMP.
std::vector<MetadataEntry> CameraEntries() {
    static const char* const kGroups[] = {"IFD0", "ExifIFD", "ExifIFD",  "ExifIFD", "GPS",
                                          "IFD1", "XMP-dc",  "XMP-exif", "IPTC",    "InteropIFD"};
    std::vector<MetadataEntry> entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        MetadataEntry entry;
        entry.group = kGroups[i % std::size(kGroups)];
        const bool tiff = entry.group.rfind("XMP", 0) != 0 && entry.group != "IPTC";
        entry.id = tiff ? 0x8000 + i : -1;
        entry.type = tiff ? uint16_t(1 + i % 12) : 0;
        entry.count = 1;
        entry.name = "Tag" + std::to_string(i) + (i % 7 == 0 ? "Exposure" : "Setting");
        entry.rawOverride = std::to_string(i * 37) + "/" + std::to_string(1 + i % 9);
        entry.text = "Value " + std::to_string(i) + (i % 5 == 0 ? " auto" : " manual");
        entries.push_back(std::move(entry));
    }
    return entries;
}

struct DockedPane {
    QMainWindow frame;
    CMetadataWnd* pane = new CMetadataWnd(&frame);

    DockedPane() {
        frame.setCentralWidget(new QWidget(&frame));
        frame.resize(1280, 800);
        pane->Create(QStringLiteral("Metadata"), &frame, QRect(0, 0, 400, 200), true, 159,
                     PaneStyle::AlignRight | PaneStyle::Visible);
        pane->DockToFrame();
        frame.show();
        QCoreApplication::processEvents();
    }
    void Paint() { pane->TagTree().viewport()->repaint(); }
    void Key(int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&pane->FilterBox(), &press);
        QCoreApplication::sendEvent(&pane->FilterBox(), &release);
    }
};

// Made on first use; destroyed before the application object, as widgets
// must be (a function-local static would outlive it and crash at exit).
std::unique_ptr<DockedPane>& PaneHolder() {
    static std::unique_ptr<DockedPane> docked;
    return docked;
}

DockedPane& Pane() {
    if (!PaneHolder())
        PaneHolder() = std::make_unique<DockedPane>();
    return *PaneHolder();
}

void BM_FillMetadataPane(benchmark::State& state) {
    const std::vector<MetadataEntry> entries = CameraEntries();
    DockedPane& docked = Pane();
    docked.pane->SetFilterText(QString());
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        docked.pane->FillEntries(entries);
        if (paint)
            docked.Paint();
    }
    state.SetLabel(paint ? "filled and painted" : "filled");
}
BENCHMARK(BM_FillMetadataPane)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One keystroke per iteration: "x" typed after "tag", then erased.
void BM_FilterKeystroke(benchmark::State& state) {
    DockedPane& docked = Pane();
    docked.pane->FillEntries(CameraEntries());
    docked.pane->SetFilterText(QStringLiteral("tag"));
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            docked.Key(Qt::Key_Backspace, QString());
        else
            docked.Key(Qt::Key_E, QStringLiteral("e"));
        typed = !typed;
        docked.Paint();
    }
    docked.pane->SetFilterText(QString());
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PaneHolder().reset();
    return 0;
}
