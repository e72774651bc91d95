#include "framework/ribbon/RibbonElement.h"

#include "framework/commands/CommandRouter.h"
#include "framework/commands/StringTable.h"
#include "framework/ribbon/RibbonAccessible.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QAction>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace {

// The character after a single ampersand, lower-cased; none when absent.
QString AccessLetter(const QString& label) {
    for (qsizetype i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != QLatin1Char('&'))
            continue;
        if (label[i + 1] != QLatin1Char('&'))
            return label.mid(i + 1, 1).toLower();
        ++i;
    }
    return QString();
}

} // namespace

RibbonElement::RibbonElement(unsigned id, const QString& text, QWidget* parent)
    : QWidget(parent), m_id(id) {
    RibbonAccessible::Install();
    SetText(text);
    // Repainted as the mouse comes and goes, for the highlight.
    setAttribute(Qt::WA_Hover);
}

void RibbonElement::SetText(const QString& text) {
    m_label = StringTable::LabelOf(text);
    const QString keys = StringTable::KeyTipOf(text);
    if (!keys.isEmpty())
        m_keys = keys;
    updateGeometry();
    update();
}

QString RibbonElement::DisplayText() const {
    return WithoutAccessMarks(m_label);
}

QString RibbonElement::WithoutAccessMarks(const QString& label) {
    QString shown;
    shown.reserve(label.size());
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label[i] == QLatin1Char('&')) {
            if (i + 1 < label.size() && label[i + 1] == QLatin1Char('&'))
                shown += QLatin1Char('&');
            ++i;
            if (i < label.size() && label[i] != QLatin1Char('&'))
                shown += label[i];
            continue;
        }
        shown += label[i];
    }
    return shown;
}

void RibbonElement::SetKeys(const QString& keys, const QString& menuKeys) {
    m_keys = keys;
    m_menuKeys = menuKeys;
}

QString RibbonElement::KeyTip() const {
    return m_keys.isEmpty() ? AccessLetter(m_label) : m_keys;
}

void RibbonElement::SetToolTipText(const QString& title) {
    m_toolTip = title;
}

QString RibbonElement::ToolTipText() const {
    if (!m_toolTip.isEmpty())
        return m_toolTip;
    if (m_action && !m_action->text().isEmpty())
        return m_action->toolTip();
    QString label = DisplayText();
    if (label.endsWith(QLatin1String("...")))
        label.chop(3);
    return label;
}

void RibbonElement::SetDescription(const QString& description) {
    m_description = description;
    SyncFromAction();
}

QString RibbonElement::Description() const {
    if (!m_description.isEmpty())
        return m_description;
    return m_action ? m_action->statusTip() : QString();
}

QString RibbonElement::ToolTipHtml() const {
    const QString title = ToolTipText();
    const QString description = Description();
    if (title.isEmpty() && description.isEmpty())
        return QString();
    QString html = QStringLiteral("<b>%1</b>").arg(title.toHtmlEscaped());
    if (!description.isEmpty())
        html += QStringLiteral("<br>%1").arg(description.toHtmlEscaped());
    return html;
}

void RibbonElement::SetAction(QAction* action) {
    if (m_action == action)
        return;
    if (m_action)
        disconnect(m_action, nullptr, this, nullptr);
    m_action = action;
    if (action)
        connect(action, &QAction::changed, this, &RibbonElement::SyncFromAction);
    SyncFromAction();
}

void RibbonElement::SyncFromAction() {
    if (!m_action) {
        setStatusTip(m_description);
        update();
        return;
    }
    setEnabled(m_action->isEnabled());
    setStatusTip(m_action->statusTip().isEmpty() ? m_description : m_action->statusTip());
    if (m_action->isChecked() != m_checked) {
        m_checked = m_action->isChecked();
        QAccessible::State changed;
        changed.checked = true;
        RibbonAccessible::NotifyStateChange(this, changed);
    }
    update();
}

void RibbonElement::Attach(RibbonBar* bar, const RibbonCategory* category) {
    m_bar = bar;
    m_category = category;
    if (!m_action && m_id != kNoCommand && bar && bar->Router())
        SetAction(bar->Router()->Action(m_id));
    updateGeometry();
    update();
}

void RibbonElement::SetLook(RibbonLook look) {
    if (m_look == look)
        return;
    m_look = look;
    LookChanged();
    updateGeometry();
    update();
}

bool RibbonElement::ActivateKeyTip(bool) {
    Issue();
    return false;
}

QPoint RibbonElement::KeyTipAnchor(bool) const {
    const QRect r = rect();
    switch (m_look) {
    case RibbonLook::Large:
        return mapToGlobal(QPoint(r.center().x(), r.bottom() - 2));
    case RibbonLook::Menu:
    case RibbonLook::Described:
        return mapToGlobal(QPoint(r.left() + 22, r.bottom() - 4));
    case RibbonLook::Small:
        break;
    }
    return mapToGlobal(QPoint(r.left() + 11, r.top() + 15));
}

const ThemeColours& RibbonElement::Colours() const {
    return m_bar ? m_bar->Colours() : RibbonPaint::DefaultColours();
}

void RibbonElement::Issue() {
    const QPointer<RibbonElement> self(this);
    // The popup holding the element closes before the command runs, as the
    // command may open a dialog or close the window.
    emit commandIssued();
    if (self && m_action && m_action->isEnabled())
        m_action->trigger();
}

void RibbonElement::Press() {
    m_pressed = true;
    update();
}

void RibbonElement::CancelPress() {
    m_pressed = false;
    update();
}

void RibbonElement::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    update();
    if (rect().contains(event->position().toPoint()))
        Issue();
}

void RibbonElement::keyPressEvent(QKeyEvent* event) {
    // Only assistive technology gives an element the focus; the keys that
    // press a focused button press it.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            Click();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

bool RibbonElement::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip: {
        const QString html = ToolTipHtml();
        const auto* help = static_cast<QHelpEvent*>(event);
        if (html.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), html, this);
        return true;
    }
    default:
        break;
    }
    return QWidget::event(event);
}
