#include "presentation/window/MetadataWnd.h"

#include "presentation/window/MetadataModel.h"
#include "presentation/window/PaneClipboard.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QStandardItemModel>
#include <QUrl>

#include <utility>

namespace {

constexpr int kTagColumnWidth = 170;
constexpr int kValueColumnWidth = 260;
constexpr int kIdColumnWidth = 70;
constexpr int kTypeColumnWidth = 90;

} // namespace

CMetadataWnd::CMetadataWnd(QWidget* parent)
    : DockablePane(parent), m_filterBox(ClientArea()), m_tree(ClientArea()),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setAccessibleName(QStringLiteral("Metadata"));

    m_filterBox.setObjectName(QStringLiteral("metadataFilter"));
    m_filterBox.setPlaceholderText(QStringLiteral("Filter tags and values"));
    m_filterBox.setAccessibleName(QStringLiteral("Filter metadata"));
    m_filterBox.setAccessibleDescription(
        QStringLiteral("Shows only the tags whose name or value contains the text"));
    m_filterBox.setClearButtonEnabled(true);
    m_filterBox.installEventFilter(this);
    connect(&m_filterBox, &QLineEdit::textChanged, this, &CMetadataWnd::ApplyFilter);

    m_tree.setObjectName(QStringLiteral("metadataTree"));
    m_tree.setItemDelegate(&m_delegate);
    m_tree.setAccessibleName(QStringLiteral("Metadata tags"));
    m_tree.setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree.setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree.setUniformRowHeights(true); // lets the view skip measuring each row
    m_tree.setSortingEnabled(false);
    m_tree.setAllColumnsShowFocus(true);
    m_tree.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_tree, &QWidget::customContextMenuRequested, this, &CMetadataWnd::ShowContextMenu);

    m_model = MetadataModel::Build({});
    m_filter.setSourceModel(m_model.get());
    m_tree.setModel(&m_filter);

    QHeaderView* header = m_tree.header();
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->resizeSection(MetadataModel::TagColumn, kTagColumnWidth);
    header->resizeSection(MetadataModel::ValueColumn, kValueColumnWidth);
    header->resizeSection(MetadataModel::IdColumn, kIdColumnWidth);
    header->resizeSection(MetadataModel::TypeColumn, kTypeColumnWidth);
    header->setSectionHidden(MetadataModel::IdColumn, true);
    header->setSectionHidden(MetadataModel::TypeColumn, true);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, &CMetadataWnd::ShowHeaderMenu);

    // Tab enters the pane where it reads, at the filter box above the rows;
    // the pane's proxy decides where, for a proxy further down the chain would
    // make Tab step over the box. Activating the pane goes to the rows.
    setTabOrder(&m_filterBox, &m_tree);
    ClientArea()->setFocusProxy(&m_filterBox);
    // Parented to the client area, the shortcut also works slid in.
    auto* find = new QShortcut(QKeySequence::Find, ClientArea(), nullptr, nullptr,
                               Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        m_filterBox.setFocus(Qt::ShortcutFocusReason);
        m_filterBox.selectAll();
    });
    AdjustLayout();
}

CMetadataWnd::~CMetadataWnd() {
    m_tree.setModel(nullptr);
    m_filter.setSourceModel(nullptr);
}

void CMetadataWnd::FillEntries(std::vector<MetadataEntry> entries) {
    if (!m_tree.isVisible()) {
        m_pending = std::move(entries);
        return;
    }
    m_pending.reset();
    Build(entries);
}

void CMetadataWnd::BuildPending() {
    if (!m_pending)
        return;
    const std::vector<MetadataEntry> entries = std::exchange(m_pending, std::nullopt).value();
    Build(entries);
}

void CMetadataWnd::Build(const std::vector<MetadataEntry>& entries) {
    // A new model in one step: the proxy and the view reset once instead of
    // following every inserted row.
    std::unique_ptr<QStandardItemModel> model = MetadataModel::Build(entries);
    m_filter.setSourceModel(model.get());
    m_model = std::move(model);
    m_tree.expandAll();
}

void CMetadataWnd::Clear() {
    FillEntries({});
}

void CMetadataWnd::SetFilterText(const QString& text) {
    m_filterBox.setText(text);
}

void CMetadataWnd::ApplyFilter(const QString& text) {
    m_filter.SetText(text);
    // Groups shown again by a shorter text come back collapsed.
    m_tree.expandAll();
}

QString CMetadataWnd::ValueOf(const QModelIndex& index) const {
    if (!index.isValid() || !index.parent().isValid())
        return {};
    return index.siblingAtColumn(MetadataModel::ValueColumn).data().toString();
}

QString CMetadataWnd::GeoUriOf(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    return index.siblingAtColumn(MetadataModel::TagColumn)
        .data(MetadataModel::GeoUriRole)
        .toString();
}

bool CMetadataWnd::OpenInMap(const QModelIndex& index) {
    const QString uri = GeoUriOf(index);
    if (uri.isEmpty() || !m_openUrl)
        return false;
    return m_openUrl(QUrl(uri));
}

QString CMetadataWnd::SelectedRowsText() const {
    const QItemSelectionModel* selection = m_tree.selectionModel();
    QStringList lines;
    for (int g = 0; g < m_filter.rowCount(); ++g) {
        const QModelIndex group = m_filter.index(g, 0);
        const bool wholeGroup = selection->isRowSelected(g, QModelIndex());
        const QString groupName = group.data().toString();
        for (int r = 0; r < m_filter.rowCount(group); ++r) {
            if (!wholeGroup && !selection->isRowSelected(r, group))
                continue;
            const QModelIndex tag = m_filter.index(r, MetadataModel::TagColumn, group);
            lines << groupName + QLatin1Char('\t') + tag.data().toString() + QLatin1Char('\t') +
                         ValueOf(tag);
        }
    }
    return JoinLines(lines);
}

bool CMetadataWnd::CanCopyRows() const {
    return m_tree.selectionModel()->hasSelection();
}

void CMetadataWnd::CopyRows() {
    if (CanCopyRows())
        PutOnClipboard(SelectedRowsText());
}

void CMetadataWnd::SelectAllRows() {
    m_tree.selectAll();
}

QMenu* CMetadataWnd::CreateContextMenu(const QModelIndex& index, QWidget* parent) {
    auto* menu = new QMenu(parent);
    QAction* copy = menu->addAction(QStringLiteral("&Copy"), this, &CMetadataWnd::CopyRows);
    copy->setEnabled(CanCopyRows());
    const QString value = ValueOf(index);
    QAction* copyValue =
        menu->addAction(QStringLiteral("Copy &Value"), this, [value] { PutOnClipboard(value); });
    copyValue->setEnabled(index.isValid() && index.parent().isValid());
    menu->addSeparator();
    QAction* all =
        menu->addAction(QStringLiteral("Select &All"), this, &CMetadataWnd::SelectAllRows);
    all->setEnabled(m_filter.rowCount() > 0);
    if (!GeoUriOf(index).isEmpty()) {
        menu->addSeparator();
        const QPersistentModelIndex row(index);
        menu->addAction(QStringLiteral("Open in &Map"), this, [this, row] { OpenInMap(row); });
    }
    return menu;
}

QMenu* CMetadataWnd::CreateHeaderMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    QHeaderView* header = m_tree.header();
    for (int column : {int(MetadataModel::IdColumn), int(MetadataModel::TypeColumn)}) {
        const QString name = m_filter.headerData(column, Qt::Horizontal).toString();
        QAction* action = menu->addAction(name);
        action->setCheckable(true);
        action->setChecked(!header->isSectionHidden(column));
        connect(action, &QAction::toggled, this,
                [header, column](bool shown) { header->setSectionHidden(column, !shown); });
    }
    return menu;
}

void CMetadataWnd::ShowContextMenu(const QPoint& pos) {
    // From the keyboard (menu key) the row is the current one.
    QModelIndex index = m_tree.indexAt(pos);
    if (!index.isValid())
        index = m_tree.currentIndex();
    QMenu* menu = CreateContextMenu(index, &m_tree);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_tree.viewport()->mapToGlobal(pos));
}

void CMetadataWnd::ShowHeaderMenu(const QPoint& pos) {
    QMenu* menu = CreateHeaderMenu(m_tree.header());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_tree.header()->mapToGlobal(pos));
}

QWidget* CMetadataWnd::ActivationFocus() {
    return &m_tree;
}

void CMetadataWnd::AdjustLayout() {
    const QRect area = ClientRect();
    const int filterHeight = m_filterBox.sizeHint().height();
    m_filterBox.setGeometry(area.x(), area.y(), area.width(), filterHeight);
    m_tree.setGeometry(area.x(), area.y() + filterHeight, area.width(),
                       std::max(0, area.height() - filterHeight));
}

bool CMetadataWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_filterBox && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !m_filterBox.text().isEmpty()) {
            m_filterBox.clear();
            return true;
        }
        // Down leaves the box for the rows, as in a search field.
        if (key->key() == Qt::Key_Down && m_filter.rowCount() > 0) {
            m_tree.setFocus(Qt::TabFocusReason);
            if (!m_tree.currentIndex().isValid())
                m_tree.setCurrentIndex(m_filter.index(0, 0));
            return true;
        }
    }
    return DockablePane::eventFilter(watched, event);
}
