#pragma once

#include "framework/commands/CommandUI.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <array>

class CommandTarget;
class QAction;
class QKeySequence;
class QMenu;

// Carries commands from the elements that issue them to the objects that
// answer them. Each command id has one QAction, shared by every ribbon
// element, menu item and shortcut that issues it. A triggered command is
// offered to the active view, the document, the frame and the application in
// that order; the first that handles it ends the route.
//
// The appearance of the actions (enabled, check and radio marks) comes from
// update handlers routed the same way. They run before a watched menu shows
// and in an idle pass after user input; a command that nothing on the route
// handles is disabled. Actions with shortcuts must be added to a window
// (QWidget::addAction) for the shortcuts to work.
class CommandRouter : public QObject {
    Q_OBJECT

public:
    enum class Stage { View, Document, Frame, Application };

    explicit CommandRouter(QObject* parent = nullptr);
    ~CommandRouter() override;

    // Puts `target` at `stage` of the route (nullptr empties it). A target
    // that is destroyed leaves the route by itself.
    void SetTarget(Stage stage, CommandTarget* target);
    CommandTarget* Target(Stage stage) const;

    // The action of `id`, created on first use with the prompt of the string
    // table as its status tip and the tooltip title as its text and tooltip.
    QAction* Action(unsigned id);
    // One more key sequence for the command, as accelerator tables allow.
    void AddShortcut(unsigned id, const QKeySequence& keys);

    // Routes the command; false when nothing on the route handled it.
    bool Execute(unsigned id);
    // Routes the update of `id` and returns the state the handler chose;
    // disabled when nothing on the route answers the command.
    CommandUI QueryState(unsigned id) const;

    // Updates the given actions (those of this router) from their handlers.
    void UpdateActions(const QList<QAction*>& actions);
    void UpdateAll();
    // Updates the menu's actions, and those of its submenus, before it shows.
    void WatchMenu(QMenu* menu);
    // Asks for an idle pass over every action once pending events are done.
    void RequestIdleUpdate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CommandTarget;
    void Forget(CommandTarget* target);
    void Apply(QAction* action, const CommandUI& ui);

    std::array<CommandTarget*, 4> m_targets{};
    QHash<unsigned, QAction*> m_actions;
    QHash<const QAction*, unsigned> m_ids;
    QTimer m_idleTimer;
    bool m_updating = false;
};
