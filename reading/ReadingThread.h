#pragma once

#include "reading/ReadingPool.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Readings a window starts and stops: each runs on a thread of its own, with
// a pool reading for its job, fed by the caller's walk. Start returns at
// once; Stop cancels every reading started without waiting for the reads in
// progress (no Deliver starts after it returns), so the window never waits
// for a disk. The threads are joined once they end, and at the latest by the
// destructor.
class ReadingThread {
public:
    // On the reading's thread: sizes the job's slots to pool.Window(), then
    // submits the files (ReadOperands, or Submit and Finish).
    using Feed = std::function<void(ReadingPool& pool)>;

    ReadingThread() = default;
    ~ReadingThread();
    ReadingThread(const ReadingThread&) = delete;
    ReadingThread& operator=(const ReadingThread&) = delete;

    // Starts one more reading; the thread keeps `job` alive until it ends.
    void Start(std::shared_ptr<FileJob> job, const ReadingSettings& settings, Feed feed);
    void Stop();

private:
    struct Control {
        std::mutex mutex;
        ReadingPool* pool = nullptr;
        bool stopped = false;
        std::atomic<bool> ended{false};
    };
    struct Reading {
        std::thread thread;
        std::shared_ptr<Control> control;
    };

    void JoinEnded();

    std::vector<Reading> m_readings;
};
