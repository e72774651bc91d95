#pragma once

#include "framework/commands/CommandTarget.h"

#include <QObject>
#include <QString>

class UserPrompts;
class QWidget;

// The document of the single-document window. It has no content: pictures
// are inspected through the file list, never loaded as documents, so the
// document is a path and a title. Opening a file reads nothing from it and
// saving writes nothing into one; nothing ever marks the document modified,
// so no step asks whether to save it.
//
// It answers Close, Save and Save As on the document stage of the command
// route. Save never destroys an existing file: one that is there is left
// exactly as it was, and only a name that does not exist yet is created,
// empty.
class CVelmoraDoc : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // `prompts` asks for file names and tells of failures; `window` parents
    // the dialogs. Both must outlive the document.
    CVelmoraDoc(UserPrompts& prompts, QWidget* window);
    ~CVelmoraDoc() override;

    // A fresh untitled document: no path, the title "Untitled".
    bool OnNewDocument();
    // Makes the file at `path` the document without reading it. False, with
    // the document unchanged and `error` saying why, when the path names no
    // regular file that can be opened for reading.
    bool OnOpenDocument(const QString& path, QString& error);
    // Saves under `path`, writing no content: an existing file is not
    // touched, a missing one is created empty. False with `error` when the
    // file cannot be created or the path is a folder.
    bool OnSaveDocument(const QString& path, QString& error);

    // Save to the document's own file; an untitled document asks for a name.
    bool DoFileSave();
    // Asks for a name and saves under it.
    bool DoFileSaveAs();

    const QString& GetPathName() const { return m_pathName; }
    const QString& GetTitle() const { return m_title; }
    // The path becomes the document's and its file name the title.
    void SetPathName(const QString& path);

signals:
    void titleChanged(const QString& title);
    // The document took another file's path (opened or saved under it).
    void pathNameChanged(const QString& path);
    // Close: in a single-document program closing the document closes the
    // window that shows it.
    void closeRequested();

private:
    bool DoSave(QString path);
    void SetTitle(const QString& title);

    UserPrompts& m_prompts;
    QWidget* m_window;
    QString m_pathName;
    QString m_title;
};
