#pragma once

#include "framework/docking/DockablePane.h"
#include "presentation/TagRows.h"

#include <QFont>
#include <QString>
#include <QTreeWidget>

struct ExifSummary;

// The "Properties" pane: the tags of the last inspected picture as a
// two-column list, "Tag" and "Data". It fills nothing by itself; the file
// inspection empties the list and hands the record to FillTagList.
class CPropertiesWnd : public DockablePane {
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

    QTreeWidget& TagList() { return m_tagList; }
    const QFont& TagListFont() const { return m_tagListFont; }

protected:
    void AdjustLayout() override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QFont m_tagListFont;
    QTreeWidget m_tagList;
};
