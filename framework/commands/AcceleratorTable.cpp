#include "framework/commands/AcceleratorTable.h"

#include <algorithm>

#include <QAction>

QList<QKeySequence> ShortcutsOf(std::span<const Accelerator> table, unsigned commandId) {
    QList<QKeySequence> keys;
    for (const Accelerator& row : table)
        if (row.commandId == commandId)
            keys.append(QKeySequence(row.keys));
    return keys;
}

void ApplyAccelerators(std::span<const Accelerator> table, const ActionLookup& action) {
    for (auto row = table.begin(); row != table.end(); ++row) {
        const unsigned id = row->commandId;
        const bool firstRowOfCommand =
            std::none_of(table.begin(), row,
                         [id](const Accelerator& earlier) { return earlier.commandId == id; });
        if (!firstRowOfCommand)
            continue;
        if (QAction* command = action(id))
            command->setShortcuts(ShortcutsOf(table, id));
    }
}
