#pragma once

#include "framework/views/FolderListModel.h"
#include "framework/views/UserActivity.h"
#include "presentation/query/Query.h"
#include "reading/ReadingThread.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

// How far a search has come: the photos read, those of them that match, the
// folders listed.
struct SearchProgress {
    qint64 photos = 0;
    qint64 matches = 0;
    qint64 folders = 0;
    // The whole tree was read (not stopped).
    bool done = false;
};

// "1,234 of 18,305 photos match · 212 folders", numbers grouped.
QString SearchProgressText(const SearchProgress& progress);

// Searches a folder and every folder below it for the photos a query
// matches, reading them on a pool of readers (velmora_reading) while the
// window goes on, and hands the matches over as file-list rows with their
// photo columns (PhotoColumns) already read: the first at once, then what
// was found every kHandOverMs (less often once thousands are listed), at
// most kRowsPerTurn in one turn of the event loop. The readers yield to the
// window: they run at a lower priority, and while the user clicks or types
// fewer of them than cores read at once. Stop drops everything not yet
// handed over and returns at once; the readers finish the file in hand on
// their own.
class PhotoSearch : public QObject {
    Q_OBJECT
public:
    static constexpr int kHandOverMs = 100;
    // Rows handed on in one turn of the event loop, at most.
    static constexpr size_t kRowsPerTurn = 2048;

    explicit PhotoSearch(QObject* parent = nullptr);
    // Stops, and waits for the readers still finishing a file.
    ~PhotoSearch() override = default;

    // Compiles `query` and starts reading the absolute `folder`, in place of
    // the search running. False, with nothing changed, when the query cannot
    // be parsed; `error` then says where and why.
    bool Start(const QString& folder, const QString& query, QueryError& error);
    void Stop();
    bool IsRunning() const { return m_run != nullptr; }
    const SearchProgress& Progress() const { return m_progress; }
    // The matches found since the last call, in the order of the walk:
    // moved out, since thousands of rows are not copied on the window's
    // thread.
    std::vector<FolderEntry> TakeFound() { return std::exchange(m_found, {}); }
    // Readers at once; 0 (the default) is one per core.
    void SetReaders(int readers) { m_readers = readers; }
    // Rows handed on in one turn of the event loop (kRowsPerTurn unless set).
    void SetRowsPerTurn(size_t rows) { m_rowsPerTurn = std::max<size_t>(rows, 1); }

    // What one run shares with its readers.
    struct Run;

signals:
    // Matches were found (TakeFound hands them over).
    void found();
    void progressed(const SearchProgress& progress);
    // The search read the whole tree (a stopped search does not finish).
    void finished();

private:
    void Receive(quint64 run, std::vector<FolderEntry> files, const SearchProgress& progress);
    // Hands the rows received to the file list, unless the user is busy.
    void HandOnRows();
    // Moves at most m_rowsPerTurn of them to those found.
    void HandOnTurn();

    std::shared_ptr<Run> m_run;
    SearchProgress m_progress;
    quint64 m_runs = 0;
    int m_readers = 0;
    // Rows received and not yet handed on, in the batches they came in
    // (the first batch's first m_rowsHanded are handed on), and those handed
    // on and not yet taken.
    std::deque<std::vector<FolderEntry>> m_rows;
    size_t m_rowsHanded = 0;
    size_t m_rowsPerTurn = kRowsPerTurn;
    std::vector<FolderEntry> m_found;
    QTimer m_handOn;
    // This search handed rows on: the next wait while the user is busy.
    bool m_handedAny = false;
    UserActivity m_activity;
    ReadingThread m_reading;
};
