#include "presentation/window/PhotoPictures.h"

#include "metadata/ByteSource.h"
#include "metadata/ExifSummary.h"
#include "metadata/MessageSink.h"
#include "metadata/PhotoReader.h"
#include "metadata/RegularFile.h"
#include "presentation/window/Orientation.h"
#include "presentation/window/PictureDecoder.h"
#include "presentation/window/PictureDecoding.h"

#include <QPainter>
#include <QPen>

#include <cstring>

#include <fcntl.h>

namespace {

std::vector<std::pair<QByteArray, DecoderFault>> FaultsForTests() {
    std::vector<std::pair<QByteArray, DecoderFault>> faults;
    const QByteArray setting = qgetenv("VELMORA_DECODER_FAULTS");
    for (const QByteArray& item : setting.split(',')) {
        const qsizetype colon = item.indexOf(':');
        const QByteArray kind = item.left(colon);
        const QByteArray name = item.mid(colon + 1);
        if (colon <= 0 || name.isEmpty())
            continue;
        if (kind == "crash")
            faults.emplace_back(name, DecoderFault::Crash);
        else if (kind == "hang")
            faults.emplace_back(name, DecoderFault::Hang);
        else if (kind == "memory")
            faults.emplace_back(name, DecoderFault::ExhaustMemory);
    }
    return faults;
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

PhotoPictures::PhotoPictures(std::shared_ptr<PictureDecoder> decoder)
    : m_decoder(std::move(decoder)), m_faults(FaultsForTests()) {}

PhotoPictures::~PhotoPictures() = default;

QImage PhotoPictures::Picture(const QByteArray& path, int edge) const {
    const DecodedPicture decoded = Decoded(path, edge);
    return decoded.outcome == DecodeOutcome::Failed ? BrokenPicture(edge) : decoded.image;
}

DecodedPicture PhotoPictures::Decoded(const QByteArray& path, int edge) const {
    if (!m_decoder || path.isEmpty() || path.contains('\0') || edge <= 0)
        return {};
    uint64_t size = 0;
    const OwnedDescriptor file(OpenRegularDescriptor(AT_FDCWD, path.constData(), false, &size));
    if (file.fd < 0 || size == 0)
        return {};

    // Our own reader, here in the window: it says what there is to decode.
    ExifSummary summary;
    std::memset(&summary, 0, sizeof summary);
    PhotoReader reader(&summary, &DiscardingSink());
    FileSource source(file.fd, size, ByteSource::kDefaultCap);
    reader.Read(source, path.constData());
    const PhotoFormat format = reader.Format();

    PictureRequest request;
    request.edge = edge;
    request.orientation = summary.orientation;
    for (const auto& [name, fault] : m_faults)
        if (path.endsWith(name))
            request.fault = fault;

    if (IsHeifFormat(format)) {
        request.source = PictureSource::Heif;
        request.orientation = 0; // upright by its own rotation already
        return m_decoder->Decode(file.fd, request);
    }
    const EmbeddedPicture& preview = reader.Blocks().preview;
    if (std::memcmp(preview.coding, "jpeg", 5) == 0) {
        request.source = PictureSource::JpegExtent;
        request.offset = preview.extent.offset;
        request.length = preview.extent.length;
        const DecodedPicture decoded = m_decoder->Decode(file.fd, request);
        // A preview that is no JPEG after all leaves the picture itself.
        if (decoded.outcome != DecodeOutcome::NoPicture)
            return decoded;
    }
    if (IsMovieFormat(format)) {
        // No cover picture or thumbnail: one of its frames. A movie whose
        // frame cannot be had keeps the generic video icon, whatever went
        // wrong: its frame is a bonus, not the file's own picture.
        if (!DecodesVideoFrames())
            return {};
        request.source = PictureSource::VideoFrame;
        request.orientation = OrientationOfRotation(reader.Blocks().movie.rotation);
        request.offset = 0;
        request.length = 0;
        DecodedPicture frame = m_decoder->Decode(file.fd, request);
        if (frame.outcome == DecodeOutcome::Failed)
            frame.outcome = DecodeOutcome::NoPicture;
        return frame;
    }
    if (!QtReadersDecode(format))
        return {};
    request.source = PictureSource::ImageReader;
    request.offset = 0;
    request.length = 0;
    return m_decoder->Decode(file.fd, request);
}

QImage BrokenPicture(int edge) {
    // A grey sheet with a red cross, drawn rather than loaded: it is made on
    // the thumbnail threads, where no style may be asked.
    const int side = qBound(8, edge, 1024);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = side / 16.0;
    const QRectF sheet(3 * unit, 2 * unit, 10 * unit, 12 * unit);
    painter.setPen(QPen(QColor(110, 110, 110), qMax(1.0, unit * 0.6)));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawRect(sheet);
    painter.setPen(QPen(QColor(200, 40, 40), qMax(1.5, unit * 1.2), Qt::SolidLine, Qt::RoundCap));
    const QRectF cross = sheet.adjusted(3 * unit, 4 * unit, -3 * unit, -4 * unit);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
    return image;
}
