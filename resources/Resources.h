#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures compiled into the program (velmora.qrc), at ":/bitmaps/<id>.png"
// and ":/icons/...". The framework's ImageStrip cuts the single images out of
// a bitmap.

// Registers the pictures; call it before the first one is loaded. Calling it
// is also what links them into the program from the static library.
void InitResources();

// The sizes of the application icon, in pixels.
inline constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The application icon with every size, for windows and the About box.
QIcon ApplicationIcon();

// The strip of bitmap `id` (":/bitmaps/<id>.png"); a null pixmap for an
// unknown id.
QPixmap LoadBitmap(unsigned id);
