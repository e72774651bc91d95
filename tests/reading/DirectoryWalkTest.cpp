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
        return kept.size() < stopAfter;
    }
    void FolderListed(const std::string& path, size_t files) override {
        folders.push_back(path + " " + std::to_string(files));
        if (onFolder)
            onFolder(path);
    }
    bool Stopped() const override { return stopped; }

    std::vector<FoundFile> kept;
    std::vector<std::string> paths, folders;
    std::function<void(const std::string&)> onFolder;
    size_t stopAfter = 1000;
    bool stopped = false;
};

// The files stay openable by name in their folder after the walk has left
// it, and the folder is closed with the last of them.
TEST(DirectoryWalk, FilesOpenInTheirFolderAfterTheWalkMovedOn) {
    TempTree tree{"a/", "b/", "a/1.jpg", "b/2.jpg"};
    Collector collector;
    ASSERT_TRUE(WalkOperand(tree.root, true, collector));
    ASSERT_EQ(collector.kept.size(), 2u);
    int folderFd = -1;
    for (const FoundFile& found : collector.kept) {
        folderFd = found.FolderFd();
        const int fd = ::openat(folderFd, found.OpenName(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << found.path;
        char text[16] = {};
        EXPECT_GT(::read(fd, text, sizeof text - 1), 0);
        EXPECT_EQ(found.path, tree.root + "/" + text);
        EXPECT_TRUE(found.listedRegular);
        ::close(fd);
    }
    collector.kept.clear();
    EXPECT_EQ(::fcntl(folderFd, F_GETFD), -1);
}

// A subfolder removed after its parent was listed is reported in its place
// in the order, and the walk goes on with the next.
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
}

TEST(DirectoryWalk, StopsWhereAsked) {
    struct Case {
        size_t stopAfter;      // Visit returns false after this many
        bool stoppedInListing; // Stopped() turns true once the first folder is listed
        size_t visited;
    };
    for (const Case c : {Case{1, false, 1}, Case{2, false, 2}, Case{1000, true, 2}}) {
        TempTree tree{"sub/", "1.jpg", "2.jpg", "sub/3.jpg"};
        Collector collector;
        collector.stopAfter = c.stopAfter;
        if (c.stoppedInListing)
            collector.onFolder = [&](const std::string&) { collector.stopped = true; };
        EXPECT_FALSE(WalkOperand(tree.root, true, collector));
        EXPECT_EQ(collector.kept.size(), c.visited);
        EXPECT_EQ(collector.folders.size(), 1u);
    }
}

} // namespace
