// velmora-tags reads several files at once; what it writes must be what
// reading them one after another writes, in the walk's order.
#include "presentation/InspectFoundFile.h"
#include "reading/ReadOperands.h"
#include "reading/ReadingPool.h"
#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tooltest;

std::string Corpus() {
    const char* place = std::getenv("VELMORA_CORPUS");
    return place != nullptr && *place != '\0' ? place : VELMORA_CORPUS_DIR;
}

// Every form of output, and queries on the record and on every tag.
const std::vector<std::vector<std::string>> kForms = {
    {},
    {"--csv"},
    {"--json"},
    {"--all"},
    {"--all", "--json"},
    {"--all", "--csv"},
    {"-l"},
    {"-0"},
    {"--where", "camera:canon"},
    {"--where", "iso:>=400 OR f:<4", "--csv"},
    {"--where", "gps:yes", "--all", "--json"},
    {"--where", "keyword:a", "-l"},
    {"--where", "-lens:50", "-0"},
    {"--where", "format:raw date:2000..2030", "--json"},
};

TEST(ToolReaders, SameOutputAsOneReaderOverTheCorpora) {
    const std::string corpus = Corpus();
    struct stat info {};
    if (::stat(corpus.c_str(), &info) != 0)
        GTEST_SKIP() << "no corpus at " << corpus;
    for (const std::vector<std::string>& form : kForms) {
        std::vector<std::string> args = form;
        args.insert(args.end(), {"-r", corpus});
        std::vector<std::string> one = args;
        one.insert(one.begin(), {"--readers", "1"});
        const Output alone = RunInProcess(one);
        ASSERT_FALSE(alone.out.empty());
        for (const char* readers : {"8", "3"}) {
            std::vector<std::string> many = args;
            many.insert(many.begin(), {"--readers", readers});
            const Output together = RunInProcess(many);
            SCOPED_TRACE(testing::PrintToString(many));
            EXPECT_EQ(together.status, alone.status);
            EXPECT_TRUE(together.out == alone.out); // not printed: megabytes
            EXPECT_EQ(together.err, alone.err);
        }
    }
}

TEST(ToolReaders, ReadersCountIsChecked) {
    for (const char* count : {"0", "65", "x", "", "8x"}) {
        const Output bad = RunInProcess({"--readers", count, "a.jpg"});
        EXPECT_EQ(bad.status, 2) << count;
        EXPECT_NE(bad.err.find("--readers needs a number"), std::string::npos) << count;
    }
    EXPECT_EQ(RunInProcess({"--readers"}).status, 2);
}

// Files read by the pool as the tool reads them, keeping what each gave.
class InspectJob final : public FileJob {
public:
    void Read(const FoundFile& file, size_t slot) override {
        FileReport report;
        std::string error;
        m_results[slot] = InspectFoundFile(file, report, error)
                              ? std::string(report.record.exifValid ? "exif" : "no exif")
                              : error;
    }
    void Deliver(const FoundFile& file, size_t slot) override {
        const size_t slash = file.path.rfind('/');
        seen.push_back(file.path.substr(slash + 1) + ": " + m_results[slot]);
    }
    void Resize(size_t slots) { m_results.resize(slots); }

    std::vector<std::string> seen;

private:
    std::vector<std::string> m_results;
};

// Names listed as photos that vanish or turn into a FIFO or a folder before
// a reader reaches them fail with the reason, in their place, without
// blocking; the files around them are read.
TEST(ToolReaders, FilesChangedBetweenListingAndReading) {
    TempDir dir;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        dir.Write(name, ExifJpeg());
    const std::string& root = dir.Path();
    InspectJob job;
    ReadingSettings settings;
    settings.threads = 4;
    ReadingPool pool(job, settings);
    job.Resize(pool.Window());
    const auto changeListed = [&](const std::string&, size_t) {
        ASSERT_EQ(::unlink((root + "/b.jpg").c_str()), 0);
        ASSERT_EQ(::unlink((root + "/c.jpg").c_str()), 0);
        ASSERT_EQ(::mkfifo((root + "/c.jpg").c_str(), 0600), 0);
        ASSERT_EQ(::unlink((root + "/d.jpg").c_str()), 0);
        ASSERT_EQ(::mkdir((root + "/d.jpg").c_str(), 0700), 0);
    };
    ASSERT_TRUE(ReadOperands(pool, {root}, true, changeListed));
    ASSERT_EQ(job.seen.size(), 5u);
    EXPECT_EQ(job.seen[0], "a.jpg: exif");
    EXPECT_EQ(job.seen[1], "b.jpg: No such file or directory");
    EXPECT_EQ(job.seen[2], "c.jpg: read error: Illegal seek");
    EXPECT_EQ(job.seen[3], "d.jpg: read error: Is a directory");
    EXPECT_EQ(job.seen[4], "e.jpg: exif");
}

} // namespace
