#include "tools/DirectoryWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

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

std::string Join(const std::string& folder, const char* name) {
    std::string path = folder;
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

void WalkFolder(const std::string& folder, FileVisitor& visitor) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        visitor.Unlistable(folder, std::strerror(errno));
        return;
    }
    // Names, and whether the listing said regular file (not a link).
    std::vector<std::pair<std::string, bool>> files;
    std::vector<std::string> folders;
    const int fd = ::dirfd(dir);
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
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
    if (listError != 0)
        visitor.Unlistable(folder, std::strerror(listError));

    // The folder stays open while its files are read: each is opened by its
    // name in it. It is closed before the walk goes down, so one folder at a
    // time is held open.
    std::sort(files.begin(), files.end());
    std::string path;
    for (const auto& [name, regular] : files) {
        path = Join(folder, name.c_str());
        visitor.VisitFile(FoundFile{path, fd, name.c_str(), regular});
    }
    ::closedir(dir);
    files = {};

    std::sort(folders.begin(), folders.end());
    for (const std::string& name : folders)
        WalkFolder(Join(folder, name.c_str()), visitor);
}

} // namespace

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

void WalkOperand(const std::string& operand, bool recursive, FileVisitor& visitor) {
    if (recursive && IsFolder(operand))
        WalkFolder(operand, visitor);
    else
        visitor.VisitFile(FoundFile{operand});
}
