#pragma once

#include <QByteArray>
#include <QHash>
#include <QPixmap>

#include <list>

// Which picture a thumbnail shows: the file by its path, size and time of
// change (a file rewritten gets a new key), at one edge length in device
// pixels for a screen of one device pixel ratio (so a window moved to a
// denser screen gets sharper pictures, not the old ones stretched).
struct ThumbnailKey {
    QByteArray path;
    qint64 size = 0;
    qint64 modifiedMs = 0;
    int edge = 0;
    qreal devicePixelRatio = 1.0;

    friend bool operator==(const ThumbnailKey&, const ThumbnailKey&) = default;
};
size_t qHash(const ThumbnailKey& key, size_t seed = 0);

// Thumbnails in memory, never more than a fixed number of bytes of pixels:
// adding one past the cap drops the least recently used first. Window
// thread only.
class ThumbnailCache {
public:
    static constexpr qint64 kDefaultCapBytes = qint64(256) << 20;

    explicit ThumbnailCache(qint64 capBytes = kDefaultCapBytes) : m_cap(capBytes) {}

    // The thumbnail, now the most recently used; null when not held.
    const QPixmap* Find(const ThumbnailKey& key);
    // Holds `pixmap` under `key`; one larger than the whole cap is not held.
    void Insert(const ThumbnailKey& key, const QPixmap& pixmap);
    bool Contains(const ThumbnailKey& key) const { return m_entries.contains(key); }
    void Clear();

    void SetCapBytes(qint64 capBytes);
    qint64 CapBytes() const { return m_cap; }
    qint64 UsedBytes() const { return m_used; }
    int Count() const { return int(m_entries.size()); }

    static qint64 CostOf(const QPixmap& pixmap);

private:
    struct Entry {
        QPixmap pixmap;
        std::list<ThumbnailKey>::iterator use;
    };
    void Trim(qint64 cap);

    qint64 m_cap;
    qint64 m_used = 0;
    // Most recently used at the front.
    std::list<ThumbnailKey> m_uses;
    QHash<ThumbnailKey, Entry> m_entries;
};
