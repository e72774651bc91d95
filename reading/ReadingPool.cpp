#include "reading/ReadingPool.h"

#include <algorithm>
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
    case ReadingSettings::Priority::Low:
        // On Linux the nice value is the thread's own.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
        break;
    case ReadingSettings::Priority::Idle: {
        sched_param param{};
        if (::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &param) != 0)
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
        break;
    }
    }
}

} // namespace

ReadingPool::ReadingPool(FileJob& job, const ReadingSettings& settings)
    : m_job(job), m_threads(std::clamp(settings.threads, 0, kMostThreads)),
      m_priority(settings.priority), m_slots(static_cast<size_t>(std::max(settings.window, 1))) {
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

bool ReadingPool::Submit(FoundFile&& found) {
    if (m_threads == 0)
        return SubmitInline(std::move(found));
    std::unique_lock<std::mutex> lock(m_lock);
    if (m_submitted - m_delivered == m_slots.size() && !Cancelled()) {
        // A full window waits until it is half empty: waking the walk for
        // every delivered file would cost a switch of threads per file.
        ++m_roomWaiters;
        m_room.wait(lock, [this] { return m_submitted - m_delivered <= LowWater() || Cancelled(); });
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
    if (found.IsFile())
        m_job.Read(found, 0);
    if (Cancelled())
        return false;
    m_job.Deliver(found, 0);
    return !Cancelled();
}

bool ReadingPool::Finish() {
    std::unique_lock<std::mutex> lock(m_lock);
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
    // One reader more while every started one is busy, up to the count: a
    // single file starts a single thread.
    if (m_idleReaders == 0 && m_readers.size() < static_cast<size_t>(m_threads))
        m_readers.emplace_back([this] { Work(); });
}

void ReadingPool::Work() {
    LowerThisThread(m_priority);
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (m_taken == m_submitted && !m_closing && !Cancelled()) {
            ++m_idleReaders;
            m_work.wait(lock, [this] { return m_taken < m_submitted || m_closing || Cancelled(); });
            --m_idleReaders;
        }
        if (m_closing || Cancelled())
            return;
        const size_t index = m_taken++ % m_slots.size();
        Slot& slot = m_slots[index];
        if (slot.done)
            continue; // a folder that could not be listed: nothing to read
        // The slot is this reader's until it is marked done: Submit fills
        // only free slots, and delivery takes only done ones.
        lock.unlock();
        m_job.Read(slot.found, index);
        lock.lock();
        slot.done = true;
        DeliverReady(lock);
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
        lock.lock();
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
