#include "presentation/window/PictureDecoder.h"

#include "presentation/window/DecoderWire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The descriptor the worker finds its socket on.
constexpr int kWorkerSocket = 3;
// Starts failing one after another before the decoder is given up as
// unavailable (a worker crashing once while starting is tried again).
constexpr int kStartsBeforeUnavailable = 2;

// Waits for the socket to be readable until `deadline`: false when the
// time ran out first.
bool WaitReadable(int socket, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd entry{socket, POLLIN, 0};
        const int left = int(std::clamp<qint64>(deadline.remainingTime(), 0, 60000));
        const int n = ::poll(&entry, 1, left);
        if (n > 0)
            return true;
        if (n == 0 || (n < 0 && errno != EINTR))
            return n < 0; // an error reads as the worker's end below
    }
}

} // namespace

QString OutcomeText(DecodeOutcome outcome) {
    switch (outcome) {
    case DecodeOutcome::Failed:
        return QCoreApplication::translate("PictureDecoder", "The picture could not be decoded.");
    case DecodeOutcome::Unavailable:
        return QCoreApplication::translate("PictureDecoder",
                                           "Pictures cannot be shown: the picture decoder could "
                                           "not be started.");
    case DecodeOutcome::Decoded:
    case DecodeOutcome::NoPicture:
        break;
    }
    return {};
}

QString PictureDecoder::DefaultWorkerPath() {
    const QByteArray chosen = qgetenv("VELMORA_DECODER");
    if (!chosen.isEmpty())
        return QFile::decodeName(chosen);
    return QCoreApplication::applicationDirPath() + QStringLiteral("/velmora-decoder");
}

PictureDecoder::PictureDecoder() : PictureDecoder(Options{}) {}

PictureDecoder::PictureDecoder(Options options)
    : m_options([&] {
          if (options.workerPath.isEmpty())
              options.workerPath = DefaultWorkerPath();
          options.workers = qBound(1, options.workers, 8);
          return options;
      }()),
      m_workers(size_t(m_options.workers)) {}

PictureDecoder::~PictureDecoder() {
    if (m_preparing.joinable())
        m_preparing.join();
    const std::lock_guard lock(m_mutex);
    for (Worker& worker : m_workers)
        Stop(worker);
}

QString PictureDecoder::UnavailableMessage() const {
    const std::lock_guard lock(m_mutex);
    return m_unavailable;
}

int PictureDecoder::Starts() const {
    const std::lock_guard lock(m_mutex);
    return m_starts;
}

void PictureDecoder::Prepare() {
    const std::lock_guard lock(m_mutex);
    if (m_preparing.joinable() || !m_unavailable.isEmpty())
        return;
    // One after the other: two starts at once would each take longer.
    m_preparing = std::thread([this] {
        for (size_t i = 0; i < m_workers.size(); ++i) {
            Worker* worker = nullptr;
            {
                const std::lock_guard lock(m_mutex);
                if (!m_unavailable.isEmpty() || m_workers[i].busy || m_workers[i].pid > 0)
                    continue;
                worker = &m_workers[i];
                worker->busy = true;
            }
            Start(*worker);
            Release(worker);
        }
    });
}

std::vector<pid_t> PictureDecoder::Running() const {
    const std::lock_guard lock(m_mutex);
    std::vector<pid_t> running;
    for (const Worker& worker : m_workers)
        if (!worker.busy && worker.pid > 0)
            running.push_back(worker.pid);
    return running;
}

DecodedPicture PictureDecoder::Decode(int fd, const PictureRequest& request) {
    if (fd < 0 || request.edge <= 0 || request.edge > wire::kMaxSide)
        return {};
    Worker* worker = Acquire();
    if (worker == nullptr)
        return {{}, DecodeOutcome::Unavailable};
    DecodedPicture result = Exchange(*worker, fd, request);
    Release(worker);
    return result;
}

PictureDecoder::Worker* PictureDecoder::Acquire() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_unavailable.isEmpty())
            return nullptr;
        // A running worker first: another start costs its libraries' load.
        Worker* chosen = nullptr;
        for (Worker& worker : m_workers) {
            if (!worker.busy && (chosen == nullptr || (chosen->pid < 0 && worker.pid > 0)))
                chosen = &worker;
        }
        // While one starts, waiting for it is quicker than starting another.
        if (chosen != nullptr && (chosen->pid > 0 || m_starting == 0)) {
            chosen->busy = true;
            return chosen;
        }
        m_freed.wait(lock);
    }
}

void PictureDecoder::Release(Worker* worker) {
    {
        const std::lock_guard lock(m_mutex);
        worker->busy = false;
    }
    m_freed.notify_all();
}

// Runs on the thread that holds `worker`; only the counts are shared.
bool PictureDecoder::Start(Worker& worker) {
    {
        const std::lock_guard lock(m_mutex);
        ++m_starting;
    }
    const bool started = Spawn(worker);
    {
        const std::lock_guard lock(m_mutex);
        --m_starting;
    }
    m_freed.notify_all();
    return started;
}

bool PictureDecoder::Spawn(Worker& worker) {
    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) {
        StartFailed(QStringLiteral("no socket for it"));
        return false;
    }
    // The child's end must not already be the descriptor it is moved to:
    // dup2 onto itself would leave it closed on exec.
    int childEnd = ends[1];
    if (childEnd == kWorkerSocket) {
        childEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, kWorkerSocket + 1);
        ::close(ends[1]);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childEnd, kWorkerSocket);
    const QByteArray path = QFile::encodeName(m_options.workerPath);
    char* argv[] = {const_cast<char*>(path.constData()), const_cast<char*>("--serve"), nullptr};
    pid_t pid = -1;
    // Signals as a new process has them, whatever the starting thread
    // blocks or ignores: the worker's alarm must be able to end it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int spawned =
        childEnd < 0 ? EMFILE
                     : ::posix_spawn(&pid, path.constData(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (childEnd >= 0)
        ::close(childEnd);
    if (spawned != 0) {
        ::close(ends[0]);
        StartFailed(QStringLiteral("%1 could not be run").arg(m_options.workerPath));
        return false;
    }
    worker.pid = pid;
    worker.socket = ends[0];
    {
        const std::lock_guard lock(m_mutex);
        ++m_starts;
    }
    // Ready comes once the decoders are loaded and the sandbox is in place.
    wire::Reply ready;
    int passed = -1;
    const QDeadlineTimer deadline(m_options.startTimeoutMs);
    const bool readable = WaitReadable(worker.socket, deadline);
    const ssize_t n = readable ? wire::Receive(worker.socket, &ready, sizeof ready, &passed) : -1;
    if (passed >= 0)
        ::close(passed);
    if (n != ssize_t(sizeof ready) || ready.magic != wire::kReplyMagic ||
        ready.status != wire::Status::Ready) {
        Stop(worker);
        StartFailed(QStringLiteral("%1 did not start").arg(m_options.workerPath));
        return false;
    }
    const std::lock_guard lock(m_mutex);
    m_failedStarts = 0;
    return true;
}

void PictureDecoder::StartFailed(const QString& why) {
    const std::lock_guard lock(m_mutex);
    if (++m_failedStarts < kStartsBeforeUnavailable || !m_unavailable.isEmpty())
        return;
    m_unavailable =
        QCoreApplication::translate("PictureDecoder",
                                    "Pictures are not shown: the picture decoder could not be "
                                    "started (%1).")
            .arg(why);
    qWarning("%s", qPrintable(m_unavailable));
    m_freed.notify_all();
}

void PictureDecoder::Stop(Worker& worker) {
    if (worker.pid > 0) {
        ::kill(worker.pid, SIGKILL);
        while (::waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (worker.socket >= 0)
        ::close(worker.socket);
    worker.pid = -1;
    worker.socket = -1;
}

DecodedPicture PictureDecoder::Exchange(Worker& worker, int fd, const PictureRequest& request) {
    const wire::Request record = wire::Encode(request);
    bool sent = worker.pid > 0 && wire::Send(worker.socket, &record, sizeof record, fd);
    if (!sent) {
        // Not started yet, or gone while idle: that is no fault of this file.
        Stop(worker);
        if (!Start(worker))
            return {{}, DecodeOutcome::Unavailable};
        sent = wire::Send(worker.socket, &record, sizeof record, fd);
    }
    wire::Reply reply;
    int memory = -1;
    const QDeadlineTimer deadline(m_options.timeoutMs);
    const ssize_t n = sent && WaitReadable(worker.socket, deadline)
                          ? wire::Receive(worker.socket, &reply, sizeof reply, &memory)
                          : -1;
    if (n != ssize_t(sizeof reply) || reply.magic != wire::kReplyMagic) {
        // Crashed, hung past its time, or answered nonsense: killed, and
        // started again by the next request.
        if (memory >= 0)
            ::close(memory);
        Stop(worker);
        return {{}, DecodeOutcome::Failed};
    }
    if (reply.status == wire::Status::NoPicture) {
        if (memory >= 0)
            ::close(memory);
        return {};
    }
    QImage image = wire::PictureFromMemory(memory, reply);
    if (memory >= 0)
        ::close(memory);
    if (image.isNull()) {
        Stop(worker);
        return {{}, DecodeOutcome::Failed};
    }
    return {std::move(image), DecodeOutcome::Decoded};
}
