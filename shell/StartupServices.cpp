#include "shell/StartupServices.h"

StartupServices::~StartupServices() = default;

// The program opens no socket: there is nothing to start on Linux, so this
// cannot fail. The check stays for its message, as a replacement may fail.
bool StartupServices::StartSockets() {
    return true;
}

// Clipboard and drag and drop come with the QApplication; no object model to
// initialise.
bool StartupServices::StartOle() {
    return true;
}
