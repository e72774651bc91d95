#pragma once

#include "presentation/window/PictureRequest.h"

#include <QImage>

#include <cstdint>

// The one decode the picture decoder's worker process runs for a request:
// the third-party decoders (libheif, Qt's image readers and the libraries
// behind them, libavformat and libavcodec for a movie's frame) over the file open as `fd`,
// `fileSize` bytes long, the result upright and fitted into the request's edge. Null when nothing
// could be decoded. The window never calls it: it asks PictureDecoder, which runs it in the worker.
QImage DecodeRequested(int fd, uint64_t fileSize, const PictureRequest& request);

// Whether this build decodes movies' frames (PictureSource::VideoFrame):
// where libavformat and libavcodec were missing, a movie without a cover
// picture keeps the generic video icon.
bool DecodesVideoFrames();
