#include "framework/views/ThumbnailLoader.h"

#include "framework/views/ThumbnailSource.h"

ThumbnailLoader::ThumbnailLoader(QObject* parent)
    : QObject(parent), m_provider(std::make_shared<ImageReaderThumbnails>()),
      m_queue(kThreads, WorkQueue::Order::NewestFirst) {
    m_convert.setInterval(0);
    connect(&m_convert, &QTimer::timeout, this, &ThumbnailLoader::ConvertSome);
}

// The jobs end before the object goes; their results still queued go with it.
ThumbnailLoader::~ThumbnailLoader() {
    m_queue.Cancel();
    m_queue.WaitForDone();
}

const QPixmap* ThumbnailLoader::Request(const ThumbnailKey& key) {
    if (const QPixmap* held = m_cache.Find(key))
        return held;
    if (m_pending.contains(key) || m_failed.contains(key) || m_arriving.contains(key))
        return nullptr;
    m_pending.insert(key);
    const quint64 generation = m_queue.Generation();
    // The job holds its provider: one set meanwhile does not pull it away.
    m_queue.Post(
        [this, key, generation, current = m_queue.GenerationCounter(), provider = m_provider] {
            if (current->load() != generation)
                return;
            const QImage image = provider->Picture(key.path, key.edge);
            QMetaObject::invokeMethod(
                this,
                [this, generation, key, image, provider] {
                    Receive(generation, key, image, provider.get());
                },
                Qt::QueuedConnection);
        });
    return nullptr;
}

void ThumbnailLoader::Cancel() {
    m_queue.Cancel();
    m_pending.clear();
}

void ThumbnailLoader::SetProvider(std::shared_ptr<const ThumbnailProvider> provider) {
    if (!provider)
        return;
    Cancel();
    m_provider = std::move(provider);
    m_cache.Clear();
    m_failed.clear();
    m_arrived.clear();
    m_arriving.clear();
    m_convert.stop();
}

void ThumbnailLoader::Receive(quint64 generation, const ThumbnailKey& key, const QImage& image,
                              const ThumbnailProvider* madeBy) {
    // A picture of a provider replaced since says nothing of the new one's.
    if (madeBy != m_provider.get())
        return;
    // A result of a cancelled request is still good: it was made already.
    if (generation == m_queue.Generation())
        m_pending.remove(key);
    if (image.isNull()) {
        m_failed.insert(key);
        return;
    }
    m_arriving.insert(key);
    m_arrived.emplace_back(key, image);
    if (!m_convert.isActive())
        m_convert.start();
}

void ThumbnailLoader::ConvertSome() {
    for (int i = 0; i < kConvertPerTurn && !m_arrived.empty(); ++i) {
        auto [key, image] = std::move(m_arrived.front());
        m_arrived.pop_front();
        m_arriving.remove(key);
        QPixmap pixmap = QPixmap::fromImage(std::move(image));
        // Painted at the key's edge over its ratio: one picture pixel to
        // each device pixel.
        pixmap.setDevicePixelRatio(key.devicePixelRatio);
        m_cache.Insert(key, pixmap);
        emit thumbnailReady(key);
    }
    if (m_arrived.empty())
        m_convert.stop();
}
