#include "presentation/window/PhotoSearch.h"

#include "framework/views/FileTypes.h"
#include "presentation/InspectFoundFile.h"
#include "presentation/window/PhotoColumns.h"
#include "presentation/window/PhotoFacts.h"
#include "reading/ReadOperands.h"
#include "reading/ReadingPool.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QThread>

#include <fcntl.h>

#include <algorithm>
#include <atomic>
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
    PhotoSearch* receiver = nullptr;
    Query query;
    InspectOptions options;
    // The searched folder, ending in '/'.
    std::string root;
    // One slot per file read and not yet delivered (ReadingPool::Window).
    std::vector<std::optional<FolderEntry>> results;

    // Delivery: one at a time, on the pool's threads.
    std::vector<FolderEntry> batch;
    size_t lastBatch = 0;
    SearchProgress progress;
    bool sentAny = false;
    QElapsedTimer sinceSent;
    // Counted on the walking thread.
    std::atomic<qint64> folders{0};

    void Read(const FoundFile& file, size_t slot) override;
    bool ReadOne(const FoundFile& file, FolderEntry& entry);
    void Deliver(const FoundFile& file, size_t slot) override;
    void Send(bool done);
    void Walk(ReadingPool& pool);
};

void PhotoSearch::Run::Read(const FoundFile& file, size_t slot) {
    std::optional<FolderEntry>& result = results[slot];
    result.reset();
    FolderEntry entry;
    if (ReadOne(file, entry))
        result = std::move(entry);
}

bool PhotoSearch::Run::ReadOne(const FoundFile& file, FolderEntry& entry) {
    FileReport report;
    std::string error;
    // Rows and lens only for the files the query matches.
    bool matches = false;
    InspectOptions reading = options;
    reading.keep = [this, &matches](const FileReport& read) {
        return matches = query.Matches(QueryInputOf(read));
    };
    if (!InspectFoundFile(file, report, error, reading) || !matches || !report.status)
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
    entry.size = qint64(report.status->size);
    entry.modifiedMs = report.status->modifiedMs;
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
        // Room for as many as the last hand-over held: a batch that grows
        // row by row moves its rows each time into new memory.
        if (batch.capacity() == 0)
            batch.reserve(std::clamp<size_t>(lastBatch + lastBatch / 4, 16, kMostPerHandOver));
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
    lastBatch = batch.size();
    sinceSent.restart();
    QMetaObject::invokeMethod(
        receiver,
        [receiver = receiver, run = id, files = std::exchange(batch, {}),
         progress = progress]() mutable { receiver->Receive(run, std::move(files), progress); },
        Qt::QueuedConnection);
}

// On the search's own thread: the walk, its files read by the pool.
void PhotoSearch::Run::Walk(ReadingPool& pool) {
    results.resize(pool.Window());
    sinceSent.start();
    if (ReadOperands(pool, {root}, true, [this](const std::string&, size_t) { ++folders; }))
        Send(true);
}

PhotoSearch::PhotoSearch(QObject* parent) : QObject(parent) {
    m_handOn.setSingleShot(true);
    connect(&m_handOn, &QTimer::timeout, this, &PhotoSearch::HandOnRows);
}

bool PhotoSearch::Start(const QString& folder, const QString& query, QueryError& error) {
    auto run = std::make_shared<Run>();
    if (!Query::Parse(query.toStdString(), run->query, error))
        return false;
    Stop();
    QByteArray root = QFile::encodeName(folder);
    if (!root.endsWith('/'))
        root += '/';
    run->root = root.toStdString();
    run->options.allTags = run->query.Needs() == QueryNeeds::AllTags;
    // A result's row carries every photo column, the Lens among them, and
    // the file's size and time.
    run->options.lens = true;
    run->options.status = true;
    run->receiver = this;
    run->id = ++m_runs;
    const int cores = std::max(1, QThread::idealThreadCount());
    ReadingSettings settings;
    settings.threads = m_readers > 0 ? m_readers : cores;
    // The window's thread goes first.
    settings.priority = ReadingSettings::Priority::Low;
    settings.busy = m_activity.Busy();
    settings.answering = m_activity.Answering();
    settings.busyThreads = std::max(1, std::min(settings.threads, cores - 1));
    m_run = run;
    m_progress = {};
    m_handedAny = false;
    // The key or click that started the search is done with.
    m_activity.Calm();
    m_reading.Start(run, settings, [run](ReadingPool& pool) { run->Walk(pool); });
    return true;
}

void PhotoSearch::Stop() {
    if (!m_run)
        return;
    m_reading.Stop();
    m_run.reset();
    m_rows.clear();
    m_rowsHanded = 0;
    m_found.clear();
    m_handOn.stop();
}

void PhotoSearch::Receive(quint64 run, std::vector<FolderEntry> files,
                          const SearchProgress& progress) {
    if (!m_run || run != m_run->id)
        return;
    m_progress = progress;
    if (!files.empty())
        m_rows.push_back(std::move(files));
    // The end is told once its last rows are listed.
    if (!progress.done)
        emit progressed(m_progress);
    if (!m_handOn.isActive())
        HandOnRows();
}

void PhotoSearch::HandOnRows() {
    // While the user clicks or types, the rows wait: the file list lays out
    // and paints what it is handed, which would delay what the user asked
    // for. A search's first rows go at once, being what the user waits for.
    if (m_handedAny && m_activity.IsBusy() && !m_rows.empty()) {
        m_handOn.start(UserActivity::kBusyMs / 10);
        return;
    }
    if (!m_rows.empty()) {
        m_handedAny = true;
        HandOnTurn();
        emit found();
        // The rest on the next turns of the event loop, so that a click or
        // a key waits for one turn's rows at most.
        if (!m_rows.empty()) {
            m_handOn.start(0);
            return;
        }
    }
    if (m_progress.done) {
        m_run.reset();
        emit progressed(m_progress);
        emit finished();
    }
}

void PhotoSearch::HandOnTurn() {
    for (size_t room = m_rowsPerTurn; room > 0 && !m_rows.empty();) {
        std::vector<FolderEntry>& batch = m_rows.front();
        const size_t size = batch.size();
        const size_t count = std::min(room, size - m_rowsHanded);
        // Rows moved one by one into new room cost as much again as the
        // move: a whole batch goes as it is where it can.
        if (count == size && m_found.empty()) {
            m_found = std::move(batch);
        } else {
            const auto from = batch.begin() + std::ptrdiff_t(m_rowsHanded);
            m_found.insert(m_found.end(), std::make_move_iterator(from),
                           std::make_move_iterator(from + std::ptrdiff_t(count)));
        }
        room -= count;
        m_rowsHanded += count;
        if (m_rowsHanded == size) {
            m_rows.pop_front();
            m_rowsHanded = 0;
        }
    }
}
