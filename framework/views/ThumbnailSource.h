#pragma once

#include <QByteArray>
#include <QImage>

// The picture of the file whose name's bytes are `path`, upright and scaled
// to fit `edge` x `edge` pixels with its aspect kept; never enlarged. Where
// the file embeds a JPEG preview (JPEG's EXIF thumbnail, a raw file's
// preview, CR3's, RAF's JPEG) only that is read and decoded, and turned by
// the file's EXIF Orientation. HEIC and AVIF are decoded with libheif (their
// thumbnail item when they have one), already upright by their own
// rotation. PNG, WebP, TIFF and JPEG without a thumbnail are decoded at
// about the size wanted by Qt's image readers. A raw file whose preview
// cannot be read gives nothing rather than a decode of its sensor data.
// Only regular files are opened, read-only and never blocking, and nothing
// is written. Null when nothing could be decoded. Safe to call on any thread.
QImage LoadThumbnail(const QByteArray& path, int edge);
