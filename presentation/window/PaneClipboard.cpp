#include "presentation/window/PaneClipboard.h"

#include "presentation/window/RowCopySource.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMimeData>
#include <QStyle>

bool HoldsFocus(RowCopySource& source, const QWidget* focus) {
    QWidget* scope = source.FocusScope();
    return focus && scope && (focus == scope || scope->isAncestorOf(focus));
}

QString JoinLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1Char('\n');
    }
    return text;
}

void PutOnClipboard(const QString& text) {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain;charset=utf-8"), text.toUtf8());
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}

QString ClippedCellText(const QAbstractItemView& view, const QPoint& viewportPos) {
    const QModelIndex index = view.indexAt(viewportPos);
    if (!index.isValid())
        return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return {};
    const QRect cell = view.visualRect(index);
    QFont font = view.font();
    const QVariant cellFont = index.data(Qt::FontRole);
    if (cellFont.canConvert<QFont>())
        font = cellFont.value<QFont>();
    // The item delegate leaves a margin on either side of the text.
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const int needed = QFontMetrics(font).horizontalAdvance(text) + 2 * margin;
    return needed > cell.width() ? text : QString();
}
