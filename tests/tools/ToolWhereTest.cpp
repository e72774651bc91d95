// velmora-tags --where, -l and -0: the files a query finds, in every output
// form, the exit status, and what each query has read.
#include "presentation/query/Query.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/tools/TestJson.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/Options.h"
#include "tools/TagsCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

using namespace tooltest;

namespace {

// Two camera files and one without EXIF data: a.jpg with a lens and an
// early date, sub/b.jpg at ISO 1600, c.jpg plain.
class WhereFolder {
public:
    WhereFolder() {
        fixture::CameraPicture lensed = fixture::TypicalCamera();
        lensed.exif[0x9003] = fixture::Ascii("2019:06:01 08:00:00");
        lensed.exif[0xA434] = fixture::Ascii("Velmora 35mm F1.4");
        a = dir.Write("a.jpg", fixture::CameraJpeg(lensed));

        fixture::CameraPicture fast = fixture::TypicalCamera();
        fast.first[0x010F] = fixture::Ascii("Other");
        fast.exif[0x8827] = fixture::Short(1600);
        ::mkdir((dir.Path() + "/sub").c_str(), 0700);
        b = dir.Write("sub/b.jpg", fixture::CameraJpeg(fast));

        c = dir.Write("c.jpg", NoExifJpeg());
    }

    TempDir dir;
    std::string a, b, c;
};

Output Where(const std::string& query, std::vector<std::string> args) {
    args.insert(args.begin(), {"--where", query});
    return RunInProcess(args);
}

TEST(ToolWhere, ListsTheFilesFoundAndSaysWhetherAnyWas) {
    WhereFolder f;
    const std::string& root = f.dir.Path();
    struct Case {
        const char* query;
        std::string out;
        int status;
    };
    const Case cases[] = {
        {"iso:>=1000", f.b + "\n", 0},
        {"lens:35mm", f.a + "\n", 0},         // EXIF LensModel, among every tag
        {"camera -lens:f1.4", f.b + "\n", 0}, // free words read every tag too
        {"date:2019 OR make:other", f.a + "\n" + f.b + "\n", 0},
        {"-make:velmora", f.c + "\n" + f.b + "\n", 0}, // no make: not Velmora's
        {"camera:nobody", "", 1},
        {"", f.a + "\n" + f.c + "\n" + f.b + "\n", 0},
    };
    for (const Case& c : cases) {
        const Output listed = Where(c.query, {"-r", "-l", root});
        EXPECT_EQ(listed.out, c.out) << c.query;
        EXPECT_EQ(listed.status, c.status) << c.query;
        EXPECT_EQ(listed.err, "") << c.query;
    }

    std::string nulEnded = f.a + '\0' + f.b + '\0';
    EXPECT_EQ(Where("date:2019 OR iso:1600", {"-r", "-0", root}).out, nulEnded);
}

TEST(ToolWhere, EveryOutputFormHoldsTheMatchingFilesOnly) {
    WhereFolder f;
    const std::string& root = f.dir.Path();

    // Text: the block the file has without --where.
    const Output alone = RunInProcess({f.b});
    EXPECT_EQ(Where("iso:1600", {"-r", root}).out, f.b + ":\n" + alone.out);
    EXPECT_EQ(Where("iso:1600", {f.b}).out, alone.out);

    const Output csv = Where("iso:1600", {"-r", "--csv", root});
    const std::vector<std::string> lines = Lines(csv.out);
    ASSERT_EQ(lines.size(), 2u) << csv.out;
    EXPECT_EQ(lines[0], Lines(RunInProcess({"--csv", f.b}).out)[0]); // the header
    EXPECT_EQ(lines[1].rfind(f.b + ",", 0), 0u);

    const Output json = Where("lens:velmora", {"-r", "--json", root});
    EXPECT_EQ(json.out, RunInProcess({"--json", f.a}).out);

    // Every tag of the one file, though the query read them for all.
    const Output all = Where("lens:velmora", {"-r", "--all", "--json", root});
    EXPECT_EQ(all.out, RunInProcess({"--all", "--json", f.a}).out);
    EXPECT_EQ(all.status, 0);
}

TEST(ToolWhere, ErrorsOutweighMatches) {
    WhereFolder f;
    // The missing file is reported on stderr, never in the filtered output.
    const Output missing = Where("iso:1600", {"--json", f.b, f.dir.Path() + "/gone.jpg"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, RunInProcess({"--json", f.b}).out);
    EXPECT_NE(missing.err.find("gone.jpg"), std::string::npos);

    // A file without EXIF data that does not match raises nothing.
    EXPECT_EQ(Where("iso:1600", {f.b, f.c}).status, 0);
}

TEST(ToolWhere, BadQueryIsAUsageErrorThatSaysWhere) {
    WhereFolder f;
    const Output bad = Where("iso:>=x lens:50", {"-r", f.dir.Path()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "velmora-tags: --where: at character 7: 'x' is not a number\n"
                       "  iso:>=x lens:50\n"
                       "        ^\n");

    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--where"}, "--where needs a query"},
        {{"--where", "a", "--where", "b", "x.jpg"}, "only one --where"},
        {{"-l", "--csv", "x.jpg"}, "paths only"},
        {{"-0", "--all", "x.jpg"}, "paths only"},
        {{"--json", "-l", "x.jpg"}, "paths only"},
    };
    for (const Case& c : cases) {
        const Output usage = RunInProcess(c.args);
        EXPECT_EQ(usage.status, 2) << c.says;
        EXPECT_NE(usage.err.find(c.says), std::string::npos) << usage.err;
    }
    const Output equals = RunInProcess({"--where=iso:1600", "-l", f.b});
    EXPECT_EQ(equals.out, f.b + "\n");
}

TEST(ToolWhere, RecordQueriesReadAsTheRowsDo) {
    struct Case {
        std::vector<std::string> args;
        bool allTags;
        bool rows;
    };
    const Case cases[] = {
        {{"x"}, false, true},
        {{"--where", "iso:100 date:2023 camera:x format:raw", "x"}, false, true},
        {{"--where", "iso:100 date:2023", "-l", "x"}, false, false},
        {{"--where", "iso:100 lens:50", "x"}, true, true},
        {{"--where", "tokyo", "--csv", "x"}, true, true},
        {{"--where", "gps:yes", "-0", "x"}, true, false},
        {{"--where", "iso:100", "--all", "x"}, true, false},
        {{"--all", "x"}, true, false},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"velmora-tags"};
        for (const std::string& arg : c.args)
            argv.push_back(arg.c_str());
        Options options;
        std::string error;
        ASSERT_TRUE(ParseArguments(static_cast<int>(argv.size()), argv.data(), options, error))
            << error;
        Query query;
        QueryError fault;
        ASSERT_TRUE(Query::Parse(options.where, query, fault)) << fault.Message();
        const InspectOptions reading = ReadingFor(options, options.filtered ? &query : nullptr);
        EXPECT_EQ(reading.allTags, c.allTags) << c.args.front() << " " << c.args[1];
        EXPECT_EQ(reading.rows, c.rows) << c.args.front() << " " << c.args[1];
    }
}

} // namespace
