#include "presentation/window/PhotoSearch.h"

#include "framework/views/FileTypes.h"
#include "presentation/InspectFoundFile.h"
#include "presentation/window/PhotoColumns.h"
#include "presentation/window/PhotoFacts.h"
#include "reading/ReadOperands.h"
#include "reading/ReadingPool.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <utility>

namespace {

// A hand-over holds at most this many rows, so the window merges a bounded
// batch however fast the files match.
constexpr size_t kMostPerHandOver = 4096;
// The file list lays all its rows out again for every hand-over: the more
// rows it holds, the rarer the hand-overs (at most one a second).
qint64 HandOverMs(qint64 rows) {
    return std::clamp<qint64>(rows / 100, PhotoSearch::kHandOverMs, 1000);
}

// The longest a reader holds back for a busy window, per file.
constexpr int kMostYieldMs = 100;
// Input this recent makes the window busy.
constexpr int kBusyMs = 300;

QString Grouped(qint64 number) {
    QLocale locale;
    // The C locale leaves groups out by default; "18,305" reads better.
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(number);
}

// The folder a found file is in, relative to the searched one, once per
// folder on each reader: every file of a folder shares its texts.
struct FolderNames {
    std::string relative;
    QByteArray bytes;
    QString text;

    void Set(std::string_view folder) {
        if (!bytes.isNull() && folder == relative)
            return;
        relative = std::string(folder);
        bytes =
            folder.empty() ? QByteArray(".") : QByteArray(folder.data(), qsizetype(folder.size()));
        // Shown as the file list shows a name that is not valid UTF-8.
        const QString utf8 = QString::fromUtf8(bytes);
        text = utf8.toUtf8() == bytes ? utf8 : QString::fromLatin1(bytes);
    }
};

} // namespace

QString SearchProgressText(const SearchProgress& progress) {
    const QString photos =
        progress.photos == 1 ? PhotoSearch::tr("photo") : PhotoSearch::tr("photos");
    const QString match =
        progress.matches == 1 ? PhotoSearch::tr("matches") : PhotoSearch::tr("match");
    const QString folders =
        progress.folders == 1 ? PhotoSearch::tr("folder") : PhotoSearch::tr("folders");
    return QStringLiteral("%1 of %2 %3 %4 \u00b7 %5 %6")
        .arg(Grouped(progress.matches), Grouped(progress.photos), photos, match,
             Grouped(progress.folders), folders);
}

struct PhotoSearch::Run final : FileJob {
    // Tells this run's hand-overs from those of runs stopped before it.
    quint64 id = 0;
    Query query;
    InspectOptions options;
    // The searched folder, ending in '/'.
    std::string root;
    int readers = 1;
    // One slot per file read and not yet delivered (ReadingPool::Window).
    std::vector<std::optional<FolderEntry>> results;

    // Delivery: one at a time, on the pool's threads.
    std::vector<FolderEntry> batch;
    SearchProgress progress;
    bool sentAny = false;
    QElapsedTimer sinceSent;
    // Counted on the walking thread.
    std::atomic<qint64> folders{0};

    // While the window is busy (the user clicks or types) at most
    // busyReaders read at once; the others wait a little between files.
    std::atomic<bool> windowBusy{false};
    std::atomic<int> reading{0};
    int busyReaders = 1;

    // The tie to the window: cleared when the search is stopped.
    std::mutex mutex;
    PhotoSearch* receiver = nullptr;
    ReadingPool* pool = nullptr;
    bool stopped = false;
    std::atomic<bool> ended{false};

    void Read(const FoundFile& file, size_t slot) override;
    bool ReadOne(const FoundFile& file, FolderEntry& entry);
    void Deliver(const FoundFile& file, size_t slot) override;
    void Send(bool done);
    void Walk();
    void StopFromWindow();
};

void PhotoSearch::Run::Read(const FoundFile& file, size_t slot) {
    // Bounded: a reader waits at most kMostYieldMs for each file.
    for (int waited = 0; waited < kMostYieldMs && windowBusy.load(std::memory_order_relaxed) &&
                         reading.load() >= busyReaders;
         ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ++reading;
    std::optional<FolderEntry>& result = results[slot];
    result.reset();
    FolderEntry entry;
    if (ReadOne(file, entry))
        result = std::move(entry);
    --reading;
}

bool PhotoSearch::Run::ReadOne(const FoundFile& file, FolderEntry& entry) {
    FileReport report;
    std::string error;
    if (!InspectFoundFile(file, report, error, options) || !query.Matches(QueryInputOf(report)))
        return false;
    struct stat info {};
    if (::fstatat(file.FolderFd() >= 0 ? file.FolderFd() : AT_FDCWD, file.OpenName(), &info, 0) !=
        0)
        return false;

    // The name is what follows the folder's path; the folder, what lies
    // between the searched folder and the name.
    const std::string_view path(file.path);
    const size_t nameStart = file.folder ? file.nameStart : path.rfind('/') + 1;
    const size_t folderEnd = nameStart > root.size() ? nameStart - 1 : root.size();
    thread_local FolderNames folder;
    folder.Set(path.substr(root.size(), folderEnd - root.size()));
    thread_local FileTypes types;

    entry.name = QByteArray(path.data() + nameStart, qsizetype(path.size() - nameStart));
    const QString utf8 = QString::fromUtf8(entry.name);
    entry.validUtf8 = utf8.toUtf8() == entry.name;
    entry.displayName = entry.validUtf8 ? utf8 : QString::fromLatin1(entry.name);
    entry.size = qint64(info.st_size);
    entry.modifiedMs = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    types.Describe(file.FolderFd() >= 0 ? file.FolderFd() : AT_FDCWD, entry);
    entry.cells =
        std::make_shared<const std::vector<FileColumnCell>>(PhotoColumns::CellsOf(report));
    entry.facts = PhotoFacts::Of(report);
    entry.folder = folder.bytes;
    entry.folderText = folder.text;
    return true;
}

void PhotoSearch::Run::Deliver(const FoundFile& file, size_t slot) {
    if (!file.IsFile())
        return;
    ++progress.photos;
    if (std::optional<FolderEntry>& result = results[slot]) {
        ++progress.matches;
        batch.push_back(std::move(*result));
        result.reset();
    }
    // The first match goes at once: it is what the user waits for.
    if ((!sentAny && !batch.empty()) || batch.size() >= kMostPerHandOver ||
        sinceSent.elapsed() >= HandOverMs(progress.matches))
        Send(false);
}

void PhotoSearch::Run::Send(bool done) {
    progress.folders = folders.load();
    progress.done = done;
    sentAny = sentAny || !batch.empty();
    sinceSent.restart();
    const std::lock_guard lock(mutex);
    if (!receiver)
        return;
    QMetaObject::invokeMethod(
        receiver,
        [receiver = receiver, run = id, files = std::exchange(batch, {}),
         progress = progress]() mutable { receiver->Receive(run, std::move(files), progress); },
        Qt::QueuedConnection);
}

// On the search's own thread: the walk, its files read by the pool.
void PhotoSearch::Run::Walk() {
    ReadingSettings settings;
    settings.threads = readers;
    // The window's thread goes first.
    settings.priority = ReadingSettings::Priority::Low;
    {
        ReadingPool readingPool(*this, settings);
        results.resize(readingPool.Window());
        sinceSent.start();
        bool go = false;
        {
            const std::lock_guard lock(mutex);
            go = !stopped;
            if (go)
                pool = &readingPool;
        }
        const bool whole = go && ReadOperands(readingPool, {root}, true,
                                              [this](const std::string&, size_t) { ++folders; });
        {
            const std::lock_guard lock(mutex);
            pool = nullptr;
        }
        if (whole)
            Send(true);
    }
    ended = true;
}

void PhotoSearch::Run::StopFromWindow() {
    const std::lock_guard lock(mutex);
    stopped = true;
    receiver = nullptr;
    if (pool)
        pool->Cancel();
}

PhotoSearch::PhotoSearch(QObject* parent) : QObject(parent) {
    m_calm.setSingleShot(true);
    m_calm.setInterval(kBusyMs);
    connect(&m_calm, &QTimer::timeout, this, [this] {
        if (m_run)
            m_run->windowBusy = false;
    });
    qApp->installEventFilter(this);
}

bool PhotoSearch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        if (m_run) {
            m_run->windowBusy = true;
            m_calm.start();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

PhotoSearch::~PhotoSearch() {
    Stop();
    for (auto& [thread, run] : m_workers)
        thread.join();
}

bool PhotoSearch::Start(const QString& folder, const QString& query, QueryError& error) {
    auto run = std::make_shared<Run>();
    if (!Query::Parse(query.toStdString(), run->query, error))
        return false;
    Stop();
    ReapWorkers();
    QByteArray root = QFile::encodeName(folder);
    if (!root.endsWith('/'))
        root += '/';
    run->root = root.toStdString();
    run->options.allTags = run->query.Needs() == QueryNeeds::AllTags;
    // A result's row carries every photo column, the Lens among them.
    run->options.lens = true;
    const int cores = std::max(1, QThread::idealThreadCount());
    run->readers = m_readers > 0 ? m_readers : cores;
    run->busyReaders = std::max(1, std::min(run->readers, cores - 1));
    run->receiver = this;
    run->id = ++m_runs;
    m_run = run;
    m_progress = {};
    m_workers.emplace_back(std::thread([run] { run->Walk(); }), run);
    return true;
}

void PhotoSearch::Stop() {
    if (!m_run)
        return;
    m_run->StopFromWindow();
    m_run.reset();
}

void PhotoSearch::ReapWorkers() {
    for (auto worker = m_workers.begin(); worker != m_workers.end();) {
        if (worker->second->ended) {
            worker->first.join();
            worker = m_workers.erase(worker);
        } else {
            ++worker;
        }
    }
}

void PhotoSearch::Receive(quint64 run, std::vector<FolderEntry> files,
                          const SearchProgress& progress) {
    if (!m_run || run != m_run->id)
        return;
    m_progress = progress;
    if (!files.empty())
        emit found(files);
    emit progressed(m_progress);
    if (progress.done) {
        m_run.reset();
        ReapWorkers();
        emit finished();
    }
}
