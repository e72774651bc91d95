#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

class PictureDecoder;

// The "Preview" pane's picture of one file, for a view of a given size. Every
// decode the pane needs goes through PictureForPreview, which has it made by
// the window's PictureDecoder in its sandboxed worker.

// Where the picture came from.
enum class PreviewOrigin {
    None,     // no picture: see PreviewGap
    Embedded, // a preview the file carries (EXIF thumbnail, raw preview, HEIF thumbnail)
    Decoded,  // the photo itself, decoded at the size needed
};

// Why there is no picture.
enum class PreviewGap {
    None,
    Unreadable,        // not a regular file, or it cannot be opened
    RawWithoutPreview, // a raw file whose preview is missing or cannot be decoded
    VideoWithoutFrame, // a movie without a cover picture whose frame cannot be decoded
    Undecodable,       // a picture no decoder here reads
    DecodeFailed,      // the decoder crashed, hung or ran out of memory on it
    NoDecoder,         // the decoder's worker could not be started
};

struct PreviewPicture {
    QImage image; // upright, in device pixels; null when there is none
    PreviewOrigin origin = PreviewOrigin::None;
    PreviewGap gap = PreviewGap::None;
    // The photo's own size, upright; invalid when unknown.
    QSize fullSize;
};

// Whether a picture of `picture` pixels fitted into `box` is shown without
// being enlarged: as wide as the box or as high. Never for an empty box.
bool Covers(QSize picture, QSize box);

// The picture of the file whose name's bytes are `path`, upright by its
// orientation and fitted into `box` (device pixels, as shown upright), never
// enlarged. The largest preview the file embeds serves when it covers `box`;
// otherwise the photo is decoded at the size needed (JPEG at a reduced scale
// while decoding, HEIF through libheif, the rest through Qt's readers), all
// by `decoder`'s worker: only our own reader runs here. A raw file is never
// decoded: its preview serves at whatever size it has. So does a movie's
// cover picture or thumbnail; a movie without one shows a frame of its
// video, upright by its track's rotation. An empty `box` asks
// for the photo at its own size (the 100% view). Safe to call on any thread;
// opens only regular files, read-only, and writes nothing.
PreviewPicture PictureForPreview(PictureDecoder& decoder, const QByteArray& path, QSize box);
