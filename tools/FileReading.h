#pragma once

#include "ByteStream.h"
#include "FileReport.h"

#include <cstdio>
#include <string>

// Reads one stream with the reader, as the window does for a clicked file.
void InspectStream(ByteStream& stream, FileReport& report);

// Opens `path` for reading only when it is a regular file. Devices, FIFOs
// and sockets are refused without blocking: the name is checked first and
// the opened descriptor again, so a swap in between is caught. On failure
// returns null with the reason in `error`.
std::FILE* OpenRegularFile(const char* path, std::string& error);

// Opens, reads and closes one file. False with the reason in `error` when it
// could not be opened or read.
bool InspectFile(const char* path, FileReport& report, std::string& error);
