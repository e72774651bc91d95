#pragma once

#include "framework/views/ThumbnailCache.h"
#include "framework/views/ThumbnailProvider.h"
#include "framework/views/WorkQueue.h"

#include <QImage>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <deque>
#include <memory>
#include <utility>

// Thumbnails for a view: asked for while items are painted (so the visible
// items come first), made on at most two threads of its own, newest request
// first, and kept in a capped cache. Cancel drops every request not yet
// made, as when the view scrolls past them or shows another folder. The
// pictures come from the provider an application sets, by default from Qt's
// image readers (ImageReaderThumbnails).
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    static constexpr int kThreads = 2;
    // Pictures made into pixmaps in one turn of the event loop: a burst of
    // finished thumbnails never holds the window for long.
    static constexpr int kConvertPerTurn = 8;

    explicit ThumbnailLoader(QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    // The thumbnail when it is ready; otherwise null, and it is made unless
    // it is being made or could not be made before.
    const QPixmap* Request(const ThumbnailKey& key);
    void Cancel();

    // Who makes the pictures from now on: what was asked or held is
    // dropped, and files that had none are tried again. A null provider is
    // ignored.
    void SetProvider(std::shared_ptr<const ThumbnailProvider> provider);
    const ThumbnailProvider& Provider() const { return *m_provider; }

    ThumbnailCache& Cache() { return m_cache; }
    // Requests being made or waiting, and pictures made but not yet held.
    int Pending() const { return int(m_pending.size() + m_arriving.size()); }
    // Files whose picture could not be decoded; they keep their icons.
    bool Failed(const ThumbnailKey& key) const { return m_failed.contains(key); }

signals:
    void thumbnailReady(const ThumbnailKey& key);

private:
    void Receive(quint64 generation, const ThumbnailKey& key, const QImage& image,
                 const ThumbnailProvider* madeBy);
    void ConvertSome();

    std::shared_ptr<const ThumbnailProvider> m_provider;
    ThumbnailCache m_cache;
    QSet<ThumbnailKey> m_pending;
    QSet<ThumbnailKey> m_failed;
    // Made, not yet in the cache; the timer takes a few each turn.
    std::deque<std::pair<ThumbnailKey, QImage>> m_arrived;
    QSet<ThumbnailKey> m_arriving;
    QTimer m_convert;
    WorkQueue m_queue;
};
