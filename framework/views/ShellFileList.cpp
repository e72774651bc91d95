#include "framework/views/ShellFileList.h"

#include "framework/views/ColumnChooser.h"
#include "framework/views/LocalPath.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>
#include <QStyle>

#include <algorithm>

namespace {

// Large enough for a photograph to be recognised.
constexpr int kLargeIcon = 96;
constexpr int kSmallIcon = 16;
// Rows are laid out in batches so that a huge folder keeps the window
// responsive while its items arrive.
constexpr int kLayoutBatch = 256;
// The Name column's width until a folder is loaded.
constexpr int kNameColumnWidth = 250;
constexpr int kFolderColumnWidth = 180;

// The list as assistive technology sees it: only the view of the current
// layout. The stack merely hides the other view, whose items would still
// claim to show at their old places, so every file would be listed twice and
// a hidden item could stand where the shown view has its header.
class FileListAccessible : public QAccessibleWidget {
public:
    explicit FileListAccessible(ShellFileList* list) : QAccessibleWidget(list) {}

    int childCount() const override { return int(Shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = Shown();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        return int(Shown().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> Shown() const {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children())
            if (auto* w = qobject_cast<QWidget*>(object); w && !w->isWindow() && !w->isHidden())
                shown.append(w);
        return shown;
    }
};

QAccessibleInterface* FileListAccessibleFactory(const QString&, QObject* object) {
    if (auto* list = qobject_cast<ShellFileList*>(object))
        return new FileListAccessible(list);
    return nullptr;
}

// The folder and the name joined; the root needs no second separator.
template <typename Text> Text JoinPath(const Text& folder, const Text& name) {
    return folder.endsWith('/') ? Text(folder + name) : Text(folder + '/' + name);
}

} // namespace

ShellFileList::ShellFileList(QWidget* parent)
    : QWidget(parent), m_iconView(this), m_detailsView(this), m_stack(new QStackedLayout(this)),
      m_thumbnailDelegate(new ThumbnailDelegate(
          m_iconView, m_thumbnails,
          [this](const QModelIndex& index, int edge) -> std::optional<ThumbnailKey> {
              const FolderEntry* entry = m_model.Entry(index.row());
              // Pictures, and movies (a cover picture or a frame); any
              // other file keeps its type's icon without a provider's look.
              if (!entry || !(entry->mimeName.startsWith(QLatin1String("image/")) ||
                              entry->mimeName.startsWith(QLatin1String("video/"))))
                  return std::nullopt;
              return ThumbnailKey{GetItemPathBytes(index.row()), entry->size, entry->modifiedMs,
                                  edge};
          })) {
    m_iconView.setItemDelegate(m_thumbnailDelegate);
    m_detailsView.setItemDelegate(&m_detailsDelegate);
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(FileListAccessibleFactory);
        return true;
    }();
    (void)accessibleInstalled;
    SetUpView(m_iconView);
    SetUpView(m_detailsView);
    m_iconView.setUniformItemSizes(true);
    m_iconView.setLayoutMode(QListView::Batched);
    m_iconView.setBatchSize(kLayoutBatch);
    m_iconView.setMovement(QListView::Static);
    m_iconView.setResizeMode(QListView::Adjust);
    m_iconView.setWrapping(true);
    m_detailsView.setRootIsDecorated(false);
    m_detailsView.setItemsExpandable(false);
    m_detailsView.setUniformRowHeights(true);
    m_detailsView.setAllColumnsShowFocus(true);
    m_detailsView.setSelectionBehavior(QAbstractItemView::SelectRows);

    m_iconView.setModel(&m_model);
    m_detailsView.setModel(&m_model);
    // Both layouts share one selection.
    QItemSelectionModel* unused = m_detailsView.selectionModel();
    m_detailsView.setSelectionModel(m_iconView.selectionModel());
    delete unused;
    m_keyboardCurrent.Watch(m_iconView);
    m_keyboardCurrent.Watch(m_detailsView);
    connect(&m_keyboardCurrent, &KeyboardCurrent::currentChosen, this,
            [this](const QModelIndex& index) { emit itemChosenByKeyboard(index.row()); });
    m_detailsView.setSortingEnabled(true);
    m_detailsView.sortByColumn(FolderListModel::NameColumn, Qt::AscendingOrder);
    QHeaderView* header = m_detailsView.header();
    header->setStretchLastSection(false);
    header->resizeSection(FolderListModel::NameColumn, kNameColumnWidth);
    EnableColumnChooser(*header);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { OnSectionResized(column, width); });

    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(&m_iconView);
    m_stack->addWidget(&m_detailsView);

    connect(&m_model, &FolderListModel::folderLoaded, this, [this] {
        FitColumns();
        emit folderLoaded(m_currentFolder);
    });
    SetViewMode(ViewMode::Details);
    UpdateAccessibleName();
}

// Members go in reverse order: both views before the model they show.
ShellFileList::~ShellFileList() = default;

void ShellFileList::SetUpView(QAbstractItemView& view) {
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setDragEnabled(false);
    view.installEventFilter(this);
    view.viewport()->installEventFilter(this);
    connect(&view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        emit itemClicked(index.row(), index.column(), GetItemText(index.row(), index.column()));
    });
    connect(&view, &QAbstractItemView::doubleClicked, this, &ShellFileList::ActivateItem);
    // A scroll area takes its viewport's right-clicks on itself; the
    // position is the viewport's.
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&view, &QWidget::customContextMenuRequested, this, [this, &view](const QPoint& pos) {
        emit contextMenuRequested(view.viewport()->mapToGlobal(pos), view.indexAt(pos).row());
    });
}

bool ShellFileList::AcceptsFolder(const QString& path, QString& folder, QByteArray& bytes) const {
    if (path.isEmpty() || QDir::isRelativePath(path))
        return false;
    folder = QDir::cleanPath(path);
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    bytes = LocalPathBytes(folder);
    return !bytes.isEmpty();
}

bool ShellFileList::DisplayFolder(const QString& path) {
    QString folder;
    QByteArray bytes;
    if (!AcceptsFolder(path, folder, bytes))
        return false;

    const bool endsResults = m_model.ShowsResults();
    m_iconView.selectionModel()->clear();
    m_currentFolder = folder;
    m_currentFolderBytes = bytes;
    m_thumbnails.Cancel();
    m_model.SetFolder(folder);
    if (endsResults)
        m_detailsView.header()->setSortIndicator(m_folderSortColumn, m_folderSortOrder);
    m_iconView.scrollToTop();
    m_detailsView.scrollToTop();
    UpdateAccessibleName();
    emit folderChanged(m_currentFolder);
    return true;
}

bool ShellFileList::ShowResults(const QString& path) {
    QString folder;
    QByteArray bytes;
    if (!AcceptsFolder(path, folder, bytes))
        return false;

    QHeaderView* header = m_detailsView.header();
    if (!m_model.ShowsResults()) {
        m_folderSortColumn = header->sortIndicatorSection();
        m_folderSortOrder = header->sortIndicatorOrder();
    }
    m_iconView.selectionModel()->clear();
    m_currentFolder = folder;
    m_currentFolderBytes = bytes;
    m_thumbnails.Cancel();
    m_model.SetResults(folder);
    // No column's arrow: the results come in the order found.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    // The Folder column stands next to the names, as wide as a few levels.
    const int folderColumn = m_model.FolderColumn();
    header->setSectionHidden(folderColumn, false);
    header->moveSection(header->visualIndex(folderColumn), 1);
    header->resizeSection(folderColumn, kFolderColumnWidth);
    m_iconView.scrollToTop();
    m_detailsView.scrollToTop();
    UpdateAccessibleName();
    return true;
}

// The views carry the name too: they take the focus, and a screen reader
// says the focused widget's name, not its parent's.
void ShellFileList::UpdateAccessibleName() {
    QString folder;
    QString name = tr("Files");
    if (GetCurrentFolderName(folder))
        name = m_model.ShowsResults() ? tr("Search results in %1").arg(folder)
                                      : tr("Files in %1").arg(folder);
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(&m_iconView),
                            static_cast<QWidget*>(&m_detailsView)})
        widget->setAccessibleName(name);
}

bool ShellFileList::GetCurrentFolder(QString& path) const {
    path = m_currentFolder;
    return !m_currentFolder.isEmpty();
}

bool ShellFileList::GetCurrentFolderName(QString& name) const {
    if (m_currentFolder.isEmpty()) {
        name.clear();
        return false;
    }
    const QString fileName = QFileInfo(m_currentFolder).fileName();
    name = fileName.isEmpty() ? m_currentFolder : fileName;
    return true;
}

QModelIndex ShellFileList::ItemIndex(int item, int column) const {
    if (item < 0 || column < 0)
        return {};
    return m_model.index(item, column);
}

int ShellFileList::GetItemCount() const {
    return m_model.rowCount();
}

QString ShellFileList::GetItemText(int item, int column) const {
    const QModelIndex index = ItemIndex(item, column);
    return index.isValid() ? index.data(Qt::DisplayRole).toString() : QString();
}

bool ShellFileList::GetItemPath(int item, QString& path) const {
    const QByteArray bytes = GetItemPathBytes(item);
    path = QString::fromUtf8(bytes);
    // A name that is not valid UTF-8 has no text to stand for it.
    if (path.toUtf8() != bytes)
        path.clear();
    return !path.isEmpty();
}

QByteArray ShellFileList::GetItemPathBytes(int item) const {
    const FolderEntry* entry = m_model.Entry(item);
    if (!entry)
        return {};
    // A search result's own folder, below the shown one.
    if (!entry->folder.isEmpty() && entry->folder != ".")
        return JoinPath(JoinPath(m_currentFolderBytes, entry->folder), entry->name);
    return JoinPath(m_currentFolderBytes, entry->name);
}

bool ShellFileList::OpenItem(int item) {
    const QUrl url = LocalFileUrl(GetItemPathBytes(item));
    return url.isValid() && QDesktopServices::openUrl(url);
}

void ShellFileList::ActivateItem(const QModelIndex& index) {
    if (!index.isValid())
        return;
    OpenItem(index.row());
    emit itemActivated(index.row());
}

void ShellFileList::SetViewMode(ViewMode mode) {
    const bool hadFocus = CurrentView() && CurrentView()->hasFocus();
    m_mode = mode;
    switch (mode) {
    case ViewMode::LargeIcons:
        m_iconView.setViewMode(QListView::IconMode);
        m_iconView.setIconSize(QSize(kLargeIcon, kLargeIcon));
        m_iconView.setGridSize(
            QSize(kLargeIcon + kLargeIcon / 2, kLargeIcon + fontMetrics().height() * 2 + 8));
        m_iconView.setWordWrap(true);
        break;
    case ViewMode::SmallIcons:
    case ViewMode::List:
        m_iconView.setViewMode(QListView::ListMode);
        m_iconView.setIconSize(QSize(kSmallIcon, kSmallIcon));
        m_iconView.setGridSize(QSize());
        m_iconView.setWordWrap(false);
        // Small icons fill rows left to right; the list fills columns.
        m_iconView.setFlow(mode == ViewMode::SmallIcons ? QListView::LeftToRight
                                                        : QListView::TopToBottom);
        break;
    case ViewMode::Details:
        break;
    }
    m_thumbnailDelegate->SetEnabled(mode == ViewMode::LargeIcons || mode == ViewMode::SmallIcons);
    // IconMode and ListMode reset these; keep them as the list needs them.
    m_iconView.setMovement(QListView::Static);
    m_iconView.setResizeMode(QListView::Adjust);
    m_iconView.setWrapping(true);
    m_iconView.setDragEnabled(false);

    QAbstractItemView* view = mode == ViewMode::Details
                                  ? static_cast<QAbstractItemView*>(&m_detailsView)
                                  : static_cast<QAbstractItemView*>(&m_iconView);
    m_stack->setCurrentWidget(view);
    setFocusProxy(view);
    if (hadFocus)
        view->setFocus(Qt::OtherFocusReason);
}

void ShellFileList::SetColumnProvider(std::shared_ptr<const FileColumnProvider> provider) {
    m_model.SetColumnProvider(std::move(provider));
    SizeProvidedColumns(false);
    // The model was reset: sorting as the header shows it.
    const QHeaderView* header = m_detailsView.header();
    m_model.sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
}

// The application's columns at the widths their provider asks for; with
// `unsizedOnly`, only those still at the header's default width: a state
// saved before they existed leaves them so.
void ShellFileList::SizeProvidedColumns(bool unsizedOnly) {
    const FileColumnProvider* provider = m_model.ColumnProvider();
    if (!provider)
        return;
    QHeaderView* header = m_detailsView.header();
    const int unit = QFontMetrics(m_detailsView.font()).averageCharWidth();
    const int margin = 2 * m_detailsView.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    for (int column = FolderListModel::ColumnCount; column < header->count(); ++column) {
        const int characters = provider->StartWidth(column - FolderListModel::ColumnCount);
        if (characters <= 0 ||
            (unsizedOnly && header->sectionSize(column) != header->defaultSectionSize()))
            continue;
        header->resizeSection(column, characters * unit + margin);
    }
}

QByteArray ShellFileList::SaveColumnState() const {
    return m_detailsView.header()->saveState();
}

bool ShellFileList::RestoreColumnState(const QByteArray& state) {
    QHeaderView* header = m_detailsView.header();
    if (state.isEmpty() || !header->restoreState(state))
        return false;
    // The name column is always shown, whatever was stored.
    header->setSectionHidden(FolderListModel::NameColumn, false);
    SizeProvidedColumns(true);
    m_detailsView.sortByColumn(header->sortIndicatorSection(), header->sortIndicatorOrder());
    // The stored widths are the user's: kept when a folder is fitted.
    for (int column = 0; column < FolderListModel::ColumnCount; ++column)
        m_userWidths[column] = header->sectionSize(column);
    return true;
}

// As resizeColumnToContents would, over the rows it would look at (the
// header's resize precision), but asking the delegate once per distinct
// text: a column of sizes, dates or types holds a few, and of the names only
// the widest is measured by the delegate. Sizing 10,000 rows item by item
// held the window for a tenth of a second and more.
void ShellFileList::FitColumns() {
    m_fittingColumns = true;
    QHeaderView* header = m_detailsView.header();
    const int precision = header->resizeContentsPrecision();
    const int rows = precision < 0 ? m_model.rowCount() : std::min(m_model.rowCount(), precision);
    const QFontMetrics metrics(m_detailsView.font());
    for (int column = 0; column < FolderListModel::ColumnCount; ++column) {
        if (m_userWidths[column] > 0) {
            header->resizeSection(column, m_userWidths[column]);
            continue;
        }
        int contents = 0;
        if (column == FolderListModel::NameColumn) {
            int widest = -1;
            int widestAdvance = -1;
            for (int row = 0; row < rows; ++row) {
                const int advance = metrics.horizontalAdvance(m_model.Entry(row)->displayName);
                if (advance > widestAdvance) {
                    widestAdvance = advance;
                    widest = row;
                }
            }
            if (widest >= 0)
                contents = m_detailsView.sizeHintForIndex(m_model.index(widest, column)).width();
        } else {
            QSet<QString> measured;
            for (int row = 0; row < rows; ++row) {
                const QModelIndex index = m_model.index(row, column);
                const QString text = index.data(Qt::DisplayRole).toString();
                if (measured.contains(text))
                    continue;
                measured.insert(text);
                contents = std::max(contents, m_detailsView.sizeHintForIndex(index).width());
            }
        }
        const int title = header->isHidden() ? 0 : header->sectionSizeHint(column);
        header->resizeSection(column, std::max(contents, title));
    }
    m_fittingColumns = false;
}

// Every resize that is not our own fitting comes from the user (dragging a
// divider or double-clicking it) or from code acting for them.
void ShellFileList::OnSectionResized(int column, int width) {
    if (m_fittingColumns || column < 0 || column >= FolderListModel::ColumnCount || width <= 0)
        return;
    m_userWidths[column] = width;
}

QAbstractItemView* ShellFileList::CurrentView() const {
    return qobject_cast<QAbstractItemView*>(m_stack->currentWidget());
}

bool ShellFileList::eventFilter(QObject* watched, QEvent* event) {
    const bool onIconView = watched == &m_iconView || watched == m_iconView.viewport();
    const bool onDetailsView = watched == &m_detailsView || watched == m_detailsView.viewport();
    if (!onIconView && !onDetailsView)
        return QWidget::eventFilter(watched, event);
    QAbstractItemView& view = onIconView ? static_cast<QAbstractItemView&>(m_iconView)
                                         : static_cast<QAbstractItemView&>(m_detailsView);

    if (event->type() == QEvent::KeyPress && watched == &view) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ActivateItem(view.currentIndex());
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == view.viewport()) {
        // Clicks on items come through QAbstractItemView::clicked; a click on
        // blank space is reported here, as a click on no item.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            !view.indexAt(mouse->position().toPoint()).isValid())
            emit itemClicked(-1, -1, QString());
    }
    return QWidget::eventFilter(watched, event);
}
