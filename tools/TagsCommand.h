#pragma once

#include "presentation/FileInspection.h"
#include "tools/Options.h"

#include <cstdio>

// Exit statuses of the tool.
enum ExitStatus {
    kAllHadExif = 0,
    kSomeWithoutExif = 1,
    kSomeUnreadable = 2, // also a wrong command line
    // With --where, in place of the first two.
    kMatched = 0,
    kNoneMatched = 1,
};

class Query;

// How each file is read for these options and query (null without
// --where): every tag only when the output or the query needs them.
InspectOptions ReadingFor(const Options& options, const Query* query);

// Reads the files the options name and writes their tags to `out`;
// complaints go to `err`. Returns the exit status.
int RunTags(const Options& options, std::FILE* out, std::FILE* err);

// The whole command: arguments, help, version, then RunTags.
int RunCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
