#include "reading/ReadingPool.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kMostThreads = 64;

// Lowers the calling thread only; a thread can always lower itself.
void LowerThisThread(ReadingSettings::Priority priority) {
    switch (priority) {
    case ReadingSettings::Priority::Normal:
        break;
    case ReadingSettings::Priority::Low: {
        // On Linux the nice value is the thread's own. Lowered from where the
        // process runs: a tool started under nice must not be raised.
        const id_t thread = static_cast<id_t>(::gettid());
        errno = 0;
        const int now = ::getpriority(PRIO_PROCESS, thread);
        if (errno == 0)
            ::setpriority(PRIO_PROCESS, thread, now + 10 < 19 ? now + 10 : 19);
        break;
    }
    case ReadingSettings::Priority::Idle: {
        sched_param param{};
        if (::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &param) != 0)
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
        break;
    }
    }
}

// While a window is busy its readers run only when no other thread wants a
// core: the scheduler then gives the window's thread a core at once, which a
// higher nice value alone does not (a running reader finishes its slice).
void RunOnlyWhenIdle(bool idle) {
    sched_param param{};
    ::pthread_setschedparam(::pthread_self(), idle ? SCHED_IDLE : SCHED_OTHER, &param);
}

// Blocks this thread has read from a disk (not from the page cache).
long BlocksReadByThisThread() {
    rusage usage{};
    return ::getrusage(RUSAGE_THREAD, &usage) == 0 ? usage.ru_inblock : 0;
}

// A read from the page cache takes microseconds; only after a longer one is
// the thread's count of blocks read from a disk (a system call) looked at.
// `seen` is the count at the last look, and blocks read since, by whatever
// read, count as well.
bool WaitedForDisk(std::chrono::steady_clock::time_point start, long& seen) {
    constexpr std::chrono::microseconds kCachedRead{30};
    if (std::chrono::steady_clock::now() - start < kCachedRead)
        return false;
    const long blocks = BlocksReadByThisThread();
    const bool waited = blocks > seen;
    seen = blocks;
    return waited;
}

// The lock is held for a few instructions at a time; on a busy machine a
// thread that sleeps for it waits a whole time slice to run again, so it is
// tried for a moment before sleeping.
void Acquire(std::unique_lock<std::mutex>& lock) {
    for (int i = 0; i < 100; ++i) {
        if (lock.try_lock())
            return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#elif defined(__aarch64__)
        asm volatile("yield");
#endif
    }
    lock.lock();
}

} // namespace

size_t UsableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    return static_cast<size_t>(std::max(CPU_COUNT(&set), 1));
}

ReadingPool::ReadingPool(FileJob& job, const ReadingSettings& settings)
    : m_job(job), m_threads(std::clamp(settings.threads, 0, kMostThreads)),
      m_priority(settings.priority), m_inlineWhileCached(settings.inlineWhileCached),
      m_cores(UsableCores()), m_busy(settings.busy), m_answering(settings.answering),
      m_busyThreads(std::max(settings.busyThreads, 0)),
      m_slots(static_cast<size_t>(std::max(settings.window, 1))) {
    m_readers.reserve(static_cast<size_t>(m_threads));
}

ReadingPool::~ReadingPool() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_closing = true;
        if (m_delivered != m_submitted)
            m_cancelled = true;
    }
    m_work.notify_all();
    m_room.notify_all();
    for (std::thread& reader : m_readers)
        reader.join();
}

void ReadingPool::PaceWalk() {
    // Only a window's readings, which walk on a thread of their own: the
    // tool's walk is its main thread.
    if (m_priority == ReadingSettings::Priority::Normal)
        return;
    if (!m_walkLowered) {
        LowerThisThread(m_priority);
        m_walkLowered = true;
    }
    if (!m_busy || m_priority == ReadingSettings::Priority::Idle)
        return;
    const bool busy = m_busy->load(std::memory_order_relaxed);
    if (busy != m_walkIdle) {
        RunOnlyWhenIdle(busy);
        m_walkIdle = busy;
    }
}

bool ReadingPool::Submit(FoundFile&& found) {
    PaceWalk();
    // Nothing is pending in inline mode, so no reader touches the counts.
    if (m_threads == 0 || (m_inlineWhileCached && !m_waitedForDisk && m_submitted == 0))
        return SubmitInline(std::move(found));
    std::unique_lock<std::mutex> lock(m_lock, std::defer_lock);
    Acquire(lock);
    if (m_submitted - m_delivered == m_slots.size() && !Cancelled()) {
        // A full window waits until it is half empty: waking the walk for
        // every delivered file would cost a switch of threads per file.
        ++m_roomWaiters;
        m_room.wait(lock,
                    [this] { return m_submitted - m_delivered <= LowWater() || Cancelled(); });
        --m_roomWaiters;
    }
    if (Cancelled())
        return false;
    const size_t index = m_submitted % m_slots.size();
    Slot& slot = m_slots[index];
    slot.found = std::move(found);
    slot.done = !slot.found.IsFile();
    ++m_submitted;
    if (slot.done) {
        // Nothing to read: it goes out as soon as what precedes it has.
        DeliverReady(lock);
    } else {
        StartReaderIfNeeded();
        if (m_idleReaders > 0)
            m_work.notify_one();
    }
    return !Cancelled();
}

bool ReadingPool::SubmitInline(FoundFile&& found) {
    if (Cancelled())
        return false;
    if (found.IsFile()) {
        const bool readersWait = m_threads > 0;
        if (readersWait && m_inlineBlocks < 0)
            m_inlineBlocks = BlocksReadByThisThread();
        const auto start = std::chrono::steady_clock::now();
        m_job.Read(found, 0);
        // From the next file on, the readers take over.
        if (readersWait && CountRead(WaitedForDisk(start, m_inlineBlocks)))
            m_waitedForDisk = true;
    }
    if (Cancelled())
        return false;
    m_job.Deliver(found, 0);
    return !Cancelled();
}

bool ReadingPool::Finish() {
    // The walk is over: its thread need not stand back any more.
    if (m_walkIdle) {
        RunOnlyWhenIdle(false);
        m_walkIdle = false;
    }
    std::unique_lock<std::mutex> lock(m_lock, std::defer_lock);
    Acquire(lock);
    ++m_roomWaiters;
    m_room.wait(lock, [this] { return Cancelled() ? !m_delivering : m_delivered == m_submitted; });
    --m_roomWaiters;
    return !Cancelled();
}

void ReadingPool::Cancel() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_cancelled = true;
    }
    m_work.notify_all();
    m_room.notify_all();
}

void ReadingPool::StartReaderIfNeeded() {
    // One reader more while every started one is busy: a single file starts
    // a single thread. While the files come from the cache, more readers
    // than cores only take turns (and cost switches and cold caches), so
    // the count grows past the cores only once reads had to wait for the
    // disk.
    const size_t limit = m_waitedForDisk ? static_cast<size_t>(m_threads)
                                         : std::min(static_cast<size_t>(m_threads), m_cores);
    if (m_idleReaders == 0 && m_readers.size() < limit && !m_closing && !Cancelled())
        m_readers.emplace_back([this] { Work(); });
}

bool ReadingPool::CountRead(bool waited) {
    // A few reads from a disk in a cached tree (a folder's blocks or a
    // file's pages evicted) say nothing of the files to come, and more
    // readers than cores cost switches on every file; a disk the files
    // really come from makes nearly every read wait.
    constexpr int kReadsCounted = 32;
    constexpr int kWaitsThatShowADisk = 8;
    if (++m_recentReads > kReadsCounted) {
        m_recentReads = 1;
        m_recentWaits = 0;
    }
    m_recentWaits += waited ? 1 : 0;
    return m_recentWaits >= kWaitsThatShowADisk;
}

void ReadingPool::Work() {
    LowerThisThread(m_priority);
    std::unique_lock<std::mutex> lock(m_lock, std::defer_lock);
    // Blocks this thread had read from a disk when it last looked.
    long blocksSeen = BlocksReadByThisThread();
    // The thread runs as SCHED_IDLE while the window is busy.
    bool idle = false;
    Acquire(lock);
    for (;;) {
        if (m_taken == m_submitted && !m_closing && !Cancelled()) {
            ++m_idleReaders;
            m_work.wait(lock, [this] { return m_taken < m_submitted || m_closing || Cancelled(); });
            --m_idleReaders;
        }
        if (m_closing || Cancelled())
            return;
        // A reader held back for a busy window takes no file meanwhile: it
        // keeps none from being delivered.
        if (m_busy) {
            lock.unlock();
            StartReading(idle);
            Acquire(lock);
        } else {
            ++m_readingNow;
        }
        if (m_taken == m_submitted || m_closing || Cancelled()) {
            --m_readingNow;
            continue;
        }
        ReadNext(lock, blocksSeen);
    }
}

void ReadingPool::ReadNext(std::unique_lock<std::mutex>& lock, long& blocksSeen) {
    const size_t index = m_taken++ % m_slots.size();
    Slot& slot = m_slots[index];
    if (slot.done) {
        --m_readingNow;
        return; // a folder that could not be listed: nothing to read
    }
    // The slot is this thread's until it is marked done: Submit fills only
    // free slots, and delivery takes only done ones.
    lock.unlock();
    const auto start = std::chrono::steady_clock::now();
    m_job.Read(slot.found, index);
    --m_readingNow;
    const bool waited = !m_waitedForDisk && WaitedForDisk(start, blocksSeen);
    Acquire(lock);
    if (!m_waitedForDisk && CountRead(waited)) {
        m_waitedForDisk = true;
        if (m_taken < m_submitted)
            StartReaderIfNeeded();
    }
    slot.done = true;
    DeliverReady(lock);
}

void ReadingPool::StartReading(bool& idle) {
    const bool busy = m_busy->load(std::memory_order_relaxed);
    if (busy != idle && m_priority != ReadingSettings::Priority::Idle) {
        RunOnlyWhenIdle(busy);
        idle = busy;
    }
    int held = 0;
    for (;;) {
        int reading = m_readingNow.load();
        const int allowed =
            m_answering && m_answering->load(std::memory_order_relaxed) ? 0 : m_busyThreads;
        if (m_busy && held < kMostHoldMs && reading >= allowed &&
            m_busy->load(std::memory_order_relaxed) && !Cancelled()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ++held;
        } else if (m_readingNow.compare_exchange_weak(reading, reading + 1)) {
            return;
        }
    }
}

void ReadingPool::DeliverReady(std::unique_lock<std::mutex>& lock) {
    if (m_delivering)
        return;
    while (!Cancelled() && m_delivered < m_submitted) {
        const size_t index = m_delivered % m_slots.size();
        Slot& slot = m_slots[index];
        if (!slot.done)
            break;
        m_delivering = true;
        lock.unlock();
        m_job.Deliver(slot.found, index);
        // Its folder is closed with its last file.
        slot.found = FoundFile{};
        Acquire(lock);
        m_delivering = false;
        slot.done = false;
        ++m_delivered;
        // A folder that could not be listed is delivered without a reader
        // taking it: the readers skip it.
        m_taken = std::max(m_taken, m_delivered);
        if (m_roomWaiters > 0 && m_submitted - m_delivered <= LowWater())
            m_room.notify_all();
    }
    // Finish, once cancelled, waits for the Deliver in progress only.
    if (Cancelled() && m_roomWaiters > 0)
        m_room.notify_all();
}
