#include "framework/views/ThumbnailCache.h"

#include <QHashFunctions>

size_t qHash(const ThumbnailKey& key, size_t seed) {
    return qHashMulti(seed, key.path, key.size, key.modifiedMs, key.edge, key.devicePixelRatio);
}

qint64 ThumbnailCache::CostOf(const QPixmap& pixmap) {
    return qint64(pixmap.width()) * pixmap.height() * ((pixmap.depth() + 7) / 8);
}

const QPixmap* ThumbnailCache::Find(const ThumbnailKey& key) {
    const auto found = m_entries.find(key);
    if (found == m_entries.end())
        return nullptr;
    m_uses.splice(m_uses.begin(), m_uses, found->use);
    return &found->pixmap;
}

void ThumbnailCache::Insert(const ThumbnailKey& key, const QPixmap& pixmap) {
    const qint64 cost = CostOf(pixmap);
    if (const auto found = m_entries.find(key); found != m_entries.end()) {
        m_used -= CostOf(found->pixmap);
        m_uses.erase(found->use);
        m_entries.erase(found);
    }
    if (cost > m_cap)
        return;
    Trim(m_cap - cost);
    m_uses.push_front(key);
    m_entries.insert(key, Entry{pixmap, m_uses.begin()});
    m_used += cost;
}

void ThumbnailCache::Clear() {
    m_entries.clear();
    m_uses.clear();
    m_used = 0;
}

void ThumbnailCache::SetCapBytes(qint64 capBytes) {
    m_cap = capBytes < 0 ? 0 : capBytes;
    Trim(m_cap);
}

// Drops the least recently used until at most `cap` bytes are held.
void ThumbnailCache::Trim(qint64 cap) {
    while (m_used > cap && !m_uses.empty()) {
        const auto found = m_entries.find(m_uses.back());
        m_used -= CostOf(found->pixmap);
        m_entries.erase(found);
        m_uses.pop_back();
    }
}
