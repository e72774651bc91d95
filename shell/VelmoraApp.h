#pragma once

#include "CommandRouter.h"
#include "CommandTarget.h"
#include "SettingsStore.h"
#include "VisualStyles.h"

#include <QApplication>

#include <memory>

class CMainFrame;

// The one application object. It holds what lives as long as the program:
// the command route with its actions, the settings store, the drawing theme
// and the current visual style, and the main window. It is also the last
// stage of the command route.
class CVelmoraApp : public QApplication, public CommandTarget {
    Q_OBJECT
public:
    CVelmoraApp(int& argc, char** argv);
    ~CVelmoraApp() override;

    // The application object of the process; null when it is not a CVelmoraApp.
    static CVelmoraApp* Instance();

    // Start-up: creates the main window with its view and shows it. False
    // ends the program before the event loop runs.
    bool InitInstance();
    // Runs the event loop until the main window closes; its exit code.
    int Run();

    // The main window once start-up created it.
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

    CommandRouter& Router() { return m_router; }
    SettingsStore& Settings() { return m_settings; }
    VisualStyles& Styles() { return m_styles; }

    // The command id of the current visual style (210..218, or whatever the
    // settings held). Only the main frame reads and changes it.
    unsigned m_applicationLook = 0;

private:
    void RegisterCommands();

    // The main window, declared last, goes first: while the route, the
    // styles and the settings it uses are still there.
    SettingsStore m_settings;
    VisualStyles m_styles;
    CommandRouter m_router;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
