#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <utility>

// What the window benchmarks measure: waits that keep the event loop going,
// the event loop's longest stall, the time to a widget's first paint and the
// process's memory.

// The thread sleeps between events, as a window's does, woken at least
// every 5 ms to look at `done`: a loop that spun would keep a core from the
// readers.
inline bool WaitFor(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms);
    QTimer tick;
    tick.start(5);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The calling thread's time on a core and waiting for one, in ms (from
// /proc/thread-self/schedstat; zeros where there is none): a slow click
// that waited for a core was kept by other work on the machine.
struct ThreadTimes {
    double ranMs = 0;
    double waitedMs = 0;
};
inline ThreadTimes ThisThreadTimes() {
    QFile file(QStringLiteral("/proc/thread-self/schedstat"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> fields = file.readAll().split(' ');
    if (fields.size() < 2)
        return {};
    return {fields[0].toDouble() / 1e6, fields[1].toDouble() / 1e6};
}

// The longest gap between two ticks of a 2 ms timer: how long the event
// loop was kept from its events.
class StallMeter : public QObject {
public:
    StallMeter() {
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            longestMs = std::max(longestMs, double(now - m_last) / 1e6);
            m_last = now;
        });
    }
    void Start() {
        longestMs = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double Stop() {
        m_timer.stop();
        return longestMs;
    }
    double longestMs = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
};

// The time of the first paint of `widget` once `ready` holds, since Start.
class PaintTimer : public QObject {
public:
    PaintTimer(QWidget* widget, std::function<bool()> ready)
        : m_widget(widget), m_ready(std::move(ready)) {
        widget->installEventFilter(this);
    }
    ~PaintTimer() override { m_widget->removeEventFilter(this); }
    void Start(const QElapsedTimer& clock) { m_clock = &clock; }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_clock && atNs < 0 && m_ready())
            atNs = m_clock->nsecsElapsed();
        return false;
    }
    qint64 atNs = -1;

private:
    QWidget* m_widget;
    std::function<bool()> m_ready;
    const QElapsedTimer* m_clock = nullptr;
};

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 when unknown.
inline long StatusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    return -1;
}

inline long ResidentKb() {
    return StatusKb("VmRSS");
}
