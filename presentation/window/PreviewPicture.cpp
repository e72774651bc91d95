#include "presentation/window/PreviewPicture.h"

#include "framework/views/ThumbnailSource.h"
#include "metadata/ByteSource.h"
#include "metadata/ExifSummary.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "metadata/RegularFile.h"
#include "presentation/window/EmbeddedPreview.h"
#include "presentation/window/HeifThumbnail.h"
#include "presentation/window/Orientation.h"
#include "presentation/window/PhotoPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <climits>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Qt's allocation limit in megabytes: a 100% view of a 100-megapixel photo,
// and no lying header's worth more.
constexpr int kAllocationLimitMb = 512;

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

bool Transposes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// `image` scaled down to fit `box`; an empty box, or an image inside it,
// leaves it as it is.
QImage FitIntoBox(const QImage& image, QSize box) {
    if (box.isEmpty() || image.isNull() ||
        (image.width() <= box.width() && image.height() <= box.height()))
        return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// What `reader` decodes, scaled while decoding to fit `box` (as stored) when
// it is larger; as stored, never turned.
QImage ReadInto(QImageReader& reader, QSize box, QSize* size) {
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QSize stored = reader.size();
    if (size)
        *size = stored;
    if (!box.isEmpty() && stored.isValid() &&
        (stored.width() > box.width() || stored.height() > box.height()))
        reader.setScaledSize(stored.scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1}));
    return FitIntoBox(reader.read(), box);
}

QSize UprightSize(QSize stored, int orientation) {
    return Transposes(orientation) ? stored.transposed() : stored;
}

// The embedded JPEG preview of `bytes` for an upright `box`: null unless it
// covers the box or `anySize` (a raw file has nothing better).
QImage FromEmbedded(const QByteArray& bytes, QSize box, int orientation, bool anySize) {
    if (bytes.size() < 4 || uchar(bytes[0]) != 0xFF || uchar(bytes[1]) != 0xD8)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, "jpeg");
    const QSize stored = reader.size();
    if (!anySize && !Covers(UprightSize(stored, orientation), box))
        return {};
    const QSize storedBox = Transposes(orientation) ? box.transposed() : box;
    const QImage image = ReadInto(reader, storedBox, nullptr);
    return image.isNull() ? QImage() : Upright(image, orientation);
}

// The photo itself through Qt's readers, turned by the EXIF orientation our
// reader found, else by Qt's own reading of it.
QImage FromQtReaders(int fd, QSize box, int orientation, QSize* fullSize) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return {};
    QFile device;
    if (!device.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {};
    QImageReader reader(&device);
    const QImageIOHandler::Transformations transformation = reader.transformation();
    const bool ours = orientation >= 1 && orientation <= 8;
    const bool transposes = ours ? Transposes(orientation)
                                 : (transformation & QImageIOHandler::TransformationRotate90) != 0;
    QSize stored;
    const QImage image = ReadInto(reader, transposes ? box.transposed() : box, &stored);
    if (image.isNull())
        return {};
    if (stored.isValid())
        *fullSize = transposes ? stored.transposed() : stored;
    return ours ? Upright(image, orientation) : Transformed(image, transformation);
}

} // namespace

bool Covers(QSize picture, QSize box) {
    return !box.isEmpty() && picture.isValid() &&
           (picture.width() >= box.width() || picture.height() >= box.height());
}

PreviewPicture PictureForPreview(const QByteArray& path, QSize box) {
    PreviewPicture result;
    result.gap = PreviewGap::Unreadable;
    if (path.isEmpty() || path.contains('\0'))
        return result;
    uint64_t size = 0;
    const Descriptor file{OpenRegularDescriptor(AT_FDCWD, path.constData(), false, &size)};
    if (file.fd < 0 || size == 0)
        return result;
    result.gap = PreviewGap::Undecodable;

    ExifSummary summary;
    std::memset(&summary, 0, sizeof summary);
    PhotoReader reader(&summary, &DiscardingSink());
    FileSource source(file.fd, size, ByteSource::kDefaultCap);
    reader.Read(source, path.constData());
    const PhotoFormat format = reader.Format();
    const int orientation = summary.orientation;
    const LocatedBlocks& blocks = reader.Blocks();
    // The container's size, else the record's (a JPEG's frame header).
    if (blocks.width > 0 && blocks.height > 0 && blocks.width <= INT_MAX &&
        blocks.height <= INT_MAX)
        result.fullSize = UprightSize(QSize(int(blocks.width), int(blocks.height)), orientation);
    else if (summary.width > 0 && summary.height > 0)
        result.fullSize = UprightSize(QSize(summary.width, summary.height), orientation);

    const auto done = [&result](QImage image, PreviewOrigin origin) {
        result.image = std::move(image);
        result.origin = origin;
        result.gap = PreviewGap::None;
        return result;
    };

    if (IsHeifFormat(format)) {
        // libheif turns the picture by the file's own rotation (see HeifThumbnail).
        bool fromThumbnail = false;
        QImage image = HeifPicture(file.fd, size, box, &fromThumbnail);
        if (image.isNull())
            return result;
        if (!fromThumbnail)
            result.fullSize = image.size();
        return done(FitIntoBox(image, box),
                    fromThumbnail ? PreviewOrigin::Embedded : PreviewOrigin::Decoded);
    }

    const bool raw = !QtReadersDecode(format);
    QByteArray embedded;
    if (std::memcmp(blocks.preview.coding, "jpeg", 5) == 0)
        embedded = ReadExtent(file.fd, size, blocks.preview.extent);
    if (!embedded.isEmpty()) {
        QImage image = FromEmbedded(embedded, box, orientation, raw);
        if (!image.isNull())
            return done(std::move(image), PreviewOrigin::Embedded);
    }
    if (raw) {
        result.gap = PreviewGap::RawWithoutPreview;
        return result;
    }
    QSize decodedSize;
    QImage image = FromQtReaders(file.fd, box, orientation, &decodedSize);
    if (!image.isNull()) {
        if (decodedSize.isValid())
            result.fullSize = decodedSize;
        return done(std::move(image), PreviewOrigin::Decoded);
    }
    // A photo Qt cannot decode may still carry a smaller preview that it can.
    if (!embedded.isEmpty()) {
        image = FromEmbedded(embedded, box, orientation, true);
        if (!image.isNull())
            return done(std::move(image), PreviewOrigin::Embedded);
    }
    return result;
}
