#include "resources/Resources.h"

void InitResources() {
    Q_INIT_RESOURCE(velmora);
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : kApplicationIconSizes)
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap LoadBitmap(unsigned id) {
    return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(id));
}
