#pragma once

#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonMainPanel.h"

#include <QPointer>

// The round button at the ribbon's top left. It has no label, only its image
// (and usually a key tip); pressing it, or typing its key tip, drops down the
// main panel of the ribbon's main category.
class RibbonApplicationButton : public RibbonButton {
    Q_OBJECT
public:
    RibbonApplicationButton();

    // Bitmap `id` as the image; false, leaving no image, when it is missing.
    bool SetImage(unsigned bitmapId);
    void SetImage(const QPixmap& image);
    QPixmap Image() const { return m_image; }

    void SetMainPanel(RibbonMainPanel* panel);
    RibbonMainPanel* MainPanel() const { return m_mainPanel; }
    void ShowMainPanel();
    void CloseMainPanel();
    bool IsMainPanelShown() const;
    // Opens the main panel, or closes it when it shows.
    void Click() override;

    bool AcceptsKeyTip() const override { return !m_mainPanel.isNull(); }
    bool ActivateKeyTip(bool menuKeys) override;
    QList<RibbonElement*> KeyTipChildren() const override;
    void CloseKeyTipLevel() override;
    QPoint KeyTipAnchor(bool menuKeys) const override;

    QSize sizeHint() const override { return QSize(45, 45); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap m_image;
    QPointer<RibbonMainPanel> m_mainPanel;
};
