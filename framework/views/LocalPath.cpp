#include "framework/views/LocalPath.h"

#include <QFile>

QByteArray LocalPathBytes(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.isEmpty() || QFile::decodeName(bytes) != path)
        return {};
    return bytes;
}

QUrl LocalFileUrl(const QByteArray& pathBytes) {
    if (pathBytes.isEmpty() || !pathBytes.startsWith('/'))
        return {};
    return QUrl::fromEncoded("file://" + pathBytes.toPercentEncoding("/"), QUrl::StrictMode);
}
