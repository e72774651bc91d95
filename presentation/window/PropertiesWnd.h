#pragma once

#include "framework/docking/DockablePane.h"
#include "framework/views/KeptTextDelegate.h"
#include "presentation/TagRows.h"
#include "presentation/window/RowCopySource.h"

#include <QFont>
#include <QString>
#include <QTreeWidget>

class QMenu;
struct ExifSummary;

// The "Properties" pane: the tags of the last inspected picture as a
// two-column list, "Tag" and "Data". It fills nothing by itself; the file
// inspection empties the list and hands the record to FillTagList.
//
// The rows can be copied (Copy, Copy Value, Select All on its right-click
// menu, and the frame's commands while the pane has the focus), and a value
// wider than its column shows whole in a tooltip.
class CPropertiesWnd : public DockablePane, public RowCopySource {
    Q_OBJECT
public:
    static constexpr int kTagListId = 2;

    explicit CPropertiesWnd(QWidget* parent = nullptr);

    // Appends one row after the last; the list never sorts. Always true.
    bool AddTagRow(const QString& label, const QString& value);
    // Appends the rows of `record` in their fixed order. Always true.
    bool FillTagList(const ExifSummary& record);
    // Appends rows already built (the file inspection builds them). Always true.
    bool FillTagRows(const std::vector<TagRow>& rows);

    // Rebuilds the list's font: the face and other attributes of the
    // application font, the size, weight and slant of the menu font.
    void SetTagListFont();
    // Makes the list fill the client area exactly.
    void ResizeTagList();

    // The selected rows as "Tag<TAB>Data" lines, in list order.
    QString SelectedRowsText() const;
    // The right-click menu for the row `item` (null: no row under the
    // pointer): Copy, Copy Value, Select All. The caller owns it.
    QMenu* CreateContextMenu(QTreeWidgetItem* item, QWidget* parent = nullptr);
    // The whole text of the cell at `viewportPos` when its column is too
    // narrow for it; empty otherwise. The list's tooltip shows it.
    QString ToolTipAt(const QPoint& viewportPos) const;

    // RowCopySource
    QWidget* FocusScope() override { return ClientArea(); }
    bool CanCopyRows() const override;
    void CopyRows() override;
    void SelectAllRows() override;

    QTreeWidget& TagList() { return m_tagList; }
    const QFont& TagListFont() const { return m_tagListFont; }

protected:
    void AdjustLayout() override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowContextMenu(const QPoint& pos);

    QFont m_tagListFont;
    // The labels come back with every photo: their layouts are kept.
    KeptTextDelegate m_tagDelegate;
    QTreeWidget m_tagList;
};
