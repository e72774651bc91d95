#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program:
//
//   velmora [--folder DIR] [--select FILE] [--screenshot PNG] [FILE]
//
// FILE becomes the (content-free) document; nothing is read from it. Paths
// are made absolute against the current folder.
struct CommandLineInfo {
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    Action action = Action::Run;
    QString fileName;   // the document; empty for an untitled one
    QString folder;     // where the folder tree and the file list start
    QString selectFile; // the file selected and clicked once its folder is listed
    QString screenshot; // render the window into this PNG and quit
    QString message;    // the help or version text, or what is wrong
};

// Parses `arguments` (the program's name first, Qt's own options already
// removed). Help and version are recognised even among options it does not
// know, so they can be answered before the window system is started.
CommandLineInfo ParseCommandLine(const QStringList& arguments);
