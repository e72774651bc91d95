#include "shell/UserPrompts.h"

#include "framework/commands/StringTable.h"
#include "resources/ApplicationIds.h"

#include <QFileDialog>
#include <QMessageBox>

UserPrompts::~UserPrompts() = default;

void UserPrompts::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, StringTable::Load(StringId::AppTitle), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

QString UserPrompts::AskOpenFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent);
}

QString UserPrompts::AskSaveFileName(QWidget* parent, const QString& suggested) {
    // Saving never replaces an existing file, so there is nothing to confirm.
    return QFileDialog::getSaveFileName(parent, QString(), suggested, QString(), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
