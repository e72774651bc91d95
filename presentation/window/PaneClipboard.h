#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemView;
class QModelIndex;
class QPoint;

// Small pieces the copyable panes share.

// Each line followed by a line feed: "a\tb\n" for one line.
QString JoinLines(const QStringList& lines);
// Puts `text` on the clipboard as plain UTF-8 text.
void PutOnClipboard(const QString& text);

// The whole text of the cell at `viewportPos` when it is wider than the
// cell shows it (elided); empty when it fits or nothing is there.
QString ClippedCellText(const QAbstractItemView& view, const QPoint& viewportPos);
