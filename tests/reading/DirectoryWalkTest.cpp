#include "reading/DirectoryWalk.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class TempTree {
public:
    TempTree() {
        std::string pattern = std::filesystem::temp_directory_path() / "velmora-walk-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr)
            m_root = pattern;
    }
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    const std::string& Root() const { return m_root; }
    void File(const std::string& name, const std::string& text = "x") const {
        std::FILE* file = std::fopen((m_root + "/" + name).c_str(), "wb");
        ASSERT_NE(file, nullptr) << name;
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
    void Folder(const std::string& name) const {
        ASSERT_EQ(::mkdir((m_root + "/" + name).c_str(), 0700), 0) << name;
    }

private:
    std::string m_root;
};

// Keeps everything the walk hands on; `onFolder` may change the tree while
// the walk goes.
class Collector : public FileVisitor {
public:
    bool Visit(FoundFile&& found) override {
        found.IsFile() ? paths.push_back(found.path)
                       : paths.push_back("unlistable " + found.path + ": " + found.reason);
        kept.push_back(std::move(found));
        return kept.size() < stopAfter;
    }
    void FolderListed(const std::string& path, size_t files) override {
        folders.push_back(path + " " + std::to_string(files));
        if (onFolder)
            onFolder(path);
    }
    bool Stopped() const override { return stopped || ++m_stopChecks > stopAtCheck; }

    std::vector<FoundFile> kept;
    std::vector<std::string> paths;
    std::vector<std::string> folders;
    std::function<void(const std::string&)> onFolder;
    size_t stopAfter = 1000000;
    bool stopped = false;
    int stopAtCheck = 1000000;

private:
    mutable int m_stopChecks = 0;
};

// The files stay openable by name in their folder after the walk has left
// it, and the folder is closed with the last of them.
TEST(DirectoryWalk, FilesOpenInTheirFolderAfterTheWalkMovedOn) {
    TempTree tree;
    tree.Folder("a");
    tree.Folder("b");
    tree.File("a/1.jpg", "one");
    tree.File("b/2.jpg", "two");
    Collector collector;
    ASSERT_TRUE(WalkOperand(tree.Root(), true, collector));
    ASSERT_EQ(collector.kept.size(), 2u);
    const std::string texts[] = {"one", "two"};
    int folderFd = -1;
    for (size_t i = 0; i < 2; ++i) {
        const FoundFile& found = collector.kept[i];
        ASSERT_GE(found.FolderFd(), 0);
        EXPECT_STREQ(found.OpenName(), i == 0 ? "1.jpg" : "2.jpg");
        EXPECT_TRUE(found.listedRegular);
        const int fd = ::openat(found.FolderFd(), found.OpenName(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        char text[8] = {};
        EXPECT_EQ(::read(fd, text, sizeof text), 3);
        EXPECT_EQ(text, texts[i]);
        ::close(fd);
        folderFd = found.FolderFd();
    }
    collector.kept.clear();
    EXPECT_EQ(::fcntl(folderFd, F_GETFD), -1);
}

// An operand is opened by its whole path; a folder operand without -r is a
// file to the walk (the reader then says it is a folder).
TEST(DirectoryWalk, OperandsAreFilesByTheirPaths) {
    TempTree tree;
    tree.File("notes.txt");
    for (const std::string& operand : {tree.Root() + "/notes.txt", tree.Root()}) {
        Collector collector;
        ASSERT_TRUE(WalkOperand(operand, operand != tree.Root(), collector));
        ASSERT_EQ(collector.kept.size(), 1u);
        EXPECT_EQ(collector.kept[0].FolderFd(), -1);
        EXPECT_EQ(std::string(collector.kept[0].OpenName()), operand);
    }
}

// A subfolder removed after its parent was listed is reported in its place
// in the order, and the walk goes on with the next.
TEST(DirectoryWalk, FolderGoneSinceListingIsReportedInOrder) {
    TempTree tree;
    for (const char* folder : {"a", "b", "c"})
        tree.Folder(folder);
    tree.File("top.jpg");
    tree.File("a/1.jpg");
    tree.File("c/3.jpg");
    Collector collector;
    collector.onFolder = [&](const std::string& path) {
        if (path == tree.Root())
            std::filesystem::remove_all(tree.Root() + "/b");
    };
    ASSERT_TRUE(WalkOperand(tree.Root(), true, collector));
    const std::string& r = tree.Root();
    EXPECT_EQ(collector.paths,
              (std::vector<std::string>{r + "/top.jpg", r + "/a/1.jpg",
                                        "unlistable " + r + "/b: No such file or directory",
                                        r + "/c/3.jpg"}));
    EXPECT_EQ(collector.folders, (std::vector<std::string>{r + " 1", r + "/a 1", r + "/c 1"}));
}

struct StopCase {
    const char* name;
    size_t stopAfter;      // Visit returns false after this many
    bool stoppedInListing; // Stopped() turns true when the first folder is listed
    size_t visited;
    size_t foldersListed;
};

class WalkStop : public testing::TestWithParam<StopCase> {};

TEST_P(WalkStop, StopsWhereAsked) {
    const StopCase c = GetParam();
    TempTree tree;
    tree.Folder("sub");
    tree.File("1.jpg");
    tree.File("2.jpg");
    tree.File("sub/3.jpg");
    Collector collector;
    collector.stopAfter = c.stopAfter;
    if (c.stoppedInListing)
        collector.onFolder = [&](const std::string&) { collector.stopped = true; };
    EXPECT_FALSE(WalkOperand(tree.Root(), true, collector));
    EXPECT_EQ(collector.kept.size(), c.visited);
    EXPECT_EQ(collector.folders.size(), c.foldersListed);
}

INSTANTIATE_TEST_SUITE_P(Cases, WalkStop,
                         testing::Values(StopCase{"FirstFile", 1, false, 1, 1},
                                         StopCase{"LastFileOfAFolder", 2, false, 2, 1},
                                         StopCase{"BetweenFolders", 1000, true, 2, 1}),
                         [](const testing::TestParamInfo<StopCase>& info) {
                             return info.param.name;
                         });

// A long listing is given up part-way once the walk is stopped.
TEST(DirectoryWalk, StoppedDuringALongListing) {
    TempTree tree;
    for (int i = 0; i < 600; ++i)
        tree.File("n" + std::to_string(i) + ".txt");
    Collector collector;
    collector.stopAtCheck = 1; // the look before the folder, then one in its listing
    EXPECT_FALSE(WalkOperand(tree.Root(), true, collector));
    EXPECT_TRUE(collector.folders.empty());
}

} // namespace
