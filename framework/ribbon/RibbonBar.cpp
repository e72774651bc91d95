#include "framework/ribbon/RibbonBar.h"

#include "framework/ribbon/RibbonAccessible.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonCategoryTab.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"
#include "framework/ribbon/RibbonPanel.h"
#include "framework/ribbon/RibbonQuickAccessBar.h"
#include "framework/styles/StyleRoles.h"
#include "framework/styles/VisualStyles.h"

#include <QEvent>
#include <QPainter>

using namespace RibbonMetrics;

namespace {

constexpr int kEdge = 3;
constexpr int kTabGap = 2;

// The first element issuing `id` among `elements` and their sub-items.
RibbonElement* FindIn(const QList<RibbonElement*>& elements, unsigned id) {
    for (RibbonElement* element : elements) {
        if (element->Id() == id)
            return element;
        if (const auto* button = qobject_cast<RibbonButton*>(element))
            if (RibbonElement* found = FindIn(button->SubItems(), id))
                return found;
    }
    return nullptr;
}

} // namespace

RibbonBar::RibbonBar(QWidget* parent)
    : QWidget(parent), m_colours(RibbonPaint::DefaultColours()),
      m_quickAccess(new RibbonQuickAccessBar(this)), m_keyTips(*this) {
    RibbonAccessible::Install();
    setProperty(StyleRole::kProperty, StyleRole::kRibbon);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(QStringLiteral("Ribbon"));
}

RibbonBar::~RibbonBar() {
    m_keyTips.End();
}

void RibbonBar::SetColours(const ThemeColours& colours) {
    m_colours = colours;
    RepaintAll();
}

void RibbonBar::RepaintAll() {
    update();
    // Popups (main panel, drop-downs) are children too, though windows.
    for (QWidget* child : findChildren<QWidget*>())
        child->update();
    if (m_appButton)
        m_appButton->update();
}

void RibbonBar::FollowVisualStyles(const VisualStyles& styles) {
    SetColours(ColoursOf(styles.Theme(), styles.OfficeStyle()));
    connect(&styles, &VisualStyles::ThemeChanged, this,
            [this, &styles] { SetColours(ColoursOf(styles.Theme(), styles.OfficeStyle())); });
}

void RibbonBar::SetApplicationButton(RibbonApplicationButton* button, QSize size) {
    m_appButton = button;
    m_appButtonSize = size;
    if (!button)
        return;
    button->setParent(this);
    button->setFixedSize(size);
    button->Attach(this, m_mainCategory);
    if (m_mainCategory)
        button->SetMainPanel(m_mainCategory->MainPanel());
    button->show();
    Relayout();
}

RibbonMainPanel* RibbonBar::AddMainCategory(const QString& name, unsigned smallBitmap,
                                            unsigned largeBitmap, QSize smallSize,
                                            QSize largeSize) {
    delete m_mainCategory;
    m_mainCategory = new RibbonCategory(name, smallSize, largeSize, this);
    m_mainCategory->hide();
    m_mainCategory->LoadImages(smallBitmap, largeBitmap);
    auto* panel = new RibbonMainPanel(m_mainCategory);
    if (m_appButton) {
        m_appButton->Attach(this, m_mainCategory);
        m_appButton->SetMainPanel(panel);
    }
    return panel;
}

RibbonCategory* RibbonBar::AddCategory(const QString& name, unsigned smallBitmap,
                                       unsigned largeBitmap, QSize smallSize, QSize largeSize,
                                       int index) {
    auto* category = new RibbonCategory(name, smallSize, largeSize, this);
    category->LoadImages(smallBitmap, largeBitmap);
    category->hide();
    auto* tab = new RibbonCategoryTab(category);
    tab->setParent(this);
    tab->Attach(this, category);
    tab->show();
    if (index < 0 || index > m_categories.size())
        m_categories.append(category);
    else
        m_categories.insert(index, category);
    if (!m_active)
        SetActiveCategory(category);
    Relayout();
    return category;
}

void RibbonBar::SetActiveCategory(RibbonCategory* category) {
    if (category == m_active || (category && !m_categories.contains(category)))
        return;
    if (m_active)
        m_active->hide();
    QAccessible::State selection;
    selection.selected = true;
    if (m_active)
        RibbonAccessible::NotifyStateChange(m_active->Tab(), selection);
    m_active = category;
    if (category)
        RibbonAccessible::NotifyStateChange(category->Tab(), selection);
    if (category)
        category->show();
    Relayout();
    for (RibbonCategory* each : m_categories)
        if (each->Tab())
            each->Tab()->update();
    update();
}

void RibbonBar::AddToTabs(RibbonElement* element) {
    if (!element)
        return;
    element->setParent(this);
    element->SetLook(RibbonLook::Small);
    element->Attach(this, nullptr);
    element->show();
    m_tabElements.append(element);
    Relayout();
}

void RibbonBar::SetQuickAccessCommands(const QList<unsigned>& ids, bool recalcLayout) {
    m_quickAccess->SetCommands(ids);
    if (recalcLayout)
        Relayout();
}

QList<unsigned> RibbonBar::QuickAccessCommands() const {
    return m_quickAccess->Commands();
}

RibbonElement* RibbonBar::FindById(unsigned id) const {
    if (m_mainCategory && m_mainCategory->MainPanel()) {
        const RibbonMainPanel* panel = m_mainCategory->MainPanel();
        if (RibbonElement* found = FindIn(panel->Elements() + panel->BottomElements(), id))
            return found;
    }
    for (const RibbonCategory* category : m_categories)
        if (RibbonElement* found = FindIn(category->Elements(), id))
            return found;
    return FindIn(m_tabElements, id);
}

QList<RibbonElement*> RibbonBar::KeyTipElements() const {
    QList<RibbonElement*> elements;
    if (m_appButton)
        elements.append(m_appButton);
    for (RibbonButton* button : m_quickAccess->Buttons())
        elements.append(button);
    for (const RibbonCategory* category : m_categories)
        if (category->Tab())
            elements.append(category->Tab());
    return elements + m_tabElements;
}

int RibbonBar::TabsLeft() const {
    const int appWidth = m_appButton ? m_appButtonSize.width() : 0;
    return kEdge + appWidth + 6;
}

QSize RibbonBar::sizeHint() const {
    int width = TabsLeft();
    for (const RibbonCategory* category : m_categories)
        width += category->Tab()->sizeHint().width() + kTabGap;
    for (const RibbonElement* element : m_tabElements)
        width += element->sizeHint().width();
    if (m_active)
        width = qMax(width, m_active->sizeHint().width());
    return QSize(width + kEdge, kTabsBottom + kBodyHeight);
}

QSize RibbonBar::minimumSizeHint() const {
    return QSize(TabsLeft() + 2 * kEdge, kTabsBottom + kBodyHeight);
}

void RibbonBar::resizeEvent(QResizeEvent*) {
    Relayout();
}

bool RibbonBar::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest)
        Relayout();
    return QWidget::event(event);
}

void RibbonBar::Relayout() {
    if (m_appButton)
        m_appButton->move(kEdge, qMax(0, (kTabsBottom - m_appButtonSize.height()) / 2));
    const int left = TabsLeft();
    m_quickAccess->setGeometry(left - 2, 2, m_quickAccess->sizeHint().width(), kSmallHeight);

    int x = left;
    for (const RibbonCategory* category : m_categories) {
        RibbonCategoryTab* tab = category->Tab();
        const int tabWidth = tab->sizeHint().width();
        tab->setGeometry(x, kQuickAccessRowHeight, tabWidth, kTabRowHeight);
        x += tabWidth + kTabGap;
    }

    int tail = width() - kEdge;
    for (qsizetype i = m_tabElements.size() - 1; i >= 0; --i) {
        RibbonElement* element = m_tabElements[i];
        const int elementWidth = element->sizeHint().width();
        tail -= elementWidth;
        element->setGeometry(tail, kQuickAccessRowHeight + 1, elementWidth, kSmallHeight);
    }

    if (m_active)
        m_active->setGeometry(0, kTabsBottom + 1, width(), kBodyHeight - 2);
    update();
}

void RibbonBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor window(m_colours.window);
    const QColor border(m_colours.border);

    QLinearGradient top(0, 0, 0, kTabsBottom);
    top.setColorAt(0, Mix(window, Qt::white, 0.45));
    top.setColorAt(1, window);
    painter.fillRect(QRect(0, 0, width(), kTabsBottom), top);

    const QRect body(0, kTabsBottom, width(), kBodyHeight);
    QLinearGradient fill(0, body.top(), 0, body.bottom());
    fill.setColorAt(0, QColor(m_colours.ribbonTop));
    fill.setColorAt(1, QColor(m_colours.ribbonBottom));
    painter.fillRect(body, fill);

    // The body's upper edge opens under the active tab.
    painter.setPen(border);
    const QWidget* tab = m_active ? m_active->Tab() : nullptr;
    if (tab) {
        painter.drawLine(0, body.top(), tab->x(), body.top());
        painter.drawLine(tab->geometry().right(), body.top(), width(), body.top());
    } else {
        painter.drawLine(0, body.top(), width(), body.top());
    }
    painter.drawLine(0, body.bottom(), width(), body.bottom());
}
