#pragma once

#include "shell/MainFrame.h"
#include "shell/StartupServices.h"
#include "shell/UserPrompts.h"
#include "shell/VelmoraDoc.h"
#include "tests/shell/ShellTestSupport.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include <string>
#include <vector>

// Start-up as the program runs it, with the platform services and the
// dialogs replaced: the services log their calls and can fail, the prompts
// log every message and answer the file dialogs from a queue.

class LoggingServices : public StartupServices {
public:
    explicit LoggingServices(std::vector<std::string>& log) : m_log(log) {}

    void InitCommonControls() override { m_log.push_back("common controls"); }
    bool InitFramework() override {
        m_log.push_back("framework");
        return false; // ignored
    }
    bool StartSockets() override {
        m_log.push_back("sockets");
        return !failSockets;
    }
    bool StartOle() override {
        m_log.push_back("ole");
        return !failOle;
    }
    void EnableControlHosting() override { m_log.push_back("control hosting"); }
    void InitContextMenuService() override { m_log.push_back("context menus"); }
    void InitKeyboardService() override { m_log.push_back("keyboard"); }
    void InitTooltipService() override { m_log.push_back("tooltips"); }
    void InitShellService() override { m_log.push_back("shell"); }
    void ConfigureTooltips() override { m_log.push_back("tooltip kinds"); }

    bool failSockets = false;
    bool failOle = false;

private:
    std::vector<std::string>& m_log;
};

struct PromptLog {
    QStringList messages;
    QStringList openAnswers; // taken from the front; empty: cancelled
    QStringList saveAnswers;
    QStringList saveSuggestions;
    int openAsked = 0;
};

class ScriptedPrompts : public UserPrompts {
public:
    explicit ScriptedPrompts(PromptLog& log) : m_log(log) {}

    void ShowMessage(QWidget*, const QString& text) override { m_log.messages.append(text); }
    QString AskOpenFileName(QWidget*) override {
        ++m_log.openAsked;
        return m_log.openAnswers.isEmpty() ? QString() : m_log.openAnswers.takeFirst();
    }
    QString AskSaveFileName(QWidget*, const QString& suggested) override {
        m_log.saveSuggestions.append(suggested);
        return m_log.saveAnswers.isEmpty() ? QString() : m_log.saveAnswers.takeFirst();
    }

private:
    PromptLog& m_log;
};

class ShellAppFixture : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        auto services = std::make_unique<LoggingServices>(calls);
        m_services = services.get();
        App().SetStartupServices(std::move(services));
        App().SetPrompts(std::make_unique<ScriptedPrompts>(prompts));
    }
    void TearDown() override {
        App().ExitInstance();
        App().SetStartupServices(std::make_unique<StartupServices>());
        App().SetPrompts(std::make_unique<UserPrompts>());
    }

    bool Start(QStringList arguments = {}) {
        arguments.prepend(QStringLiteral("velmora"));
        return App().InitInstance(arguments);
    }
    LoggingServices& Services() { return *m_services; }
    static CMainFrame* Frame() { return App().MainFrame(); }
    static CVelmoraDoc* Doc() { return App().Document(); }
    static bool Execute(unsigned id) { return Router().Execute(id); }

    // Any main window, shown or not, left among the application's windows.
    static bool AnyMainWindowLeft() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<CMainFrame*>(widget))
                return true;
        return false;
    }

    std::vector<std::string> calls;
    PromptLog prompts;

private:
    LoggingServices* m_services = nullptr;
};

// Runs `inspect` on the modal dialog `open` shows, then closes it if
// `inspect` did not. False when no modal dialog appeared.
template <class Open, class Inspect> bool WithModalDialog(Open open, Inspect inspect) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = true;
        poll.stop();
        inspect(modal);
        if (QApplication::activeModalWidget() == modal)
            modal->close();
    });
    poll.start();
    open();
    return seen;
}
