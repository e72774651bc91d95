#include "framework/views/WorkQueue.h"

#include <deque>
#include <mutex>

struct WorkQueue::State {
    mutable std::mutex mutex;
    std::deque<Job> jobs;
    Order order = Order::OldestFirst;
    int maxThreads = 1;
    int draining = 0;
    int running = 0;
};

WorkQueue::WorkQueue(int maxThreads, Order order)
    : m_generation(std::make_shared<std::atomic<quint64>>(1)), m_state(std::make_unique<State>()) {
    m_state->order = order;
    m_state->maxThreads = maxThreads < 1 ? 1 : maxThreads;
    m_pool.setMaxThreadCount(m_state->maxThreads);
}

WorkQueue::~WorkQueue() {
    Cancel();
    m_pool.waitForDone();
}

quint64 WorkQueue::Cancel() {
    const std::lock_guard lock(m_state->mutex);
    m_state->jobs.clear();
    return ++*m_generation;
}

void WorkQueue::Post(Job job) {
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->jobs.push_back(std::move(job));
        if (m_state->draining >= m_state->maxThreads)
            return;
        ++m_state->draining;
    }
    m_pool.start([this] { Drain(); });
}

// One pool thread takes jobs until none is left.
void WorkQueue::Drain() {
    for (;;) {
        Job job;
        {
            const std::lock_guard lock(m_state->mutex);
            if (m_state->jobs.empty()) {
                --m_state->draining;
                return;
            }
            if (m_state->order == Order::NewestFirst) {
                job = std::move(m_state->jobs.back());
                m_state->jobs.pop_back();
            } else {
                job = std::move(m_state->jobs.front());
                m_state->jobs.pop_front();
            }
            ++m_state->running;
        }
        job();
        const std::lock_guard lock(m_state->mutex);
        --m_state->running;
    }
}

int WorkQueue::Pending() const {
    const std::lock_guard lock(m_state->mutex);
    return int(m_state->jobs.size()) + m_state->running;
}

void WorkQueue::WaitForDone() {
    m_pool.waitForDone();
}
