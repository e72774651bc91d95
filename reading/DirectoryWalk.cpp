#include "reading/DirectoryWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Names of a listing read between two looks at FileVisitor::Stopped().
constexpr unsigned kNamesBetweenStopChecks = 256;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i])
            return false;
    }
    return true;
}

std::string Join(const std::string& folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

enum class EntryKind { Skip, File, LinkedFile, Folder };

EntryKind Classify(int folderFd, const dirent& entry) {
    const char* name = entry.d_name;
    unsigned char type = entry.d_type;
    struct stat st;
    if (type == DT_UNKNOWN) {
        if (::fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return EntryKind::Skip;
        if (S_ISDIR(st.st_mode))
            type = DT_DIR;
        else if (S_ISREG(st.st_mode))
            type = DT_REG;
        else if (S_ISLNK(st.st_mode))
            type = DT_LNK;
    }
    if (type == DT_DIR)
        return EntryKind::Folder;
    if (!HasPhotoExtension(name))
        return EntryKind::Skip;
    if (type == DT_REG)
        return EntryKind::File;
    // A link counts when it leads to a regular file; links to folders are
    // left alone.
    if (type == DT_LNK && ::fstatat(folderFd, name, &st, 0) == 0 && S_ISREG(st.st_mode))
        return EntryKind::LinkedFile;
    return EntryKind::Skip;
}

bool Unlistable(const std::string& folder, int error, FileVisitor& visitor) {
    FoundFile found;
    found.path = folder;
    found.kind = FoundFile::Kind::UnlistableFolder;
    found.reason = std::strerror(error);
    return visitor.Visit(std::move(found));
}

bool WalkFolder(const std::string& folder, FileVisitor& visitor) {
    if (visitor.Stopped())
        return false;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return Unlistable(folder, errno, visitor);
    // Names, and whether the listing said regular file (not a link).
    std::vector<std::pair<std::string, bool>> files;
    std::vector<std::string> folders;
    const int fd = ::dirfd(dir);
    unsigned sinceStopCheck = 0;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (++sinceStopCheck == kNamesBetweenStopChecks) {
            sinceStopCheck = 0;
            if (visitor.Stopped()) {
                ::closedir(dir);
                return false;
            }
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        switch (Classify(fd, *entry)) {
        case EntryKind::File:
            files.emplace_back(name, true);
            break;
        case EntryKind::LinkedFile:
            files.emplace_back(name, false);
            break;
        case EntryKind::Folder:
            folders.emplace_back(name);
            break;
        case EntryKind::Skip:
            break;
        }
        errno = 0;
    }
    const int listError = errno;
    // The listing's buffer goes; the folder itself stays open for its files,
    // each opened by its name in it, while they wait for a reader. When it
    // cannot be kept (no descriptor left), they are opened by their paths.
    std::shared_ptr<const OpenFolder> open;
    if (!files.empty()) {
        const int kept = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (kept >= 0)
            open = std::make_shared<const OpenFolder>(kept);
    }
    ::closedir(dir);
    if (listError != 0 && !Unlistable(folder, listError, visitor))
        return false;
    visitor.FolderListed(folder, files.size());

    std::sort(files.begin(), files.end());
    for (const auto& [name, regular] : files) {
        FoundFile found;
        found.path = Join(folder, name);
        found.folder = open;
        found.nameStart = static_cast<uint32_t>(found.path.size() - name.size());
        found.listedRegular = regular;
        if (!visitor.Visit(std::move(found)))
            return false;
    }
    files = {};
    open.reset();

    std::sort(folders.begin(), folders.end());
    for (const std::string& name : folders)
        if (!WalkFolder(Join(folder, name), visitor))
            return false;
    return true;
}

} // namespace

OpenFolder::~OpenFolder() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool HasPhotoExtension(std::string_view name) {
    static constexpr std::string_view kExtensions[] = {
        "jpg", "jpeg", "jpe", "jfif", "tif", "tiff", "dng",  "cr2",  "nef", "nrw",
        "arw", "sr2",  "srf", "pef",  "srw", "orf",  "rw2",  "raw",  "rwl", "3fr",
        "iiq", "erf",  "mef", "mos",  "dcr", "kdc",  "heic", "heif", "hif", "avif",
        "cr3", "jxl",  "png", "webp", "raf", "mov",  "mp4",  "m4v",  "3gp",
    };
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view extension = name.substr(dot + 1);
    for (const std::string_view known : kExtensions)
        if (EqualsIgnoringCase(extension, known))
            return true;
    return false;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool WalkOperand(const std::string& operand, bool recursive, FileVisitor& visitor) {
    if (recursive && IsFolder(operand))
        return WalkFolder(operand, visitor);
    FoundFile found;
    found.path = operand;
    return visitor.Visit(std::move(found));
}
