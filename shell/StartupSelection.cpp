#include "shell/StartupSelection.h"

#include "framework/views/UserFolders.h"
#include "shell/ExplorerView.h"

#include <QAbstractItemView>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>

QString ChooseStartFolder(const QString& given, const QString& last,
                          const DesktopFolders& desktop) {
    if (!given.isEmpty())
        return given;
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString pictures = desktop.Path(QStringLiteral("PICTURES"));
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return desktop.home;
}

StartupSelection::StartupSelection(CExplorerView& view, const QString& folder, const QString& file)
    : m_view(&view), m_folder(folder), m_file(file) {
    ShellFileList& list = view.FileList();
    connect(&list, &ShellFileList::folderLoaded, this, [this](const QString& path) {
        if (path != m_folder)
            return;
        m_loaded = true;
        TryNow();
        // A file the list does not show (a hidden one) will not turn up.
        if (!m_finished)
            m_timeout.start(kGraceMs);
    });
    // Rows may still arrive after the folder reports itself read.
    connect(&list.Model(), &QAbstractItemModel::rowsInserted, this, &StartupSelection::TryNow);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, &StartupSelection::GiveUp);
    m_timeout.start(kTimeoutMs);
    // The folder may have been read already.
    QTimer::singleShot(0, this, &StartupSelection::TryNow);
}

void StartupSelection::TryNow() {
    if (m_finished || !m_view)
        return;
    ShellFileList& list = m_view->FileList();
    QString shown;
    if (!list.GetCurrentFolder(shown) || shown != m_folder)
        return;
    if (m_file.isEmpty()) {
        if (m_loaded)
            Finish(true);
        return;
    }
    const QString name = QFileInfo(m_file).fileName();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetItemText(row, 0) != name)
            continue;
        QAbstractItemView* items = list.CurrentView();
        items->selectionModel()->setCurrentIndex(
            list.ItemIndex(row), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        items->scrollTo(list.ItemIndex(row));
        m_view->OnClick(row, 0);
        Finish(true);
        return;
    }
}

void StartupSelection::GiveUp() {
    if (m_finished)
        return;
    // A file the list does not show (hidden, or gone) still has its tags.
    if (!m_file.isEmpty() && m_view)
        m_view->ChooseFile(QFile::encodeName(m_file));
    Finish(false);
}

void StartupSelection::Finish(bool shown) {
    m_finished = true;
    m_timeout.stop();
    emit done(shown);
}
