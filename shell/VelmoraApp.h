#pragma once

#include "framework/commands/CommandRouter.h"
#include "framework/commands/CommandTarget.h"
#include "framework/settings/SettingsStore.h"
#include "framework/styles/VisualStyles.h"
#include "shell/ApplicationLook.h"
#include "shell/FrameServices.h"

#include <QApplication>
#include <QHash>
#include <QStringList>

#include <memory>
#include <optional>

class CMainFrame;
class CVelmoraDoc;
class QMenu;
class StartupSelection;
class StartupServices;
class UserPrompts;
struct CommandLineInfo;

// The one application object. It holds what lives as long as the program:
// the command route with its actions, the settings store, the drawing theme
// and the current visual style, the main window and its document. It is the
// last stage of the command route and answers New, Open, About and Exit.
//
// The document arrangement is single-document: one CVelmoraDoc shown by one
// CMainFrame with its CExplorerView. New and Open reuse them.
class CVelmoraApp : public QApplication, public CommandTarget {
    Q_OBJECT
public:
    CVelmoraApp(int& argc, char** argv);
    ~CVelmoraApp() override;

    // The application object of the process; null when it is not a CVelmoraApp.
    static CVelmoraApp* Instance();

    // Start-up: prepares the platform services, names the settings, processes
    // the command line (which creates the document, the main window and its
    // view) and shows the window. False ends the program before the event
    // loop runs, with no main window left; StartupStatus() is then its exit
    // status. `arguments`: program name first, Qt's own options removed.
    bool InitInstance(const QStringList& arguments);
    bool InitInstance() { return InitInstance(arguments()); }
    int StartupStatus() const { return m_startupStatus; }
    // Drops the main window and the document, so start-up can run again.
    void ExitInstance();
    // Runs the event loop until the main window closes; its exit code.
    int Run();

    // What start-up prepares and what asks the user; replaceable before
    // start-up (tests make services fail and answer the dialogs).
    void SetStartupServices(std::unique_ptr<StartupServices> services);
    void SetPrompts(std::unique_ptr<UserPrompts> prompts);
    UserPrompts& Prompts() { return *m_prompts; }

    // The main window and its document once start-up created them.
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    CVelmoraDoc* Document() const { return m_document.get(); }

    // The single-document template: makes the document untitled (empty
    // `path`) or the file at `path`, creating the document, the frame and
    // its view the first time, and runs the view's initial update. False,
    // with `error` saying why and everything as it was, when the file cannot
    // be opened or the first frame cannot be created.
    bool OpenDocumentFile(const QString& path, QString* error = nullptr);
    void OnFileNew();
    // Asks for a file and opens it; a file that cannot be opened is reported.
    void OnFileOpen();
    // Runs a fresh About box modally.
    void OnAppAbout();

    // The settings key under which the store keeps the application's values.
    void SetRegistryKey(const QString& key);
    // The recently used files are kept to at most `maxRecentFiles` (0: none).
    void LoadStdProfileSettings(int maxRecentFiles);
    void AddToRecentFileList(const QString& path);
    const QStringList& RecentFiles() const { return m_recentFiles; }

    // The context-menu service: popup menus by name, built from a menu
    // resource whenever one is wanted. CreateContextMenu gives nullptr for an
    // unknown name; the caller owns the menu.
    void AddContextMenu(const QString& name, unsigned menuId);
    QMenu* CreateContextMenu(const QString& name, QWidget* parent = nullptr);

    CommandRouter& Router() { return m_router; }
    SettingsStore& Settings() { return *m_settings; }
    VisualStyles& Styles() { return m_styles; }
    // The visual style: the command id of the current one (210..218, or
    // whatever the settings held). The frame reads and changes the choice.
    unsigned ApplicationLook() const { return m_look.Current(); }
    // What a main frame and its view are handed when they are made.
    FrameServices ServicesForFrame() { return {m_router, *m_settings, m_styles, m_look}; }

private:
    void RegisterCommands();
    bool ProcessShellCommand(const CommandLineInfo& info);
    bool CreateMainFrame();
    void ShowStartFolder(const QString& folder);
    void StartSelectionAndScreenshot(const CommandLineInfo& info);
    void TakeScreenshot(const QString& path);

    std::unique_ptr<StartupServices> m_services;
    std::unique_ptr<UserPrompts> m_prompts;
    std::optional<SettingsStore> m_settings;
    VisualStyles m_styles;
    ApplicationLookChoice m_look;
    CommandRouter m_router;
    QHash<QString, unsigned> m_contextMenus;
    QStringList m_recentFiles;
    int m_maxRecentFiles = 0;
    int m_startupStatus = 1;
    // Where the folder tree and the file list start: the command line's
    // folder, then, once the frame is made, the folder chosen for the start.
    QString m_startFolder;
    std::unique_ptr<StartupSelection> m_selection;
    // The main window, declared last, goes first: while the document, the
    // route, the styles and the settings it uses are still there.
    std::unique_ptr<CVelmoraDoc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
