#pragma once

#include "framework/ribbon/RibbonElement.h"

// A line between elements: horizontal in columns and menus, vertical
// between the columns of a panel.
class RibbonSeparator : public RibbonElement {
    Q_OBJECT
public:
    explicit RibbonSeparator(bool horizontal = false);

    bool IsHorizontal() const { return m_horizontal; }
    bool AcceptsKeyTip() const override { return false; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_horizontal;
};
