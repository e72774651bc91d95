#include "framework/views/ThumbnailSource.h"

#include <QFile>
#include <QImageReader>
#include <QTransform>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pictures so large that even a scaled decode would take long are left as
// icons: an allocation limit in megabytes for Qt's readers.
constexpr int kAllocationLimitMb = 512;

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// The file opened read-only and never blocking, only when it is a regular
// file that holds something: asked before opening, so a device is never
// opened, and again on the descriptor, for a name swapped in between.
int OpenRegular(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size == 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QImage FitInto(const QImage& image, int edge) {
    if (image.isNull() || (image.width() <= edge && image.height() <= edge))
        return image;
    return image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage ReadScaled(QImageReader& reader, int edge) {
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > edge || size.height() > edge))
        reader.setScaledSize(size.scaled(edge, edge, Qt::KeepAspectRatio).expandedTo({1, 1}));
    return FitInto(reader.read(), edge);
}

QImage DecodeFileScaled(int fd, int edge, QImageIOHandler::Transformations* transformation) {
    if (fd < 0 || edge <= 0 || ::lseek(fd, 0, SEEK_SET) != 0)
        return {};
    QFile device;
    if (!device.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {};
    QImageReader reader(&device);
    reader.setAllocationLimit(kAllocationLimitMb);
    if (transformation)
        *transformation = reader.transformation();
    return ReadScaled(reader, edge);
}

QImage Transformed(const QImage& image, QImageIOHandler::Transformations transformation) {
    QImage turned = image;
    if (transformation & QImageIOHandler::TransformationMirror)
        turned = turned.mirrored(true, false);
    if (transformation & QImageIOHandler::TransformationFlip)
        turned = turned.mirrored(false, true);
    if (transformation & QImageIOHandler::TransformationRotate90)
        turned = turned.transformed(QTransform().rotate(90));
    return turned;
}

QImage ImageReaderThumbnails::Picture(const QByteArray& path, int edge) const {
    if (path.isEmpty() || path.contains('\0') || edge <= 0)
        return {};
    const Descriptor file{OpenRegular(path)};
    if (file.fd < 0)
        return {};
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;
    const QImage image = DecodeFileScaled(file.fd, edge, &transformation);
    return FitInto(Transformed(image, transformation), edge);
}
