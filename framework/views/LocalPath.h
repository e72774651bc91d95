#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// File names on Linux are bytes; Qt holds them as QString decoded as UTF-8
// whatever the locale, and its directory listing (QDir, QDirIterator and so
// QFileSystemModel) leaves out names that are not valid UTF-8. The file list
// therefore reads folders itself and keeps each name's bytes (FolderListModel).
// These keep the bytes exact from a path onwards, so a path is never
// re-encoded into the name of some other file.

// The bytes of `path` for the file system; empty when the text cannot be
// encoded without loss (it holds unpaired surrogates, for instance).
QByteArray LocalPathBytes(const QString& path);
// A file URL for the path with exactly these bytes, every byte outside the
// unreserved set percent-encoded.
QUrl LocalFileUrl(const QByteArray& pathBytes);
