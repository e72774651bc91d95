#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// One cell of a column an application adds to the file list's Details layout.
struct FileColumnCell {
    // What the cell shows.
    QString text;
    // What it sorts by when set (dates as seconds); otherwise by its text,
    // naturally, after every cell with a number.
    std::optional<double> number;

    // A cell with neither sorts after all others, in both orders.
    bool IsEmpty() const { return !number && text.isEmpty(); }
};

// What an application keeps of a file besides its cells, from the same
// reading: the list carries it with the file's row and never looks into it
// (an overview counts it, say).
class FileFacts {
public:
    virtual ~FileFacts() = default;
};
using FileFactsPtr = std::shared_ptr<const FileFacts>;

// Orders two cells that are not empty: negative, zero or positive.
int CompareCells(const FileColumnCell& left, const FileColumnCell& right);

// The columns an application adds to the file list, and how a file's cells
// are read. Read runs on worker threads, several at once, while the window
// goes on: it must be safe to call concurrently and touch no widget.
class FileColumnProvider {
public:
    virtual ~FileColumnProvider() = default;
    // The columns' titles, in their order.
    virtual QStringList Titles() const = 0;
    // The cells of the file whose name's bytes are `path`, one per title (a
    // shorter vector leaves the rest empty). Only regular files are to be
    // opened, and never so that a FIFO or device could block.
    virtual std::vector<FileColumnCell> Read(const QByteArray& path) const = 0;
    // The cells and, from the same reading, the file's facts (null when the
    // application keeps none); by default the cells alone. The same rules
    // as Read.
    virtual std::vector<FileColumnCell> ReadWithFacts(const QByteArray& path,
                                                      FileFactsPtr& facts) const {
        facts.reset();
        return Read(path);
    }
    // How wide column `column` starts, in average characters of the list's
    // font; 0 leaves it at the header's default width.
    virtual int StartWidth(int column) const {
        (void)column;
        return 0;
    }
};
