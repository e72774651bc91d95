#pragma once

#include <QList>
#include <QObject>
#include <QString>

// A mounted file system the user would call a volume of its own: an SD card,
// a USB disk, a camera or phone, a disc, a network share.
struct MountedVolume {
    enum class Kind { Removable, Flash, Optical, Camera, Phone, Network };

    QString path; // where it is mounted: absolute and clean
    QString name; // what the user knows it by: its label, else its folder's name
    Kind kind = Kind::Removable;

    friend bool operator==(const MountedVolume&, const MountedVolume&) = default;
};

// Where the folder tree learns which volumes are mounted: the system's mount
// table in the program (MountTable), a list a test feeds in its tests.
class VolumeSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // The volumes mounted now, in a stable order.
    virtual QList<MountedVolume> Volumes() const = 0;

signals:
    // Volumes() has changed: one appeared, went away or was renamed.
    void changed();
};
