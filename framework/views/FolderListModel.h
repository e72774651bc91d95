#pragma once

#include "framework/views/FileColumnReader.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QFileSystemWatcher>
#include <QHash>
#include <QIcon>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

// One file of a listed folder. The name is kept as the bytes on disk: a name
// that is not valid UTF-8 is shown decoded as Latin-1, but only ever opened by
// its bytes.
struct FolderEntry {
    QByteArray name;
    QString displayName;
    bool validUtf8 = true;
    qint64 size = 0;
    qint64 modifiedMs = 0;
    QString mimeName;
    QString typeText;
    // The cells of the application's columns; null until they are read.
    FileCells cells;
    // What the application keeps of the file besides, read with the cells.
    FileFactsPtr facts;
    // Among search results: the folder the file is in, relative to the
    // searched one ("." for the searched folder itself), as bytes and as
    // shown, and the order in which it was found.
    QByteArray folder;
    QString folderText;
    quint64 found = 0;
};

// The files of one folder, as the columns Name, Size, Type and Date Modified.
// The folder is read by the C library on a worker thread, because Qt's own
// listing leaves out names that are not valid UTF-8. Rows arrive in batches
// so a huge folder never blocks the window; the folder is followed on disk
// and re-read, with rows kept (and so selection and scrolling) for names that
// stay. Names sort naturally (NaturalCompare). Columns an application adds
// (SetColumnProvider) follow the four and are read in the background.
//
// Instead of a folder's files the model can hold search results (SetResults,
// AddResults): files from anywhere below one folder, handed over as they are
// found, each with its cells, and a Folder column last. They stay in the
// order found until sorted by a column (sorting by column -1 brings that
// order back); the folder is not followed on disk meanwhile.
class FolderListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, SizeColumn, TypeColumn, DateColumn, ColumnCount };
    // A reading hands over its first kFirstBatch rows at once (a screenful),
    // then what it read in each kBatchMs, at most kBatch rows at a time.
    static constexpr size_t kFirstBatch = 64;
    static constexpr size_t kBatch = 4096;
    static constexpr int kBatchMs = 100;

    explicit FolderListModel(QObject* parent = nullptr);
    ~FolderListModel() override;

    // Lists the folder at the absolute `folder`, dropping the rows shown.
    void SetFolder(const QString& folder);
    // Drops the rows shown and waits for the results of a search of the
    // absolute `folder` and the folders below it.
    void SetResults(const QString& folder);
    // Adds found files, their cells read (a search reads them anyway).
    void AddResults(std::vector<FolderEntry> entries);
    bool ShowsResults() const { return m_results; }
    // The Folder column of the results; -1 for a folder's files.
    int FolderColumn() const;
    const FolderEntry* Entry(int row) const;
    // The application's columns, after Date Modified; read on worker threads.
    void SetColumnProvider(std::shared_ptr<const FileColumnProvider> provider);
    const FileColumnProvider* ColumnProvider() const { return m_columns.Provider(); }
    // Reads the folder again, keeping the rows of names that stay.
    void Refresh();
    // True when every listed file's cells have been read.
    bool ColumnsRead() const { return !m_reading && m_columns.IsIdle(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // What a reading thread delivers its batches through.
    struct Channel;

signals:
    // The first reading of the folder set by SetFolder has delivered all rows.
    void folderLoaded();
    // The background reading of the application's columns caught up.
    void columnsRead();
    // Rows gained the facts of their files (their cells were read, or
    // results came with them): what the rows hold grew by `facts`.
    void factsAdded(const std::vector<FileFactsPtr>& facts);
    // Facts the rows held went (rows dropped, removed or read again): what
    // was gathered from factsAdded is to be gathered again from the rows.
    void factsDropped();

private:
    void StartReading();
    void OnBatch(quint64 generation, std::vector<FolderEntry> batch, bool last);
    void AddRows(std::vector<FolderEntry> entries);
    void ReplaceRows(const std::vector<FolderEntry>& listed);
    void Reorder(std::vector<int> order);
    bool Less(const FolderEntry& left, const FolderEntry& right) const;
    template <class Rows> void ReadCells(const Rows& entries);
    void OnCells(const std::vector<FileColumnsRead>& cells);
    QIcon IconFor(const QString& mimeName) const;

    std::shared_ptr<Channel> m_channel;
    // Folders are listed here, not on Qt's global pool: the raster paint
    // engine fills large areas on that pool's threads and waits for them,
    // so a listing there would hold up the window's painting.
    QThreadPool m_listing;
    // Rows are added without moving those before them, as a vector's growth
    // would: tens of thousands of results at once on the window's thread.
    std::deque<FolderEntry> m_rows;
    std::vector<FolderEntry> m_relisted;
    QString m_folder;
    quint64 m_generation = 0;
    bool m_reading = false;
    bool m_firstReading = false;
    bool m_changedWhileReading = false;
    bool m_results = false;
    quint64 m_found = 0;
    int m_sortColumn = NameColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    FileColumnReader m_columns;
    QFileSystemWatcher m_watcher;
    QTimer m_relistTimer;
    mutable QHash<QString, QIcon> m_icons;
    // The row of each name, for placing cells; rebuilt after rows move.
    QHash<QByteArray, int> m_rowOf;
    bool m_rowOfValid = false;
};
