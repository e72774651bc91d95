#pragma once

#include "presentation/FileInspection.h"
#include "reading/FoundFile.h"

// Inspects a file a folder walk found (reading/DirectoryWalk.h): opened by
// its name in its open folder, without a check before opening when the
// listing said it is a regular file. The same as InspectFile otherwise: a
// name that has since vanished or become a FIFO or a folder fails with the
// reason, without blocking.
inline bool InspectFoundFile(const FoundFile& file, FileReport& report, std::string& error,
                             InspectOptions options = {}) {
    options.knownRegular = file.listedRegular;
    options.folderFd = file.FolderFd();
    return InspectFile(file.OpenName(), report, error, options);
}
