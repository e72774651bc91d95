#include "framework/commands/MenuBuilder.h"

#include "framework/commands/MenuTable.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {

QString Label(const MenuEntry& entry) {
    return QString::fromUtf16(entry.label.data(), qsizetype(entry.label.size()));
}

// Copies the state of the shared command action onto the menu's own item.
void Mirror(const QAction* command, QAction* item) {
    item->setVisible(command->isVisible());
    item->setEnabled(command->isEnabled());
    item->setStatusTip(command->statusTip());
    item->setCheckable(command->isCheckable());
    item->setChecked(command->isChecked());
    // Menus draw a radio mark only for actions in an exclusive group; a group
    // of the item's own gives it that look without tying it to other items.
    const QActionGroup* commandGroup = command->actionGroup();
    const bool radio = commandGroup && commandGroup->isExclusive();
    QActionGroup* group = item->actionGroup();
    if (radio && !group) {
        group = new QActionGroup(item);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        item->setActionGroup(group);
    } else if (!radio && group) {
        item->setActionGroup(nullptr);
        delete group;
    }
}

class Builder {
public:
    Builder(const ActionLookup& action, const ActionsUpdate& beforeShow)
        : m_action(action), m_beforeShow(beforeShow) {}

    // Fills `menu` from entries[pos] up to the matching EndPopup and returns
    // the position after it.
    size_t Fill(QMenu* menu, std::span<const MenuEntry> entries, size_t pos) const {
        QList<QPointer<QAction>> commands;
        while (pos < entries.size()) {
            const MenuEntry& entry = entries[pos++];
            switch (entry.kind) {
            case MenuEntryKind::Popup:
                pos = Fill(menu->addMenu(Label(entry)), entries, pos);
                break;
            case MenuEntryKind::Separator:
                menu->addSeparator();
                break;
            case MenuEntryKind::Item:
                if (QAction* command = AddItem(menu, entry))
                    commands.append(command);
                break;
            case MenuEntryKind::EndPopup:
                UpdateBeforeShow(menu, commands);
                return pos;
            }
        }
        UpdateBeforeShow(menu, commands);
        return pos;
    }

private:
    // Adds the item and returns the shared action it follows, if any.
    QAction* AddItem(QMenu* menu, const MenuEntry& entry) const {
        QAction* item = menu->addAction(Label(entry));
        item->setData(entry.commandId);
        item->setEnabled(!entry.greyed);
        QAction* command = m_action ? m_action(entry.commandId) : nullptr;
        if (!command) {
            // Nothing would answer it: shown like a command nobody handles.
            item->setEnabled(false);
            return nullptr;
        }
        Mirror(command, item);
        QObject::connect(command, &QAction::changed, item,
                         [command, item] { Mirror(command, item); });
        QObject::connect(item, &QAction::triggered, command,
                         [command = QPointer(command), item = QPointer(item)] {
                             command->trigger();
                             // Clicking toggled the item's own mark; the
                             // command's state decides it. Either action may
                             // be gone if the command closed the window.
                             if (command && item)
                                 Mirror(command, item);
                         });
        return command;
    }

    void UpdateBeforeShow(QMenu* menu, const QList<QPointer<QAction>>& commands) const {
        if (!m_beforeShow || commands.isEmpty())
            return;
        QObject::connect(menu, &QMenu::aboutToShow, menu, [update = m_beforeShow, commands] {
            QList<QAction*> alive;
            for (const QPointer<QAction>& command : commands)
                if (command)
                    alive.append(command);
            update(alive);
        });
    }

    const ActionLookup& m_action;
    const ActionsUpdate& m_beforeShow;
};

bool StartsWithPopup(std::span<const MenuEntry> entries) {
    return !entries.empty() && entries.front().kind == MenuEntryKind::Popup;
}

} // namespace

QMenuBar* BuildMenuBar(std::span<const MenuEntry> entries, const ActionLookup& action,
                       QWidget* parent, const ActionsUpdate& beforeShow) {
    if (entries.empty())
        return nullptr;
    auto* bar = new QMenuBar(parent);
    const Builder builder(action, beforeShow);
    size_t pos = 0;
    while (pos < entries.size()) {
        const MenuEntry& entry = entries[pos++];
        if (entry.kind == MenuEntryKind::Popup)
            pos = builder.Fill(bar->addMenu(Label(entry)), entries, pos);
    }
    return bar;
}

QMenu* BuildMenu(std::span<const MenuEntry> entries, const ActionLookup& action, QWidget* parent,
                 const ActionsUpdate& beforeShow) {
    if (!StartsWithPopup(entries))
        return nullptr;
    auto* menu = new QMenu(Label(entries.front()), parent);
    Builder(action, beforeShow).Fill(menu, entries, 1);
    return menu;
}
