#include "framework/views/FolderListModel.h"

#include "framework/views/NaturalOrder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileIconProvider>
#include <QLocale>
#include <QMimeDatabase>
#include <QThreadPool>

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
        auto rows = std::make_shared<const std::vector<FolderEntry>>(std::move(batch));
        QMetaObject::invokeMethod(
            receiver, [receiver, reading, rows, last] { receiver->OnBatch(reading, *rows, last); },
            Qt::QueuedConnection);
        return true;
    }
};

namespace {

// The first rows show quickly; then larger batches, or whatever was read
// within a short while, so the window relays itself out only now and then.
constexpr size_t kFirstBatch = 64;
constexpr size_t kBatch = 1024;
constexpr int kBatchMs = 100;
// Changes on disk come in bursts; one re-reading follows each burst.
constexpr int kRelistDelayMs = 100;
// Enough of a file's start to tell its type when its name does not.
constexpr qsizetype kSniffBytes = 4096;

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

QMimeType MimeOf(const QMimeDatabase& mimes, int folderFd, const FolderEntry& entry) {
    const QMimeType byName =
        mimes.mimeTypeForFile(entry.displayName, QMimeDatabase::MatchExtension);
    if (!byName.isDefault())
        return byName;
    // Opened without blocking and checked again: the file may have been
    // replaced by a pipe since it was listed.
    QByteArray head;
    const int fd =
        ::openat(folderFd, entry.name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0) {
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
            head.resize(kSniffBytes);
            const ssize_t got = ::read(fd, head.data(), size_t(head.size()));
            head.resize(got > 0 ? qsizetype(got) : 0);
        }
        ::close(fd);
    }
    return mimes.mimeTypeForFileNameAndData(entry.displayName, head);
}

// Reads the folder with the C library, which hands out every name as bytes.
// Keeps regular files and links to them; leaves out dot-files, folders,
// pipes, sockets, devices and broken links.
void ReadFolder(FolderListModel::Channel& channel, quint64 reading, const QByteArray& folder) {
    const QMimeDatabase mimes;

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
        const QMimeType mime = MimeOf(mimes, ::dirfd(dir), entry);
        entry.mimeName = mime.name();
        entry.typeText = mime.comment();
        batch.push_back(std::move(entry));

        if (batch.size() >= batchSize || sinceSent.elapsed() >= kBatchMs) {
            if (!channel.Send(reading, std::exchange(batch, {}), false))
                break;
            batchSize = kBatch;
            sinceSent.restart();
        }
    }
    if (dir)
        ::closedir(dir);
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
    endResetModel();
    m_firstReading = true;
    StartReading();
}

void FolderListModel::StartReading() {
    m_reading = true;
    m_relisted.clear();
    const quint64 reading = ++m_generation;
    m_channel->generation = reading;
    QThreadPool::globalInstance()->start(
        [channel = m_channel, reading, folder = QFile::encodeName(m_folder)] {
            ReadFolder(*channel, reading, folder);
        });
}

void FolderListModel::OnBatch(quint64 generation, const std::vector<FolderEntry>& batch,
                              bool last) {
    if (generation != m_generation)
        return;
    if (m_firstReading)
        AddRows(batch);
    else
        m_relisted.insert(m_relisted.end(), batch.begin(), batch.end());
    if (!last)
        return;
    m_reading = false;
    if (m_firstReading) {
        m_firstReading = false;
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
    ReadCells(entries);
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(entries.begin()),
                  std::make_move_iterator(entries.end()));
    endInsertRows();

    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    const auto less = [this](int left, int right) { return Less(m_rows[left], m_rows[right]); };
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
    std::vector<FolderEntry> changed;
    for (int row = int(m_rows.size()) - 1; row >= 0;) {
        const auto found = listedAt.constFind(m_rows[size_t(row)].name);
        if (found != listedAt.cend()) {
            const FolderEntry& now = listed[*found];
            FolderEntry& shown = m_rows[size_t(row)];
            known[*found] = true;
            if (now.size != shown.size || now.modifiedMs != shown.modifiedMs ||
                now.mimeName != shown.mimeName) {
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
        while (row >= 0 && !listedAt.contains(m_rows[size_t(row)].name))
            --row;
        beginRemoveRows({}, row + 1, last);
        m_rows.erase(m_rows.begin() + row + 1, m_rows.begin() + last + 1);
        endRemoveRows();
    }
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
    std::vector<int> newRow(order.size());
    std::vector<FolderEntry> rows;
    rows.reserve(m_rows.size());
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
        if (m_sortColumn >= ColumnCount) {
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
    // Ties go by name, then by the bytes, so the order never depends on
    // the order of reading.
    if (order == 0)
        order = NaturalCompare(left.displayName, right.displayName);
    if (order == 0)
        order = left.name < right.name ? -1 : (right.name < left.name ? 1 : 0);
    return m_sortOrder == Qt::AscendingOrder ? order < 0 : order > 0;
}

void FolderListModel::sort(int column, Qt::SortOrder order) {
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
    return parent.isValid() ? 0 : ColumnCount + m_columns.ColumnCount();
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
            const FileColumnCell* cell = Cell(*entry, index.column() - ColumnCount);
            return cell ? cell->text : QString();
        }
        }
    case Qt::DecorationRole:
        return index.column() == NameColumn ? IconFor(entry->mimeName) : QVariant();
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
    for (FolderEntry& entry : m_rows)
        entry.cells.reset();
    endResetModel();
    ReadCells(m_rows);
}

void FolderListModel::Refresh() {
    if (m_folder.isEmpty())
        return;
    if (m_reading)
        m_changedWhileReading = true;
    else
        StartReading();
}

void FolderListModel::ReadCells(const std::vector<FolderEntry>& entries) {
    if (!m_columns.Provider() || entries.empty())
        return;
    std::vector<QByteArray> names;
    names.reserve(entries.size());
    for (const FolderEntry& entry : entries)
        names.push_back(entry.name);
    m_columns.Read(QFile::encodeName(m_folder), names);
}

// Puts the cells into their rows; the views repaint the columns once, and
// the rows move when they are sorted by one of these columns.
void FolderListModel::OnCells(const std::vector<std::pair<QByteArray, FileCells>>& cells) {
    QHash<QByteArray, int> rowOf;
    rowOf.reserve(qsizetype(m_rows.size()));
    for (size_t row = 0; row < m_rows.size(); ++row)
        rowOf.insert(m_rows[row].name, int(row));
    for (const auto& [name, values] : cells) {
        const auto found = rowOf.constFind(name);
        if (found != rowOf.cend())
            m_rows[size_t(*found)].cells = values;
    }
    if (m_rows.empty())
        return;
    emit dataChanged(index(0, ColumnCount), index(rowCount() - 1, columnCount() - 1),
                     {Qt::DisplayRole});
    if (m_sortColumn >= ColumnCount)
        sort(m_sortColumn, m_sortOrder);
}
