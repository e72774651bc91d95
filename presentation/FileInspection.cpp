#include "FileInspection.h"

#include "ByteStream.h"
#include "ExifSummary.h"
#include "JpegExifReader.h"
#include "MessageSink.h"
#include "PropertiesWnd.h"

#include <QFile>

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Nobody reads standard output of a window program.
class DiscardingSink final : public MessageSink {
public:
    void Print(const char*) override {}
};

// Opens `path` for binary reading only when it is a regular file. The type
// is checked on the open descriptor, so a name swapped for a FIFO between
// the test and the open cannot block the window; O_NONBLOCK keeps the open
// of a FIFO without a writer from waiting.
std::FILE* OpenRegularFile(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return file;
}

} // namespace

bool InspectFile(const QByteArray& path, CPropertiesWnd& pane) {
    // A name with a zero byte inside names no file; the C calls would see a
    // shorter, different name.
    if (path.isEmpty() || path.contains('\0'))
        return false;
    const char* name = path.constData();
    if (::access(name, F_OK) != 0 || ::access(name, R_OK) != 0)
        return false;

    std::FILE* file = OpenRegularFile(name);
    if (!file)
        return true;

    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    DiscardingSink sink;
    // Lives until the rows are added: the record's thumbnail points into it.
    CJpegExifReader reader(&record, &sink);
    {
        FileStream stream(file);
        reader.ReadSections(stream);
    }
    std::fclose(file);

    pane.TagList().clear();
    if (!record.exifValid)
        return false;
    pane.FillTagList(record);
    return true;
}

bool InspectFile(const QString& path, CPropertiesWnd& pane) {
    return InspectFile(QFile::encodeName(path), pane);
}
