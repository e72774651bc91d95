#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>

// The picture of a HEIF file (HEIC, AVIF) open as `fd`, `fileSize` bytes,
// fitted into `edge` x `edge`: the primary image's thumbnail when it has one,
// else the primary image decoded and scaled. libheif reads the file through
// pread, only the boxes and items it needs. Upright already: libheif applies
// the file's own rotation and mirroring (irot, imir), which is what a HEIF
// file's picture means, so its EXIF Orientation must not be applied again.
// Null on any libheif error or for an image over 100 megapixels.
QImage HeifThumbnail(int fd, uint64_t fileSize, int edge);

// The picture of the same file for a view of `box` pixels: the thumbnail item
// when it fills `box` (it is then not enlarged to), else the primary image
// decoded; scaled down to fit `box`, never enlarged. An empty `box` asks for
// the primary image at its own size. `fromThumbnail`, when given, tells
// which was used. Upright as HeifThumbnail's; null on the same failures.
QImage HeifPicture(int fd, uint64_t fileSize, QSize box, bool* fromThumbnail = nullptr);
