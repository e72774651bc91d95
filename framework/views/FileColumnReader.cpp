#include "framework/views/FileColumnReader.h"

#include <algorithm>
#include <iterator>

FileColumnReader::FileColumnReader(QObject* parent)
    : QObject(parent), m_queue(kThreads, WorkQueue::Order::OldestFirst) {
    m_handOver.setSingleShot(true);
    m_handOver.setInterval(kHandOverMs);
    connect(&m_handOver, &QTimer::timeout, this, &FileColumnReader::HandOver);
}

// The jobs end before the object goes; their hand-overs still queued go
// with it.
FileColumnReader::~FileColumnReader() {
    m_queue.Cancel();
    m_queue.WaitForDone();
}

void FileColumnReader::SetProvider(std::shared_ptr<const FileColumnProvider> provider) {
    Cancel();
    m_provider = std::move(provider);
    m_titles = m_provider ? m_provider->Titles() : QStringList();
}

void FileColumnReader::Cancel() {
    m_queue.Cancel();
    m_received.clear();
    m_handOver.stop();
    m_jobsOut = 0;
}

void FileColumnReader::Read(const QByteArray& folder, const std::vector<QByteArray>& names) {
    if (!m_provider || names.empty())
        return;
    const QByteArray base = folder.endsWith('/') ? folder : folder + '/';
    const quint64 generation = m_queue.Generation();
    const auto current = m_queue.GenerationCounter();
    for (size_t first = 0; first < names.size(); first += kFilesPerJob) {
        const size_t last = std::min(names.size(), first + size_t(kFilesPerJob));
        std::vector<QByteArray> chunk(names.begin() + qsizetype(first),
                                      names.begin() + qsizetype(last));
        ++m_jobsOut;
        m_queue.Post(
            [this, provider = m_provider, current, generation, base, chunk = std::move(chunk)] {
                std::vector<FileColumnsRead> cells;
                cells.reserve(chunk.size());
                for (const QByteArray& name : chunk) {
                    // A folder left behind is not read any further.
                    if (current->load() != generation)
                        break;
                    FileColumnsRead read{name, nullptr, nullptr};
                    read.cells = std::make_shared<const std::vector<FileColumnCell>>(
                        provider->ReadWithFacts(base + name, read.facts));
                    cells.push_back(std::move(read));
                }
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, cells = std::move(cells)]() mutable {
                        Receive(generation, std::move(cells));
                    },
                    Qt::QueuedConnection);
            });
    }
}

void FileColumnReader::Receive(quint64 generation, std::vector<FileColumnsRead> cells) {
    if (generation != m_queue.Generation())
        return;
    --m_jobsOut;
    m_received.insert(m_received.end(), std::make_move_iterator(cells.begin()),
                      std::make_move_iterator(cells.end()));
    if (m_jobsOut == 0) {
        m_handOver.stop();
        HandOver();
    } else if (!m_handOver.isActive()) {
        m_handOver.start();
    }
}

void FileColumnReader::HandOver() {
    if (!m_received.empty())
        emit cellsRead(std::exchange(m_received, {}));
    if (m_jobsOut == 0)
        emit idle();
}

bool FileColumnReader::IsIdle() const {
    return m_jobsOut == 0 && m_received.empty();
}
