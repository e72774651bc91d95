#include "VelmoraApp.h"

#include "CommandIds.h"
#include "MainFrame.h"
#include "ResourceIds.h"
#include "Resources.h"
#include "StringTable.h"

CVelmoraApp::CVelmoraApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(StringTable::Load(StringId::AppTitle));
    InitResources();
    setWindowIcon(ApplicationIcon());
    RegisterCommands();
    m_router.SetTarget(CommandRouter::Stage::Application, this);
}

CVelmoraApp::~CVelmoraApp() = default;

CVelmoraApp* CVelmoraApp::Instance() {
    return qobject_cast<CVelmoraApp*>(QCoreApplication::instance());
}

void CVelmoraApp::RegisterCommands() {
    // What the application answers by default: leaving the program closes
    // the main window, which saves its layout on the way.
    AddCommand(CommandId::AppExit, [this] {
        if (m_mainFrame)
            m_mainFrame->close();
        else
            quit();
    });
}

bool CVelmoraApp::InitInstance() {
    // The platform services, the settings key and the single document
    // template come here, in that order, before the main window; the command
    // line then decides the document.
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->Create())
        return false;
    frame->InitialUpdateFrame();
    m_mainFrame = std::move(frame);
    m_mainFrame->show();
    return true;
}

int CVelmoraApp::Run() {
    return exec();
}
