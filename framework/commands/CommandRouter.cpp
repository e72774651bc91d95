#include "framework/commands/CommandRouter.h"

#include "framework/commands/CommandTarget.h"
#include "framework/commands/StringTable.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

void DropRouter(std::vector<CommandRouter*>& routers, CommandRouter* router) {
    const auto it = std::find(routers.begin(), routers.end(), router);
    if (it != routers.end())
        routers.erase(it);
}

// Events after which the state of commands may have changed.
bool IsUserActivity(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Show:
    case QEvent::Hide:
        return true;
    default:
        return false;
    }
}

} // namespace

CommandRouter::CommandRouter(QObject* parent) : QObject(parent) {
    // A zero timer fires once the queued events are processed: the idle
    // moment. It is started only by activity, so an idle program stays asleep.
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(0);
    connect(&m_idleTimer, &QTimer::timeout, this, &CommandRouter::UpdateAll);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

CommandRouter::~CommandRouter() {
    for (CommandTarget* target : m_targets)
        if (target)
            DropRouter(target->m_routers, this);
}

void CommandRouter::SetTarget(Stage stage, CommandTarget* target) {
    CommandTarget*& slot = m_targets[size_t(stage)];
    if (slot == target)
        return;
    if (slot)
        DropRouter(slot->m_routers, this);
    slot = target;
    if (target)
        target->m_routers.push_back(this);
    RequestIdleUpdate();
}

CommandTarget* CommandRouter::Target(Stage stage) const {
    return m_targets[size_t(stage)];
}

void CommandRouter::Forget(CommandTarget* target) {
    for (CommandTarget*& slot : m_targets)
        if (slot == target)
            slot = nullptr;
    RequestIdleUpdate();
}

QAction* CommandRouter::Action(unsigned id) {
    if (QAction* existing = m_actions.value(id))
        return existing;

    auto* action = new QAction(this);
    const QString text = StringTable::Load(id);
    if (!text.isEmpty()) {
        action->setStatusTip(StringTable::PromptOf(text));
        const QString tooltip = StringTable::TooltipOf(text);
        if (!tooltip.isEmpty()) {
            action->setText(tooltip);
            action->setToolTip(tooltip);
        }
    }
    m_actions.insert(id, action);
    m_ids.insert(action, id);
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    connect(action, &QObject::destroyed, this, [this, action, id] {
        m_actions.remove(id);
        m_ids.remove(action);
    });
    Apply(action, QueryState(id));
    return action;
}

void CommandRouter::AddShortcut(unsigned id, const QKeySequence& keys) {
    QAction* action = Action(id);
    QList<QKeySequence> shortcuts = action->shortcuts();
    shortcuts.append(keys);
    action->setShortcuts(shortcuts);
}

bool CommandRouter::Execute(unsigned id) {
    const QPointer<CommandRouter> self(this);
    for (CommandTarget* target : m_targets) {
        if (target && target->ExecuteCommand(id)) {
            // The handler may have closed the window that owned the router.
            if (self) {
                // Qt toggles a checkable action when it is triggered; the
                // handlers, not that toggle, decide its mark.
                if (QAction* action = m_actions.value(id))
                    Apply(action, QueryState(id));
                RequestIdleUpdate();
            }
            return true;
        }
    }
    return false;
}

CommandUI CommandRouter::QueryState(unsigned id) const {
    CommandUI ui(id);
    for (CommandTarget* target : m_targets)
        if (target && target->UpdateCommand(ui))
            return ui;
    const bool handled = std::any_of(m_targets.begin(), m_targets.end(),
                                     [id](CommandTarget* t) { return t && t->HandlesCommand(id); });
    ui.Enable(handled);
    return ui;
}

void CommandRouter::Apply(QAction* action, const CommandUI& ui) {
    if (ui.IsMarkSet()) {
        action->setCheckable(true);
        // A group of its own gives the action the look of a choice in menus
        // without tying it to other actions: the handlers keep the choice.
        QActionGroup* group = action->actionGroup();
        const bool ownGroup = group && group->parent() == action;
        if (ui.IsRadio() && !group) {
            group = new QActionGroup(action);
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            action->setActionGroup(group);
        } else if (!ui.IsRadio() && ownGroup) {
            action->setActionGroup(nullptr);
            delete group;
        }
        action->setChecked(ui.IsChecked());
    }
    action->setEnabled(ui.IsEnabled());
}

void CommandRouter::UpdateActions(const QList<QAction*>& actions) {
    const QScopedValueRollback<bool> guard(m_updating, true);
    for (QAction* action : actions) {
        const auto it = m_ids.constFind(action);
        if (it != m_ids.constEnd())
            Apply(action, QueryState(it.value()));
    }
}

void CommandRouter::UpdateAll() {
    m_idleTimer.stop();
    UpdateActions(m_actions.values());
}

void CommandRouter::WatchMenu(QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateActions(menu->actions()); });
    for (QAction* action : menu->actions())
        if (auto* submenu = action->menu<QMenu*>())
            WatchMenu(submenu);
}

void CommandRouter::RequestIdleUpdate() {
    if (!m_idleTimer.isActive())
        m_idleTimer.start();
}

bool CommandRouter::eventFilter(QObject* watched, QEvent* event) {
    // Ignore what the update pass itself causes, or it would never rest.
    if (!m_updating && IsUserActivity(event->type()))
        RequestIdleUpdate();
    return QObject::eventFilter(watched, event);
}
