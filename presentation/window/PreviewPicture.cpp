#include "presentation/window/PreviewPicture.h"

#include "metadata/ByteSource.h"
#include "metadata/ExifSummary.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "metadata/RegularFile.h"
#include "presentation/window/DecoderWire.h"
#include "presentation/window/Orientation.h"
#include "presentation/window/PhotoPictures.h"
#include "presentation/window/PictureDecoder.h"
#include "presentation/window/PictureDecoding.h"

#include <climits>
#include <cstring>

#include <fcntl.h>

namespace {

bool Transposes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

QSize UprightSize(QSize stored, int orientation) {
    return Transposes(orientation) ? stored.transposed() : stored;
}

// `image` scaled down to fit `box`; an empty box, or an image inside it,
// leaves it as it is. The decoder fits a square of the box's longer side.
QImage FitIntoBox(const QImage& image, QSize box) {
    if (box.isEmpty() || image.isNull() ||
        (image.width() <= box.width() && image.height() <= box.height()))
        return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// The gap a decode that did not go well leaves, PreviewGap::None for one
// the caller may follow with another way to a picture.
PreviewGap GapOf(DecodeOutcome outcome) {
    switch (outcome) {
    case DecodeOutcome::Failed:
        return PreviewGap::DecodeFailed;
    case DecodeOutcome::Unavailable:
        return PreviewGap::NoDecoder;
    case DecodeOutcome::Decoded:
    case DecodeOutcome::NoPicture:
        break;
    }
    return PreviewGap::None;
}

} // namespace

bool Covers(QSize picture, QSize box) {
    return !box.isEmpty() && picture.isValid() &&
           (picture.width() >= box.width() || picture.height() >= box.height());
}

PreviewPicture PictureForPreview(PictureDecoder& decoder, const QByteArray& path, QSize box) {
    PreviewPicture result;
    result.gap = PreviewGap::Unreadable;
    if (path.isEmpty() || path.contains('\0'))
        return result;
    uint64_t size = 0;
    const OwnedDescriptor file(OpenRegularDescriptor(AT_FDCWD, path.constData(), false, &size));
    if (file.fd < 0 || size == 0)
        return result;
    result.gap = PreviewGap::Undecodable;

    // Our own reader, here in the window: it says what there is to decode.
    ExifSummary summary;
    std::memset(&summary, 0, sizeof summary);
    PhotoReader reader(&summary, &DiscardingSink());
    FileSource source(file.fd, size, ByteSource::kDefaultCap);
    reader.Read(source, path.constData());
    const PhotoFormat format = reader.Format();
    const int orientation = summary.orientation;
    const LocatedBlocks& blocks = reader.Blocks();
    const bool movie = IsMovieFormat(format);
    // A movie's track is turned by its rotation; its cover picture is not.
    const int uprightBy = movie ? OrientationOfRotation(blocks.movie.rotation) : orientation;
    // The container's size, else the record's (a JPEG's frame header).
    if (blocks.width > 0 && blocks.height > 0 && blocks.width <= INT_MAX &&
        blocks.height <= INT_MAX)
        result.fullSize = UprightSize(QSize(int(blocks.width), int(blocks.height)), uprightBy);
    else if (summary.width > 0 && summary.height > 0)
        result.fullSize = UprightSize(QSize(summary.width, summary.height), uprightBy);

    PictureRequest request;
    request.edge =
        box.isEmpty() ? wire::kMaxSide : qBound(1, qMax(box.width(), box.height()), wire::kMaxSide);
    request.orientation = orientation;
    const auto done = [&result, box](const QImage& image, PreviewOrigin origin) {
        result.image = FitIntoBox(image, box);
        result.origin = origin;
        result.gap = PreviewGap::None;
        return result;
    };
    // A picture smaller than asked for is the photo at its own size.
    const auto ownSize = [&result, &request, box](const QImage& image) {
        if (box.isEmpty() || (image.width() < request.edge && image.height() < request.edge))
            result.fullSize = image.size();
    };
    // A decoder that failed on the file is not asked again for another of
    // its pictures: the pane says why there is none.
    const auto stop = [&result](PreviewGap gap) {
        result.gap = gap;
        return result;
    };

    if (IsHeifFormat(format)) {
        request.source = PictureSource::HeifPrimary;
        request.orientation = 0; // upright by its own rotation already
        const DecodedPicture decoded = decoder.Decode(file.fd, request);
        if (const PreviewGap gap = GapOf(decoded.outcome); gap != PreviewGap::None)
            return stop(gap);
        if (decoded.image.isNull())
            return result;
        ownSize(decoded.image);
        return done(decoded.image, PreviewOrigin::Decoded);
    }

    const bool raw = !QtReadersDecode(format);
    const bool hasPreview = std::memcmp(blocks.preview.coding, "jpeg", 5) == 0;
    // The preview serves when it covers the box (a raw file's at any size);
    // it is no use to a 100% view of a photo that can be decoded itself.
    QImage preview;
    if (hasPreview && (raw || !box.isEmpty())) {
        request.source = PictureSource::JpegExtent;
        request.offset = blocks.preview.extent.offset;
        request.length = blocks.preview.extent.length;
        const DecodedPicture decoded = decoder.Decode(file.fd, request);
        if (const PreviewGap gap = GapOf(decoded.outcome); gap != PreviewGap::None)
            return stop(gap);
        preview = decoded.image;
        if (!preview.isNull() && (raw || Covers(preview.size(), box)))
            return done(preview, PreviewOrigin::Embedded);
    }
    if (movie) {
        if (!DecodesVideoFrames())
            return stop(PreviewGap::VideoWithoutFrame);
        request.source = PictureSource::VideoFrame;
        request.orientation = uprightBy;
        request.offset = 0;
        request.length = 0;
        const DecodedPicture frame = decoder.Decode(file.fd, request);
        if (const PreviewGap gap = GapOf(frame.outcome); gap != PreviewGap::None)
            return stop(gap);
        if (frame.image.isNull())
            return stop(PreviewGap::VideoWithoutFrame);
        ownSize(frame.image);
        return done(frame.image, PreviewOrigin::Decoded);
    }
    if (raw)
        return stop(PreviewGap::RawWithoutPreview);

    request.source = PictureSource::ImageReader;
    request.offset = 0;
    request.length = 0;
    const DecodedPicture decoded = decoder.Decode(file.fd, request);
    if (const PreviewGap gap = GapOf(decoded.outcome); gap != PreviewGap::None)
        return stop(gap);
    if (!decoded.image.isNull()) {
        ownSize(decoded.image);
        return done(decoded.image, PreviewOrigin::Decoded);
    }
    // A photo Qt cannot decode may still carry a smaller preview that it can.
    if (preview.isNull() && hasPreview) {
        request.source = PictureSource::JpegExtent;
        request.offset = blocks.preview.extent.offset;
        request.length = blocks.preview.extent.length;
        const DecodedPicture again = decoder.Decode(file.fd, request);
        if (const PreviewGap gap = GapOf(again.outcome); gap != PreviewGap::None)
            return stop(gap);
        preview = again.image;
    }
    if (!preview.isNull())
        return done(preview, PreviewOrigin::Embedded);
    return result;
}
