#pragma once

#include <QList>

#include <functional>

class QAction;

// Finds the one shared action of a command id (a command router's Action),
// or nullptr when the command has none.
using ActionLookup = std::function<QAction*(unsigned commandId)>;

// Brings the state of the given shared actions up to date (a command router's
// UpdateActions); called before a built menu shows.
using ActionsUpdate = std::function<void(const QList<QAction*>& commands)>;
