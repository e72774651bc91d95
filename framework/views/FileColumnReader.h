#pragma once

#include "framework/views/FileColumns.h"
#include "framework/views/UserActivity.h"
#include "reading/ReadingThread.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <utility>
#include <vector>

// The cells of one file, shared between the reader and the rows holding them.
using FileCells = std::shared_ptr<const std::vector<FileColumnCell>>;

// What was read of one file of the folder: its cells and its facts.
struct FileColumnsRead {
    QByteArray name;
    FileCells cells;
    FileFactsPtr facts;
};

// Reads the cells of an application's columns for the files of the shown
// folder on a pool of readers (velmora_reading) and hands them back in
// batches every so often, so a folder of thousands of files never floods the
// window. The readers yield to the window: they run at a lower priority, and
// while the user clicks or types fewer of them than cores read at once.
// Cancel (a new folder) drops what was asked and not yet handed back.
class FileColumnReader : public QObject {
    Q_OBJECT
public:
    static constexpr int kThreads = 2;
    // The least time between two hand-overs; while the user clicks or
    // types, they wait until the user pauses.
    static constexpr int kHandOverMs = 40;

    explicit FileColumnReader(QObject* parent = nullptr);
    ~FileColumnReader() override;

    void SetProvider(std::shared_ptr<const FileColumnProvider> provider);
    const FileColumnProvider* Provider() const { return m_provider.get(); }
    int ColumnCount() const { return int(m_titles.size()); }
    QString Title(int column) const { return m_titles.value(column); }

    // Forgets every file asked for.
    void Cancel();
    // Reads the files `names` of the folder `folder` (bytes on disk).
    void Read(const QByteArray& folder, const std::vector<QByteArray>& names);
    // True when nothing is being read or waits to be handed back.
    bool IsIdle() const;

    // What one Read shares with its readers.
    struct Run;

signals:
    // Names with their cells and facts, read for the files asked since the
    // last Cancel.
    void cellsRead(const std::vector<FileColumnsRead>& cells);
    // Everything asked for was handed back.
    void idle();

private:
    void Receive(quint64 generation, std::vector<FileColumnsRead> cells, bool last);
    void HandOver();

    std::shared_ptr<const FileColumnProvider> m_provider;
    QStringList m_titles;
    std::vector<FileColumnsRead> m_received;
    QTimer m_handOver;
    // Reads of this generation not yet handed back whole.
    int m_readsOut = 0;
    quint64 m_generation = 0;
    UserActivity m_activity;
    ReadingThread m_reading;
};
