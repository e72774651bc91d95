#include "presentation/window/EmbeddedPreview.h"

#include "framework/views/ThumbnailSource.h"

#include <QBuffer>
#include <QImageReader>

#include <cerrno>

#include <unistd.h>

namespace {

// Qt's allocation limit for a preview's decode, in megabytes.
constexpr int kAllocationLimitMb = 256;

} // namespace

QByteArray ReadExtent(int fd, uint64_t fileSize, const FileExtent& extent) {
    if (extent.length == 0 || extent.length > kMaxPreviewBytes || extent.offset > fileSize ||
        extent.length > fileSize - extent.offset)
        return {};
    QByteArray bytes(qsizetype(extent.length), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done),
                                  off_t(extent.offset + uint64_t(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) // an error, or the file shrank under us
            return {};
        done += n;
    }
    return bytes;
}

QImage DecodeJpegScaled(const QByteArray& bytes, int edge) {
    if (bytes.size() < 4 || uchar(bytes[0]) != 0xFF || uchar(bytes[1]) != 0xD8)
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, "jpeg");
    reader.setAllocationLimit(kAllocationLimitMb);
    // Not turned: the file's EXIF orientation is applied by the caller, once.
    return ReadScaled(reader, edge);
}
