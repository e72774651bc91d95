#include "framework/views/MountTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace {

constexpr int kPollMs = 1000;
// Far above any real mount table; a longer read is cut off there.
constexpr qsizetype kMaxTableSize = 8 * 1024 * 1024;
const QString kDiskLabels = QStringLiteral("/dev/disk/by-label");

// The kernel writes space, tab, newline and backslash in a path as \ooo.
QString Unescape(QByteArrayView field) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) { return field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(i + 1) && isOctal(i + 2) &&
            isOctal(i + 3)) {
            bytes += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                          (field[i + 3] - '0'));
            i += 3;
        } else {
            bytes += field[i];
        }
    }
    return QFile::decodeName(bytes);
}

bool IsUnder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + u'/');
}

bool IsSystemType(const QString& type) {
    static const std::array<QLatin1StringView, 28> kTypes{
        QLatin1StringView("autofs"),      QLatin1StringView("binfmt_misc"),
        QLatin1StringView("bpf"),         QLatin1StringView("cgroup"),
        QLatin1StringView("cgroup2"),     QLatin1StringView("configfs"),
        QLatin1StringView("debugfs"),     QLatin1StringView("devpts"),
        QLatin1StringView("devtmpfs"),    QLatin1StringView("efivarfs"),
        QLatin1StringView("fusectl"),     QLatin1StringView("fuse.gvfsd-fuse"),
        QLatin1StringView("fuse.portal"), QLatin1StringView("fuse.lxcfs"),
        QLatin1StringView("hugetlbfs"),   QLatin1StringView("mqueue"),
        QLatin1StringView("nsfs"),        QLatin1StringView("overlay"),
        QLatin1StringView("proc"),        QLatin1StringView("pstore"),
        QLatin1StringView("ramfs"),       QLatin1StringView("rpc_pipefs"),
        QLatin1StringView("securityfs"),  QLatin1StringView("squashfs"),
        QLatin1StringView("sysfs"),       QLatin1StringView("tmpfs"),
        QLatin1StringView("tracefs"),     QLatin1StringView("fuse.snapfuse"),
    };
    return std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end();
}

bool IsNetworkType(const QString& type) {
    static const std::array<QLatin1StringView, 12> kTypes{
        QLatin1StringView("cifs"),  QLatin1StringView("smb3"),
        QLatin1StringView("smbfs"), QLatin1StringView("nfs"),
        QLatin1StringView("nfs4"),  QLatin1StringView("fuse.sshfs"),
        QLatin1StringView("sshfs"), QLatin1StringView("fuse.rclone"),
        QLatin1StringView("davfs"), QLatin1StringView("afs"),
        QLatin1StringView("ceph"),  QLatin1StringView("fuse.glusterfs"),
    };
    return std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end();
}

// The system's own trees, where a network mount is not the user's share.
bool IsSystemPath(const QString& path) {
    static const std::array<QLatin1StringView, 9> kFolders{
        QLatin1StringView("/proc"), QLatin1StringView("/sys"), QLatin1StringView("/dev"),
        QLatin1StringView("/run"),  QLatin1StringView("/var"), QLatin1StringView("/snap"),
        QLatin1StringView("/boot"), QLatin1StringView("/usr"), QLatin1StringView("/etc"),
    };
    return std::any_of(kFolders.begin(), kFolders.end(),
                       [&path](QLatin1StringView folder) { return IsUnder(path, folder); });
}

bool IsRemovableRoot(const QString& path) {
    return IsUnder(path, QStringLiteral("/media")) || IsUnder(path, QStringLiteral("/run/media")) ||
           IsUnder(path, QStringLiteral("/mnt"));
}

// udev writes unsafe characters of a label's link name as \xHH.
QString UnescapeLabel(const QString& name) {
    QByteArray bytes = QFile::encodeName(name);
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool ok = false;
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            const int value = bytes.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out += char(value);
                i += 3;
                continue;
            }
        }
        out += bytes[i];
    }
    return QString::fromUtf8(out);
}

QHash<QString, QString> DiskLabels() {
    QHash<QString, QString> labels;
    const QDir dir(kDiskLabels);
    for (const QFileInfo& link :
         dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        labels.insert(link.canonicalFilePath(), UnescapeLabel(link.fileName()));
    return labels;
}

QByteArray ReadAll(int fd) {
    QByteArray text;
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return text;
    char buffer[16384];
    while (text.size() < kMaxTableSize) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, got);
    }
    return text;
}

} // namespace

QList<MountEntry> ParseMountInfo(QByteArrayView text) {
    QList<MountEntry> mounts;
    while (!text.empty()) {
        qsizetype end = text.indexOf('\n');
        if (end < 0)
            end = text.size();
        const QList<QByteArray> fields = text.first(end).toByteArray().split(' ');
        text = text.sliced(std::min(end + 1, text.size()));
        // id parent major:minor root mount-point options [optional...] - type source ...
        const qsizetype separator = fields.indexOf(QByteArray("-"));
        if (fields.size() < 6 || separator < 6 || separator + 2 >= fields.size())
            continue;
        MountEntry mount{Unescape(fields[4]), Unescape(fields[separator + 1]),
                         Unescape(fields[separator + 2])};
        if (mount.path.startsWith(u'/'))
            mounts.append(mount);
    }
    return mounts;
}

std::optional<MountedVolume> UserVolume(const MountEntry& mount, const QString& home,
                                        const QHash<QString, QString>& labels) {
    const QString path = QDir::cleanPath(mount.path);
    if (path == QStringLiteral("/") || IsUnder(home, path) || IsSystemType(mount.type))
        return std::nullopt;
    const bool network = IsNetworkType(mount.type);
    if (!IsRemovableRoot(path) && !(network && !IsSystemPath(path)))
        return std::nullopt;
    MountedVolume volume;
    volume.path = path;
    volume.name = labels.value(mount.source);
    if (volume.name.isEmpty())
        volume.name = QFileInfo(path).fileName();
    if (network)
        volume.kind = MountedVolume::Kind::Network;
    else if (mount.type == QStringLiteral("iso9660") || mount.type == QStringLiteral("udf"))
        volume.kind = MountedVolume::Kind::Optical;
    else if (mount.source.startsWith(QStringLiteral("/dev/mmcblk")))
        volume.kind = MountedVolume::Kind::Flash;
    return volume;
}

std::optional<MountedVolume> GvfsVolume(const QString& gvfsRoot, const QString& entry) {
    const qsizetype colon = entry.indexOf(u':');
    if (colon <= 0)
        return std::nullopt;
    const QString scheme = entry.first(colon);
    QHash<QString, QString> values;
    for (const QString& pair : entry.sliced(colon + 1).split(u',')) {
        const qsizetype equals = pair.indexOf(u'=');
        if (equals > 0)
            values.insert(pair.first(equals),
                          QUrl::fromPercentEncoding(pair.sliced(equals + 1).toUtf8()));
    }
    const QString host = values.value(QStringLiteral("host")).replace(u'_', u' ').trimmed();
    MountedVolume volume;
    volume.path = gvfsRoot + u'/' + entry;
    volume.kind = MountedVolume::Kind::Network;
    if (scheme == QStringLiteral("smb-share")) {
        const QString share = values.value(QStringLiteral("share"));
        const QString server = values.value(QStringLiteral("server"));
        if (share.isEmpty() || server.isEmpty())
            return std::nullopt;
        volume.name = QStringLiteral("%1 on %2").arg(share, server);
        return volume;
    }
    if (host.isEmpty())
        return std::nullopt;
    volume.name = host;
    if (scheme == QStringLiteral("gphoto2"))
        volume.kind = MountedVolume::Kind::Camera;
    else if (scheme == QStringLiteral("mtp") || scheme == QStringLiteral("afc"))
        volume.kind = MountedVolume::Kind::Phone;
    return volume;
}

MountTable::MountTable(QObject* parent) : VolumeSource(parent) {
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &MountTable::Refresh);
    m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier.emplace(m_fd, QSocketNotifier::Exception);
        connect(&*m_notifier, &QSocketNotifier::activated, this, &MountTable::Refresh);
    }
    m_volumes = ReadVolumes();
}

MountTable::~MountTable() {
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

QList<MountedVolume> MountTable::ReadVolumes() {
    QList<MountedVolume> volumes;
    QByteArray text;
    if (m_fd >= 0) {
        text = ReadAll(m_fd);
    } else {
        QFile file(QStringLiteral("/proc/self/mountinfo"));
        if (file.open(QIODevice::ReadOnly))
            text = file.read(kMaxTableSize);
    }
    const QList<MountEntry> mounts = ParseMountInfo(text);
    const QString home = QDir::cleanPath(QDir::homePath());
    const bool anyDevice = std::any_of(mounts.begin(), mounts.end(), [](const MountEntry& mount) {
        return mount.source.startsWith(QStringLiteral("/dev/")) && IsRemovableRoot(mount.path);
    });
    const QHash<QString, QString> labels = anyDevice ? DiskLabels() : QHash<QString, QString>();
    m_gvfsRoot.clear();
    for (const MountEntry& mount : mounts) {
        if (mount.type == QStringLiteral("fuse.gvfsd-fuse"))
            m_gvfsRoot = QDir::cleanPath(mount.path);
        if (std::optional<MountedVolume> volume = UserVolume(mount, home, labels))
            volumes.append(*volume);
    }
    if (!m_gvfsRoot.isEmpty()) {
        const QStringList entries =
            QDir(m_gvfsRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& entry : entries)
            if (std::optional<MountedVolume> volume = GvfsVolume(m_gvfsRoot, entry))
                volumes.append(*volume);
    }
    // The shares inside gvfs's mount come and go without the table's mark.
    if (m_fd < 0 || !m_gvfsRoot.isEmpty())
        m_poll.start();
    else
        m_poll.stop();
    return volumes;
}

void MountTable::Refresh() {
    QList<MountedVolume> volumes = ReadVolumes();
    if (volumes == m_volumes)
        return;
    m_volumes = std::move(volumes);
    emit changed();
}
