#pragma once

#include "framework/views/UserFolders.h"
#include "framework/views/VolumeSource.h"

#include <QList>
#include <QString>

// A place at the top of the folder tree: where a user's files live rather
// than where the system keeps its own.
struct Place {
    enum class Kind { Home, UserFolder, Volume, Computer };

    Kind kind = Kind::Home;
    QString name;                                                    // as the tree shows it
    QString path;                                                    // absolute and clean
    QString iconName;                                                // the icon theme's name for it
    MountedVolume::Kind volumeKind = MountedVolume::Kind::Removable; // for a volume

    friend bool operator==(const Place&, const Place&) = default;
};

// The places in the order the tree shows them: Home, the user folders that
// exist (in `desktop`'s order), the volumes (in `volumes`' order), then the
// whole file system as "Computer".
QList<Place> OrderPlaces(const DesktopFolders& desktop, const QList<MountedVolume>& volumes);

// The place that holds `path` most closely (the one with the longest path
// that is `path` or one of its ancestors); -1 when none does.
qsizetype PlaceHolding(const QList<Place>& places, const QString& path);
