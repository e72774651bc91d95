#include "framework/ribbon/RibbonApplicationButton.h"

#include "framework/ribbon/ImageStrip.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QMouseEvent>
#include <QPainter>

RibbonApplicationButton::RibbonApplicationButton() : RibbonButton(kNoCommand, QString()) {}

bool RibbonApplicationButton::SetImage(unsigned bitmapId) {
    SetImage(ImageStrip::LoadBitmapFile(ImageStrip::BitmapPath(bitmapId)));
    return !m_image.isNull();
}

void RibbonApplicationButton::SetImage(const QPixmap& image) {
    m_image = image;
    update();
}

void RibbonApplicationButton::SetMainPanel(RibbonMainPanel* panel) {
    if (m_mainPanel)
        disconnect(m_mainPanel, nullptr, this, nullptr);
    m_mainPanel = panel;
    if (panel)
        connect(panel, &RibbonMainPanel::closed, this, qOverload<>(&QWidget::update));
}

void RibbonApplicationButton::ShowMainPanel() {
    if (!m_mainPanel || m_mainPanel->isVisible())
        return;
    // The panel opens under the tab row, flush with the ribbon's left edge,
    // leaving the button itself in sight.
    const QWidget* ribbon = parentWidget() ? parentWidget() : this;
    m_mainPanel->PopupAt(ribbon->mapToGlobal(QPoint(0, RibbonMetrics::kTabsBottom)));
    update();
}

void RibbonApplicationButton::CloseMainPanel() {
    if (m_mainPanel)
        m_mainPanel->close();
}

bool RibbonApplicationButton::IsMainPanelShown() const {
    return m_mainPanel && m_mainPanel->isVisible();
}

bool RibbonApplicationButton::ActivateKeyTip(bool) {
    ShowMainPanel();
    return IsMainPanelShown();
}

QList<RibbonElement*> RibbonApplicationButton::KeyTipChildren() const {
    return m_mainPanel ? m_mainPanel->KeyTipElements() : QList<RibbonElement*>();
}

void RibbonApplicationButton::CloseKeyTipLevel() {
    CloseMainPanel();
}

QPoint RibbonApplicationButton::KeyTipAnchor(bool) const {
    return mapToGlobal(rect().center());
}

void RibbonApplicationButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        RibbonButton::mousePressEvent(event);
        return;
    }
    Click();
}

void RibbonApplicationButton::Click() {
    if (IsMainPanelShown())
        CloseMainPanel();
    else
        ShowMainPanel();
}

void RibbonApplicationButton::mouseReleaseEvent(QMouseEvent*) {}

void RibbonApplicationButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ThemeColours& colours = Colours();
    const int side = qMin(width(), height()) - 2;
    const QRectF orb((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    const bool lit = underMouse() || IsMainPanelShown();

    // A glassy orb: rim and body in the style's border colour, a warm glow
    // when pointed at or open, a gloss over the upper half.
    const QColor rim = QColor(colours.border).darker(lit ? 125 : 140);
    const QColor body = lit ? QColor(colours.highlight) : QColor(colours.border);
    QRadialGradient fill(orb.center() + QPointF(0, side * 0.25), side * 0.65);
    fill.setColorAt(0, Mix(body, Qt::white, 0.55));
    fill.setColorAt(0.7, body);
    fill.setColorAt(1, body.darker(125));
    painter.setPen(QPen(rim, 1.2));
    painter.setBrush(fill);
    painter.drawEllipse(orb);

    const QRectF gloss = orb.adjusted(side * 0.12, side * 0.05, -side * 0.12, -side * 0.5);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 170));
    shine.setColorAt(1, QColor(255, 255, 255, 20));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawEllipse(gloss);

    if (!m_image.isNull()) {
        const QSizeF size = m_image.deviceIndependentSize();
        const QPointF at = orb.center() - QPointF(size.width() / 2.0, size.height() / 2.0);
        painter.drawPixmap(at.toPoint(), m_image);
    }
}
