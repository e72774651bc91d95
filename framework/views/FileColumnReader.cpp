#include "framework/views/FileColumnReader.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <iterator>

struct FileColumnReader::Run final : FileJob {
    FileColumnReader* receiver = nullptr;
    quint64 generation = 0;
    std::shared_ptr<const FileColumnProvider> provider;
    // Where a file's name starts in its path.
    size_t nameStart = 0;
    // One slot per file read and not yet delivered (ReadingPool::Window).
    std::vector<FileColumnsRead> results;
    // Delivery: one at a time, on the pool's threads.
    std::vector<FileColumnsRead> batch;
    QElapsedTimer sinceSent;

    void Read(const FoundFile& file, size_t slot) override {
        FileColumnsRead& read = results[slot];
        read.facts.reset();
        read.cells = std::make_shared<const std::vector<FileColumnCell>>(
            provider->ReadWithFacts(QByteArray::fromStdString(file.path), read.facts));
    }

    void Deliver(const FoundFile& file, size_t slot) override {
        FileColumnsRead& read = results[slot];
        read.name = QByteArray::fromStdString(file.path.substr(nameStart));
        batch.push_back(std::exchange(read, {}));
        if (sinceSent.elapsed() >= kHandOverMs)
            Send(false);
    }

    void Send(bool last) {
        sinceSent.restart();
        QMetaObject::invokeMethod(
            receiver,
            [receiver = receiver, generation = generation, cells = std::exchange(batch, {}),
             last]() mutable { receiver->Receive(generation, std::move(cells), last); },
            Qt::QueuedConnection);
    }
};

FileColumnReader::FileColumnReader(QObject* parent) : QObject(parent) {
    m_handOver.setSingleShot(true);
    m_handOver.setInterval(kHandOverMs);
    connect(&m_handOver, &QTimer::timeout, this, &FileColumnReader::HandOver);
}

// The readings end before the object goes; their hand-overs still queued go
// with it.
FileColumnReader::~FileColumnReader() = default;

void FileColumnReader::SetProvider(std::shared_ptr<const FileColumnProvider> provider) {
    Cancel();
    m_provider = std::move(provider);
    m_titles = m_provider ? m_provider->Titles() : QStringList();
}

void FileColumnReader::Cancel() {
    m_reading.Stop();
    ++m_generation;
    m_received.clear();
    m_handOver.stop();
    m_readsOut = 0;
}

void FileColumnReader::Read(const QByteArray& folder, const std::vector<QByteArray>& names) {
    if (!m_provider || names.empty())
        return;
    auto run = std::make_shared<Run>();
    run->receiver = this;
    run->generation = m_generation;
    run->provider = m_provider;
    ReadingSettings settings;
    settings.threads = kThreads;
    settings.priority = ReadingSettings::Priority::Low;
    settings.busy = m_activity.Busy();
    settings.answering = m_activity.Answering();
    settings.busyThreads = std::max(1, std::min(kThreads, QThread::idealThreadCount() - 1));
    ++m_readsOut;
    m_reading.Start(run, settings,
                    [run, base = (folder.endsWith('/') ? folder : folder + '/').toStdString(),
                     names](ReadingPool& pool) {
                        run->results.resize(pool.Window());
                        run->nameStart = base.size();
                        run->sinceSent.start();
                        for (const QByteArray& name : names) {
                            FoundFile found;
                            found.path = base + name.toStdString();
                            if (!pool.Submit(std::move(found)))
                                return;
                        }
                        if (pool.Finish())
                            run->Send(true);
                    });
}

void FileColumnReader::Receive(quint64 generation, std::vector<FileColumnsRead> cells, bool last) {
    if (generation != m_generation)
        return;
    m_received.insert(m_received.end(), std::make_move_iterator(cells.begin()),
                      std::make_move_iterator(cells.end()));
    if (last)
        --m_readsOut;
    if (m_readsOut == 0) {
        m_handOver.stop();
        HandOver();
    } else if (!m_handOver.isActive()) {
        m_handOver.start();
    }
}

void FileColumnReader::HandOver() {
    // A click or a key goes first: the rows it changes are painted before
    // the cells of a batch are.
    if (m_activity.IsBusy() && !m_received.empty()) {
        m_handOver.start();
        return;
    }
    if (!m_received.empty())
        emit cellsRead(std::exchange(m_received, {}));
    if (m_readsOut == 0)
        emit idle();
}

bool FileColumnReader::IsIdle() const {
    return m_readsOut == 0 && m_received.empty();
}
