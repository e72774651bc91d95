#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class CExplorerView;
struct DesktopFolders;

// The folder a start shows: the one `given` on the command line, else the one
// shown `last` time if it is still there, else Pictures, else the home
// folder.
QString ChooseStartFolder(const QString& given, const QString& last, const DesktopFolders& desktop);

// Shows a file named at start-up (--select) as a click would: waits until the
// view's list has read the file's folder, selects the file's row and clicks
// it, so its tags fill the "Properties" pane. Without a file it only waits
// for the list's folder. Either way it then emits done(), once.
class StartupSelection : public QObject {
    Q_OBJECT
public:
    // Gives up waiting after this long; the file's tags are then shown all
    // the same, without a row to select.
    static constexpr int kTimeoutMs = 10000;
    // How long rows may still trickle in once the folder reports itself read.
    static constexpr int kGraceMs = 500;

    // `file`: an absolute path, or empty to wait for the folder alone.
    StartupSelection(CExplorerView& view, const QString& folder, const QString& file);

signals:
    // `shown`: the file's row was selected and clicked (or, without a file,
    // the folder was listed) before the time ran out.
    void done(bool shown);

private:
    void TryNow();
    void GiveUp();
    void Finish(bool shown);

    QPointer<CExplorerView> m_view;
    QString m_folder;
    QString m_file;
    bool m_loaded = false;
    bool m_finished = false;
    QTimer m_timeout;
};
