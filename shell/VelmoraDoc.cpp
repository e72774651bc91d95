#include "shell/VelmoraDoc.h"

#include "metadata/RegularFile.h"
#include "resources/ApplicationIds.h"
#include "shell/UserPrompts.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kUntitled = QStringLiteral("Untitled");

QString ErrnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

CVelmoraDoc::CVelmoraDoc(UserPrompts& prompts, QWidget* window)
    : m_prompts(prompts), m_window(window) {
    using namespace CommandId;
    AddCommand(FileSave, [this] { DoFileSave(); });
    AddCommand(FileSaveAs, [this] { DoFileSaveAs(); });
    AddCommand(FileClose, [this] { emit closeRequested(); });
}

CVelmoraDoc::~CVelmoraDoc() = default;

bool CVelmoraDoc::OnNewDocument() {
    m_pathName.clear();
    SetTitle(kUntitled);
    return true;
}

bool CVelmoraDoc::OnOpenDocument(const QString& path, QString& error) {
    // Opened the way a reader would open it, and closed again at once: the
    // document reads nothing. A FIFO or device is refused without blocking.
    const char* reason = nullptr;
    std::FILE* file = OpenRegularFile(QFile::encodeName(path).constData(), &reason);
    if (file == nullptr) {
        error = QString::fromLocal8Bit(reason);
        return false;
    }
    std::fclose(file);
    SetPathName(path);
    return true;
}

bool CVelmoraDoc::OnSaveDocument(const QString& path, QString& error) {
    // The document has no content to write, and whatever is stored under the
    // name stays as it is: only a name that does not exist yet is created.
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    const int createError = errno;
    if (createError != EEXIST) {
        error = ErrnoText(createError);
        return false;
    }
    struct stat info {};
    if (::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
        error = ErrnoText(EISDIR);
        return false;
    }
    return true;
}

bool CVelmoraDoc::DoFileSave() {
    return DoSave(m_pathName);
}

bool CVelmoraDoc::DoFileSaveAs() {
    return DoSave(QString());
}

bool CVelmoraDoc::DoSave(QString path) {
    if (path.isEmpty()) {
        path = m_prompts.AskSaveFileName(m_window, m_pathName.isEmpty() ? m_title : m_pathName);
        if (path.isEmpty())
            return false; // cancelled
    }
    QString error;
    if (!OnSaveDocument(path, error)) {
        m_prompts.ShowMessage(m_window, QStringLiteral("Cannot save %1.\n%2").arg(path, error));
        return false;
    }
    SetPathName(path);
    return true;
}

void CVelmoraDoc::SetPathName(const QString& path) {
    m_pathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(m_pathName).fileName());
    emit pathNameChanged(m_pathName);
}

void CVelmoraDoc::SetTitle(const QString& title) {
    m_title = title;
    emit titleChanged(m_title);
}
