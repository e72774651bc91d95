#include "framework/views/ThumbnailDelegate.h"

#include "framework/views/ThumbnailLoader.h"

#include <QAbstractItemView>
#include <QScrollBar>

namespace {

constexpr int kRepaintMs = 30;

} // namespace

ThumbnailDelegate::ThumbnailDelegate(QAbstractItemView& view, ThumbnailLoader& loader, KeyOf keyOf)
    : QStyledItemDelegate(&view), m_view(view), m_loader(loader), m_keyOf(std::move(keyOf)) {
    m_repaint.setSingleShot(true);
    m_repaint.setInterval(kRepaintMs);
    connect(&m_repaint, &QTimer::timeout, this, [this] { m_view.viewport()->update(); });
    connect(&loader, &ThumbnailLoader::thumbnailReady, this, [this] {
        if (m_enabled && !m_repaint.isActive())
            m_repaint.start();
    });
    const auto scrolled = [this] {
        if (m_enabled)
            m_loader.Cancel();
    };
    connect(view.verticalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
    connect(view.horizontalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
}

void ThumbnailDelegate::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled)
        m_loader.Cancel();
    m_view.viewport()->update();
}

void ThumbnailDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!m_enabled || index.column() != 0)
        return;
    const QSize iconSize = m_view.iconSize();
    // Read at the screen's density: the icon's edge in device pixels.
    const qreal ratio = m_view.viewport()->devicePixelRatioF();
    const int edge = qRound(qMax(iconSize.width(), iconSize.height()) * ratio);
    std::optional<ThumbnailKey> key = m_keyOf(index, edge);
    if (!key)
        return;
    key->devicePixelRatio = ratio;
    if (const QPixmap* picture = m_loader.Request(*key)) {
        option->icon = QIcon(*picture);
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
}
