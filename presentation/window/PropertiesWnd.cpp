#include "presentation/window/PropertiesWnd.h"

#include "presentation/TagRows.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>

namespace {
constexpr int kTagColumnWidth = 150;
constexpr int kDataColumnWidth = 500;
} // namespace

CPropertiesWnd::CPropertiesWnd(QWidget* parent) : DockablePane(parent), m_tagList(ClientArea()) {
    m_tagList.setObjectName(QStringLiteral("tagList"));
    m_tagList.setProperty("controlId", kTagListId);
    m_tagList.setRootIsDecorated(false);
    m_tagList.setSortingEnabled(false);
    m_tagList.setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tagList.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tagList.setEditTriggers(QAbstractItemView::NoEditTriggers);

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
    return true;
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
