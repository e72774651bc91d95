#include "framework/ribbon/RibbonMainPanel.h"

#include "framework/ribbon/RibbonAccessible.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"
#include "framework/ribbon/RibbonRecentFilesList.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusTipEvent>

namespace {

constexpr int kMargin = 5;
constexpr int kMinColumnWidth = 190;
constexpr int kMinRightHeight = 6 * RibbonMetrics::kMenuItemHeight;
constexpr int kBottomButtonHeight = 24;
constexpr int kBottomGap = 4;

} // namespace

RibbonMainPanel::RibbonMainPanel(RibbonCategory* category)
    : QFrame(category, Qt::Popup), m_category(category) {
    RibbonAccessible::Install();
    category->SetMainPanel(this);
    setAccessibleName(category->accessibleName());
}

void RibbonMainPanel::Adopt(RibbonElement* element) {
    element->setParent(this);
    element->Attach(m_category->Bar(), m_category);
    element->installEventFilter(this);
    connect(element, &RibbonElement::commandIssued, this, &QWidget::close);
    element->show();
}

void RibbonMainPanel::Add(RibbonElement* element) {
    if (!element)
        return;
    m_elements.append(element);
    element->SetLook(RibbonLook::Menu);
    Adopt(element);
    if (auto* recent = qobject_cast<RibbonRecentFilesList*>(element)) {
        m_recent = recent;
        m_rightWidth = recent->ListWidth();
    }
    UpdateLayout();
}

void RibbonMainPanel::AddToBottom(RibbonElement* element) {
    if (!element)
        return;
    m_bottom.append(element);
    element->SetLook(RibbonLook::Small);
    Adopt(element);
    UpdateLayout();
}

RibbonRecentFilesList* RibbonMainPanel::AddRecentFilesList(const QString& label, int width) {
    auto* list = new RibbonRecentFilesList(label, width);
    Add(list);
    return list;
}

QList<RibbonElement*> RibbonMainPanel::KeyTipElements() const {
    QList<RibbonElement*> elements;
    for (RibbonElement* element : m_elements)
        if (element != m_recent)
            elements.append(element);
    return elements + m_bottom;
}

void RibbonMainPanel::ShowSubItems(RibbonButton* button) {
    if (button == m_subItemsShown)
        return;
    if (m_subItemsShown) {
        m_subItemsShown->SubItemsView()->hide();
        m_subItemsShown->update();
    }
    m_subItemsShown = button;
    if (button) {
        QWidget* view = button->SubItemsView();
        if (view->parentWidget() != this)
            view->setParent(this);
        view->setGeometry(RightArea());
        view->show();
        view->raise();
        button->update();
    }
    if (m_recent)
        m_recent->setVisible(!button);
}

int RibbonMainPanel::ColumnWidth() const {
    int width = kMinColumnWidth;
    for (const RibbonElement* element : m_elements)
        if (element != m_recent)
            width = qMax(width, element->sizeHint().width());
    return width;
}

int RibbonMainPanel::ColumnHeight() const {
    int height = 0;
    for (const RibbonElement* element : m_elements)
        if (element != m_recent)
            height += element->sizeHint().height();
    return qMax(height, kMinRightHeight);
}

int RibbonMainPanel::BottomHeight() const {
    return kBottomButtonHeight + 2 * kBottomGap;
}

QRect RibbonMainPanel::ContentRect() const {
    return QRect(kMargin, kMargin, ColumnWidth() + 1 + m_rightWidth + 2, ColumnHeight() + 2);
}

QRect RibbonMainPanel::RightArea() const {
    const QRect content = ContentRect();
    return QRect(content.left() + 1 + ColumnWidth() + 1, content.top() + 1, m_rightWidth,
                 content.height() - 2);
}

QSize RibbonMainPanel::sizeHint() const {
    const QRect content = ContentRect();
    return QSize(content.right() + 1 + kMargin, content.bottom() + 1 + BottomHeight());
}

void RibbonMainPanel::Relayout() {
    const QRect content = ContentRect();
    int y = content.top() + 1;
    const int width = ColumnWidth();
    for (RibbonElement* element : m_elements) {
        if (element == m_recent)
            continue;
        const int height = element->sizeHint().height();
        element->setGeometry(content.left() + 1, y, width, height);
        y += height;
    }
    if (m_recent)
        m_recent->setGeometry(RightArea());
    if (m_subItemsShown)
        m_subItemsShown->SubItemsView()->setGeometry(RightArea());
    int x = content.right() + 1;
    const int top = content.bottom() + 1 + kBottomGap;
    for (qsizetype i = m_bottom.size() - 1; i >= 0; --i) {
        const int buttonWidth = m_bottom[i]->sizeHint().width();
        x -= buttonWidth;
        m_bottom[i]->setGeometry(x, top, buttonWidth, kBottomButtonHeight);
        x -= kBottomGap;
    }
}

void RibbonMainPanel::UpdateLayout() {
    resize(sizeHint());
    Relayout();
}

void RibbonMainPanel::resizeEvent(QResizeEvent*) {
    Relayout();
}

void RibbonMainPanel::PopupAt(const QPoint& globalPos) {
    ShowSubItems(nullptr);
    UpdateLayout();
    QPoint pos = globalPos;
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect available = screen->availableGeometry();
        pos.setX(qMin(pos.x(), available.right() + 1 - width()));
        pos.setY(qMin(pos.y(), available.bottom() + 1 - height()));
    }
    move(pos);
    show();
}

bool RibbonMainPanel::event(QEvent* event) {
    // The panel is a window of its own: its prompts go on to the window the
    // application button is in.
    if (event->type() == QEvent::StatusTip) {
        RibbonApplicationButton* owner =
            m_category->Bar() ? m_category->Bar()->ApplicationButton() : nullptr;
        if (owner) {
            QStatusTipEvent tip(static_cast<QStatusTipEvent*>(event)->tip());
            QCoreApplication::sendEvent(owner, &tip);
        }
        return true;
    }
    return QFrame::event(event);
}

bool RibbonMainPanel::eventFilter(QObject* watched, QEvent* event) {
    // Pointing at a column element shows its sub-items, or the recent list.
    if (event->type() == QEvent::Enter && m_elements.contains(watched)) {
        auto* button = qobject_cast<RibbonButton*>(watched);
        if (button && !button->SubItems().isEmpty())
            ShowSubItems(button);
        else if (qobject_cast<RibbonButton*>(watched))
            ShowSubItems(nullptr);
    }
    return QFrame::eventFilter(watched, event);
}

void RibbonMainPanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    // The element last pointed at gets no Leave once the panel is gone: an
    // empty tip takes its prompt away and shows the status bar's panes again.
    if (RibbonApplicationButton* owner =
            m_category->Bar() ? m_category->Bar()->ApplicationButton() : nullptr) {
        QStatusTipEvent clear{QString()};
        QCoreApplication::sendEvent(owner, &clear);
    }
    emit closed();
}

void RibbonMainPanel::mousePressEvent(QMouseEvent* event) {
    // A click on the application button while the panel shows only closes
    // it; replayed, the click would open it again at once.
    RibbonApplicationButton* owner =
        m_category->Bar() ? m_category->Bar()->ApplicationButton() : nullptr;
    if (owner && !rect().contains(event->position().toPoint()) &&
        owner->rect().contains(owner->mapFromGlobal(event->globalPosition().toPoint())))
        setAttribute(Qt::WA_NoMouseReplay);
    QFrame::mousePressEvent(event);
}

void RibbonMainPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ThemeColours& colours =
        m_category->Bar() ? m_category->Bar()->Colours() : RibbonPaint::DefaultColours();
    const QColor border(colours.border);
    QLinearGradient frame(0, 0, 0, height());
    frame.setColorAt(0, Mix(QColor(colours.ribbonTop), Qt::white, 0.3));
    frame.setColorAt(1, QColor(colours.ribbonBottom));
    painter.fillRect(rect(), frame);
    painter.setPen(border.darker(110));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const QRect content = ContentRect();
    painter.fillRect(content, RibbonPaint::MenuBackground(colours));
    const QRect right = RightArea();
    painter.fillRect(right, Mix(QColor(colours.base), QColor(colours.ribbonTop), 0.15));
    painter.setPen(border);
    painter.drawRect(content.adjusted(0, 0, -1, -1));
    painter.setPen(Mix(border, QColor(colours.base), 0.4));
    painter.drawLine(right.left() - 1, right.top(), right.left() - 1, right.bottom());
}
