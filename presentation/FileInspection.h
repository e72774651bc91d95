#pragma once

#include "metadata/ByteStream.h"
#include "presentation/FileReport.h"

#include <string>

// The one road from a file to its rows, for the window and the command line
// alike.

// Reads one stream with the reader and builds the rows of what it found.
void InspectStream(ByteStream& stream, FileReport& report);

// Opens, reads and closes one file; only regular files are opened, never
// blocking on a FIFO or device. False with the reason in `error` when it
// could not be opened (report.opened stays false) or could not be read.
bool InspectFile(const char* path, FileReport& report, std::string& error);
