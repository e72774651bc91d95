#pragma once

#include "presentation/TagRows.h"
#include "presentation/window/PropertiesWnd.h"

#include <QString>
#include <QTreeWidget>

#include <ostream>
#include <utility>
#include <vector>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

using ShownRows = std::vector<std::pair<QString, QString>>;

// What the tag list shows, row by row: "Tag" and "Data".
inline ShownRows RowsOf(CPropertiesWnd& pane) {
    ShownRows rows;
    QTreeWidget& list = pane.TagList();
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        rows.emplace_back(list.topLevelItem(i)->text(0), list.topLevelItem(i)->text(1));
    return rows;
}

inline ShownRows AsShown(const std::vector<TagRow>& rows) {
    ShownRows shown;
    for (const TagRow& row : rows)
        shown.emplace_back(QString::fromUtf8(row.label), QString::fromUtf8(row.value));
    return shown;
}
