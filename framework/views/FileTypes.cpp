#include "framework/views/FileTypes.h"

#include "framework/views/FolderListModel.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough of a file's start to tell its type when its name does not.
constexpr qsizetype kSniffBytes = 4096;

} // namespace

QMimeType FileTypes::ByName(const QString& name) {
    const qsizetype dot = name.indexOf(u'.', 1);
    if (dot < 0)
        return m_mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    const QString extension = name.mid(dot);
    const auto known = m_byExtension.constFind(extension);
    if (known != m_byExtension.cend())
        return *known;
    const QMimeType type = m_mimes.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    m_byExtension.insert(extension, type);
    return type;
}

void FileTypes::Describe(int folderFd, FolderEntry& entry) {
    QMimeType mime = ByName(entry.displayName);
    if (mime.isDefault()) {
        // Opened without blocking and checked again: the file may have been
        // replaced by a pipe since it was listed.
        QByteArray head;
        const int fd = ::openat(folderFd, entry.name.constData(),
                                O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd >= 0) {
            struct stat info {};
            if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
                head.resize(kSniffBytes);
                const ssize_t got = ::read(fd, head.data(), size_t(head.size()));
                head.resize(got > 0 ? qsizetype(got) : 0);
            }
            ::close(fd);
        }
        mime = m_mimes.mimeTypeForFileNameAndData(entry.displayName, head);
    }
    entry.mimeName = mime.name();
    auto comment = m_comments.constFind(entry.mimeName);
    if (comment == m_comments.cend())
        comment = m_comments.insert(entry.mimeName, mime.comment());
    entry.typeText = *comment;
}
