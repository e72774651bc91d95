#pragma once

#include <QByteArray>
#include <QImage>

// The pictures of the icon layouts, as an application makes them: the file
// list asks, its loader runs the asking on threads of its own and keeps what
// comes back. Picture runs on those threads, several at once, while the
// window goes on: it must be safe to call concurrently and touch no widget.
class ThumbnailProvider {
public:
    virtual ~ThumbnailProvider() = default;
    // The picture of the file whose name's bytes are `path`, upright and
    // fitted into `edge` x `edge` with its aspect kept, never enlarged; null
    // when there is none to show (the file keeps its icon). Only regular
    // files are to be opened, read-only and never so that a FIFO or device
    // could block, and nothing is written.
    virtual QImage Picture(const QByteArray& path, int edge) const = 0;
};
