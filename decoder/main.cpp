// velmora-decoder: the window's picture decoder, a worker process the window
// starts on demand (PictureDecoder). It decodes with the third-party
// libraries, sandboxed, the files the window hands it open over the socket
// on descriptor 3.
#include "decoder/Sandbox.h"
#include "decoder/Serve.h"

#include <cstdio>
#include <cstring>

#include <sys/resource.h>

namespace {

constexpr int kSocket = 3;
// Room for a 100-megapixel HEIF decode and Qt's scaling of it.
constexpr unsigned long long kMemoryLimit = 2ull << 30;
constexpr int kLowerPriority = 5;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--serve") != 0) {
        std::fprintf(stderr, "velmora-decoder is started by velmora, not by hand.\n");
        return 2;
    }
    // No PR_SET_PDEATHSIG: it fires when the window's thread that started
    // the worker ends, not the window. The worker goes when the window's
    // end of the socket closes, and a decode stuck past the window's death
    // ends by its own alarm (Serve).
    // Below the window: its rows and tags are painted first, and a worker
    // starting (its libraries loading) never holds up the window's thread.
    ::setpriority(PRIO_PROCESS, 0, ::getpriority(PRIO_PROCESS, 0) + kLowerPriority);
    LoadDecoders();
    if (!LimitResources(kMemoryLimit, kSocket) || !InstallSyscallFilter()) {
        std::fprintf(stderr, "velmora-decoder: the sandbox could not be set up\n");
        return 1;
    }
    return Serve(kSocket);
}
