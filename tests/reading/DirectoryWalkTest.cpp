#include "reading/DirectoryWalk.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder under the temporary folder with `files` (a trailing '/' makes a
// folder), removed with all it holds.
class TempTree {
public:
    explicit TempTree(std::initializer_list<std::string> files) {
        std::string pattern = std::filesystem::temp_directory_path() / "velmora-walk-XXXXXX";
        root = ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
        for (const std::string& name : files) {
            if (name.back() == '/') {
                std::filesystem::create_directory(root + "/" + name);
            } else if (std::FILE* file = std::fopen((root + "/" + name).c_str(), "wb")) {
                std::fputs(name.c_str(), file);
                std::fclose(file);
            }
        }
    }
    ~TempTree() { std::filesystem::remove_all(root); }
    std::string root;
};

class Collector : public FileVisitor {
public:
    bool Visit(FoundFile&& found) override {
        paths.push_back(found.IsFile() ? found.path : found.path + ": " + found.reason);
        kept.push_back(std::move(found));
        return true;
    }
    void FolderListed(const std::string& path, size_t files) override {
        folders.push_back(path + " " + std::to_string(files));
        if (onFolder)
            onFolder(path);
    }

    std::vector<FoundFile> kept;
    std::vector<std::string> paths, folders;
    std::function<void(const std::string&)> onFolder;
};

// A subfolder removed after its parent was listed is reported in its place
// in the order, and the walk goes on with the next. The files stay openable
// by name in their folder after the walk has left it.
TEST(DirectoryWalk, FolderGoneSinceListingIsReportedInOrder) {
    TempTree tree{"a/", "b/", "c/", "top.jpg", "a/1.jpg", "c/3.jpg"};
    const std::string& r = tree.root;
    Collector collector;
    collector.onFolder = [&](const std::string& path) {
        if (path == r)
            std::filesystem::remove_all(r + "/b");
    };
    ASSERT_TRUE(WalkOperand(r, true, collector));
    EXPECT_EQ(collector.paths,
              (std::vector<std::string>{r + "/top.jpg", r + "/a/1.jpg",
                                        r + "/b: No such file or directory", r + "/c/3.jpg"}));
    EXPECT_EQ(collector.folders, (std::vector<std::string>{r + " 1", r + "/a 1", r + "/c 1"}));
    for (const FoundFile& found : collector.kept) {
        const int fd = found.IsFile() ? ::openat(found.FolderFd(), found.OpenName(), O_RDONLY) : 0;
        char text[16] = {};
        EXPECT_TRUE(!found.IsFile() || (fd > 0 && ::read(fd, text, 15) > 0)) << found.path;
        EXPECT_TRUE(!found.IsFile() || found.path == r + "/" + text) << found.path;
        if (fd > 0)
            ::close(fd);
    }
}

} // namespace
