#pragma once

#include <QFlags>
#include <Qt>

// The numbers the window code uses to describe panes and bars: edge masks,
// creation style bits and pane behaviour flags, with their Qt equivalents.
namespace PaneStyle {

// Edge masks ("may dock at") and the alignment part of a creation style.
inline constexpr quint32 AlignLeft = 0x1000;
inline constexpr quint32 AlignTop = 0x2000;
inline constexpr quint32 AlignRight = 0x4000;
inline constexpr quint32 AlignBottom = 0x8000;
inline constexpr quint32 AlignAny = 0xF000;

// Creation style bits the panes read.
inline constexpr quint32 Visible = 0x10000000;

} // namespace PaneStyle

// What a pane's user may do with it.
enum class PaneBehaviour : quint32 {
    Float = 0x1,
    AutoHide = 0x2,
    Resize = 0x4, // recorded only: the frame always lets docked panes be resized
    Close = 0x8,
};
Q_DECLARE_FLAGS(PaneBehaviours, PaneBehaviour)
Q_DECLARE_OPERATORS_FOR_FLAGS(PaneBehaviours)

inline constexpr PaneBehaviours DefaultPaneBehaviour = PaneBehaviours(0xF);

// Dock areas named by the alignment bits of `mask`; no bits, no areas.
Qt::DockWidgetAreas DockAreasFromMask(quint32 mask);
// Tool bar areas named by the alignment bits of `mask`.
Qt::ToolBarAreas ToolBarAreasFromMask(quint32 mask);
// The first edge named by the alignment bits of a creation style, checked in
// the order left, top, right, bottom; NoDockWidgetArea when none is set.
Qt::DockWidgetArea DockAreaFromStyle(quint32 style);
// The tool bar area along the same edge of the frame as `area`.
Qt::ToolBarArea ToolBarAreaFor(Qt::DockWidgetArea area);
