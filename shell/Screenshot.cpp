#include "shell/Screenshot.h"

#include "presentation/RowText.h"
#include "presentation/window/PropertiesWnd.h"

#include <QImageWriter>
#include <QPixmap>
#include <QTreeWidget>
#include <QWidget>

bool SaveScreenshot(QWidget& window, const QString& path, QString& error) {
    const QPixmap picture = window.grab();
    QImageWriter writer(path, "png");
    if (!writer.write(picture.toImage())) {
        error = writer.errorString();
        return false;
    }
    return true;
}

QString TagRowsText(CPropertiesWnd& pane) {
    std::vector<TagRow> rows;
    const QTreeWidget& list = pane.TagList();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        rows.push_back({item->text(0).toStdString(), item->text(1).toStdString()});
    }
    std::string text;
    AppendRowsText(rows, text);
    return QString::fromStdString(text);
}
