#include "tools/TagsCommand.h"

#include <cstdio>

#include <malloc.h>

int main(int argc, char** argv) {
    // Each file's buffers (its 64 KiB head, its header segments) are freed
    // before the next file's are taken. By default glibc hands the top of the
    // heap back to the kernel after every file and faults it in anew for the
    // next, which cost more than reading the files; keeping up to 16 MiB
    // spare makes the next file reuse the same pages.
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
    // Fully buffered even on a terminal: the output is written file by file
    // and flushed at the end.
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    return RunCommandLine(argc, argv, stdout, stderr);
}
