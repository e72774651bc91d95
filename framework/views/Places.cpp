#include "framework/views/Places.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>

#include <algorithm>

namespace {

struct UserFolderIcon {
    const char* key;
    const char* icon;
};

constexpr UserFolderIcon kIcons[] = {
    {"PICTURES", "folder-pictures"},   {"DESKTOP", "user-desktop"},
    {"DOWNLOAD", "folder-download"},   {"VIDEOS", "folder-videos"},
    {"DOCUMENTS", "folder-documents"},
};

const char* VolumeIcon(MountedVolume::Kind kind) {
    switch (kind) {
    case MountedVolume::Kind::Flash:
        return "media-flash";
    case MountedVolume::Kind::Optical:
        return "media-optical";
    case MountedVolume::Kind::Camera:
        return "camera-photo";
    case MountedVolume::Kind::Phone:
        return "phone";
    case MountedVolume::Kind::Network:
        return "folder-remote";
    case MountedVolume::Kind::Removable:
        break;
    }
    return "drive-removable-media";
}

} // namespace

QList<Place> OrderPlaces(const DesktopFolders& desktop, const QList<MountedVolume>& volumes) {
    QList<Place> places;
    places.append(
        {Place::Kind::Home, QObject::tr("Home"), desktop.home, QStringLiteral("user-home")});
    for (const UserFolder& folder : desktop.userFolders) {
        // Two keys may name one folder; it is shown once.
        const bool shown = std::any_of(places.begin(), places.end(), [&folder](const Place& place) {
            return place.path == folder.path;
        });
        if (shown || !QFileInfo(folder.path).isDir())
            continue;
        // Named as the folder is, in the user's language.
        Place place{Place::Kind::UserFolder, QFileInfo(folder.path).fileName(), folder.path,
                    QStringLiteral("folder")};
        for (const UserFolderIcon& icon : kIcons)
            if (folder.key == QLatin1StringView(icon.key))
                place.iconName = QString::fromLatin1(icon.icon);
        places.append(place);
    }
    for (const MountedVolume& volume : volumes)
        places.append({Place::Kind::Volume, volume.name, volume.path,
                       QString::fromLatin1(VolumeIcon(volume.kind)), volume.kind});
    places.append({Place::Kind::Computer, QObject::tr("Computer"), QDir::rootPath(),
                   QStringLiteral("computer")});
    return places;
}

qsizetype PlaceHolding(const QList<Place>& places, const QString& path) {
    const QString clean = QDir::cleanPath(path);
    qsizetype best = -1;
    for (qsizetype i = 0; i < places.size(); ++i) {
        const QString& root = places[i].path;
        const bool holds =
            clean == root || clean.startsWith(root.endsWith(u'/') ? root : root + u'/');
        if (holds && (best < 0 || root.size() > places[best].path.size()))
            best = i;
    }
    return best;
}
