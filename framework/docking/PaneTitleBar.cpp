#include "framework/docking/PaneTitleBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int kMargin = 4;

// A drawing pin: upright when the pane is pinned in place, lying on its side
// when the pane is tucked away behind its tab.
QIcon PinIcon(bool pinned, const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(colour);
    if (!pinned) {
        painter.translate(16, 0);
        painter.rotate(90);
    }
    painter.drawRect(5, 1, 5, 6);
    painter.drawLine(7, 2, 7, 6);
    painter.drawLine(3, 8, 12, 8);
    painter.drawLine(7, 9, 7, 14);
    painter.drawLine(8, 9, 8, 14);
    return QIcon(pixmap);
}

void SetUpButton(QToolButton& button) {
    button.setAutoRaise(true);
    button.setFocusPolicy(Qt::NoFocus);
    button.setIconSize(QSize(12, 12));
}

} // namespace

PaneTitleBar::PaneTitleBar(QWidget* parent) : QWidget(parent), m_pin(this), m_close(this) {
    SetUpButton(m_pin);
    SetUpButton(m_close);
    m_pin.setObjectName(QStringLiteral("pinButton"));
    m_close.setObjectName(QStringLiteral("closeButton"));
    m_pin.setToolTip(tr("Auto Hide"));
    m_close.setToolTip(tr("Close"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, 1, 1, 1);
    layout->setSpacing(0);
    layout->addStretch(1);
    layout->addWidget(&m_pin);
    layout->addWidget(&m_close);

    connect(&m_pin, &QToolButton::clicked, this, &PaneTitleBar::pinClicked);
    connect(&m_close, &QToolButton::clicked, this, &PaneTitleBar::closeClicked);
    UpdateIcons();
}

void PaneTitleBar::SetCaption(const QString& caption) {
    m_caption = caption;
    updateGeometry();
    update();
}

void PaneTitleBar::SetPinned(bool pinned) {
    m_pinned = pinned;
    UpdateIcons();
}

void PaneTitleBar::SetPinVisible(bool visible) {
    m_pin.setVisible(visible);
}

void PaneTitleBar::SetCloseVisible(bool visible) {
    m_close.setVisible(visible);
}

QSize PaneTitleBar::sizeHint() const {
    const int textHeight = fontMetrics().height() + 2 * kMargin;
    const int buttonHeight = m_close.sizeHint().height() + 2;
    const int width = fontMetrics().horizontalAdvance(m_caption) + 2 * kMargin + ButtonsWidth();
    return QSize(width, qMax(textHeight, buttonHeight));
}

QSize PaneTitleBar::minimumSizeHint() const {
    return QSize(ButtonsWidth() + 2 * kMargin, sizeHint().height());
}

void PaneTitleBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window).darker(108));
    const QRect textRect = rect().adjusted(kMargin, 0, -ButtonsWidth() - kMargin, 0);
    const QString text =
        fontMetrics().elidedText(m_caption, Qt::ElideRight, qMax(0, textRect.width()));
    style()->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                          isEnabled(), text, QPalette::WindowText);
}

void PaneTitleBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        UpdateIcons();
    QWidget::changeEvent(event);
}

void PaneTitleBar::UpdateIcons() {
    m_pin.setIcon(PinIcon(m_pinned, palette().color(QPalette::WindowText)));
    m_close.setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, this));
}

int PaneTitleBar::ButtonsWidth() const {
    int width = 0;
    if (!m_pin.isHidden())
        width += m_pin.sizeHint().width();
    if (!m_close.isHidden())
        width += m_close.sizeHint().width();
    return width;
}
