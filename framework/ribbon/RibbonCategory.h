#pragma once

#include "framework/ribbon/ImageStrip.h"

#include <QList>
#include <QWidget>

class RibbonBar;
class RibbonCategoryTab;
class RibbonElement;
class RibbonMainPanel;
class RibbonPanel;

// One page of the ribbon, chosen by its tab: panels side by side, and the
// small and large image strips its elements take their images from. The main
// category has no tab and no page; it holds the application button's main
// panel and the images of that panel.
class RibbonCategory : public QWidget {
    Q_OBJECT
public:
    RibbonCategory(const QString& name, QSize smallImageSize, QSize largeImageSize, RibbonBar* bar);

    QString Name() const { return m_name; }
    RibbonBar* Bar() const { return m_bar; }

    // False for a bitmap that is missing; its images then come out blank.
    bool LoadImages(unsigned smallBitmap, unsigned largeBitmap);
    const ImageStrip& SmallImages() const { return m_smallImages; }
    const ImageStrip& LargeImages() const { return m_largeImages; }

    RibbonPanel* AddPanel(const QString& name, const QIcon& icon = QIcon());
    QList<RibbonPanel*> Panels() const { return m_panels; }
    // The elements of every panel, panel by panel.
    QList<RibbonElement*> Elements() const;

    void SetMainPanel(RibbonMainPanel* panel) { m_mainPanel = panel; }
    RibbonMainPanel* MainPanel() const { return m_mainPanel; }

    void SetTab(RibbonCategoryTab* tab) { m_tab = tab; }
    RibbonCategoryTab* Tab() const { return m_tab; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Relayout();

    QString m_name;
    RibbonBar* m_bar;
    ImageStrip m_smallImages;
    ImageStrip m_largeImages;
    QList<RibbonPanel*> m_panels;
    RibbonMainPanel* m_mainPanel = nullptr;
    RibbonCategoryTab* m_tab = nullptr;
};
