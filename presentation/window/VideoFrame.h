#pragma once

#include <QImage>

#include <cstdint>

// A movie's picture (QuickTime, MP4, M4V, 3GP): one frame of its best video
// stream, decoded by libavformat and libavcodec from the file open as `fd`,
// `fileSize` bytes, which they read through pread only (nothing is opened by
// name, no thread is started). The frame is the key frame at or before a
// tenth of the movie, at least a second in (the first frame of a movie of
// two seconds or less), scaled to fit `edge` x `edge` with its display
// aspect kept, never enlarged, and turned upright by `orientation` (an EXIF
// Orientation, from our own walker's reading of the track's rotation). Null
// when no frame could be decoded. Built only where the libraries are
// (VELMORA_VIDEO_FRAMES); runs in the picture decoder's worker.
QImage VideoFrame(int fd, uint64_t fileSize, int edge, int orientation);
