#pragma once

#include "framework/ribbon/RibbonElement.h"

// A text without a command. In a panel it is a row of text; heading a
// drop-down (the look of its entries) it is a bold caption on a band.
class RibbonLabel : public RibbonElement {
    Q_OBJECT
public:
    explicit RibbonLabel(const QString& text, bool multiLine = false);

    bool IsMultiLine() const { return m_multiLine; }
    bool AcceptsKeyTip() const override { return false; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_multiLine; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool IsHeading() const;

    bool m_multiLine;
};
