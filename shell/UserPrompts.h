#pragma once

#include <QString>

class QWidget;

// The modal questions and messages of the application and its document: an
// OK message box and the two file dialogs. Tests replace the object, as a
// modal dialog would wait for a user.
class UserPrompts {
public:
    virtual ~UserPrompts();

    // An OK message box titled with the application's name.
    virtual void ShowMessage(QWidget* parent, const QString& text);
    // The file to open; empty when the user cancels. No filter of its own:
    // any file may be the document.
    virtual QString AskOpenFileName(QWidget* parent);
    // The file to save under, starting from `suggested`; empty on cancel.
    virtual QString AskSaveFileName(QWidget* parent, const QString& suggested);
};
