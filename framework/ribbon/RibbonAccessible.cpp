#include "framework/ribbon/RibbonAccessible.h"

#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonCategoryTab.h"
#include "framework/ribbon/RibbonCheckBox.h"
#include "framework/ribbon/RibbonElement.h"
#include "framework/ribbon/RibbonLabel.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonPanel.h"
#include "framework/ribbon/RibbonQuickAccessBar.h"
#include "framework/ribbon/RibbonRecentFilesList.h"
#include "framework/ribbon/RibbonSeparator.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QGuiApplication>

namespace {

// One element, its role and texts read afresh on every question: a button
// can get its menu, and a command its state, after the interface was made.
class ElementAccessible : public QAccessibleWidget {
public:
    explicit ElementAccessible(RibbonElement* element) : QAccessibleWidget(element) {}

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    RibbonElement* Element() const { return static_cast<RibbonElement*>(widget()); }
    const RibbonButton* Button() const { return qobject_cast<const RibbonButton*>(widget()); }
    bool IsApplicationButton() const {
        return qobject_cast<const RibbonApplicationButton*>(widget()) != nullptr;
    }
    // A button whose click drops down its menu or sub-items.
    bool DropsDownOnClick() const {
        const RibbonButton* button = Button();
        return button && !IsApplicationButton() && button->HasDropDown() && !button->IsSplit();
    }
    // The name of the action a click stands for; empty when a click does nothing.
    QString ClickAction() const;
    QString Name() const;
    QString DescriptionText() const;
};

QAccessible::Role ElementAccessible::role() const {
    const QWidget* w = widget();
    if (qobject_cast<const RibbonApplicationButton*>(w))
        return QAccessible::PushButton;
    if (const RibbonButton* button = Button())
        return button->HasDropDown() ? QAccessible::ButtonMenu : QAccessible::PushButton;
    if (qobject_cast<const RibbonCheckBox*>(w))
        return QAccessible::CheckBox;
    if (qobject_cast<const RibbonCategoryTab*>(w))
        return QAccessible::PageTab;
    if (qobject_cast<const RibbonLabel*>(w))
        return QAccessible::StaticText;
    if (qobject_cast<const RibbonSeparator*>(w))
        return QAccessible::Separator;
    if (qobject_cast<const RibbonRecentFilesList*>(w))
        return QAccessible::List;
    return QAccessible::Client;
}

QString ElementAccessible::Name() const {
    if (!widget()->accessibleName().isEmpty())
        return widget()->accessibleName();
    if (qobject_cast<const RibbonSeparator*>(widget()))
        return QString();
    if (IsApplicationButton()) {
        const QString application = QGuiApplication::applicationDisplayName();
        return application.isEmpty() ? Element()->ToolTipText() : application;
    }
    const QString label = Element()->DisplayText();
    // Image-only buttons (quick access, About) go by their tooltip's title.
    return label.isEmpty() ? Element()->ToolTipText() : label;
}

QString ElementAccessible::DescriptionText() const {
    if (!widget()->accessibleDescription().isEmpty())
        return widget()->accessibleDescription();
    if (qobject_cast<const RibbonSeparator*>(widget()))
        return QString();
    const QString description = Element()->Description();
    // The application button's tooltip says what it opens ("File").
    if (description.isEmpty() && IsApplicationButton())
        return Element()->ToolTipText();
    return description;
}

QString ElementAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return Name();
    case QAccessible::Description:
        return DescriptionText();
    case QAccessible::Accelerator:
        return Element()->AcceptsKeyTip() ? Element()->KeyTip() : QString();
    default:
        break;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State ElementAccessible::state() const {
    QAccessible::State st = QAccessibleWidget::state();
    const QWidget* w = widget();
    // Elements take no focus from the mouse, yet assistive technology may
    // give it to any element that does something.
    if (w->isEnabled() && !ClickAction().isEmpty())
        st.focusable = true;
    if (const auto* box = qobject_cast<const RibbonCheckBox*>(w)) {
        st.checkable = true;
        st.checked = box->IsChecked();
    } else if (const auto* tab = qobject_cast<const RibbonCategoryTab*>(w)) {
        st.selectable = true;
        st.selected = tab->IsActive();
    } else if (const auto* app = qobject_cast<const RibbonApplicationButton*>(w)) {
        st.hasPopup = app->MainPanel() != nullptr;
        st.expanded = app->IsMainPanelShown();
        st.collapsed = st.hasPopup && !st.expanded;
    } else if (const RibbonButton* button = Button()) {
        if (const QAction* action = button->Action(); action && action->isCheckable()) {
            st.checkable = true;
            st.checked = action->isChecked();
        }
        if (button->HasDropDown()) {
            st.hasPopup = true;
            st.expanded = button->IsDropDownShown();
            st.collapsed = !st.expanded;
        }
    }
    return st;
}

QString ElementAccessible::ClickAction() const {
    const QWidget* w = widget();
    if (qobject_cast<const RibbonCheckBox*>(w))
        return toggleAction();
    if (qobject_cast<const RibbonCategoryTab*>(w) || IsApplicationButton())
        return pressAction();
    if (DropsDownOnClick())
        return showMenuAction();
    if (const RibbonButton* button = Button(); button && button->Action())
        return pressAction();
    return QString();
}

QStringList ElementAccessible::actionNames() const {
    QStringList names;
    const QString click = ClickAction();
    if (widget()->isEnabled() && !click.isEmpty())
        names << click;
    // The drop-down of a split button is its second action; it stays open
    // to a disabled button, as its key tip does.
    if (const RibbonButton* button = Button();
        button && button->HasDropDown() && !IsApplicationButton() && click != showMenuAction())
        names << showMenuAction();
    if (widget()->isEnabled() && !click.isEmpty())
        names << setFocusAction();
    return names;
}

void ElementAccessible::doAction(const QString& actionName) {
    RibbonElement* element = Element();
    if (actionName == setFocusAction()) {
        if (element->isEnabled())
            element->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (auto* button = qobject_cast<RibbonButton*>(element);
        button && actionName == showMenuAction() && button->HasDropDown() &&
        !IsApplicationButton()) {
        button->ShowDropDown();
        return;
    }
    // Press and toggle both mean a click; Click ignores a disabled element.
    if (actionName == pressAction() || actionName == toggleAction())
        element->Click();
}

QStringList ElementAccessible::keyBindingsForAction(const QString& actionName) const {
    const RibbonElement* element = Element();
    if (!element->AcceptsKeyTip())
        return {};
    if (actionName == showMenuAction()) {
        if (!element->MenuKeyTip().isEmpty())
            return {element->MenuKeyTip()};
        return DropsDownOnClick() && !element->KeyTip().isEmpty() ? QStringList{element->KeyTip()}
                                                                  : QStringList();
    }
    if (actionName == ClickAction() && !element->KeyTip().isEmpty())
        return {element->KeyTip()};
    return {};
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* element = qobject_cast<RibbonElement*>(object))
        return new ElementAccessible(element);
    // The groups around the elements: named by their owners, roles here.
    if (auto* bar = qobject_cast<RibbonBar*>(object))
        return new QAccessibleWidget(bar, QAccessible::ToolBar);
    if (auto* quickAccess = qobject_cast<RibbonQuickAccessBar*>(object))
        return new QAccessibleWidget(quickAccess, QAccessible::ToolBar);
    if (auto* category = qobject_cast<RibbonCategory*>(object))
        return new QAccessibleWidget(category, QAccessible::PropertyPage);
    if (auto* panel = qobject_cast<RibbonPanel*>(object))
        return new QAccessibleWidget(panel, QAccessible::Grouping);
    if (auto* mainPanel = qobject_cast<RibbonMainPanel*>(object))
        return new QAccessibleWidget(mainPanel, QAccessible::Pane);
    return nullptr;
}

} // namespace

namespace RibbonAccessible {

void Install() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void NotifyStateChange(QObject* object, QAccessible::State changed) {
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleStateChangeEvent event(object, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace RibbonAccessible
