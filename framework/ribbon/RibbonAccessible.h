#pragma once

// What assistive technology (a screen reader, a tool that drives the window)
// learns about the ribbon. The ribbon paints its elements itself, so Qt alone
// would report each one as a nameless, roleless widget.
//
// Each element reports its role (push button, button with a drop-down, check
// box, page tab, static text, separator, list), its name (the label without
// access marks, else the tooltip title; the application's name for the
// application button), its description (the tooltip description), its key
// tip as keyboard shortcut, its states (disabled, checked, selected, showing
// a drop-down), and actions that do what a click does. The ribbon, its
// categories and panels report themselves as named groups.
#include <QAccessible>

class QObject;

namespace RibbonAccessible {

// Registers the interfaces with QAccessible; once, however often called. The
// ribbon's widgets call it as they are made, before anyone can ask.
void Install();

// Tells assistive technology that the `changed` states of `object` changed
// (a check mark, the selected tab), when any listens.
void NotifyStateChange(QObject* object, QAccessible::State changed);

} // namespace RibbonAccessible
