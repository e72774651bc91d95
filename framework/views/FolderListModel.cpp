#include "framework/views/FolderListModel.h"

#include "framework/views/FileTypes.h"
#include "framework/views/NaturalOrder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileIconProvider>
#include <QLocale>
#include <QMimeDatabase>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>
#include <numeric>
#include <utility>

// The tie between the model and the readings it started. A reading delivers
// only while the model lives and still waits for that reading's generation,
// so a folder no longer shown never adds rows and a gone model is never
// reached.
struct FolderListModel::Channel {
    std::mutex mutex;
    FolderListModel* model = nullptr;
    std::atomic<quint64> generation{0};

    bool Wanted(quint64 reading) const { return generation.load() == reading; }

    bool Send(quint64 reading, std::vector<FolderEntry> batch, bool last) {
        const std::lock_guard lock(mutex);
        FolderListModel* receiver = model;
        if (!receiver || !Wanted(reading))
            return false;
        // The rows are moved on, never copied: a copy of thousands of rows
        // on the window's thread is felt.
        QMetaObject::invokeMethod(
            receiver,
            [receiver, reading, rows = std::move(batch), last]() mutable {
                receiver->OnBatch(reading, std::move(rows), last);
            },
            Qt::QueuedConnection);
        return true;
    }
};

namespace {

// The first rows show quickly; then whatever was read within a while, at
// most kBatch rows, so the window sorts and relays itself out only a few
// times however large the folder is.
constexpr size_t kFirstBatch = FolderListModel::kFirstBatch;
constexpr size_t kBatch = FolderListModel::kBatch;
constexpr int kBatchMs = FolderListModel::kBatchMs;
// Changes on disk come in bursts; one re-reading follows each burst.
constexpr int kRelistDelayMs = 100;
// The entry's cell of an application's column; null when absent or not read.
const FileColumnCell* Cell(const FolderEntry& entry, int column) {
    if (!entry.cells || column < 0 || size_t(column) >= entry.cells->size())
        return nullptr;
    const FileColumnCell& cell = (*entry.cells)[size_t(column)];
    return cell.IsEmpty() ? nullptr : &cell;
}

int Compare(qint64 left, qint64 right) {
    return left < right ? -1 : (left > right ? 1 : 0);
}

// The order of the rows as first shown (by name), made on the reading
// thread so the window merely merges a batch in.
bool NameLess(const FolderEntry& left, const FolderEntry& right) {
    const int order = NaturalCompare(left.displayName, right.displayName);
    return order != 0 ? order < 0 : left.name < right.name;
}

void SortByName(std::vector<FolderEntry>& batch) {
    std::sort(batch.begin(), batch.end(), NameLess);
}

// Reads the folder with the C library, which hands out every name as bytes.
// Keeps regular files and links to them; leaves out dot-files, folders,
// pipes, sockets, devices and broken links.
void ReadFolder(FolderListModel::Channel& channel, quint64 reading, const QByteArray& folder) {
    FileTypes types;

    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir && fd >= 0)
        ::close(fd);

    std::vector<FolderEntry> batch;
    size_t batchSize = kFirstBatch;
    QElapsedTimer sinceSent;
    sinceSent.start();
    while (dir && channel.Wanted(reading)) {
        const dirent* item = ::readdir(dir);
        if (!item)
            break;
        if (item->d_name[0] == '.')
            continue;
        if (item->d_type != DT_UNKNOWN && item->d_type != DT_REG && item->d_type != DT_LNK)
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), item->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))
            continue;

        FolderEntry entry;
        entry.name = QByteArray(item->d_name);
        const QString utf8 = QString::fromUtf8(entry.name);
        entry.validUtf8 = utf8.toUtf8() == entry.name;
        entry.displayName = entry.validUtf8 ? utf8 : QString::fromLatin1(entry.name);
        entry.size = qint64(info.st_size);
        entry.modifiedMs = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
        types.Describe(::dirfd(dir), entry);
        batch.push_back(std::move(entry));

        if (batch.size() >= batchSize || sinceSent.elapsed() >= kBatchMs) {
            SortByName(batch);
            if (!channel.Send(reading, std::exchange(batch, {}), false))
                break;
            batchSize = kBatch;
            sinceSent.restart();
        }
    }
    if (dir)
        ::closedir(dir);
    SortByName(batch);
    channel.Send(reading, std::move(batch), true);
}

} // namespace

FolderListModel::FolderListModel(QObject* parent)
    : QAbstractTableModel(parent), m_channel(std::make_shared<Channel>()) {
    m_channel->model = this;
    connect(&m_columns, &FileColumnReader::cellsRead, this, &FolderListModel::OnCells);
    connect(&m_columns, &FileColumnReader::idle, this, [this] {
        if (!m_reading)
            emit columnsRead();
    });
    m_relistTimer.setSingleShot(true);
    m_relistTimer.setInterval(kRelistDelayMs);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!m_relistTimer.isActive())
            m_relistTimer.start();
    });
    connect(&m_relistTimer, &QTimer::timeout, this, [this] {
        if (m_reading)
            m_changedWhileReading = true;
        else
            StartReading();
    });
}

// A reading still running finds the model gone and stops; batches already
// posted go with the object.
FolderListModel::~FolderListModel() {
    const std::lock_guard lock(m_channel->mutex);
    m_channel->model = nullptr;
}

void FolderListModel::SetFolder(const QString& folder) {
    if (!m_folder.isEmpty())
        m_watcher.removePath(m_folder);
    m_folder = folder;
    m_watcher.addPath(m_folder);
    m_relistTimer.stop();
    m_changedWhileReading = false;
    m_columns.Cancel();
    beginResetModel();
    m_rows.clear();
    m_rowOfValid = false;
    m_results = false;
    if (m_sortColumn < 0)
        m_sortColumn = NameColumn;
    endResetModel();
    emit factsDropped();
    m_firstReading = true;
    StartReading();
}

void FolderListModel::SetResults(const QString& folder) {
    if (!m_folder.isEmpty())
        m_watcher.removePath(m_folder);
    m_folder = folder;
    m_relistTimer.stop();
    m_changedWhileReading = false;
    m_columns.Cancel();
    // A listing still running is no longer wanted.
    m_channel->generation = ++m_generation;
    m_reading = false;
    m_firstReading = false;
    beginResetModel();
    m_rows.clear();
    m_rowOfValid = false;
    m_results = true;
    m_found = 0;
    // In the order found, until a column is chosen.
    m_sortColumn = -1;
    m_sortOrder = Qt::AscendingOrder;
    endResetModel();
    emit factsDropped();
}

void FolderListModel::AddResults(std::vector<FolderEntry> entries) {
    if (!m_results)
        return;
    std::vector<FileFactsPtr> facts;
    for (FolderEntry& entry : entries) {
        entry.found = m_found++;
        if (entry.facts)
            facts.push_back(entry.facts);
    }
    AddRows(std::move(entries));
    if (!facts.empty())
        emit factsAdded(facts);
}

int FolderListModel::FolderColumn() const {
    return m_results ? ColumnCount + m_columns.ColumnCount() : -1;
}

void FolderListModel::StartReading() {
    m_reading = true;
    m_relisted.clear();
    const quint64 reading = ++m_generation;
    m_channel->generation = reading;
    m_listing.start([channel = m_channel, reading, folder = QFile::encodeName(m_folder)] {
        ReadFolder(*channel, reading, folder);
    });
}

void FolderListModel::OnBatch(quint64 generation, std::vector<FolderEntry> batch, bool last) {
    if (generation != m_generation)
        return;
    if (m_firstReading)
        AddRows(std::move(batch));
    else
        m_relisted.insert(m_relisted.end(), std::make_move_iterator(batch.begin()),
                          std::make_move_iterator(batch.end()));
    if (!last)
        return;
    m_reading = false;
    if (m_firstReading) {
        m_firstReading = false;
        // The columns are read once every name is listed, top row first, so
        // the listing has both cores to itself and the first screen fills
        // first.
        ReadCells(m_rows);
        emit folderLoaded();
        if (m_columns.IsIdle())
            emit columnsRead();
    } else {
        ReplaceRows(std::exchange(m_relisted, {}));
    }
    if (m_changedWhileReading && !m_reading) {
        m_changedWhileReading = false;
        StartReading();
    }
}

// Appends the entries, then merges them into place among the sorted rows.
void FolderListModel::AddRows(std::vector<FolderEntry> entries) {
    if (entries.empty())
        return;
    if (!m_firstReading && !m_results)
        ReadCells(entries);
    m_rowOfValid = false;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(entries.begin()),
                  std::make_move_iterator(entries.end()));
    endInsertRows();

    // Rows that come in order after those before them (search results in
    // the order found) stay where they are, without a look at the others.
    bool inOrder = true;
    for (size_t row = size_t(std::max(first, 1)); row < m_rows.size() && inOrder; ++row)
        inOrder = !Less(m_rows[row], m_rows[row - 1]);
    if (inOrder)
        return;
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    const auto less = [this](int left, int right) { return Less(m_rows[left], m_rows[right]); };
    // Batches come sorted by name, the usual order; others are sorted here.
    if (!std::is_sorted(order.begin() + first, order.end(), less))
        std::sort(order.begin() + first, order.end(), less);
    std::inplace_merge(order.begin(), order.begin() + first, order.end(), less);
    Reorder(std::move(order));
}

// Brings the rows in line with a new reading of the folder by name bytes:
// rows of names still there stay (updated), so selection and scrolling hold.
void FolderListModel::ReplaceRows(const std::vector<FolderEntry>& listed) {
    QHash<QByteArray, size_t> listedAt;
    listedAt.reserve(qsizetype(listed.size()));
    for (size_t i = 0; i < listed.size(); ++i)
        listedAt.insert(listed[i].name, i);

    std::vector<bool> known(listed.size(), false);
    bool updated = false;
    bool dropped = false;
    std::vector<FolderEntry> changed;
    for (int row = int(m_rows.size()) - 1; row >= 0;) {
        const auto found = listedAt.constFind(m_rows[size_t(row)].name);
        if (found != listedAt.cend()) {
            const FolderEntry& now = listed[*found];
            FolderEntry& shown = m_rows[size_t(row)];
            known[*found] = true;
            if (now.size != shown.size || now.modifiedMs != shown.modifiedMs ||
                now.mimeName != shown.mimeName) {
                dropped = dropped || shown.facts;
                shown = now;
                changed.push_back(now);
                updated = true;
                emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
            }
            --row;
            continue;
        }
        // A run of gone rows goes in one step, from the bottom up.
        const int last = row;
        while (row >= 0 && !listedAt.contains(m_rows[size_t(row)].name)) {
            dropped = dropped || m_rows[size_t(row)].facts;
            --row;
        }
        m_rowOfValid = false;
        beginRemoveRows({}, row + 1, last);
        m_rows.erase(m_rows.begin() + row + 1, m_rows.begin() + last + 1);
        endRemoveRows();
    }
    if (dropped)
        emit factsDropped();
    ReadCells(changed);
    if (updated)
        sort(m_sortColumn, m_sortOrder);

    std::vector<FolderEntry> added;
    for (size_t i = 0; i < listed.size(); ++i)
        if (!known[i])
            added.push_back(listed[i]);
    AddRows(std::move(added));
}

// Puts the row order[i] at row i, carrying the views' indexes along.
void FolderListModel::Reorder(std::vector<int> order) {
    bool unchanged = true;
    for (size_t i = 0; i < order.size() && unchanged; ++i)
        unchanged = order[i] == int(i);
    if (unchanged)
        return;

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_rowOfValid = false;
    std::vector<int> newRow(order.size());
    std::deque<FolderEntry> rows;
    for (size_t i = 0; i < order.size(); ++i) {
        newRow[size_t(order[i])] = int(i);
        rows.push_back(std::move(m_rows[size_t(order[i])]));
    }
    m_rows = std::move(rows);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to.append(index(newRow[size_t(old.row())], old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool FolderListModel::Less(const FolderEntry& left, const FolderEntry& right) const {
    if (m_sortColumn < 0)
        return m_sortOrder == Qt::AscendingOrder ? left.found < right.found
                                                 : left.found > right.found;
    int order = 0;
    switch (m_sortColumn) {
    case SizeColumn:
        order = Compare(left.size, right.size);
        break;
    case TypeColumn:
        order = NaturalCompare(left.typeText, right.typeText);
        break;
    case DateColumn:
        order = Compare(left.modifiedMs, right.modifiedMs);
        break;
    default:
        if (m_sortColumn == FolderColumn()) {
            order = NaturalCompare(left.folderText, right.folderText);
        } else if (m_sortColumn >= ColumnCount) {
            const FileColumnCell* a = Cell(left, m_sortColumn - ColumnCount);
            const FileColumnCell* b = Cell(right, m_sortColumn - ColumnCount);
            // Files without the value come last, whichever the order.
            if (!a != !b)
                return a != nullptr;
            if (a)
                order = CompareCells(*a, *b);
        }
        break;
    }
    // Ties go by name, then by the bytes (and among results by the folder),
    // so the order never depends on the order of reading.
    if (order == 0)
        order = NaturalCompare(left.displayName, right.displayName);
    if (order == 0)
        order = left.name < right.name ? -1 : (right.name < left.name ? 1 : 0);
    if (order == 0)
        order = left.folder < right.folder ? -1 : (right.folder < left.folder ? 1 : 0);
    return m_sortOrder == Qt::AscendingOrder ? order < 0 : order > 0;
}

void FolderListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 && m_results)
        m_sortColumn = -1;
    else
        m_sortColumn = column >= 0 && column < columnCount() ? column : NameColumn;
    m_sortOrder = order;
    std::vector<int> rows(m_rows.size());
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(),
                     [this](int left, int right) { return Less(m_rows[left], m_rows[right]); });
    Reorder(std::move(rows));
}

const FolderEntry* FolderListModel::Entry(int row) const {
    return row >= 0 && size_t(row) < m_rows.size() ? &m_rows[size_t(row)] : nullptr;
}

int FolderListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FolderListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount + m_columns.ColumnCount() + (m_results ? 1 : 0);
}

QVariant FolderListModel::data(const QModelIndex& index, int role) const {
    const FolderEntry* entry = index.isValid() ? Entry(index.row()) : nullptr;
    if (!entry)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return entry->displayName;
        case SizeColumn:
            return QLocale::system().formattedDataSize(entry->size);
        case TypeColumn:
            return entry->typeText;
        case DateColumn:
            return QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(entry->modifiedMs),
                                              QLocale::ShortFormat);
        default: {
            if (index.column() == FolderColumn())
                return entry->folderText;
            const FileColumnCell* cell = Cell(*entry, index.column() - ColumnCount);
            return cell ? cell->text : QString();
        }
        }
    case Qt::DecorationRole:
        return index.column() == NameColumn ? IconFor(entry->mimeName) : QVariant();
    case Qt::ToolTipRole:
        // Where a result is, in the layouts without a Folder column too.
        return m_results && index.column() == NameColumn
                   ? QVariant(entry->folderText + u'/' + entry->displayName)
                   : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == SizeColumn ? QVariant(int(Qt::AlignTrailing | Qt::AlignVCenter))
                                            : QVariant();
    default:
        return {};
    }
}

QVariant FolderListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft);
    if (role != Qt::DisplayRole)
        return {};
    if (section >= ColumnCount && section == FolderColumn())
        return tr("Folder");
    switch (section) {
    case NameColumn:
        return tr("Name");
    case SizeColumn:
        return tr("Size");
    case TypeColumn:
        return tr("Type");
    case DateColumn:
        return tr("Date Modified");
    default:
        return section > DateColumn ? QVariant(m_columns.Title(section - ColumnCount)) : QVariant();
    }
}

QIcon FolderListModel::IconFor(const QString& mimeName) const {
    const auto cached = m_icons.constFind(mimeName);
    if (cached != m_icons.cend())
        return *cached;
    QIcon icon;
    const QMimeType mime = QMimeDatabase().mimeTypeForName(mimeName);
    if (mime.isValid()) {
        icon = QIcon::fromTheme(mime.iconName());
        if (icon.isNull())
            icon = QIcon::fromTheme(mime.genericIconName());
    }
    if (icon.isNull())
        icon = QFileIconProvider().icon(QAbstractFileIconProvider::File);
    m_icons.insert(mimeName, icon);
    return icon;
}

void FolderListModel::SetColumnProvider(std::shared_ptr<const FileColumnProvider> provider) {
    beginResetModel();
    m_columns.SetProvider(std::move(provider));
    for (FolderEntry& entry : m_rows) {
        entry.cells.reset();
        entry.facts.reset();
    }
    endResetModel();
    emit factsDropped();
    // A folder still being listed has its columns read once it is; results
    // come with theirs.
    if (!m_firstReading && !m_results)
        ReadCells(m_rows);
}

void FolderListModel::Refresh() {
    if (m_folder.isEmpty() || m_results)
        return;
    if (m_reading)
        m_changedWhileReading = true;
    else
        StartReading();
}

template <class Rows> void FolderListModel::ReadCells(const Rows& entries) {
    if (!m_columns.Provider() || entries.empty())
        return;
    std::vector<QByteArray> names;
    names.reserve(entries.size());
    for (const FolderEntry& entry : entries)
        names.push_back(entry.name);
    m_columns.Read(QFile::encodeName(m_folder), names);
}

// Puts the cells into their rows; the views repaint the rows that changed,
// and the rows move when they are sorted by one of these columns.
void FolderListModel::OnCells(const std::vector<FileColumnsRead>& cells) {
    if (!m_rowOfValid) {
        m_rowOf.clear();
        m_rowOf.reserve(qsizetype(m_rows.size()));
        for (size_t row = 0; row < m_rows.size(); ++row)
            m_rowOf.insert(m_rows[row].name, int(row));
        m_rowOfValid = true;
    }
    int top = int(m_rows.size());
    int bottom = -1;
    std::vector<FileFactsPtr> added;
    bool dropped = false;
    for (const FileColumnsRead& read : cells) {
        const auto found = m_rowOf.constFind(read.name);
        if (found == m_rowOf.cend())
            continue;
        FolderEntry& entry = m_rows[size_t(*found)];
        entry.cells = read.cells;
        dropped = dropped || entry.facts;
        entry.facts = read.facts;
        if (read.facts)
            added.push_back(read.facts);
        top = std::min(top, *found);
        bottom = std::max(bottom, *found);
    }
    // Facts replaced are gathered again from the rows, the new ones with them.
    if (dropped)
        emit factsDropped();
    else if (!added.empty())
        emit factsAdded(added);
    if (bottom < 0 || columnCount() <= ColumnCount)
        return;
    emit dataChanged(index(top, ColumnCount), index(bottom, columnCount() - 1), {Qt::DisplayRole});
    if (m_sortColumn >= ColumnCount)
        sort(m_sortColumn, m_sortOrder);
}
