#include "framework/ribbon/RibbonButton.h"

#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusTipEvent>
#include <QVBoxLayout>

#include <algorithm>

using namespace RibbonMetrics;
using RibbonPaint::Surface;

namespace {

constexpr int kPad = 3;
constexpr int kSmallArrowWidth = 11;
constexpr int kMenuArrowWidth = 22;

QFont BoldFont(QFont font) {
    font.setBold(true);
    return font;
}

// An image's size in layout pixels, whichever density it has.
int Width(const QPixmap& image) {
    return qRound(image.deviceIndependentSize().width());
}
int Height(const QPixmap& image) {
    return qRound(image.deviceIndependentSize().height());
}

} // namespace

RibbonButton::RibbonButton(unsigned id, const QString& text, int smallImage, int largeImage,
                           bool alwaysShowDescription)
    : RibbonElement(id, text), m_smallIndex(smallImage), m_largeIndex(largeImage),
      m_alwaysShowDescription(alwaysShowDescription) {}

RibbonButton::RibbonButton(unsigned id, const QString& text, const QIcon& icon,
                           bool alwaysShowDescription)
    : RibbonElement(id, text), m_icon(icon), m_alwaysShowDescription(alwaysShowDescription) {
    UpdateImages();
}

void RibbonButton::AddSubItem(RibbonElement* item, int index) {
    if (!item)
        return;
    QWidget* view = SubItemsView();
    // Drop-downs list their entries under each other, described when asked to.
    const auto* button = qobject_cast<RibbonButton*>(item);
    item->SetLook(button && button->IsAlwaysShowDescription() ? RibbonLook::Described
                                                              : RibbonLook::Menu);
    const int count = int(m_subItems.size());
    const int at = index < 0 || index > count ? count : index;
    m_subItems.insert(at, item);
    item->setParent(view);
    m_subItemsLayout->insertWidget(at, item);
    item->Attach(Bar(), Category());
    connect(item, &RibbonElement::commandIssued, this, [this] {
        if (m_popup)
            m_popup->close();
        emit commandIssued();
    });
    update();
}

QList<RibbonElement*> RibbonButton::SubItems() const {
    QList<RibbonElement*> items;
    for (const QPointer<RibbonElement>& item : m_subItems)
        if (item)
            items.append(item);
    return items;
}

QWidget* RibbonButton::SubItemsView() {
    if (!m_subItemsView) {
        // Held by the button, hidden, until a popup or the main panel shows it.
        m_subItemsView = new QWidget(this);
        m_subItemsView->hide();
        m_subItemsLayout = new QVBoxLayout(m_subItemsView);
        m_subItemsLayout->setContentsMargins(0, 0, 0, 0);
        m_subItemsLayout->setSpacing(0);
        m_subItemsLayout->addStretch(1);
    }
    return m_subItemsView;
}

void RibbonButton::SetMenu(QMenu* menu, bool isDefaultCommand, bool rightAlign) {
    if (m_menu && m_menu != menu)
        delete m_menu;
    m_menu = menu;
    m_defaultCommand = isDefaultCommand;
    m_rightAlign = rightAlign;
    if (!menu)
        return;
    if (menu->parentWidget() != this)
        menu->setParent(this, menu->windowFlags());
    connect(menu, &QMenu::aboutToHide, this, [this] {
        m_menuShown = false;
        // An empty tip ends the status bar's temporary message, bringing
        // its panes back; any text here would stay and hide them.
        ForwardMenuStatus(QString());
        update();
    });
    connect(menu, &QMenu::hovered, this,
            [this](QAction* action) { ForwardMenuStatus(action->statusTip()); });
    connect(menu, &QMenu::triggered, this, [this] { emit commandIssued(); });
    updateGeometry();
}

void RibbonButton::ForwardMenuStatus(const QString& text) {
    // A popup menu is a window of its own: its prompts would stop there.
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(this, &tip);
}

bool RibbonButton::HasDropDown() const {
    return m_menu || !m_subItems.isEmpty();
}

bool RibbonButton::IsSplit() const {
    return HasDropDown() && m_defaultCommand && Action();
}

bool RibbonButton::IsDropDownShown() const {
    if (m_menuShown || (m_popup && m_popup->isVisible()))
        return true;
    const auto* panel = qobject_cast<const RibbonMainPanel*>(window());
    return panel && panel->SubItemsShown() == this;
}

void RibbonButton::ShowDropDown() {
    if (m_menu) {
        QPoint pos = mapToGlobal(QPoint(0, height()));
        if (m_rightAlign)
            pos.setX(mapToGlobal(QPoint(width(), 0)).x() - m_menu->sizeHint().width());
        m_menuShown = true;
        update();
        m_menu->popup(pos);
        return;
    }
    if (m_subItems.isEmpty())
        return;
    if (auto* panel = qobject_cast<RibbonMainPanel*>(window())) {
        panel->ShowSubItems(this);
        return;
    }
    if (!m_popup) {
        m_popup = new QFrame(this, Qt::Popup);
        m_popup->setFrameShape(QFrame::Box);
        m_popup->setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(1, 1, 1, 1);
        connect(m_popup, &QObject::destroyed, this, [this] { update(); });
    }
    QPalette palette = m_popup->palette();
    palette.setColor(QPalette::Window, RibbonPaint::MenuBackground(Colours()));
    palette.setColor(QPalette::WindowText, QColor(Colours().border));
    m_popup->setPalette(palette);
    QWidget* view = SubItemsView();
    if (view->parentWidget() != m_popup) {
        view->setParent(m_popup);
        m_popup->layout()->addWidget(view);
    }
    view->show();
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    update();
}

void RibbonButton::Attach(RibbonBar* bar, const RibbonCategory* category) {
    RibbonElement::Attach(bar, category);
    UpdateImages();
    for (RibbonElement* item : SubItems())
        item->Attach(bar, category);
}

void RibbonButton::UpdateImages() {
    if (!m_icon.isNull()) {
        // At the screen's density; a 2x small image is no large one.
        const qreal ratio = devicePixelRatioF();
        m_small = m_icon.pixmap(QSize(kSmallImage, kSmallImage), ratio);
        const QPixmap large = m_icon.pixmap(QSize(kLargeImage, kLargeImage), ratio);
        m_large = large.deviceIndependentSize().width() >= kLargeImage - 0.5 ? large : QPixmap();
    } else if (const RibbonCategory* category = Category()) {
        m_small = category->SmallImages().Image(m_smallIndex);
        m_large = category->LargeImages().Image(m_largeIndex);
    } else {
        m_small = QPixmap();
        m_large = QPixmap();
    }
    updateGeometry();
    update();
}

void RibbonButton::Click() {
    if (!isEnabled())
        return;
    if (HasDropDown() && !IsSplit())
        ShowDropDown();
    else
        Issue();
}

bool RibbonButton::AcceptsKeyTip() const {
    return isEnabled() || HasDropDown();
}

bool RibbonButton::ActivateKeyTip(bool menuKeys) {
    if (HasDropDown() && (menuKeys || !IsSplit() || !isEnabled())) {
        ShowDropDown();
        // A menu takes the keyboard itself; sub-items get key tips of their own.
        return !m_menu && !m_subItems.isEmpty();
    }
    Issue();
    return false;
}

QList<RibbonElement*> RibbonButton::KeyTipChildren() const {
    return SubItems();
}

void RibbonButton::CloseKeyTipLevel() {
    if (auto* panel = qobject_cast<RibbonMainPanel*>(window());
        panel && panel->SubItemsShown() == this)
        panel->ShowSubItems(nullptr);
    if (m_popup)
        m_popup->close();
}

QPoint RibbonButton::KeyTipAnchor(bool menuKeys) const {
    if (!menuKeys || !HasDropDown())
        return RibbonElement::KeyTipAnchor(menuKeys);
    const QRect part = DropDownRect();
    return mapToGlobal(QPoint(part.center().x(), part.bottom() - 4));
}

QStringList RibbonButton::LargeLabelLines() const {
    const QString text = DisplayText();
    // Two words or more break into two lines at the space nearest the middle.
    qsizetype best = -1;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char(' ') &&
            (best < 0 || qAbs(i - text.size() / 2) < qAbs(best - text.size() / 2)))
            best = i;
    if (best < 0)
        return {text};
    return {text.left(best), text.mid(best + 1)};
}

QSize RibbonButton::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const QString text = DisplayText();
    const bool hasImage = !m_small.isNull() || !m_large.isNull();
    switch (Look()) {
    case RibbonLook::Large: {
        int width = kLargeImage;
        const QStringList lines = LargeLabelLines();
        for (int i = 0; i < lines.size(); ++i) {
            int line = fm.horizontalAdvance(lines[i]);
            if (HasDropDown() && i == 1)
                line += kSmallArrowWidth;
            width = qMax(width, line);
        }
        return QSize(width + 4 * kPad, kContentHeight);
    }
    case RibbonLook::Menu: {
        const int arrow = HasDropDown() ? kMenuArrowWidth + 8 : 16;
        return QSize(kMenuTextLeft + fm.horizontalAdvance(text) + arrow, kMenuItemHeight);
    }
    case RibbonLook::Described: {
        const QFontMetrics bold(BoldFont(font()));
        int height = 2 * kPad + bold.height() + 4;
        const QString description = Description();
        if (!description.isEmpty())
            height += 2 + fm.boundingRect(QRect(0, 0, kDescribedWidth - kMenuTextLeft - 6, 1000),
                                          Qt::TextWordWrap, description)
                              .height();
        return QSize(kDescribedWidth, qMax(kMenuItemHeight + 4, height));
    }
    case RibbonLook::Small:
        break;
    }
    int width = kPad;
    if (hasImage)
        width += kSmallImage + kPad;
    if (!text.isEmpty())
        width += fm.horizontalAdvance(text) + kPad + 1;
    if (HasDropDown())
        width += kSmallArrowWidth;
    return QSize(qMax(width, kSmallHeight), kSmallHeight);
}

QRect RibbonButton::DropDownRect() const {
    const QRect r = rect();
    switch (Look()) {
    case RibbonLook::Large:
        return QRect(0, kPad + kLargeImage + 2, r.width(), r.height() - kPad - kLargeImage - 2);
    case RibbonLook::Menu:
    case RibbonLook::Described:
        return QRect(r.right() - kMenuArrowWidth + 1, 0, kMenuArrowWidth, r.height());
    case RibbonLook::Small:
        break;
    }
    return QRect(r.right() - kSmallArrowWidth + 1, 0, kSmallArrowWidth, r.height());
}

bool RibbonButton::IsLit() const {
    return IsHot() || IsPressed() || IsDropDownShown();
}

void RibbonButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    switch (Look()) {
    case RibbonLook::Large:
        PaintLarge(painter);
        break;
    case RibbonLook::Small:
        PaintSmall(painter);
        break;
    case RibbonLook::Menu:
        PaintMenuItem(painter);
        break;
    case RibbonLook::Described:
        PaintDescribed(painter);
        break;
    }
}

// The line between the two parts of a split button.
void RibbonButton::DrawSplitLine(QPainter& painter, const QLine& line) const {
    painter.setPen(QColor(Colours().highlight).darker(120));
    painter.drawLine(line);
}

void RibbonButton::PaintLarge(QPainter& painter) {
    const ThemeColours& colours = Colours();
    const bool enabled = isEnabled();
    if (IsLit()) {
        RibbonPaint::DrawHighlight(painter, rect(), colours, IsPressed() || IsDropDownShown());
        if (IsSplit())
            DrawSplitLine(painter,
                          QLine(1, DropDownRect().top(), width() - 2, DropDownRect().top()));
    }
    const QPixmap& image = m_large.isNull() ? m_small : m_large;
    const QPoint imageAt((width() - Width(image)) / 2, kPad + (kLargeImage - Height(image)) / 2);
    RibbonPaint::DrawImage(painter, imageAt, image, enabled);

    const QColor text = RibbonPaint::TextColour(colours, Surface::Ribbon, enabled);
    painter.setPen(text);
    const QFontMetrics fm = fontMetrics();
    const QStringList lines = LargeLabelLines();
    int y = kPad + kLargeImage + 3;
    for (int i = 0; i < lines.size(); ++i) {
        int lineWidth = fm.horizontalAdvance(lines[i]);
        const bool arrowHere = HasDropDown() && i == 1;
        if (arrowHere)
            lineWidth += kSmallArrowWidth;
        const int x = (width() - lineWidth) / 2;
        painter.drawText(QRect(x, y, lineWidth, fm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         lines[i]);
        if (arrowHere)
            RibbonPaint::DrawArrow(
                painter, QPointF(x + lineWidth - kSmallArrowWidth / 2.0, y + fm.height() / 2.0 + 1),
                text);
        y += fm.height();
    }
    if (HasDropDown() && lines.size() == 1)
        RibbonPaint::DrawArrow(painter, QPointF(width() / 2.0, y + fm.height() / 2.0), text);
}

void RibbonButton::PaintSmall(QPainter& painter) {
    const ThemeColours& colours = Colours();
    const bool enabled = isEnabled();
    if (IsLit()) {
        RibbonPaint::DrawHighlight(painter, rect(), colours, IsPressed() || IsDropDownShown());
        if (IsSplit())
            DrawSplitLine(painter,
                          QLine(DropDownRect().left(), 1, DropDownRect().left(), height() - 2));
    }
    int x = kPad;
    if (!m_small.isNull()) {
        RibbonPaint::DrawImage(painter, QPoint(x, (height() - Height(m_small)) / 2), m_small,
                               enabled);
        x += kSmallImage + kPad;
    }
    const QColor text = RibbonPaint::TextColour(colours, Surface::Ribbon, enabled);
    const QString label = DisplayText();
    if (!label.isEmpty()) {
        painter.setPen(text);
        const int textWidth = fontMetrics().horizontalAdvance(label) + 1;
        painter.drawText(QRect(x, 0, textWidth, height()), Qt::AlignLeft | Qt::AlignVCenter, label);
    }
    if (HasDropDown())
        RibbonPaint::DrawArrow(painter, QRectF(DropDownRect()).center(), text);
}

void RibbonButton::PaintMenuItem(QPainter& painter) {
    const ThemeColours& colours = Colours();
    const bool enabled = isEnabled();
    const bool lit = IsHot() || IsPressed() || IsDropDownShown();
    if (lit) {
        RibbonPaint::DrawHighlight(painter, rect().adjusted(2, 1, -2, -1), colours, IsPressed());
        if (IsSplit())
            DrawSplitLine(painter,
                          QLine(DropDownRect().left(), 4, DropDownRect().left(), height() - 5));
    }
    const QPixmap& image = m_large.isNull() ? m_small : m_large;
    const QPoint imageAt(6 + (kLargeImage - Width(image)) / 2, (height() - Height(image)) / 2);
    RibbonPaint::DrawImage(painter, imageAt, image, enabled);
    const QColor text = RibbonPaint::TextColour(colours, Surface::Menu, enabled);
    painter.setPen(text);
    painter.drawText(QRect(kMenuTextLeft, 0, width() - kMenuTextLeft, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, DisplayText());
    if (HasDropDown())
        RibbonPaint::DrawArrow(painter, QRectF(DropDownRect()).center(),
                               RibbonPaint::TextColour(colours, Surface::Menu, true), false);
}

void RibbonButton::PaintDescribed(QPainter& painter) {
    const ThemeColours& colours = Colours();
    const bool enabled = isEnabled();
    if (IsHot() || IsPressed())
        RibbonPaint::DrawHighlight(painter, rect().adjusted(2, 1, -2, -1), colours, IsPressed());
    const QPixmap& image = m_large.isNull() ? m_small : m_large;
    const QPoint imageAt(6 + (kLargeImage - Width(image)) / 2, kPad + 3);
    RibbonPaint::DrawImage(painter, imageAt, image, enabled);

    const QString description = Description();
    const QFont bold = BoldFont(font());
    const QFontMetrics boldMetrics(bold);
    painter.setPen(RibbonPaint::TextColour(colours, Surface::Menu, enabled));
    painter.setFont(bold);
    QRect titleRect(kMenuTextLeft, kPad + 2, width() - kMenuTextLeft - 6, boldMetrics.height());
    if (description.isEmpty())
        titleRect.moveTop((height() - boldMetrics.height()) / 2);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, DisplayText());
    if (description.isEmpty())
        return;
    painter.setFont(font());
    const QRect descriptionRect(kMenuTextLeft, titleRect.bottom() + 3, titleRect.width(),
                                height() - titleRect.bottom() - 3);
    painter.drawText(descriptionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, description);
}

void RibbonButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        RibbonElement::mousePressEvent(event);
        return;
    }
    if (HasDropDown() && (!IsSplit() || DropDownRect().contains(event->position().toPoint()))) {
        ShowDropDown();
        return;
    }
    Press();
}

void RibbonButton::leaveEvent(QEvent* event) {
    CancelPress();
    RibbonElement::leaveEvent(event);
}
