#pragma once

#include "framework/views/ThumbnailProvider.h"
#include "metadata/PhotoFormat.h"
#include "presentation/window/PictureRequest.h"

#include <QByteArray>
#include <QImage>

#include <memory>
#include <utility>
#include <vector>

class PictureDecoder;

// The photographs' pictures in the file list's icon layouts. Our reader
// finds, in the window's process, what to decode; the decoding itself is
// PictureDecoder's, in its sandboxed worker. Where the file embeds a JPEG
// preview (JPEG's EXIF thumbnail, a raw file's preview, CR3's, RAF's JPEG)
// only that is decoded, turned by the file's EXIF Orientation. HEIC and AVIF
// are decoded with libheif (their thumbnail item when they have one),
// already upright by their own rotation. PNG, WebP, TIFF and JPEG without a
// thumbnail are decoded at about the size wanted by Qt's image readers,
// turned by the EXIF Orientation. A raw file whose preview cannot be read
// gives nothing rather than a decode of its sensor data. A movie shows its
// cover picture or thumbnail, else one of its frames upright by its track's
// rotation, else nothing (its generic video icon). Any other file the
// decoder failed on (crashed, hung, ran out of memory) is shown as a broken
// picture.
class PhotoPictures final : public ThumbnailProvider {
public:
    // Test-only: VELMORA_DECODER_FAULTS="crash:NAME,hang:NAME,memory:NAME"
    // makes the decoder suffer that fault on files whose name ends in NAME.
    explicit PhotoPictures(std::shared_ptr<PictureDecoder> decoder);
    ~PhotoPictures() override;

    QImage Picture(const QByteArray& path, int edge) const override;
    // The picture as Picture makes it, with how its decode went (null but
    // Failed for a file the decoder failed on).
    DecodedPicture Decoded(const QByteArray& path, int edge) const;

private:
    std::shared_ptr<PictureDecoder> m_decoder;
    std::vector<std::pair<QByteArray, DecoderFault>> m_faults;
};

// The formats Qt's image readers are asked to decode when there is no
// preview. A raw file is not among them: Qt's TIFF reader would decode its
// sensor data, or take long to fail. Unknown lets Qt try what the metadata
// reader does not know (GIF, BMP, ...).
bool QtReadersDecode(PhotoFormat format);
// HEIC, AVIF and HEIF of other codecs: libheif decodes them.
bool IsHeifFormat(PhotoFormat format);
// The broken-picture sign shown for a file whose decode failed, `edge`
// pixels square.
QImage BrokenPicture(int edge);
