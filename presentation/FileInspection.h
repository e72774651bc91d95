#pragma once

#include "metadata/ByteSource.h"
#include "presentation/FileReport.h"

#include <functional>
#include <string>

// The one road from a file to its rows (and, when asked, to its every tag),
// for the window and the command line alike.

struct InspectOptions {
    // Also list every tag (EXIF directories, XMP, IPTC) into report.tags.
    bool allTags = false;
    // Build the pane's rows; a caller that shows only every tag needs none.
    bool rows = true;
    // Also name the lens into report.lens (the file list's Lens column).
    bool lens = false;
    // The caller knows the name is a regular file (a folder walk's entry
    // type): it is opened without following a link and without the check
    // before opening; the open descriptor is checked all the same.
    bool knownRegular = false;
    // An open folder that the path is relative to (a folder walk's), saving
    // the kernel the walk along the whole path; -1: the path as it is.
    int folderFd = -1;
    // Also tell the open file's size and time of change (report.status),
    // from the descriptor the file is read through; not for a report that
    // `keep` refused.
    bool status = false;
    // Asked once the file is read, before its rows and lens are built (with
    // every tag already listed): a report it refuses gets neither, which a
    // caller that keeps few of the files it reads (a search) saves.
    std::function<bool(const FileReport&)> keep;
};

// Reads one source of any format we know and builds the rows of what it
// found. `name` (may be null) only breaks ties between raw formats. False
// when options.keep refused the report.
bool InspectSource(ByteSource& source, FileReport& report, const char* name = nullptr,
                   const InspectOptions& options = {});

// Opens, reads and closes one file; only regular files are opened, never
// blocking on a FIFO or device. False with the reason in `error` when it
// could not be opened (report.opened stays false) or could not be read.
bool InspectFile(const char* path, FileReport& report, std::string& error,
                 const InspectOptions& options = {});
