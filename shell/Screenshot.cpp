#include "Screenshot.h"

#include "PropertiesWnd.h"

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
    QString text;
    const QTreeWidget& list = pane.TagList();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        text += item->text(0) + QLatin1Char('\t') + item->text(1) + QLatin1Char('\n');
    }
    return text;
}
