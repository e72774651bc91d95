#pragma once

#include <string>
#include <vector>

// What the command line asked for.
struct Options {
    enum class Format { Text, Csv, Json };
    Format format = Format::Text;
    bool recursive = false;
    bool allTags = false; // --all: every tag, not the pane's rows
    // --stats: the counts of the Overview pane over all the files, printed
    // at the end, as text or with --json.
    bool stats = false;
    // --where QUERY: only the files the query matches.
    bool filtered = false;
    std::string where;
    // -l: only the paths of the files, one a line; -0: each ended by a NUL.
    bool pathsOnly = false;
    bool nulEnds = false;
    // --readers N: files read at once (the reading pool's threads); 1 reads
    // each in turn on the calling thread. The output is the same either way.
    static constexpr int kMostReaders = 64;
    int readers = 8;
    bool help = false;
    bool version = false;
    // File and folder names exactly as given: bytes, never re-encoded.
    std::vector<std::string> operands;
};

// Parses argv[1..argc-1]. On a usage error returns false with a one-line
// reason in `error`.
bool ParseArguments(int argc, const char* const* argv, Options& options, std::string& error);

const char* UsageText();
const char* VersionText();
