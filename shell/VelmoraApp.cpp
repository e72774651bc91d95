#include "shell/VelmoraApp.h"

#include "framework/commands/MenuBuilder.h"
#include "framework/commands/StringTable.h"
#include "framework/views/UserFolders.h"
#include "resources/ApplicationIds.h"
#include "resources/Menus.h"
#include "resources/Resources.h"
#include "resources/Strings.h"
#include "shell/AboutDlg.h"
#include "shell/CommandLine.h"
#include "shell/ExplorerView.h"
#include "shell/MainFrame.h"
#include "shell/Screenshot.h"
#include "shell/StartupSelection.h"
#include "shell/StartupServices.h"
#include "shell/UserPrompts.h"
#include "shell/VelmoraDoc.h"
#include "velmora/Version.h"

#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace {

// The size of a rendered window, whatever the screen (offscreen has none),
// and the width of its "Properties" pane, wide enough to read the rows.
constexpr QSize kScreenshotSize(1280, 800);
constexpr int kScreenshotPaneWidth = 400;
// Time for the last layout and paint after the tags are shown.
constexpr int kSettleMs = 300;

// Exit statuses of a start-up that ends the program.
constexpr int kAnswered = 0; // help or version printed
constexpr int kFailed = 1;
constexpr int kUsage = 2;

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void PrintError(const QString& text) {
    Print(stderr, QStringLiteral("velmora: %1\n").arg(text));
}

} // namespace

CVelmoraApp::CVelmoraApp(int& argc, char** argv)
    : QApplication(argc, argv), m_services(std::make_unique<StartupServices>()),
      m_prompts(std::make_unique<UserPrompts>()) {
    // The strings first: the settings are named by the application's title.
    StringTable::Install(StringResources());
    m_settings.emplace();
    setApplicationName(StringTable::Load(StringId::AppTitle));
    setApplicationVersion(QString::fromLatin1(kVelmoraVersion));
    // Desktops match the window to its installed entry by this name.
    setDesktopFileName(QStringLiteral("org.velmora.Velmora"));
    InitResources();
    setWindowIcon(ApplicationIcon());
    RegisterCommands();
    m_router.SetTarget(CommandRouter::Stage::Application, this);
}

CVelmoraApp::~CVelmoraApp() {
    ExitInstance();
}

CVelmoraApp* CVelmoraApp::Instance() {
    return qobject_cast<CVelmoraApp*>(QCoreApplication::instance());
}

void CVelmoraApp::SetStartupServices(std::unique_ptr<StartupServices> services) {
    m_services = std::move(services);
}

void CVelmoraApp::SetPrompts(std::unique_ptr<UserPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void CVelmoraApp::RegisterCommands() {
    using namespace CommandId;
    AddCommand(AppAbout, [this] { OnAppAbout(); });
    AddCommand(FileNew, [this] { OnFileNew(); });
    AddCommand(FileOpen, [this] { OnFileOpen(); });
    // Leaving the program closes the main window, which saves its layout on
    // the way; there is never a document to ask about.
    AddCommand(AppExit, [this] {
        if (m_mainFrame)
            m_mainFrame->close();
        else
            quit();
    });
}

bool CVelmoraApp::InitInstance(const QStringList& arguments) {
    m_startupStatus = kFailed;
    StartupServices& services = *m_services;

    services.InitCommonControls();
    services.InitFramework();
    if (!services.StartSockets()) {
        m_prompts->ShowMessage(nullptr, StringTable::Load(StringId::SocketsInitFailed));
        return false;
    }
    if (!services.StartOle()) {
        m_prompts->ShowMessage(nullptr, StringTable::Load(StringId::OleInitFailed));
        return false;
    }
    services.EnableControlHosting();

    SetRegistryKey(QString::fromLatin1(SettingsStore::kDefaultKey));
    LoadStdProfileSettings(0);

    services.InitContextMenuService();
    m_contextMenus.clear();
    services.InitKeyboardService();
    services.InitTooltipService();
    services.InitShellService();
    services.ConfigureTooltips();

    // The single-document template is OpenDocumentFile; the command line
    // decides whether it starts untitled or with a file.
    const CommandLineInfo info = ParseCommandLine(arguments);
    if (!ProcessShellCommand(info))
        return false;

    m_mainFrame->show();
    m_mainFrame->repaint();
    StartSelectionAndScreenshot(info);
    m_startupStatus = 0;
    return true;
}

bool CVelmoraApp::ProcessShellCommand(const CommandLineInfo& info) {
    switch (info.action) {
    case CommandLineInfo::Action::ShowHelp:
    case CommandLineInfo::Action::ShowVersion:
        Print(stdout, info.message);
        m_startupStatus = kAnswered;
        return false;
    case CommandLineInfo::Action::Fail:
        PrintError(info.message + QStringLiteral("\nTry 'velmora --help' for more information."));
        m_startupStatus = kUsage;
        return false;
    case CommandLineInfo::Action::Run:
        break;
    }
    if (!info.folder.isEmpty() && !QFileInfo(info.folder).isDir()) {
        PrintError(QStringLiteral("%1: no such folder").arg(info.folder));
        m_startupStatus = kUsage;
        return false;
    }
    if (!info.selectFile.isEmpty() && !QFileInfo(info.selectFile).isFile()) {
        PrintError(QStringLiteral("%1: no such file").arg(info.selectFile));
        m_startupStatus = kUsage;
        return false;
    }
    m_startFolder = info.folder;
    QString error;
    const bool opened = OpenDocumentFile(info.fileName, &error);
    // The folder the window was made to start in, when it was made now.
    const QString start = std::exchange(m_startFolder, QString());
    if (!opened) {
        PrintError(info.fileName.isEmpty()
                       ? error
                       : QStringLiteral("cannot open %1: %2").arg(info.fileName, error));
        return false;
    }
    if (!start.isEmpty())
        ShowStartFolder(start);
    return true;
}

bool CVelmoraApp::CreateMainFrame() {
    // Registered before the frame brings back its saved layout, which may
    // refer to the menus by name.
    AddContextMenu(StringTable::Load(StringId::EditMenuName), ResourceId::EditPopupMenu);

    auto frame = std::make_unique<CMainFrame>(ServicesForFrame());
    if (!frame->Create())
        return false;
    // Selected before the view ties its list to the tree, so the list starts
    // there rather than in the tree's own first folder.
    m_startFolder = ChooseStartFolder(m_startFolder, frame->LastFolder(), DesktopFolders::Read());
    frame->SelectTreeFolder(m_startFolder);
    m_mainFrame = std::move(frame);

    m_document = std::make_unique<CVelmoraDoc>(*m_prompts, m_mainFrame.get());
    CMainFrame* shown = m_mainFrame.get();
    connect(m_document.get(), &CVelmoraDoc::titleChanged, shown, &CMainFrame::UpdateFrameTitle);
    connect(m_document.get(), &CVelmoraDoc::pathNameChanged, this,
            &CVelmoraApp::AddToRecentFileList);
    connect(m_document.get(), &CVelmoraDoc::closeRequested, shown, &QWidget::close);
    m_router.SetTarget(CommandRouter::Stage::Document, m_document.get());
    return true;
}

bool CVelmoraApp::OpenDocumentFile(const QString& path, QString* error) {
    const bool created = !m_mainFrame;
    if (created && !CreateMainFrame()) {
        if (error)
            *error = QStringLiteral("cannot create the main window");
        return false;
    }
    QString why;
    const bool done =
        path.isEmpty() ? m_document->OnNewDocument() : m_document->OnOpenDocument(path, why);
    if (!done) {
        // A window made only for this document goes again; an existing one
        // keeps the document it had, which the failed open left untouched.
        if (created)
            ExitInstance();
        if (error)
            *error = why;
        return false;
    }
    m_mainFrame->InitialUpdateFrame();
    return true;
}

void CVelmoraApp::ShowStartFolder(const QString& folder) {
    // The tree cannot select a folder it does not show (a hidden one); the
    // list shows it all the same.
    if (m_mainFrame->ShownFolder() != folder)
        m_mainFrame->ShowFolder(folder);
}

void CVelmoraApp::ExitInstance() {
    m_selection.reset();
    m_mainFrame.reset();
    m_document.reset();
}

int CVelmoraApp::Run() {
    return exec();
}

void CVelmoraApp::OnFileNew() {
    OpenDocumentFile(QString());
}

void CVelmoraApp::OnFileOpen() {
    const QString path = m_prompts->AskOpenFileName(m_mainFrame.get());
    if (path.isEmpty())
        return;
    QString error;
    if (!OpenDocumentFile(path, &error))
        m_prompts->ShowMessage(m_mainFrame.get(),
                               QStringLiteral("Cannot open %1.\n%2").arg(path, error));
}

void CVelmoraApp::OnAppAbout() {
    CAboutDlg about(m_mainFrame.get());
    about.exec();
}

void CVelmoraApp::SetRegistryKey(const QString& key) {
    m_settings.emplace(key, StringTable::Load(StringId::AppTitle));
}

void CVelmoraApp::LoadStdProfileSettings(int maxRecentFiles) {
    m_maxRecentFiles = std::max(0, maxRecentFiles);
    while (m_recentFiles.size() > m_maxRecentFiles)
        m_recentFiles.removeLast();
}

void CVelmoraApp::AddToRecentFileList(const QString& path) {
    if (m_maxRecentFiles == 0)
        return;
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > m_maxRecentFiles)
        m_recentFiles.removeLast();
    if (m_mainFrame)
        m_mainFrame->ShowRecentFiles(m_recentFiles);
}

void CVelmoraApp::AddContextMenu(const QString& name, unsigned menuId) {
    m_contextMenus.insert(name, menuId);
}

QMenu* CVelmoraApp::CreateContextMenu(const QString& name, QWidget* parent) {
    const auto found = m_contextMenus.constFind(name);
    if (found == m_contextMenus.constEnd())
        return nullptr;
    return BuildMenu(
        MenuResource(*found), [this](unsigned id) { return m_router.Action(id); }, parent,
        [this](const QList<QAction*>& commands) { m_router.UpdateActions(commands); });
}

void CVelmoraApp::StartSelectionAndScreenshot(const CommandLineInfo& info) {
    if (info.selectFile.isEmpty() && info.screenshot.isEmpty())
        return;
    m_selection = std::make_unique<StartupSelection>(*m_mainFrame->GetActiveView(),
                                                     m_mainFrame->ShownFolder(), info.selectFile);
    if (info.screenshot.isEmpty())
        return;
    m_mainFrame->resize(kScreenshotSize);
    m_mainFrame->SetPropertiesWidth(kScreenshotPaneWidth);
    connect(m_selection.get(), &StartupSelection::done, this, [this, path = info.screenshot] {
        QTimer::singleShot(kSettleMs, this, [this, path] { TakeScreenshot(path); });
    });
}

void CVelmoraApp::TakeScreenshot(const QString& path) {
    QString error;
    if (!m_mainFrame || !SaveScreenshot(*m_mainFrame, path, error)) {
        PrintError(QStringLiteral("cannot write %1: %2").arg(path, error));
        exit(kFailed);
        return;
    }
    Print(stdout, path + QLatin1Char('\n') + m_mainFrame->PropertiesRowsText());
    exit(0);
}
