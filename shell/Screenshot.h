#pragma once

#include <QString>

class CPropertiesWnd;
class QWidget;

// Renders `window` with everything in it into the PNG file at `path`. False,
// with `error` saying why, when the file cannot be written.
bool SaveScreenshot(QWidget& window, const QString& path, QString& error);

// The rows of the pane's tag list, one "Tag<TAB>Data" line each.
QString TagRowsText(CPropertiesWnd& pane);
