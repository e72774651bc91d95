#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>

// Whether the user is at the window: a click, a key or the wheel anywhere
// in the application within the last kBusyMs. Background readers look at
// the flag (ReadingSettings::busy) and hold back while it is set, so that
// what the user asked for is painted first. For the first kAnsweringMs of
// each input they stand aside altogether (ReadingSettings::answering): a
// thread that merely has a lower priority still takes a core from the
// window's thread at times, for as long as a time slice.
class UserActivity : public QObject {
    Q_OBJECT
public:
    static constexpr int kBusyMs = 300;
    static constexpr int kAnsweringMs = 30;

    explicit UserActivity(QObject* parent = nullptr);
    ~UserActivity() override;

    // Shared with reader threads, which may outlive this object.
    std::shared_ptr<const std::atomic<bool>> Busy() const { return m_busy; }
    bool IsBusy() const { return *m_busy; }
    std::shared_ptr<const std::atomic<bool>> Answering() const { return m_answering; }
    // The input so far is handled (the key that started a search): not busy
    // until the next.
    void Calm();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::shared_ptr<std::atomic<bool>> m_busy = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> m_answering = std::make_shared<std::atomic<bool>>(false);
    QTimer m_calm;
    QTimer m_answered;
};
