#pragma once

#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>

// Jobs on a pool of threads of its own, oldest or newest first. Cancel drops
// the jobs still queued and starts a new generation; a running job compares
// the generation it was posted in with Generation() to learn that it is no
// longer wanted. Nothing here touches the window: jobs hand their results
// back themselves (a queued call to an object that outlives the queue).
class WorkQueue {
public:
    enum class Order { OldestFirst, NewestFirst };
    using Job = std::function<void()>;

    WorkQueue(int maxThreads, Order order);
    // Drops what is queued and waits for the jobs that are running.
    ~WorkQueue();
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    quint64 Generation() const { return m_generation->load(); }
    // Shared with jobs, which may outlive a question asked through `this`.
    std::shared_ptr<const std::atomic<quint64>> GenerationCounter() const { return m_generation; }
    // Drops the queued jobs; returns the new generation.
    quint64 Cancel();
    void Post(Job job);
    // Queued plus running jobs.
    int Pending() const;
    // Waits until no job is queued or running (tests and shutdown).
    void WaitForDone();

private:
    struct State;
    void Drain();

    std::shared_ptr<std::atomic<quint64>> m_generation;
    std::unique_ptr<State> m_state;
    QThreadPool m_pool;
};
