#include "tools/TagsCommand.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Fully buffered even on a terminal: the output is written file by file
    // and flushed at the end.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    return RunCommandLine(argc, argv, stdout, stderr);
}
