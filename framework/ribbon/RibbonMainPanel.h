#pragma once

#include <QFrame>
#include <QList>
#include <QPointer>

class RibbonButton;
class RibbonCategory;
class RibbonElement;
class RibbonRecentFilesList;

// The drop-down of the application button: a column of elements with large
// images, an area to their right that lists the recent documents (or, while
// a button with sub-items is pointed at, that button's sub-items), and a row
// of buttons along the bottom (Exit). Choosing an element closes it.
class RibbonMainPanel : public QFrame {
    Q_OBJECT
public:
    explicit RibbonMainPanel(RibbonCategory* category);

    RibbonCategory* Category() const { return m_category; }

    // Takes ownership of `element` and appends it to the column.
    void Add(RibbonElement* element);
    // Takes ownership of `element` and appends it to the bottom row.
    void AddToBottom(RibbonElement* element);
    // Adds the recent-documents list, `width` wide, in the area on the right.
    RibbonRecentFilesList* AddRecentFilesList(const QString& label, int width = 300);

    // Every element in the order added, the recent-documents list included.
    QList<RibbonElement*> Elements() const { return m_elements; }
    QList<RibbonElement*> BottomElements() const { return m_bottom; }
    RibbonRecentFilesList* RecentFilesList() const { return m_recent; }

    // Shows the sub-items of `button` on the right; nullptr goes back to the
    // recent documents.
    void ShowSubItems(RibbonButton* button);
    RibbonButton* SubItemsShown() const { return m_subItemsShown; }

    // The elements a key tip can reach while the panel shows.
    QList<RibbonElement*> KeyTipElements() const;

    void PopupAt(const QPoint& globalPos);

    QSize sizeHint() const override;

signals:
    void closed();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Adopt(RibbonElement* element);
    int ColumnWidth() const;
    int ColumnHeight() const;
    int BottomHeight() const;
    QRect ContentRect() const;
    QRect RightArea() const;
    void Relayout();
    void UpdateLayout();

    RibbonCategory* m_category;
    QList<RibbonElement*> m_elements;
    QList<RibbonElement*> m_bottom;
    RibbonRecentFilesList* m_recent = nullptr;
    int m_rightWidth = 300;
    QPointer<RibbonButton> m_subItemsShown;
};
