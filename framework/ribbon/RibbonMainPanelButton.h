#pragma once

#include "framework/ribbon/RibbonButton.h"

// A framed button of the bottom row of the application button's main panel
// ("Exit"): its small image beside its label.
class RibbonMainPanelButton : public RibbonButton {
    Q_OBJECT
public:
    RibbonMainPanelButton(unsigned id, const QString& text, int smallImage = -1);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
