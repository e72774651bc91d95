#pragma once

#include <QByteArray>
#include <QImage>

// The picture of the file whose name's bytes are `path`, upright and scaled
// to fit `edge` x `edge` pixels with its aspect kept. The EXIF thumbnail is
// used when the file carries one, without decoding the full picture;
// otherwise the picture is decoded at about the size wanted (JPEG, PNG, WebP,
// TIFF and what else Qt's image plugins read). Only regular files are
// opened, read-only and never blocking. Null when nothing could be decoded.
// Safe to call on any thread.
QImage LoadThumbnail(const QByteArray& path, int edge);
