#pragma once

#include "framework/views/FileColumns.h"
#include "framework/views/WorkQueue.h"

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
// folder, on two threads of its own, and hands them back in batches every
// so often, so a folder of thousands of files never floods the window.
// Cancel (a new folder) drops what was asked and not yet handed back.
class FileColumnReader : public QObject {
    Q_OBJECT
public:
    static constexpr int kThreads = 2;
    // Files read by one job, and the least time between two hand-overs.
    static constexpr int kFilesPerJob = 16;
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

signals:
    // Names with their cells and facts, read for the files asked since the
    // last Cancel.
    void cellsRead(const std::vector<FileColumnsRead>& cells);
    // Everything asked for was handed back.
    void idle();

private:
    void Receive(quint64 generation, std::vector<FileColumnsRead> cells);
    void HandOver();

    std::shared_ptr<const FileColumnProvider> m_provider;
    QStringList m_titles;
    std::vector<FileColumnsRead> m_received;
    QTimer m_handOver;
    int m_jobsOut = 0;
    WorkQueue m_queue;
};
