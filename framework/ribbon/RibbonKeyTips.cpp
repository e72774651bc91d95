#include "framework/ribbon/RibbonKeyTips.h"

#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonElement.h"
#include "framework/ribbon/RibbonKeyTipBadge.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSet>

#include <algorithm>

namespace {

// The key a key event stands for, as key tips spell it.
QString KeyText(const QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(u'a' + (key - Qt::Key_A)));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return QString(QChar(u'0' + (key - Qt::Key_0)));
    const QString text = event->text().toLower();
    return text.size() == 1 && text[0].isPrint() ? text : QString();
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr;
}

} // namespace

RibbonKeyTips::RibbonKeyTips(RibbonBar& bar) : m_bar(bar) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

RibbonKeyTips::~RibbonKeyTips() {
    ClearBadges();
}

void RibbonKeyTips::SetActive(bool active) {
    if (m_active == active)
        return;
    m_active = active;
}

void RibbonKeyTips::Start() {
    m_levels.clear();
    SetActive(true);
    ShowLevel();
}

void RibbonKeyTips::End() {
    ClearBadges();
    m_tips.clear();
    m_levels.clear();
    m_typed.clear();
    SetActive(false);
}

void RibbonKeyTips::CloseLevels() {
    while (!m_levels.isEmpty())
        if (RibbonElement* owner = m_levels.takeLast())
            owner->CloseKeyTipLevel();
}

QList<RibbonElement*> RibbonKeyTips::LevelElements() const {
    if (m_levels.isEmpty())
        return m_bar.KeyTipElements();
    const RibbonElement* owner = m_levels.last();
    return owner ? owner->KeyTipChildren() : QList<RibbonElement*>();
}

std::vector<RibbonKeyTips::Tip> RibbonKeyTips::TipsOf(const QList<RibbonElement*>& elements) const {
    QSet<QString> used;
    for (const RibbonElement* element : elements) {
        used.insert(element->KeyTip().toLower());
        used.insert(element->MenuKeyTip().toLower());
    }
    std::vector<Tip> tips;
    for (RibbonElement* element : elements) {
        if (!element->isVisible())
            continue;
        QString keys = element->KeyTip().toLower();
        if (keys.isEmpty() && element->AcceptsKeyTip()) {
            // No key tip of its own: the first free letter of its label.
            for (const QChar c : element->DisplayText().toLower()) {
                const QString candidate(c);
                if (c.isLetterOrNumber() && !used.contains(candidate)) {
                    keys = candidate;
                    used.insert(candidate);
                    break;
                }
            }
        }
        if (!keys.isEmpty())
            tips.push_back(Tip{keys, element, false});
        if (!element->MenuKeyTip().isEmpty())
            tips.push_back(Tip{element->MenuKeyTip().toLower(), element, true});
    }
    return tips;
}

void RibbonKeyTips::ShowLevel() {
    ClearBadges();
    m_typed.clear();
    m_tips = TipsOf(LevelElements());
    for (const Tip& tip : m_tips) {
        auto* badge =
            new RibbonKeyTipBadge(tip.keys, tip.element->AcceptsKeyTip(), m_bar.Colours());
        badge->CentreOn(tip.element->KeyTipAnchor(tip.menuKeys));
        badge->show();
        m_badges.append(badge);
    }
}

void RibbonKeyTips::ClearBadges() {
    qDeleteAll(m_badges);
    m_badges.clear();
}

QStringList RibbonKeyTips::ShownKeyTips() const {
    QStringList keys;
    for (const Tip& tip : m_tips)
        keys.append(tip.keys);
    return keys;
}

RibbonElement* RibbonKeyTips::ElementOf(const QString& keys) const {
    for (const Tip& tip : m_tips)
        if (tip.keys == keys.toLower())
            return tip.element;
    return nullptr;
}

bool RibbonKeyTips::Type(const QString& text) {
    const QString typed = m_typed + text.toLower();
    const Tip* exact = nullptr;
    bool prefix = false;
    for (const Tip& tip : m_tips) {
        if (!tip.element || !tip.keys.startsWith(typed))
            continue;
        prefix = true;
        if (!exact && tip.keys == typed)
            exact = &tip;
    }
    if (!prefix) {
        m_typed.clear();
        return false;
    }
    m_typed = typed;
    if (exact) {
        const Tip tip = *exact;
        if (tip.element->AcceptsKeyTip())
            Activate(tip);
        else
            m_typed.clear();
    }
    return true;
}

void RibbonKeyTips::Activate(const Tip& tip) {
    const QPointer<RibbonElement> element = tip.element;
    // Off while the element acts: its command may run a dialog of its own.
    ClearBadges();
    m_tips.clear();
    SetActive(false);
    const bool opened = element->ActivateKeyTip(tip.menuKeys);
    if (opened && element) {
        m_levels.append(element);
        SetActive(true);
        ShowLevel();
        return;
    }
    End();
}

void RibbonKeyTips::Back() {
    if (m_levels.isEmpty()) {
        End();
        return;
    }
    if (RibbonElement* owner = m_levels.takeLast())
        owner->CloseKeyTipLevel();
    ShowLevel();
}

bool RibbonKeyTips::HandleKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        Back();
        return true;
    }
    if (key == Qt::Key_Alt) {
        CloseLevels();
        End();
        return true;
    }
    if (IsModifierKey(key))
        return true;
    const QString text = KeyText(event);
    if (text.isEmpty()) {
        // Arrows, Tab, Enter and the like leave the key tips to the widgets.
        End();
        return false;
    }
    Type(text);
    return true;
}

bool RibbonKeyTips::BelongsToRibbon(QObject* object) const {
    const auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return false;
    const QWidget* window = widget->window();
    if (window == m_bar.window())
        return true;
    // Popups of the ribbon are windows whose parents lead back to it.
    for (const QWidget* w = window; w; w = w->parentWidget())
        if (w == &m_bar)
            return true;
    return false;
}

bool RibbonKeyTips::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!BelongsToRibbon(watched))
            return false;
        if (m_active)
            return HandleKey(key);
        if (key->key() == Qt::Key_Alt) {
            if (!key->isAutoRepeat() && (key->modifiers() & ~Qt::AltModifier) == 0)
                m_altPending = true;
            return false;
        }
        m_altPending = false;
        // Alt with a first-level key tip goes straight there.
        if (key->modifiers() == Qt::AltModifier) {
            const QString text = KeyText(key);
            if (text.isEmpty())
                return false;
            const std::vector<Tip> tips = TipsOf(m_bar.KeyTipElements());
            const bool known = std::any_of(tips.begin(), tips.end(),
                                           [&text](const Tip& tip) { return tip.keys == text; });
            if (!known || !m_bar.isVisible())
                return false;
            Start();
            Type(text);
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Alt || !m_altPending || !BelongsToRibbon(watched))
            return false;
        m_altPending = false;
        if (m_active) {
            CloseLevels();
            End();
        } else if (m_bar.isVisible()) {
            Start();
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        m_altPending = false;
        if (m_active)
            End();
        return false;
    case QEvent::WindowDeactivate:
        // Alt+Tab to another window must not show key tips on the way back.
        m_altPending = false;
        return false;
    case QEvent::ApplicationDeactivate:
        m_altPending = false;
        if (m_active)
            End();
        return false;
    default:
        return false;
    }
}
