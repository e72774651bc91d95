#pragma once

#include <QApplication>
#include <QCursor>

// Shows the wait cursor for its lifetime. Nests: each one restores only the
// cursor it pushed.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
