#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints a cell as the style does, but its text from a layout made once per
// text and width and then kept: the style lays out and shapes a cell's text
// on every paint (three times where it is elided), which made a full repaint
// of a Details view of metadata columns take 3-5 ms, and a click that came
// with one wait for it. Cells whose text the style would wrap or draw as
// rich text, and right-to-left layouts, are left to the style.
class KeptTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    struct Key {
        QString text;
        int width;
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) {
        return qHashMulti(seed, key.text, key.width);
    }

    // Forgets what was kept when the font or the style changes (a visual
    // style chosen from the ribbon), or when it holds too much.
    void Follow(const QFont& font, const QStyle* style) const;
    const QStaticText& Laid(const QString& text, int width, const QFont& font,
                            Qt::TextElideMode elide) const;
    // Where the style puts a cell's text, inside the cell: it measures the
    // text to tell (laying it out), yet the place depends only on the
    // cell's size and what else it shows, so it is asked once for each.
    QRect TextArea(const QStyleOptionViewItem& cell, const QStyle& style) const;

    // Bounded: cleared when full (see Follow).
    static constexpr qsizetype kMostKept = 8192;
    mutable QHash<Key, QStaticText> m_kept;
    mutable QHash<quint64, QRect> m_areas;
    mutable QFont m_font;
    mutable const QStyle* m_style = nullptr;
};
