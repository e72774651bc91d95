#pragma once

#include <QByteArray>
#include <QString>

class CMetadataWnd;
class CPropertiesWnd;

// The road from a clicked file to the panes: tests the path, reads the file
// once (InspectFile) and shows its rows in `pane` and, when given, its every
// tag in `metadata`. The reader's printed messages go to standard output, as
// the reader's convention has it.
//
// Returns false for an empty path, a file that does not exist or is not
// readable, and a file read without a valid EXIF block; true when rows were
// shown and when the file passed the access tests but cannot be opened as a
// regular file (a folder, a FIFO, a device). The panes are left as they were
// on those early ends; otherwise they are emptied and then hold the file's
// rows and tags (a file without EXIF rows may still have tags).
//
// `path` is the file's name exactly as the file system stores it, so names
// that are not valid UTF-8 are opened by their own bytes.
bool ShowFileTags(const QByteArray& path, CPropertiesWnd& pane, CMetadataWnd* metadata = nullptr);

// The same for a name Qt decoded; exact for every name that is valid UTF-8.
bool ShowFileTags(const QString& path, CPropertiesWnd& pane, CMetadataWnd* metadata = nullptr);
