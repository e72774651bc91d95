#pragma once

// The platform services the application prepares at start-up, one call per
// service in the order start-up runs them. Most map to nothing on Linux: Qt
// brings its controls, clipboard, drag and drop, keyboard handling and
// tooltips with the QApplication. A test replaces the object to watch the
// order or to make a service fail.
class StartupServices {
public:
    virtual ~StartupServices();

    // The window classes of the common controls.
    virtual void InitCommonControls() {}
    // The framework's own start-up; its result is not examined.
    virtual bool InitFramework() { return true; }
    // False ends the start-up with the sockets message.
    virtual bool StartSockets();
    // False ends the start-up with the OLE message.
    virtual bool StartOle();
    // Hosting of embedded controls.
    virtual void EnableControlHosting() {}

    // The application's services: named context menus, keyboard handling,
    // tooltips and the shell namespace behind the folder tree and file list.
    virtual void InitContextMenuService() {}
    virtual void InitKeyboardService() {}
    virtual void InitTooltipService() {}
    virtual void InitShellService() {}
    // Every kind of tooltip in the enhanced, themed form.
    virtual void ConfigureTooltips() {}
};
