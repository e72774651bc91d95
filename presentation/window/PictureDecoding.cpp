#include "presentation/window/PictureDecoding.h"

#include "framework/views/ThumbnailSource.h"
#include "metadata/LocatedBlocks.h"
#include "presentation/window/EmbeddedPreview.h"
#include "presentation/window/HeifThumbnail.h"
#include "presentation/window/Orientation.h"
#if VELMORA_VIDEO_FRAMES
#include "presentation/window/VideoFrame.h"
#endif

namespace {

// Qt's decode turned by the EXIF Orientation our reader found, or by Qt's
// own reading for the formats our reader does not read.
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

QImage DecodeRequested(int fd, uint64_t fileSize, const PictureRequest& request) {
    if (fd < 0 || request.edge <= 0 || fileSize == 0)
        return {};
    switch (request.source) {
    case PictureSource::JpegExtent: {
        FileExtent extent{};
        extent.offset = request.offset;
        extent.length = request.length;
        const QImage image = DecodeJpegScaled(ReadExtent(fd, fileSize, extent), request.edge);
        return image.isNull() ? image : Upright(image, request.orientation);
    }
    case PictureSource::Heif:
        return HeifThumbnail(fd, fileSize, request.edge);
    case PictureSource::HeifPrimary:
        return HeifPicture(fd, fileSize, QSize(request.edge, request.edge));
    case PictureSource::ImageReader:
        return DecodeUpright(fd, request.edge, request.orientation);
    case PictureSource::VideoFrame:
#if VELMORA_VIDEO_FRAMES
        return VideoFrame(fd, fileSize, request.edge, request.orientation);
#else
        return {};
#endif
    }
    return {};
}

bool DecodesVideoFrames() {
    return VELMORA_VIDEO_FRAMES != 0;
}
