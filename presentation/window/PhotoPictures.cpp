#include "presentation/window/PhotoPictures.h"

#include "framework/views/ThumbnailSource.h"
#include "metadata/ByteSource.h"
#include "metadata/ExifSummary.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "metadata/RegularFile.h"
#include "presentation/window/EmbeddedPreview.h"
#include "presentation/window/HeifThumbnail.h"
#include "presentation/window/Orientation.h"

#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// Qt's decode turned by the EXIF Orientation our reader found, or by Qt's own
// reading for the formats our reader does not read.
QImage DecodeUpright(int fd, int edge, int orientation) {
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;
    const QImage image = DecodeFileScaled(fd, edge, &transformation);
    if (image.isNull())
        return {};
    if (orientation >= 1 && orientation <= 8)
        return Upright(image, orientation);
    return FitInto(Transformed(image, transformation), edge);
}

} // namespace

bool QtReadersDecode(PhotoFormat format) {
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

bool IsHeifFormat(PhotoFormat format) {
    return format == PhotoFormat::Heic || format == PhotoFormat::Heif ||
           format == PhotoFormat::Avif;
}

QImage PhotoPictures::Picture(const QByteArray& path, int edge) const {
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

    if (IsHeifFormat(format))
        return HeifThumbnail(file.fd, size, edge);

    const EmbeddedPicture& preview = reader.Blocks().preview;
    if (std::memcmp(preview.coding, "jpeg", 5) == 0) {
        const QImage image = DecodeJpegScaled(ReadExtent(file.fd, size, preview.extent), edge);
        if (!image.isNull())
            return Upright(image, orientation);
    }
    if (!QtReadersDecode(format))
        return {};
    return DecodeUpright(file.fd, edge, orientation);
}
