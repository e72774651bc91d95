#pragma once

#include "framework/commands/CommandUI.h"

#include <functional>
#include <vector>

class CommandRouter;

// One stop on the command route (view, document, frame, application). It
// answers commands by id through handlers registered like the entries of a
// message map: single ids or inclusive id ranges, looked up in the order they
// were added, the first match winning.
class CommandTarget {
public:
    using Handler = std::function<void(unsigned id)>;
    using UpdateHandler = std::function<void(CommandUI& ui)>;

    CommandTarget() = default;
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;
    virtual ~CommandTarget();

    void AddCommand(unsigned id, std::function<void()> handler);
    void AddCommandRange(unsigned first, unsigned last, Handler handler);
    void AddUpdate(unsigned id, UpdateHandler handler);
    void AddUpdateRange(unsigned first, unsigned last, UpdateHandler handler);

    // Runs the handler of `id`; false when this target has none. Overrides may
    // pass commands on to objects of their own before declining.
    virtual bool ExecuteCommand(unsigned id);
    virtual bool HandlesCommand(unsigned id) const;
    // Runs the update handler of `ui.Id()`; false when this target has none.
    virtual bool UpdateCommand(CommandUI& ui);

private:
    friend class CommandRouter;

    struct CommandEntry {
        unsigned first;
        unsigned last;
        Handler handler;
    };
    struct UpdateEntry {
        unsigned first;
        unsigned last;
        UpdateHandler handler;
    };

    const CommandEntry* FindCommand(unsigned id) const;

    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
    // Routers holding this target, told when it goes away (one entry per stage).
    std::vector<CommandRouter*> m_routers;
};
