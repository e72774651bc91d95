#pragma once

#include "presentation/window/PictureRequest.h"

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <sys/types.h>

// The line a pane shows in place of a picture whose decode went as
// `outcome`: "The picture could not be decoded." for Failed, a line saying
// the decoder could not start for Unavailable; empty otherwise (a file with
// no picture is the pane's to word).
QString OutcomeText(DecodeOutcome outcome);

// The window's one way to a picture decoded by a third-party library
// (thumbnails, the preview, video frames). The decoding runs in a worker
// process of its own (velmora-decoder, beside the application), started on
// first use and reused; it is handed the file open read-only and nothing
// else, and runs sandboxed (a memory limit, a system-call filter), so a
// hostile file that crashes, hangs or exhausts a decoder costs only its own
// picture: the worker is killed if need be and started again for the next.
//
// Decode is safe to call from several threads at once: each call takes one
// of a few workers for its request, waiting while all are busy.
class PictureDecoder {
public:
    struct Options {
        // The worker's executable; empty for DefaultWorkerPath().
        QString workerPath;
        int workers = 2;
        // A picture taking longer is given up and its worker killed.
        int timeoutMs = 5000;
        // The worker's start, up to its sandbox being in place.
        int startTimeoutMs = 10000;
    };

    // VELMORA_DECODER when set (the build's tests point it at the build's
    // worker), else velmora-decoder beside the application's executable.
    static QString DefaultWorkerPath();

    PictureDecoder();
    explicit PictureDecoder(Options options);
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // The picture `request` asks for from the file open as `fd` (a regular
    // file, opened read-only; the caller keeps and closes it). The decode
    // moves the descriptor's offset: one request at a time per descriptor.
    DecodedPicture Decode(int fd, const PictureRequest& request);

    // Starts the workers in the background, so that the first pictures need
    // not wait for their start (a fraction of a second each: the decoders'
    // libraries load). The window calls it once it shows.
    void Prepare();

    // Why there are no pictures when the worker could not be started (the
    // pictures are then never decoded in the window instead); empty while
    // it can be.
    QString UnavailableMessage() const;
    // Workers started so far, the first ones included.
    int Starts() const;
    // The process ids of the workers running now.
    std::vector<pid_t> Running() const;

private:
    struct Worker {
        pid_t pid = -1;
        int socket = -1;
        bool busy = false;
    };

    Worker* Acquire();
    void Release(Worker* worker);
    bool Start(Worker& worker);
    bool Spawn(Worker& worker);
    void Stop(Worker& worker);
    DecodedPicture Exchange(Worker& worker, int fd, const PictureRequest& request);
    void StartFailed(const QString& why);

    const Options m_options;
    mutable std::mutex m_mutex;
    std::condition_variable m_freed;
    std::vector<Worker> m_workers;
    QString m_unavailable;
    int m_failedStarts = 0;
    int m_starts = 0;
    int m_starting = 0; // workers being started
    std::thread m_preparing;
};
