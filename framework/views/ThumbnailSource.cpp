#include "framework/views/ThumbnailSource.h"

#include "framework/views/EmbeddedPreview.h"
#include "framework/views/HeifThumbnail.h"
#include "framework/views/Orientation.h"
#include "metadata/ByteSource.h"
#include "metadata/ExifSummary.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "metadata/RegularFile.h"

#include <QFile>
#include <QImageReader>

#include <cstring>

#include <fcntl.h>
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

// The formats Qt's image readers are asked to decode when there is no
// preview. A raw file is not among them: Qt's TIFF reader would decode its
// sensor data, or take long to fail. Unknown lets Qt try what the metadata
// reader does not know (GIF, BMP, ...).
bool QtDecodes(PhotoFormat format) {
    switch (format) {
    case PhotoFormat::Unknown:
    case PhotoFormat::Jpeg:
    case PhotoFormat::Tiff:
    case PhotoFormat::Png:
    case PhotoFormat::WebpLossy:
    case PhotoFormat::WebpLossless:
    case PhotoFormat::Jxl:
        return true;
    default:
        return false;
    }
}

bool IsHeif(PhotoFormat format) {
    return format == PhotoFormat::Heic || format == PhotoFormat::Heif ||
           format == PhotoFormat::Avif;
}

QImage DecodeScaled(int fd, int edge, int orientation) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return {};
    QFile device;
    if (!device.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {};
    QImageReader reader(&device);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > edge || size.height() > edge))
        reader.setScaledSize(size.scaled(edge, edge, Qt::KeepAspectRatio).expandedTo({1, 1}));
    const QImageIOHandler::Transformations t = reader.transformation();
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (orientation >= 1 && orientation <= 8)
        return Upright(FitInto(image, edge), orientation);
    // Qt's own reading of the orientation, for the formats our reader does not read.
    QTransform turn;
    if (t & QImageIOHandler::TransformationRotate90)
        turn.rotate(90);
    if (t & QImageIOHandler::TransformationMirror)
        image = image.mirrored(true, false);
    if (t & QImageIOHandler::TransformationFlip)
        image = image.mirrored(false, true);
    return FitInto(turn.isIdentity() ? image : image.transformed(turn), edge);
}

} // namespace

QImage LoadThumbnail(const QByteArray& path, int edge) {
    if (path.isEmpty() || path.contains('\0') || edge <= 0)
        return {};
    uint64_t size = 0;
    const Descriptor file{OpenRegularDescriptor(AT_FDCWD, path.constData(), false, &size)};
    if (file.fd < 0 || size == 0)
        return {};

    ExifSummary summary;
    std::memset(&summary, 0, sizeof summary);
    PhotoReader reader(&summary, &DiscardingSink());
    FileSource source(file.fd, size, ByteSource::kDefaultCap);
    reader.Read(source, path.constData());
    const PhotoFormat format = reader.Format();
    const int orientation = summary.orientation;

    if (IsHeif(format))
        return HeifThumbnail(file.fd, size, edge);

    const EmbeddedPicture& preview = reader.Blocks().preview;
    if (std::memcmp(preview.coding, "jpeg", 5) == 0) {
        const QImage image = DecodeJpegScaled(ReadExtent(file.fd, size, preview.extent), edge);
        if (!image.isNull())
            return Upright(image, orientation);
    }
    if (!QtDecodes(format))
        return {};
    return DecodeScaled(file.fd, edge, orientation);
}
