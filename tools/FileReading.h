#pragma once

#include "ByteStream.h"
#include "FileReport.h"

#include <string>

// Reads one stream with the reader, as the window does for a clicked file.
void InspectStream(ByteStream& stream, FileReport& report);

// Opens, reads and closes one file; only regular files are opened, never
// blocking on a FIFO or device. False with the reason in `error` when it
// could not be opened or read.
bool InspectFile(const char* path, FileReport& report, std::string& error);
