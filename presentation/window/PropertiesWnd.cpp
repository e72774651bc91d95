#include "presentation/window/PropertiesWnd.h"

#include "presentation/TagRows.h"
#include "presentation/window/PaneClipboard.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

namespace {
constexpr int kTagColumnWidth = 150;
constexpr int kDataColumnWidth = 500;
} // namespace

CPropertiesWnd::CPropertiesWnd(QWidget* parent) : DockablePane(parent), m_tagList(ClientArea()) {
    m_tagList.setObjectName(QStringLiteral("tagList"));
    m_tagList.setItemDelegate(&m_tagDelegate);
    m_tagList.setProperty("controlId", kTagListId);
    m_tagList.setRootIsDecorated(false);
    m_tagList.setSortingEnabled(false);
    m_tagList.setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tagList.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tagList.setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tagList.setAccessibleName(QStringLiteral("Properties"));
    m_tagList.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_tagList, &QWidget::customContextMenuRequested, this,
            &CPropertiesWnd::ShowContextMenu);
    // Tooltips are decided here: only a value cut off by its column has one.
    m_tagList.viewport()->installEventFilter(this);

    SetTagListFont();

    m_tagList.setColumnCount(2);
    m_tagList.setHeaderLabels({QStringLiteral("Tag"), QStringLiteral("Data")});
    QHeaderView* header = m_tagList.header();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The widths are set once; a stretching last column would change "Data".
    header->setStretchLastSection(false);
    header->resizeSection(0, kTagColumnWidth);
    header->resizeSection(1, kDataColumnWidth);

    // Focus given to the pane reaches its client area, and from there the list.
    ClientArea()->setFocusProxy(&m_tagList);
    ResizeTagList();
}

bool CPropertiesWnd::AddTagRow(const QString& label, const QString& value) {
    m_tagList.addTopLevelItem(new QTreeWidgetItem({label, value}));
    return true;
}

bool CPropertiesWnd::FillTagList(const ExifSummary& record) {
    return FillTagRows(BuildTagRows(record));
}

bool CPropertiesWnd::FillTagRows(const std::vector<TagRow>& rows) {
    for (const TagRow& row : rows)
        AddTagRow(QString::fromUtf8(row.label), QString::fromUtf8(row.value));
    // Laid out now, not on the next turn of the event loop: the rows are
    // painted with the click that chose the file, not a frame after it.
    m_tagList.doItemsLayout();
    return true;
}

QString CPropertiesWnd::SelectedRowsText() const {
    QStringList lines;
    for (int i = 0; i < m_tagList.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_tagList.topLevelItem(i);
        if (item->isSelected())
            lines << item->text(0) + QLatin1Char('\t') + item->text(1);
    }
    return JoinLines(lines);
}

bool CPropertiesWnd::CanCopyRows() const {
    return !m_tagList.selectedItems().isEmpty();
}

void CPropertiesWnd::CopyRows() {
    if (CanCopyRows())
        PutOnClipboard(SelectedRowsText());
}

void CPropertiesWnd::SelectAllRows() {
    m_tagList.selectAll();
}

QMenu* CPropertiesWnd::CreateContextMenu(QTreeWidgetItem* item, QWidget* parent) {
    auto* menu = new QMenu(parent);
    QAction* copy = menu->addAction(QStringLiteral("&Copy"), this, &CPropertiesWnd::CopyRows);
    copy->setEnabled(CanCopyRows());
    const QString value = item ? item->text(1) : QString();
    QAction* copyValue =
        menu->addAction(QStringLiteral("Copy &Value"), this, [value] { PutOnClipboard(value); });
    copyValue->setEnabled(item != nullptr);
    menu->addSeparator();
    QAction* all =
        menu->addAction(QStringLiteral("Select &All"), this, &CPropertiesWnd::SelectAllRows);
    all->setEnabled(m_tagList.topLevelItemCount() > 0);
    return menu;
}

void CPropertiesWnd::ShowContextMenu(const QPoint& pos) {
    // From the keyboard (menu key) the row is the current one.
    QTreeWidgetItem* item = m_tagList.itemAt(pos);
    if (!item)
        item = m_tagList.currentItem();
    QMenu* menu = CreateContextMenu(item, &m_tagList);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_tagList.viewport()->mapToGlobal(pos));
}

QString CPropertiesWnd::ToolTipAt(const QPoint& viewportPos) const {
    return ClippedCellText(m_tagList, viewportPos);
}

bool CPropertiesWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tagList.viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, m_tagList.viewport());
        return true;
    }
    return DockablePane::eventFilter(watched, event);
}

void CPropertiesWnd::SetTagListFont() {
    // Built afresh from the current application fonts every time, so
    // repeated changes never compound.
    const QFont menuFont = QApplication::font("QMenu");
    QFont font = QApplication::font();
    if (menuFont.pixelSize() > 0)
        font.setPixelSize(menuFont.pixelSize());
    else
        font.setPointSizeF(menuFont.pointSizeF());
    font.setWeight(menuFont.weight());
    font.setItalic(menuFont.italic());
    m_tagListFont = font;
    m_tagList.setFont(m_tagListFont);
}

void CPropertiesWnd::ResizeTagList() {
    m_tagList.setGeometry(ClientRect());
}

void CPropertiesWnd::AdjustLayout() {
    ResizeTagList();
}

bool CPropertiesWnd::event(QEvent* event) {
    const bool handled = DockablePane::event(event);
    if (event->type() == QEvent::ApplicationFontChange)
        SetTagListFont();
    return handled;
}

void CPropertiesWnd::changeEvent(QEvent* event) {
    DockablePane::changeEvent(event);
    // A new system theme or font reaches the pane as one of these.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ThemeChange)
        SetTagListFont();
}
