#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The folders a desktop names for the user's kinds of files (Pictures,
// Downloads...), as xdg-user-dirs keeps them in $XDG_CONFIG_HOME/user-dirs.dirs:
//     XDG_PICTURES_DIR="$HOME/Pictures"
// Each line is a shell assignment of a double-quoted path that is either
// absolute or starts with $HOME; a path equal to the home folder means the
// desktop has turned that folder off.

struct UserFolder {
    QString key;  // "PICTURES", "DESKTOP"...: the name between XDG_ and _DIR
    QString path; // absolute and clean
};

// The assignments of a user-dirs.dirs text, in the file's order (a key given
// twice keeps its last path). Lines that are not such an assignment are
// skipped, and so are paths that name the home folder itself.
QList<UserFolder> ParseUserFolders(QStringView text, const QString& home);

// The home folder and the user folders of the running session.
struct DesktopFolders {
    QString home;
    // Pictures, Desktop, Downloads, Videos, Documents in that order, each
    // where the user-dirs file puts it, else where Qt's standard locations
    // do; whether they exist is not checked here.
    QList<UserFolder> userFolders;

    // Reads $XDG_CONFIG_HOME/user-dirs.dirs (~/.config when unset).
    static DesktopFolders Read();
    // The folder with `key`; empty when there is none.
    QString Path(const QString& key) const;
};
