#pragma once

#include "framework/ribbon/RibbonElement.h"

// A check box of a panel. Its mark is the checked state of the command's
// action, which the command's update handler sets; clicking issues the
// command and leaves the mark to the handler.
class RibbonCheckBox : public RibbonElement {
    Q_OBJECT
public:
    RibbonCheckBox(unsigned id, const QString& text);

    bool IsChecked() const;
    // Issues the command, which sets the mark.
    void Click() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
