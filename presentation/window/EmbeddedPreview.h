#pragma once

#include "metadata/LocatedBlocks.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>

// Embedded previews (an EXIF thumbnail, a raw file's preview JPEG, RAF's
// JPEG) are read on their own, so the full picture is never decoded.

// Previews larger than this are not read: no camera writes one, and a lying
// extent must not cost a large allocation.
constexpr uint64_t kMaxPreviewBytes = 8u << 20;

// The bytes of `extent` in the open file `fd` of `fileSize` bytes, read with
// pread. Empty when the extent is empty, does not lie wholly in the file, is
// over kMaxPreviewBytes, or cannot be read.
QByteArray ReadExtent(int fd, uint64_t fileSize, const FileExtent& extent);

// A JPEG held in `bytes`, decoded at about `edge` pixels on its longer side
// (the decoder scales while decoding) and fitted into `edge` x `edge`; not
// turned. Null when it is not a JPEG the decoder reads.
QImage DecodeJpegScaled(const QByteArray& bytes, int edge);
