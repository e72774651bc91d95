#include "framework/views/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <array>

namespace {

constexpr qsizetype kMaxFileSize = 64 * 1024;

// The value of a double-quoted shell word: backslash takes the next
// character literally. Null when the quotes are not closed or text follows.
QString Unquote(QStringView word) {
    if (word.size() < 2 || word.front() != u'"')
        return {};
    QString value;
    for (qsizetype i = 1; i < word.size(); ++i) {
        const QChar c = word[i];
        if (c == u'\\' && i + 1 < word.size()) {
            value += word[++i];
        } else if (c == u'"') {
            if (i + 1 != word.size())
                return {};
            return value.isNull() ? QStringLiteral("") : value;
        } else {
            value += c;
        }
    }
    return {};
}

QString ResolvePath(const QString& value, const QString& home) {
    static const QString kHome = QStringLiteral("$HOME");
    if (value.startsWith(kHome) && (value.size() == kHome.size() || value[kHome.size()] == u'/'))
        return QDir::cleanPath(home + value.mid(kHome.size()));
    if (value.startsWith(u'/'))
        return QDir::cleanPath(value);
    return {};
}

} // namespace

QList<UserFolder> ParseUserFolders(QStringView text, const QString& home) {
    QList<UserFolder> folders;
    const QString cleanHome = QDir::cleanPath(home);
    for (QStringView line : text.split(u'\n')) {
        line = line.trimmed();
        if (!line.startsWith(u"XDG_"))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView name = line.first(equals);
        if (!name.endsWith(u"_DIR") || name.size() <= 8)
            continue;
        const QString key = name.sliced(4, name.size() - 8).toString();
        const QString path = ResolvePath(Unquote(line.sliced(equals + 1)), cleanHome);
        if (path.isEmpty() || path == cleanHome)
            continue;
        folders.removeIf([&key](const UserFolder& folder) { return folder.key == key; });
        folders.append({key, path});
    }
    return folders;
}

DesktopFolders DesktopFolders::Read() {
    struct Wanted {
        const char* key;
        QStandardPaths::StandardLocation location;
    };
    static constexpr std::array<Wanted, 5> kWanted{{
        {"PICTURES", QStandardPaths::PicturesLocation},
        {"DESKTOP", QStandardPaths::DesktopLocation},
        {"DOWNLOAD", QStandardPaths::DownloadLocation},
        {"VIDEOS", QStandardPaths::MoviesLocation},
        {"DOCUMENTS", QStandardPaths::DocumentsLocation},
    }};
    DesktopFolders desktop;
    desktop.home = QDir::cleanPath(QDir::homePath());
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = desktop.home + QStringLiteral("/.config");
    QFile file(config + QStringLiteral("/user-dirs.dirs"));
    QList<UserFolder> named;
    if (file.open(QIODevice::ReadOnly))
        named = ParseUserFolders(QString::fromUtf8(file.read(kMaxFileSize)), desktop.home);
    for (const Wanted& wanted : kWanted) {
        const QString key = QString::fromLatin1(wanted.key);
        QString path;
        for (const UserFolder& folder : named)
            if (folder.key == key)
                path = folder.path;
        if (path.isEmpty())
            path = QDir::cleanPath(QStandardPaths::writableLocation(wanted.location));
        if (!path.isEmpty() && path != desktop.home)
            desktop.userFolders.append({key, path});
    }
    return desktop;
}

QString DesktopFolders::Path(const QString& key) const {
    for (const UserFolder& folder : userFolders)
        if (folder.key == key)
            return folder.path;
    return {};
}
