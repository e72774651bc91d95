#include "decoder/Serve.h"

#include "presentation/window/DecoderWire.h"
#include "presentation/window/PictureDecoding.h"

#include <csignal>
#include <new>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The test-only faults: what a hostile file could make a decoder do.
void Suffer(DecoderFault fault) {
    switch (fault) {
    case DecoderFault::None:
        return;
    case DecoderFault::Crash:
        std::raise(SIGSEGV);
        return;
    case DecoderFault::Hang:
        for (volatile unsigned spin = 0;;) {
            const unsigned next = spin + 1;
            spin = next;
        }
    case DecoderFault::ExhaustMemory: {
        // Ends in std::bad_alloc at the address-space limit, which nothing
        // catches, as in a decoder.
        std::vector<volatile char*> taken;
        for (;;) {
            volatile char* block = new char[64u << 20];
            block[0] = 1;
            taken.push_back(block);
        }
    }
    }
}

// A decode's own time limit, far beyond the window's: it ends a worker whose
// window died while it hung (SIGALRM's default action).
constexpr unsigned kAlarmSeconds = 60;

} // namespace

int Serve(int socket) {
    wire::Reply ready;
    ready.status = wire::Status::Ready;
    if (!wire::Send(socket, &ready, sizeof ready, -1))
        return 1;
    for (;;) {
        wire::Request record;
        int fd = -1;
        const ssize_t n = wire::Receive(socket, &record, sizeof record, &fd);
        if (n == 0)
            return 0;
        PictureRequest request;
        if (n != ssize_t(sizeof record) || !wire::Decode(record, &request)) {
            if (fd >= 0)
                ::close(fd);
            return 1;
        }
        ::alarm(kAlarmSeconds);
        Suffer(request.fault);
        struct stat info {};
        QImage image;
        if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            image = DecodeRequested(fd, uint64_t(info.st_size), request);
        ::alarm(0);
        if (fd >= 0)
            ::close(fd);
        wire::Reply reply;
        const int memory = image.isNull() ? -1 : wire::PictureToMemory(image, &reply);
        if (memory < 0)
            reply = wire::Reply{};
        const bool sent = wire::Send(socket, &reply, sizeof reply, memory);
        if (memory >= 0)
            ::close(memory);
        if (!sent)
            return 0;
    }
}
