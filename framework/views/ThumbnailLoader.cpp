#include "framework/views/ThumbnailLoader.h"

#include "framework/views/ThumbnailSource.h"

ThumbnailLoader::ThumbnailLoader(QObject* parent)
    : QObject(parent), m_queue(kThreads, WorkQueue::Order::NewestFirst) {}

// The jobs end before the object goes; their results still queued go with it.
ThumbnailLoader::~ThumbnailLoader() {
    m_queue.Cancel();
    m_queue.WaitForDone();
}

const QPixmap* ThumbnailLoader::Request(const ThumbnailKey& key) {
    if (const QPixmap* held = m_cache.Find(key))
        return held;
    if (m_pending.contains(key) || m_failed.contains(key))
        return nullptr;
    m_pending.insert(key);
    const quint64 generation = m_queue.Generation();
    m_queue.Post([this, key, generation, current = m_queue.GenerationCounter()] {
        if (current->load() != generation)
            return;
        const QImage image = LoadThumbnail(key.path, key.edge);
        QMetaObject::invokeMethod(
            this, [this, generation, key, image] { Receive(generation, key, image); },
            Qt::QueuedConnection);
    });
    return nullptr;
}

void ThumbnailLoader::Cancel() {
    m_queue.Cancel();
    m_pending.clear();
}

void ThumbnailLoader::Receive(quint64 generation, const ThumbnailKey& key, const QImage& image) {
    // A result of a cancelled request is still good: it was made already.
    if (generation == m_queue.Generation())
        m_pending.remove(key);
    if (image.isNull()) {
        m_failed.insert(key);
        return;
    }
    m_cache.Insert(key, QPixmap::fromImage(image));
    emit thumbnailReady(key);
}
