#pragma once

#include "framework/styles/ThemeColours.h"

#include <QColor>
#include <QPixmap>
#include <QRectF>

class QPainter;

// Drawing shared by the ribbon's widgets. Everything takes its colours from
// the ThemeColours of the current visual style.
namespace RibbonPaint {

// The colours the ribbon starts with, before a visual style reaches it.
const ThemeColours& DefaultColours();

// What an element is drawn on: the ribbon itself, or a white menu surface
// (the application button's main panel, drop-down lists).
enum class Surface { Ribbon, Menu };
QColor TextColour(const ThemeColours& colours, Surface surface, bool enabled);
// The ground of a panel: the ribbon's colours, a little lighter.
QColor PanelTop(const ThemeColours& colours, bool hot = false);
QColor PanelBottom(const ThemeColours& colours, bool hot = false);
QColor MenuBackground(const ThemeColours& colours);

// The rounded highlight of an element under the mouse, pressed or checked.
void DrawHighlight(QPainter& painter, const QRectF& rect, const ThemeColours& colours,
                   bool pressed);
// A small triangle pointing down (or right) centred on `centre`.
void DrawArrow(QPainter& painter, const QPointF& centre, const QColor& colour, bool down = true);
// `image` at `topLeft`, greyed when disabled.
void DrawImage(QPainter& painter, const QPoint& topLeft, const QPixmap& image, bool enabled);

} // namespace RibbonPaint
