// The least any metadata tool must do per file, as a yardstick: walk the
// folder tree, open each file, read its first 64 KiB, close it. With a
// count of readers, that many threads share the files (the walk lists them
// first), as a tool that keeps a cold disk busy would; with --evict, the
// files' cached pages are dropped instead (a cold run where
// /proc/sys/vm/drop_caches may not be written).

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr size_t kHead = 64 * 1024;

// Returns the bytes read, -1 when the file could not be opened.
long long ReadHead(const char* path, unsigned char* buffer, bool evict) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    long long bytes = 0;
    if (evict) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    } else {
        const ssize_t n = ::read(fd, buffer, kHead);
        bytes = n > 0 ? n : 0;
    }
    ::close(fd);
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    const bool evict = argc == 3 && std::strcmp(argv[1], "--evict") == 0;
    const int readers = argc == 3 && !evict ? std::atoi(argv[2]) : 1;
    const char* root = evict ? argv[2] : argv[1];
    if (argc < 2 || argc > 3 || readers < 1 || readers > 64) {
        std::fprintf(stderr, "usage: %s DIR [READERS] | --evict DIR\n", argv[0]);
        return 2;
    }
    static unsigned char buffer[kHead];
    unsigned long files = 0;
    unsigned long long bytes = 0;
    std::vector<std::string> paths;
    std::error_code error;
    namespace fs = std::filesystem;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        if (readers > 1 || evict) {
            paths.push_back(it->path().string());
            continue;
        }
        const long long n = ReadHead(it->path().c_str(), buffer, false);
        if (n < 0)
            continue;
        bytes += static_cast<unsigned long long>(n);
        ++files;
    }
    if (error) {
        std::fprintf(stderr, "%s: %s\n", root, error.message().c_str());
        return 1;
    }
    if (!paths.empty()) {
        std::atomic<size_t> next{0};
        std::atomic<unsigned long> done{0};
        std::atomic<unsigned long long> total{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < readers; ++t)
            threads.emplace_back([&] {
                std::vector<unsigned char> own(kHead);
                for (size_t i = next++; i < paths.size(); i = next++) {
                    const long long n = ReadHead(paths[i].c_str(), own.data(), evict);
                    if (n < 0)
                        continue;
                    total += static_cast<unsigned long long>(n);
                    ++done;
                }
            });
        for (std::thread& thread : threads)
            thread.join();
        files = done;
        bytes = total;
    }
    std::printf("%lu files, %llu bytes read%s\n", files, bytes, evict ? " (pages evicted)" : "");
    return 0;
}
