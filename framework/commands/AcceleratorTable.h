#pragma once

#include "framework/commands/ActionLookup.h"

#include <QKeySequence>

#include <span>

// One row of an accelerator table: a key combination and the command it issues.
struct Accelerator {
    QKeyCombination keys;
    unsigned commandId;
};

// Every key sequence of `commandId` in `table`, in table order; the first is
// the one menus show.
QList<QKeySequence> ShortcutsOf(std::span<const Accelerator> table, unsigned commandId);

// Gives each command of the table its key sequences (replacing any it had).
// The actions still need a window (QWidget::addAction) for the keys to work.
void ApplyAccelerators(std::span<const Accelerator> table, const ActionLookup& action);
