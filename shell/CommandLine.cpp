#include "shell/CommandLine.h"

#include "velmora/Version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

QString Absolute(const QString& path) {
    return path.isEmpty() ? path : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

CommandLineInfo ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Velmora shows the EXIF metadata of JPEG photographs."));
    // Help without Qt's --help-all, whose text Qt prints only by ending the
    // process.
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption folder(
        QStringLiteral("folder"),
        QStringLiteral("Start the folder tree and the file list in <DIR>."), QStringLiteral("DIR"));
    const QCommandLineOption select(
        QStringLiteral("select"),
        QStringLiteral("Start in <FILE>'s folder with <FILE> selected and its tags shown."),
        QStringLiteral("FILE"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Render the window into <PNG> once started (and once --select has shown "
                       "its file), print the PNG's path and the tag rows, and quit. Without a "
                       "display the window is rendered offscreen."),
        QStringLiteral("PNG"));
    parser.addOptions({folder, select, screenshot});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("Open FILE as the document: its name becomes the window title; nothing is "
                       "read from it."),
        QStringLiteral("[FILE]"));

    CommandLineInfo info;
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        info.action = CommandLineInfo::Action::ShowHelp;
        info.message = parser.helpText();
        // Qt's usage line names the program by its full path, or by a
        // placeholder before the application object exists.
        const QString program =
            arguments.isEmpty() ? QStringLiteral("velmora") : QFileInfo(arguments[0]).fileName();
        const QString usage = QStringLiteral("Usage: ");
        const qsizetype end = info.message.indexOf(QStringLiteral(" [options]"));
        if (info.message.startsWith(usage) && end > usage.size())
            info.message.replace(usage.size(), end - usage.size(), program);
        return info;
    }
    if (parser.isSet(version)) {
        info.action = CommandLineInfo::Action::ShowVersion;
        info.message = QStringLiteral("Velmora %1\n").arg(QLatin1String(kVelmoraVersion));
        return info;
    }
    info.action = CommandLineInfo::Action::Fail;
    if (!parsed) {
        info.message = parser.errorText();
        return info;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        info.message = QStringLiteral("Only one FILE can be the document.");
        return info;
    }
    if (parser.isSet(screenshot) && parser.value(screenshot).isEmpty()) {
        info.message = QStringLiteral("--screenshot needs the name of a PNG file.");
        return info;
    }
    info.fileName = Absolute(files.value(0));
    info.folder = Absolute(parser.value(folder));
    info.selectFile = Absolute(parser.value(select));
    info.screenshot = Absolute(parser.value(screenshot));
    if (!info.selectFile.isEmpty()) {
        const QString selectFolder = QFileInfo(info.selectFile).absolutePath();
        if (!info.folder.isEmpty() && info.folder != selectFolder) {
            info.message = QStringLiteral("--select names a file outside the --folder.");
            return info;
        }
        info.folder = selectFolder;
    }
    info.action = CommandLineInfo::Action::Run;
    return info;
}
