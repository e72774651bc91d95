#pragma once

#include "framework/views/VolumeSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <optional>

// One line of /proc/self/mountinfo, the parts a volume is told by.
struct MountEntry {
    QString path;   // the mount point, its octal escapes undone
    QString type;   // "vfat", "fuse.sshfs"...
    QString source; // "/dev/sdb1", "//nas/photos"...
};

// The lines of a mountinfo text; a line that cannot be read is skipped.
QList<MountEntry> ParseMountInfo(QByteArrayView text);

// Whether a mount is a volume the user put there (the mounts under /media,
// /run/media, /mnt, and network shares wherever they are) rather than part of
// the system (the root, the home folder's own disk, proc, tmpfs, snaps...);
// nullopt when it is not. `labels` maps devices ("/dev/sdb1") to their labels.
std::optional<MountedVolume> UserVolume(const MountEntry& mount, const QString& home,
                                        const QHash<QString, QString>& labels);

// A folder inside the desktop's gvfs mount names the share or device it
// shows: "smb-share:server=nas,share=photos", "mtp:host=Pixel_7". The volume
// it stands for; nullopt for a name that names none.
std::optional<MountedVolume> GvfsVolume(const QString& gvfsRoot, const QString& entry);

// The volumes of the running system, followed as they come and go: the
// kernel marks the mount table's file when it changes (poll's POLLPRI, which
// Qt calls an exception), and the desktop's gvfs shares, which live inside one
// mount, are looked at once a second while that mount exists.
class MountTable : public VolumeSource {
    Q_OBJECT
public:
    explicit MountTable(QObject* parent = nullptr);
    ~MountTable() override;

    QList<MountedVolume> Volumes() const override { return m_volumes; }

private:
    void Refresh();
    QList<MountedVolume> ReadVolumes();

    int m_fd = -1;
    std::optional<QSocketNotifier> m_notifier;
    QTimer m_poll; // without the file's mark, and for gvfs
    QString m_gvfsRoot;
    QList<MountedVolume> m_volumes;
};
