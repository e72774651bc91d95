#include "resources/Accelerators.h"
#include "resources/ApplicationIds.h"
#include "resources/Menus.h"
#include "tests/shell/ShellAppTestSupport.h"

#include <set>

// Every command the menus and shortcuts issue is answered somewhere on the
// route the program starts with, so no item or key is dead by mistake.

namespace {

using namespace CommandId;

class ShellCommandTables : public ShellAppFixture {};

TEST_F(ShellCommandTables, EveryMenuItemAndKeyIsAnsweredOnTheRoute) {
    ASSERT_TRUE(Start());
    std::set<unsigned> commands;
    for (const Accelerator& row : MainFrameAccelerators())
        commands.insert(row.commandId);
    for (unsigned menuId :
         {ResourceId::MainFrame, ResourceId::EditPopupMenu, ResourceId::StyleMenu})
        for (const MenuEntry& entry : MenuResource(menuId))
            if (entry.kind == MenuEntryKind::Item && !entry.greyed)
                commands.insert(entry.commandId);

    // Kept for their classic places in the menus and keys, with nothing to act
    // on yet: the program edits no document and has no split panes.
    const std::set<unsigned> idle = {EditUndo, EditCut, EditPaste, NextPane, PrevPane};
    for (unsigned id : commands) {
        bool answered = false;
        for (auto stage : {CommandRouter::Stage::View, CommandRouter::Stage::Document,
                           CommandRouter::Stage::Frame, CommandRouter::Stage::Application})
            if (CommandTarget* target = Router().Target(stage))
                answered = answered || target->HandlesCommand(id);
        EXPECT_EQ(answered, !idle.count(id)) << id;
    }
}

} // namespace
