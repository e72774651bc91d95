#pragma once

#include "presentation/window/PictureRequest.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

#include <sys/types.h>

// The messages between the window and its picture decoder's worker, over a
// SOCK_SEQPACKET socket pair: one request (with the file's descriptor passed
// along) and one reply (with the picture's pixels in a memfd passed along).
// Fixed-size plain records, checked on arrival.
namespace wire {

constexpr uint32_t kRequestMagic = 0x56445251; // "VDRQ"
constexpr uint32_t kReplyMagic = 0x56445250;   // "VDRP"

// Pictures the window accepts back: what a thumbnail or a preview pane needs,
// with room to spare; a larger reply is refused, not allocated.
constexpr int kMaxSide = 16384;

struct Request {
    uint32_t magic = kRequestMagic;
    uint8_t source = 0;
    uint8_t fault = 0;
    uint8_t reserved[2] = {};
    int32_t edge = 0;
    int32_t orientation = 0;
    uint32_t reserved2 = 0;
    uint64_t offset = 0;
    uint64_t length = 0;
};

enum class Status : uint32_t {
    Ready = 1,     // the worker is sandboxed and waits for requests
    Picture = 2,   // the pixels come in the memfd passed along
    NoPicture = 3, // nothing could be decoded from the file
};

struct Reply {
    uint32_t magic = kReplyMagic;
    Status status = Status::NoPicture;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bytesPerLine = 0;
    uint32_t format = 0; // QImage::Format, one of the two below
    uint64_t bytes = 0;
};

Request Encode(const PictureRequest& request);
// The request's fields as sent, or false for a record that is not a request.
bool Decode(const Request& record, PictureRequest* request);

// Sends `size` bytes as one message, with `fd` passed along when it is not
// -1. Never raises SIGPIPE. False when the message could not be sent whole.
bool Send(int socket, const void* data, size_t size, int fd);

// Receives one message into `data` (at most `size` bytes): its length, 0 at
// the end of the stream, -1 on an error. `*fd` gets the one descriptor
// passed along, or -1; any others passed are closed.
ssize_t Receive(int socket, void* data, size_t size, int* fd);

// The picture written into a new memfd, described in `reply`: the memfd, or
// -1 when it could not be made. The worker's side.
int PictureToMemory(const QImage& image, Reply* reply);

// The picture that `reply` describes, read from the memfd `fd`; null when
// the reply is not a picture the window accepts (sizes out of range or
// inconsistent, an unknown format, a memfd shorter than said).
QImage PictureFromMemory(int fd, const Reply& reply);

} // namespace wire
