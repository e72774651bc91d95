#include "framework/views/ThumbnailSource.h"

#include "framework/views/Orientation.h"
#include "metadata/ByteStream.h"
#include "metadata/ExifSummary.h"
#include "metadata/JpegExifReader.h"
#include "metadata/MessageSink.h"
#include "metadata/RegularFile.h"

#include <QFile>
#include <QImageReader>

#include <cstdio>
#include <cstring>

namespace {

// Pictures so large that even a scaled decode would take long are left as
// icons: an allocation limit in megabytes for Qt's readers.
constexpr int kAllocationLimitMb = 512;

QImage FitInto(const QImage& image, int edge) {
    if (image.isNull() || (image.width() <= edge && image.height() <= edge))
        return image;
    return image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The EXIF thumbnail, decoded while the reader (which owns its bytes) lives;
// `orientation` gets the picture's orientation, 0 when unknown.
QImage ExifThumbnail(std::FILE* file, int& orientation) {
    ExifSummary summary;
    std::memset(&summary, 0, sizeof summary);
    CJpegExifReader reader(&summary, &DiscardingSink());
    FileStream stream(file);
    if (!reader.ReadSections(stream) || !summary.exifValid)
        return {};
    orientation = summary.orientation;
    if (summary.thumbnailData == nullptr || summary.thumbnailLength == 0 ||
        summary.thumbnailLength > uint32_t(INT32_MAX))
        return {};
    return QImage::fromData(summary.thumbnailData, int(summary.thumbnailLength));
}

QImage DecodeScaled(std::FILE* file, int edge, int orientation) {
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return {};
    QFile device;
    if (!device.open(file, QIODevice::ReadOnly))
        return {};
    QImageReader reader(&device);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > edge || size.height() > edge))
        reader.setScaledSize(size.scaled(edge, edge, Qt::KeepAspectRatio).expandedTo({1, 1}));
    const QImageIOHandler::Transformations transformation = reader.transformation();
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (orientation >= 1 && orientation <= 8)
        return Upright(FitInto(image, edge), orientation);
    // Qt's own reading of the orientation, for the formats our reader does not read.
    const QImageIOHandler::Transformations t = transformation;
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
    std::unique_ptr<std::FILE, FileCloser> file(OpenRegularFile(path.constData()));
    if (!file)
        return {};
    int orientation = 0;
    const QImage thumbnail = ExifThumbnail(file.get(), orientation);
    if (!thumbnail.isNull())
        return Upright(FitInto(thumbnail, edge), orientation);
    return DecodeScaled(file.get(), edge, orientation);
}
