#pragma once

#include "framework/views/ThumbnailProvider.h"

#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>

class QImageReader;

// Thumbnails by Qt's image readers: the file list's own pictures, and the
// pieces an application's provider builds its own from.

// `image` scaled down to fit `edge` x `edge` with its aspect kept; a smaller
// one is kept as it is.
QImage FitInto(const QImage& image, int edge);

// What `reader` decodes, scaled while decoding to fit `edge` x `edge` when
// the reader knows the size beforehand, and fitted into it; as stored, never
// turned (the caller turns it, once). Null when the reader cannot decode it.
QImage ReadScaled(QImageReader& reader, int edge);

// The picture in the file open as `fd`, read from its start by whichever of
// Qt's readers knows its format, as ReadScaled gives it. `transformation`,
// when given, gets how Qt's reader says the picture is to be turned upright.
// Pictures so large that even a scaled decode would take long give null.
QImage DecodeFileScaled(int fd, int edge,
                        QImageIOHandler::Transformations* transformation = nullptr);

// `image` turned by Qt's reading of its orientation.
QImage Transformed(const QImage& image, QImageIOHandler::Transformations transformation);

// The file list's pictures when the application supplies none: any regular
// file one of Qt's readers decodes, scaled while decoding and turned upright
// as Qt reads the picture's orientation.
class ImageReaderThumbnails final : public ThumbnailProvider {
public:
    QImage Picture(const QByteArray& path, int edge) const override;
};
