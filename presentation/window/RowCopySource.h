#pragma once

class QWidget;

// A pane whose rows the frame's Copy and Select All commands act on while the
// focus is inside it. Nothing in these panes is editable, so there is no Cut
// or Paste.
class RowCopySource {
public:
    virtual ~RowCopySource() = default;

    // The widget whose descendants hold the focus when the pane has it (the
    // pane's client area, which moves into the overlay when auto-hidden).
    virtual QWidget* FocusScope() = 0;
    // Some rows are selected.
    virtual bool CanCopyRows() const = 0;
    // Puts the selected rows on the clipboard as tab-separated lines, in
    // list order.
    virtual void CopyRows() = 0;
    virtual void SelectAllRows() = 0;
};

// True when `focus` is `source`'s focus scope or inside it.
bool HoldsFocus(RowCopySource& source, const QWidget* focus);
