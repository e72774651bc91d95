#pragma once

#include <QHash>
#include <QMimeDatabase>
#include <QString>

struct FolderEntry;

// Tells a listed file's type (its MIME name and the type's text) by its
// name, and by its first bytes when the name does not tell. One per reading
// thread: it remembers what it learned of each extension and type, as a
// folder of photographs has thousands of names and a handful of extensions.
class FileTypes {
public:
    // Fills entry.mimeName and entry.typeText; `folderFd` is the open folder
    // the entry's name is in.
    void Describe(int folderFd, FolderEntry& entry);

private:
    QMimeType ByName(const QString& name);

    const QMimeDatabase m_mimes;
    QHash<QString, QMimeType> m_byExtension;
    // The comment is looked up in the database's XML: once per type.
    QHash<QString, QString> m_comments;
};
