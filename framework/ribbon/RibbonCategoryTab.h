#pragma once

#include "framework/ribbon/RibbonElement.h"

class RibbonCategory;

// The tab of a category on the ribbon's tab row. Clicking it, or typing its
// key tip (the access letter of "&Home"), shows its category; the key tips
// then move on to the category's elements.
class RibbonCategoryTab : public RibbonElement {
    Q_OBJECT
public:
    explicit RibbonCategoryTab(RibbonCategory* category);

    bool IsActive() const;
    // Shows the tab's category.
    void Click() override { Select(); }

    bool AcceptsKeyTip() const override { return true; }
    bool ActivateKeyTip(bool menuKeys) override;
    QList<RibbonElement*> KeyTipChildren() const override;
    QPoint KeyTipAnchor(bool menuKeys) const override;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Select();

    RibbonCategory* m_category;
};
