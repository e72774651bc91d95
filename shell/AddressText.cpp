#include "shell/AddressText.h"

#include <QDir>

QString AddressOfFolder(const QString& path, const QString& home) {
    const QString base = QDir::cleanPath(home);
    // A home of "/" would turn every path into "~...".
    if (home.isEmpty() || base == QStringLiteral("/") || !path.startsWith(u'/'))
        return path;
    const QString clean = QDir::cleanPath(path);
    if (clean == base)
        return QStringLiteral("~");
    if (clean.startsWith(base + u'/'))
        return u'~' + clean.sliced(base.size());
    return path;
}

QString FolderOfAddress(const QString& text, const QString& home) {
    const QString typed = text.trimmed();
    if (home.isEmpty() || !typed.startsWith(u'~'))
        return text;
    if (typed.size() == 1)
        return QDir::cleanPath(home);
    if (typed[1] != u'/')
        return text;
    return QDir::cleanPath(home + typed.sliced(1));
}
