#pragma once

class QHeaderView;
class QMenu;
class QWidget;

// A right-click on the header offers every column of its model, checked when
// shown; choosing one shows or hides it. The first column always stays.
void EnableColumnChooser(QHeaderView& header);

// That menu, for the header's current columns; the caller owns it.
QMenu* ColumnChooserMenu(QHeaderView& header, QWidget* parent = nullptr);
