#include "presentation/window/DecoderWire.h"

#include <cerrno>
#include <cstring>

#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wire {

namespace {

bool Accepted(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

bool WriteAll(int fd, const uchar* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

bool ReadAll(int fd, uchar* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

} // namespace

Request Encode(const PictureRequest& request) {
    Request record;
    record.source = uint8_t(request.source);
    record.fault = uint8_t(request.fault);
    record.edge = request.edge;
    record.orientation = request.orientation;
    record.offset = request.offset;
    record.length = request.length;
    return record;
}

bool Decode(const Request& record, PictureRequest* request) {
    if (record.magic != kRequestMagic || record.source < uint8_t(PictureSource::JpegExtent) ||
        record.source > uint8_t(PictureSource::VideoFrame) ||
        record.fault > uint8_t(DecoderFault::ExhaustMemory) || record.edge <= 0 ||
        record.edge > kMaxSide)
        return false;
    request->source = PictureSource(record.source);
    request->fault = DecoderFault(record.fault);
    request->edge = record.edge;
    request->orientation = record.orientation;
    request->offset = record.offset;
    request->length = record.length;
    return true;
}

bool Send(int socket, const void* data, size_t size, int fd) {
    iovec part{const_cast<void*>(data), size};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    if (fd >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(header), &fd, sizeof fd);
    }
    for (;;) {
        const ssize_t n = ::sendmsg(socket, &message, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        return n == ssize_t(size);
    }
}

ssize_t Receive(int socket, void* data, size_t size, int* fd) {
    *fd = -1;
    iovec part{data, size};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    // Room for a few descriptors, so that extra ones arrive and are closed
    // rather than being cut off (and leaked) in flight.
    alignas(cmsghdr) char control[CMSG_SPACE(4 * sizeof(int))] = {};
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t n = -1;
    do
        n = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return -1;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS)
            continue;
        const size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int passed = -1;
            std::memcpy(&passed, CMSG_DATA(header) + i * sizeof(int), sizeof passed);
            if (*fd < 0)
                *fd = passed;
            else
                ::close(passed);
        }
    }
    // A cut message is no message: its descriptor goes with it.
    if ((message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) != 0) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
        return -1;
    }
    return n;
}

int PictureToMemory(const QImage& picture, Reply* reply) {
    const QImage image = picture.convertToFormat(
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return -1;
    const int fd = ::memfd_create("velmora-picture", MFD_CLOEXEC);
    if (fd < 0)
        return -1;
    const size_t bytes = size_t(image.sizeInBytes());
    if (!WriteAll(fd, image.constBits(), bytes)) {
        ::close(fd);
        return -1;
    }
    reply->status = Status::Picture;
    reply->width = image.width();
    reply->height = image.height();
    reply->bytesPerLine = int32_t(image.bytesPerLine());
    reply->format = uint32_t(image.format());
    reply->bytes = bytes;
    return fd;
}

QImage PictureFromMemory(int fd, const Reply& reply) {
    if (fd < 0 || reply.magic != kReplyMagic || reply.status != Status::Picture ||
        reply.width <= 0 || reply.height <= 0 || reply.width > kMaxSide ||
        reply.height > kMaxSide || !Accepted(QImage::Format(reply.format)) ||
        reply.bytesPerLine != reply.width * 4 ||
        reply.bytes != uint64_t(reply.bytesPerLine) * uint64_t(reply.height))
        return {};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < 0 || uint64_t(info.st_size) < reply.bytes)
        return {};
    QImage image(reply.width, reply.height, QImage::Format(reply.format));
    if (image.isNull() || image.bytesPerLine() != reply.bytesPerLine ||
        uint64_t(image.sizeInBytes()) != reply.bytes)
        return {};
    if (!ReadAll(fd, image.bits(), size_t(reply.bytes)))
        return {};
    return image;
}

} // namespace wire
