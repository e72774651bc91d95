#pragma once

#include "reading/FoundFile.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Reads many files at once and hands their results on in the order they
// were found: a few reader threads keep a cold disk's queue full (one
// reader waits for every seek in turn), while the order of the output stays
// the walk's and the memory stays bounded by a window of pending results.
//
// The pool knows nothing of what a file holds: the caller's FileJob reads
// one file into a result slot of its own, and delivers the slots in order.
//
//     class Job final : public FileJob {
//         std::vector<Result> m_results;            // pool.Window() slots
//         void Read(const FoundFile& file, size_t slot) override {
//             m_results[slot] = ReadOne(file);      // on a reader thread
//         }
//         void Deliver(const FoundFile& file, size_t slot) override {
//             Use(file, std::move(m_results[slot])); // one at a time, in order
//         }
//     };
//     ReadingPool pool(job, settings);
//     m_results.resize(pool.Window());
//     ReadOperands(pool, {folder}, true);          // walk, submit, finish
//
// From a Qt worker: run the walk (ReadOperands, or WalkOperand and Submit)
// on a worker thread, never the window's. Deliver is called on a pool
// thread (or that worker thread), one call at a time; it should only collect
// the result into a batch and post the batch to the window now and then
// (QMetaObject::invokeMethod with a queued connection, every few dozen
// results or some 30 ms), never touch widgets. To stop, call Cancel() from
// the window's thread: the worker's ReadOperands returns false within
// milliseconds and no Deliver starts after it. Give the pool
// ReadingSettings::Priority::Idle and fewer threads than cores so that the
// readers yield to the window; the walk's thread is lowered with them.
class FileJob {
public:
    virtual ~FileJob() = default;
    // On a reader thread, several at once (or on the submitting thread
    // with inlineWhileCached or no threads): read `file` (always a
    // FoundFile::Kind::File) and keep what is to be handed on in the
    // caller's result slot `slot`, 0 .. ReadingPool::Window() - 1. A slot
    // is not reused before it has been delivered. Long reads may look at
    // ReadingPool::Cancelled() to give up early.
    virtual void Read(const FoundFile& file, size_t slot) = 0;
    // One call at a time, in the order the files were submitted, on
    // whichever thread completed the file (a reader, or the submitting
    // thread for a folder that could not be listed, which has no Read and
    // whose slot holds nothing of it). Not called once cancelled.
    virtual void Deliver(const FoundFile& file, size_t slot) = 0;
};

struct ReadingSettings {
    enum class Priority {
        Normal,
        // nice +10 for the readers.
        Low,
        // SCHED_IDLE: the readers run only when no other thread wants the
        // core, so the window's thread always goes first.
        Idle,
    };

    // Threads reading at once, at most. Eight keep a disk's queue full when
    // the files are not cached (measured: the cold benchmark of
    // scripts/bench); while they come from the cache, no more threads than
    // cores are started (more only take turns). 0: every file is read and
    // delivered at once on the submitting thread, in its call to Submit.
    int threads = 8;
    // Files submitted but not yet delivered, at most: this bounds the
    // memory held by results (and the folders held open). At least 1.
    int window = 256;
    Priority priority = Priority::Normal;
    // Files are read and delivered on the submitting thread, each in its
    // call to Submit, until one had to wait for a disk; the readers take
    // over from the next. Files in the page cache then cost no handing
    // between threads, which on a busy machine (each switch waits for a
    // time slice) costs more than the readers gain. For a command-line
    // run; a window's search leaves it off, since a read that blocks then
    // holds up the walk and the return of Submit after a Cancel.
    bool inlineWhileCached = false;
    // While the flag is set (a window handling the user's input), at most
    // busyThreads read at once, and only when no other thread wants a core
    // (SCHED_IDLE): the others hold back before their next file, each for
    // at most kMostHoldMs, so that the window has the cores.
    std::shared_ptr<const std::atomic<bool>> busy;
    int busyThreads = 1;
    // While this one is set too (the window has an input to answer), none
    // starts a file, again for at most kMostHoldMs each.
    std::shared_ptr<const std::atomic<bool>> answering;
};

// The cores this process may run on (at least 1).
size_t UsableCores();

class ReadingPool {
public:
    // The longest a reader holds back for a busy window, per file.
    static constexpr int kMostHoldMs = 100;

    explicit ReadingPool(FileJob& job, const ReadingSettings& settings = {});
    // Cancels what is not delivered yet and waits for the reads in
    // progress (a read cannot be interrupted).
    ~ReadingPool();
    ReadingPool(const ReadingPool&) = delete;
    ReadingPool& operator=(const ReadingPool&) = delete;

    // Result slots the job keeps (the window).
    size_t Window() const { return m_slots.size(); }

    // Queues the next item of the walk, from one thread (the walk's). Waits
    // while the window is full. False once cancelled: the item is dropped.
    bool Submit(FoundFile&& found);
    // After the last Submit, on the same thread: waits until every item is
    // delivered. False when cancelled; it
    // then returns as soon as a Deliver in progress has returned, without waiting for reads in
    // progress.
    bool Finish();

    // From any thread, also from Read or Deliver: stops the work. Files not
    // yet read are not read, no Deliver starts after, Submit and Finish
    // return false at once.
    void Cancel();
    bool Cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

private:
    struct Slot {
        FoundFile found;
        bool done = false;
    };

    // Pending items at which a walk waiting for room goes on.
    uint64_t LowWater() const { return m_slots.size() / 2; }
    void Work();
    // Reads the next waiting file on this thread and delivers what is ready.
    // Called with the lock, when m_taken < m_submitted, counted among those
    // reading (m_readingNow).
    // `blocksSeen`: the thread's count of blocks read from a disk when it
    // last looked.
    void ReadNext(std::unique_lock<std::mutex>& lock, long& blocksSeen);
    void StartReaderIfNeeded();
    // Counts a read; true when enough of the recent ones waited for a disk.
    bool CountRead(bool waited);
    // Counts this thread among those reading, once a busy window lets it;
    // `idle`: the thread runs as SCHED_IDLE, as it does while the window
    // is busy.
    void StartReading(bool& idle);
    // Delivers the completed items at the head of the window, unless a
    // thread is already doing so (it picks them up). Called with the lock.
    void DeliverReady(std::unique_lock<std::mutex>& lock);
    bool SubmitInline(FoundFile&& found);
    // The walk's thread yields to a busy window as the readers do: lowered
    // as they are (for good: it is the reading's own), and SCHED_IDLE while
    // the window is busy, until Finish. Not for Priority::Normal.
    void PaceWalk();

    FileJob& m_job;
    const int m_threads;
    const ReadingSettings::Priority m_priority;
    const bool m_inlineWhileCached;
    const size_t m_cores;
    const std::shared_ptr<const std::atomic<bool>> m_busy;
    const std::shared_ptr<const std::atomic<bool>> m_answering;
    const int m_busyThreads;
    std::atomic<int> m_readingNow{0};
    std::vector<Slot> m_slots;
    std::vector<std::thread> m_readers;

    std::mutex m_lock;
    // Readers wait here for files; Submit and Finish for room and delivery.
    std::condition_variable m_work;
    std::condition_variable m_room;
    // Items submitted, taken by a reader, and delivered: delivered <= taken
    // <= submitted, and submitted - delivered <= Window().
    uint64_t m_submitted = 0;
    uint64_t m_taken = 0;
    uint64_t m_delivered = 0;
    int m_idleReaders = 0;
    int m_roomWaiters = 0;
    bool m_delivering = false;
    // Readers had to wait for a disk: more readers than cores help now
    // (and inline reading ends).
    std::atomic<bool> m_waitedForDisk{false};
    // Reads since the last count of disk waits began, and how many of them
    // waited (under the lock once readers run).
    int m_recentReads = 0;
    int m_recentWaits = 0;
    // The submitting thread's blocks read from a disk when it last looked;
    // -1 before its first inline read.
    long m_inlineBlocks = -1;
    // The walk's thread: lowered to the readers' priority; running as
    // SCHED_IDLE for a busy window.
    bool m_walkLowered = false;
    bool m_walkIdle = false;
    bool m_closing = false;
    std::atomic<bool> m_cancelled{false};
};
