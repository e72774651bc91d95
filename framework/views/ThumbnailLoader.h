#pragma once

#include "framework/views/ThumbnailCache.h"
#include "framework/views/WorkQueue.h"

#include <QObject>
#include <QSet>

// Thumbnails for a view: asked for while items are painted (so the visible
// items come first), made on at most two threads of its own, newest request
// first, and kept in a capped cache. Cancel drops every request not yet
// made, as when the view scrolls past them or shows another folder.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    static constexpr int kThreads = 2;

    explicit ThumbnailLoader(QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // The thumbnail when it is ready; otherwise null, and it is made unless
    // it is being made or could not be made before.
    const QPixmap* Request(const ThumbnailKey& key);
    void Cancel();

    ThumbnailCache& Cache() { return m_cache; }
    // Requests being made or waiting.
    int Pending() const { return int(m_pending.size()); }
    // Files whose picture could not be decoded; they keep their icons.
    bool Failed(const ThumbnailKey& key) const { return m_failed.contains(key); }

signals:
    void thumbnailReady(const ThumbnailKey& key);

private:
    void Receive(quint64 generation, const ThumbnailKey& key, const QImage& image);

    ThumbnailCache m_cache;
    QSet<ThumbnailKey> m_pending;
    QSet<ThumbnailKey> m_failed;
    WorkQueue m_queue;
};
