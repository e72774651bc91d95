#pragma once

#include <QImage>

#include <cstdint>

// What the picture decoder is asked to make of a file it is handed open.
enum class PictureSource : uint8_t {
    // The JPEG lying at `offset`, `length` bytes (an EXIF thumbnail, a raw
    // file's or CR3's preview, RAF's JPEG), read on its own.
    JpegExtent = 1,
    // A HEIF file (HEIC, AVIF) through libheif: its thumbnail item when it
    // has one, else the primary image; upright by the file's own rotation.
    Heif = 2,
    // The whole file through whichever of Qt's image readers knows it.
    ImageReader = 3,
    // A HEIF file's primary image, for a view rather than an icon: the
    // thumbnail item only when it already fills `edge` x `edge`.
    HeifPrimary = 4,
    // A movie (QuickTime, MP4, 3GP) through libavformat and libavcodec: one
    // frame of its video a little way in, turned by `orientation` (our movie
    // walker's track rotation as an EXIF Orientation).
    VideoFrame = 5,
};

// Faults a test makes the decoder suffer on purpose, to prove that a crash,
// a hang or exhausted memory costs only the one picture. Never set by the
// window.
enum class DecoderFault : uint8_t { None = 0, Crash = 1, Hang = 2, ExhaustMemory = 3 };

struct PictureRequest {
    PictureSource source = PictureSource::ImageReader;
    uint64_t offset = 0; // JpegExtent only
    uint64_t length = 0;
    // The picture is fitted into `edge` x `edge`, its aspect kept, never
    // enlarged (up to wire::kMaxSide: a picture at its own size).
    int edge = 0;
    // The EXIF Orientation (1 to 8) that turns it upright; 0 where the file
    // has none: an ImageReader decode is then turned as Qt's reader reads
    // the file, a JPEG extent is left as stored.
    int orientation = 0;
    DecoderFault fault = DecoderFault::None;
};

// How a decode went. Failed is the decoder crashing, hanging past its time
// or running out of memory on this file: the file is shown as broken, and
// the Preview pane says "The picture could not be decoded.". NoPicture is a
// file the decoders read but found no picture in (it keeps its icon).
// Unavailable is a decoder that could not be started at all.
enum class DecodeOutcome { Decoded, NoPicture, Failed, Unavailable };

struct DecodedPicture {
    QImage image;
    DecodeOutcome outcome = DecodeOutcome::NoPicture;
};
