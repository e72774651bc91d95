#pragma once

#include "framework/views/ThumbnailCache.h"

#include <QStyledItemDelegate>
#include <QTimer>

#include <functional>
#include <optional>

class QAbstractItemView;
class ThumbnailLoader;

// Paints items with their pictures in place of their icons, at the view's
// icon size (asked in device pixels, so a dense screen gets sharp ones),
// once the loader has them; until then, and for files that are no
// pictures, the model's icon. Asking while painting means the visible items
// are asked first; scrolling cancels what was asked for items left behind.
class ThumbnailDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Which file an item shows; nothing for items that have no picture.
    using KeyOf = std::function<std::optional<ThumbnailKey>(const QModelIndex&, int edge)>;

    ThumbnailDelegate(QAbstractItemView& view, ThumbnailLoader& loader, KeyOf keyOf);

    void SetEnabled(bool enabled);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QAbstractItemView& m_view;
    ThumbnailLoader& m_loader;
    KeyOf m_keyOf;
    // Thumbnails arriving in a burst repaint the view once.
    QTimer m_repaint;
    bool m_enabled = false;
};
