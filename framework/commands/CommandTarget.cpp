#include "framework/commands/CommandTarget.h"

#include "framework/commands/CommandRouter.h"

#include <algorithm>

CommandTarget::~CommandTarget() {
    const std::vector<CommandRouter*> routers = m_routers;
    for (CommandRouter* router : routers)
        router->Forget(this);
}

void CommandTarget::AddCommand(unsigned id, std::function<void()> handler) {
    m_commands.push_back({id, id, [run = std::move(handler)](unsigned) { run(); }});
}

void CommandTarget::AddCommandRange(unsigned first, unsigned last, Handler handler) {
    m_commands.push_back({first, last, std::move(handler)});
}

void CommandTarget::AddUpdate(unsigned id, UpdateHandler handler) {
    m_updates.push_back({id, id, std::move(handler)});
}

void CommandTarget::AddUpdateRange(unsigned first, unsigned last, UpdateHandler handler) {
    m_updates.push_back({first, last, std::move(handler)});
}

const CommandTarget::CommandEntry* CommandTarget::FindCommand(unsigned id) const {
    const auto it = std::find_if(m_commands.begin(), m_commands.end(),
                                 [id](const auto& e) { return id >= e.first && id <= e.last; });
    return it != m_commands.end() ? &*it : nullptr;
}

bool CommandTarget::ExecuteCommand(unsigned id) {
    const CommandEntry* entry = FindCommand(id);
    if (!entry)
        return false;
    // The handler may register more handlers, so call a copy.
    const Handler handler = entry->handler;
    handler(id);
    return true;
}

bool CommandTarget::HandlesCommand(unsigned id) const {
    return FindCommand(id) != nullptr;
}

bool CommandTarget::UpdateCommand(CommandUI& ui) {
    const unsigned id = ui.Id();
    const auto it = std::find_if(m_updates.begin(), m_updates.end(),
                                 [id](const auto& e) { return id >= e.first && id <= e.last; });
    if (it == m_updates.end())
        return false;
    const UpdateHandler handler = it->handler;
    handler(ui);
    return true;
}
