#pragma once

#include "ActionLookup.h"

#include <QKeySequence>

#include <span>

// One row of an accelerator table: a key combination and the command it issues.
struct Accelerator {
    QKeyCombination keys;
    unsigned commandId;
};

// The main frame's accelerator table (resource 128), in table order.
std::span<const Accelerator> MainFrameAccelerators();

// Every key sequence of `commandId` in the main frame's table, in table order;
// the first is the one menus show.
QList<QKeySequence> ShortcutsOf(unsigned commandId);

// Gives each command of the table its key sequences (replacing any it had).
// The actions still need a window (QWidget::addAction) for the keys to work.
void ApplyAccelerators(const ActionLookup& action);
