#pragma once

#include "framework/views/ThumbnailProvider.h"
#include "metadata/PhotoFormat.h"

// The photographs' pictures in the file list's icon layouts. Where the file
// embeds a JPEG preview (JPEG's EXIF thumbnail, a raw file's preview, CR3's,
// RAF's JPEG) only that is read and decoded, and turned by the file's EXIF
// Orientation. HEIC and AVIF are decoded with libheif (their thumbnail item
// when they have one), already upright by their own rotation. PNG, WebP,
// TIFF and JPEG without a thumbnail are decoded at about the size wanted by
// Qt's image readers, turned by the EXIF Orientation the reader found. A raw
// file whose preview cannot be read gives nothing rather than a decode of
// its sensor data.
class PhotoPictures final : public ThumbnailProvider {
public:
    QImage Picture(const QByteArray& path, int edge) const override;
};

// The formats Qt's image readers are asked to decode when there is no
// preview. A raw file is not among them: Qt's TIFF reader would decode its
// sensor data, or take long to fail. Unknown lets Qt try what the metadata
// reader does not know (GIF, BMP, ...).
bool QtReadersDecode(PhotoFormat format);
// HEIC, AVIF and HEIF of other codecs: libheif decodes them.
bool IsHeifFormat(PhotoFormat format);
