#include "shell/CommandLine.h"
#include "shell/VelmoraApp.h"

#include <QFile>

#include <cstdio>

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    // Help and the version need no window system: answered before it starts.
    const CommandLineInfo early = ParseCommandLine(ArgumentsOf(argc, argv));
    if (early.action == CommandLineInfo::Action::ShowHelp ||
        early.action == CommandLineInfo::Action::ShowVersion) {
        std::fputs(early.message.toLocal8Bit().constData(), stdout);
        return 0;
    }
    // A rendered window needs no screen either.
    if (!early.screenshot.isEmpty() && !HasDisplay() &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    CVelmoraApp app(argc, argv);
    if (!app.InitInstance(app.arguments()))
        return app.StartupStatus();
    return app.Run();
}
