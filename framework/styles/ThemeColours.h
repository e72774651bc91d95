#pragma once

#include "framework/styles/DrawingTheme.h"

#include <QColor>
#include <QPalette>
#include <QRgb>
#include <QString>

// The colours that make one drawing theme.
struct ThemeColours {
    QRgb window;
    QRgb windowText;
    QRgb base;
    QRgb text;
    QRgb button;
    QRgb buttonText;
    QRgb highlight;
    QRgb highlightedText;
    QRgb captionTop; // pane captions, a vertical gradient
    QRgb captionBottom;
    QRgb captionText;
    QRgb ribbonTop; // ribbon background, a vertical gradient
    QRgb ribbonBottom;
    QRgb ribbonText;
    QRgb border; // ribbon panels, splitters, frame edges
    QRgb statusTop;
    QRgb statusBottom;
    QRgb statusText;
};

// The Office 2007 style matters only for the Office 2007 theme.
const ThemeColours& ColoursOf(DrawingTheme theme, Office2007Style office2007Style);
QPalette PaletteOf(const ThemeColours& colours);
QString StyleSheetOf(const ThemeColours& colours);

// `a` moved towards `b` by `amount` (0 keeps `a`, 1 gives `b`), each channel rounded.
QColor Mix(const QColor& a, const QColor& b, qreal amount = 0.5);
