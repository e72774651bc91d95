#include "framework/ribbon/RibbonCategory.h"

#include "framework/commands/StringTable.h"
#include "framework/ribbon/RibbonAccessible.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonElement.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPanel.h"

#include <QEvent>

namespace {

constexpr int kLeft = 4;
constexpr int kPanelGap = 3;

} // namespace

RibbonCategory::RibbonCategory(const QString& name, QSize smallImageSize, QSize largeImageSize,
                               RibbonBar* bar)
    : QWidget(bar), m_name(name), m_bar(bar), m_smallImages(smallImageSize),
      m_largeImages(largeImageSize) {
    RibbonAccessible::Install();
    setAccessibleName(RibbonElement::WithoutAccessMarks(StringTable::LabelOf(name)));
}

bool RibbonCategory::LoadImages(unsigned smallBitmap, unsigned largeBitmap) {
    const bool small = m_smallImages.Load(smallBitmap);
    const bool large = m_largeImages.Load(largeBitmap);
    return small && large;
}

RibbonPanel* RibbonCategory::AddPanel(const QString& name, const QIcon& icon) {
    auto* panel = new RibbonPanel(name, icon, this);
    m_panels.append(panel);
    panel->Attach(m_bar, this);
    panel->show();
    Relayout();
    return panel;
}

QList<RibbonElement*> RibbonCategory::Elements() const {
    QList<RibbonElement*> elements;
    for (const RibbonPanel* panel : m_panels)
        elements += panel->Elements();
    return elements;
}

QSize RibbonCategory::sizeHint() const {
    int width = kLeft;
    for (const RibbonPanel* panel : m_panels)
        width += panel->sizeHint().width() + kPanelGap;
    return QSize(width, RibbonMetrics::kPanelHeight + 4);
}

void RibbonCategory::resizeEvent(QResizeEvent*) {
    Relayout();
}

bool RibbonCategory::event(QEvent* event) {
    // A panel that grew or shrank asks for a new layout.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        Relayout();
    return QWidget::event(event);
}

void RibbonCategory::Relayout() {
    int x = kLeft;
    for (RibbonPanel* panel : m_panels) {
        const int width = panel->sizeHint().width();
        panel->setGeometry(x, 2, width, RibbonMetrics::kPanelHeight);
        x += width + kPanelGap;
    }
}
