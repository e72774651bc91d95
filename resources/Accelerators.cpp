#include "resources/Accelerators.h"

#include "resources/ApplicationIds.h"

namespace {

// The classic keys and their older equivalents (Shift+Delete, Ctrl+Insert,
// Shift+Insert, Alt+Backspace) issue the same commands.
constexpr Accelerator kMainFrame[] = {
    {Qt::CTRL | Qt::Key_N, CommandId::FileNew},
    {Qt::CTRL | Qt::Key_O, CommandId::FileOpen},
    {Qt::CTRL | Qt::Key_S, CommandId::FileSave},
    {Qt::CTRL | Qt::Key_Z, CommandId::EditUndo},
    {Qt::CTRL | Qt::Key_X, CommandId::EditCut},
    {Qt::CTRL | Qt::Key_C, CommandId::EditCopy},
    {Qt::CTRL | Qt::Key_V, CommandId::EditPaste},
    {Qt::ALT | Qt::Key_Backspace, CommandId::EditUndo},
    {Qt::SHIFT | Qt::Key_Delete, CommandId::EditCut},
    {Qt::CTRL | Qt::Key_Insert, CommandId::EditCopy},
    {Qt::SHIFT | Qt::Key_Insert, CommandId::EditPaste},
    {QKeyCombination(Qt::Key_F6), CommandId::NextPane},
    {Qt::SHIFT | Qt::Key_F6, CommandId::PrevPane},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_1, CommandId::ViewLargeIcon},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_2, CommandId::ViewSmallIcon},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_3, CommandId::ViewList},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_4, CommandId::ViewDetails},
};

} // namespace

std::span<const Accelerator> MainFrameAccelerators() {
    return kMainFrame;
}
