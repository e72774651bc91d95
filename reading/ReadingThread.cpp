#include "reading/ReadingThread.h"

#include <utility>

ReadingThread::~ReadingThread() {
    Stop();
    for (Reading& reading : m_readings)
        reading.thread.join();
}

void ReadingThread::Start(std::shared_ptr<FileJob> job, const ReadingSettings& settings,
                          Feed feed) {
    JoinEnded();
    auto control = std::make_shared<Control>();
    std::thread thread([control, job = std::move(job), settings, feed = std::move(feed)] {
        {
            ReadingPool pool(*job, settings);
            bool go = false;
            {
                const std::lock_guard lock(control->mutex);
                go = !control->stopped;
                if (go)
                    control->pool = &pool;
            }
            if (go)
                feed(pool);
            const std::lock_guard lock(control->mutex);
            control->pool = nullptr;
        }
        control->ended = true;
    });
    m_readings.push_back({std::move(thread), std::move(control)});
}

void ReadingThread::Stop() {
    for (Reading& reading : m_readings) {
        const std::lock_guard lock(reading.control->mutex);
        reading.control->stopped = true;
        if (reading.control->pool)
            reading.control->pool->Cancel();
    }
}

void ReadingThread::JoinEnded() {
    for (auto reading = m_readings.begin(); reading != m_readings.end();) {
        if (reading->control->ended) {
            reading->thread.join();
            reading = m_readings.erase(reading);
        } else {
            ++reading;
        }
    }
}
