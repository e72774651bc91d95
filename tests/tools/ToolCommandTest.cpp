// The tool's logic driven in this process: arguments, the walk, the three
// output formats and the exit status.
#include "presentation/FileInspection.h"
#include "presentation/TagRows.h"
#include "reading/DirectoryWalk.h"
#include "tests/tools/TestJson.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/JsonText.h"
#include "tools/Options.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace tooltest;

namespace {

testjson::Value ParseLine(const std::string& line) {
    testjson::Value value;
    std::string error;
    EXPECT_TRUE(testjson::Parse(line, value, error)) << error << " in " << line;
    return value;
}

std::vector<std::string> JsonPaths(const std::string& out) {
    std::vector<std::string> paths;
    for (const std::string& line : Lines(out))
        paths.push_back(ParseLine(line).Find("path")->text);
    return paths;
}

} // namespace

TEST(ToolArguments, FormatsOptionsAndOperands) {
    const char* argv[] = {"velmora-tags", "--json", "a.jpg", "-r", "--", "-r", "-"};
    Options options;
    std::string error;
    ASSERT_TRUE(ParseArguments(7, argv, options, error)) << error;
    EXPECT_EQ(options.format, Options::Format::Json);
    EXPECT_TRUE(options.recursive);
    EXPECT_EQ(options.operands, (std::vector<std::string>{"a.jpg", "-r", "-"}));

    const char* both[] = {"velmora-tags", "--csv", "--json", "a.jpg"};
    Options rejected;
    EXPECT_FALSE(ParseArguments(4, both, rejected, error));

    const char* unknown[] = {"velmora-tags", "-x", "a.jpg"};
    EXPECT_FALSE(ParseArguments(3, unknown, rejected, error));
    EXPECT_NE(error.find("-x"), std::string::npos);
}

TEST(ToolArguments, UsageErrorsHelpAndVersion) {
    Output none = RunInProcess({});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.out.empty());
    EXPECT_NE(none.err.find("--help"), std::string::npos);

    EXPECT_EQ(RunInProcess({"--bogus", "x.jpg"}).status, 2);

    Output help = RunInProcess({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: velmora-tags", 0), 0u);

    Output version = RunInProcess({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "velmora-tags 1.0.0\n");
}

TEST(ToolExitStatus, WorstFileDecides) {
    TempDir dir;
    const std::string exif = dir.Write("exif.jpg", ExifJpeg());
    const std::string plain = dir.Write("plain.jpg", NoExifJpeg());
    const std::string text = dir.Write("notes.jpg", {'h', 'i', '\n'});

    EXPECT_EQ(RunInProcess({exif, exif}).status, 0);
    EXPECT_EQ(RunInProcess({exif, plain}).status, 1);
    // A file that is not a JPEG at all has no EXIF data; it was still read.
    EXPECT_EQ(RunInProcess({text}).status, 1);

    Output missing = RunInProcess({plain, dir.Path() + "/gone.jpg", exif});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("gone.jpg: No such file or directory"), std::string::npos);
    // The files after the missing one are still read.
    EXPECT_NE(missing.out.find("exif.jpg:"), std::string::npos);

    // A folder is read only with -r.
    Output folder = RunInProcess({dir.Path()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_NE(folder.err.find("is a folder"), std::string::npos);
}

TEST(ToolWalk, FilesInNameOrderThenSubfoldersLinksNotFollowed) {
    TempDir dir;
    const std::string& root = dir.Path();
    ASSERT_EQ(::mkdir((root + "/sub").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((root + "/Another").c_str(), 0700), 0);
    for (const char* name : {"b.JPG", "a.jpeg", "C.jfif", "d.Jpe", "sub/e.jpg", "Another/x.jpg"})
        dir.Write(name, ExifJpeg());
    dir.Write("skip.txt", ExifJpeg());
    // Other photo formats are picked by their names too; the content decides.
    for (const char* name : {"f.HEIC", "g.cr3", "h.webp", "i.PNG", "j.tif", "k.dng", "l.jxl"})
        dir.Write(name, ExifJpeg());
    dir.Write("jpg", ExifJpeg());
    ASSERT_EQ(::symlink("a.jpeg", (root + "/link.jpg").c_str()), 0);
    ASSERT_EQ(::symlink(".", (root + "/loop.jpg").c_str()), 0);
    ASSERT_EQ(::symlink(".", (root + "/loop").c_str()), 0);

    Output walked = RunInProcess({"--json", "-r", root});
    EXPECT_EQ(walked.status, 0) << walked.err;
    EXPECT_EQ(JsonPaths(walked.out),
              (std::vector<std::string>{root + "/C.jfif", root + "/a.jpeg", root + "/b.JPG",
                                        root + "/d.Jpe", root + "/f.HEIC", root + "/g.cr3",
                                        root + "/h.webp", root + "/i.PNG", root + "/j.tif",
                                        root + "/k.dng", root + "/l.jxl", root + "/link.jpg",
                                        root + "/Another/x.jpg", root + "/sub/e.jpg"}));

    // Named files are read whatever their names.
    Output named = RunInProcess({"--json", "-r", root + "/skip.txt"});
    EXPECT_EQ(JsonPaths(named.out), std::vector<std::string>{root + "/skip.txt"});

    EXPECT_TRUE(HasPhotoExtension("x.JPEG"));
    EXPECT_TRUE(HasPhotoExtension("x.Rw2"));
    EXPECT_TRUE(HasPhotoExtension("clip.MOV"));
    EXPECT_TRUE(HasPhotoExtension("clip.3gp"));
    EXPECT_FALSE(HasPhotoExtension("x.jpg.txt"));
    EXPECT_FALSE(HasPhotoExtension("jpg"));
}

TEST(ToolText, RowsAsThePaneShowsThemWithBlocksForSeveralFiles) {
    TempDir dir;
    const std::string exif = dir.Write("exif.jpg", ExifJpeg());
    const std::string plain = dir.Write("plain.jpg", NoExifJpeg());

    FileReport report;
    std::string error;
    ASSERT_TRUE(InspectFile(exif.c_str(), report, error)) << error;
    std::string expected;
    for (const TagRow& row : BuildTagRows(report.record))
        expected += row.label + "\t" + row.value + "\n";
    ASSERT_FALSE(report.rows.empty());

    EXPECT_EQ(RunInProcess({exif}).out, expected);
    EXPECT_EQ(RunInProcess({exif, plain, exif}).out,
              exif + ":\n" + expected + "\n" + plain + ":\n\n" + exif + ":\n" + expected);
    // A walked folder may hold several files, so its blocks have headers.
    EXPECT_EQ(RunInProcess({"-r", dir.Path()}).out, exif + ":\n" + expected + "\n" + plain + ":\n");
}

TEST(ToolCsv, HeaderColumnsAndQuoting) {
    TempDir dir;
    const std::string quoted = dir.Write("a,\"b\".jpg", ExifWithComment("say \"hi\", then\nbye"));
    const std::string plain = dir.Write("plain.jpg", NoExifJpeg());

    Output csv = RunInProcess({"--csv", quoted, plain});
    EXPECT_EQ(csv.status, 1);
    std::string header = "path";
    for (const char* label : TagRowLabels())
        header += std::string(",") + label;
    const auto lines = Lines(csv.out);
    ASSERT_EQ(lines.size(), 4u); // the comment's line feed stays inside its quotes
    EXPECT_EQ(lines[0], header);
    const std::string quotedPath = "\"" + dir.Path() + "/a,\"\"b\"\".jpg\"";
    EXPECT_EQ(lines[1].rfind(quotedPath + ",Velmora,", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find(",\"8 ,8\",,,,No,"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].substr(lines[1].size() - 27), ",Baseline,\"say \"\"hi\"\", then");
    EXPECT_EQ(lines[2], " bye\"");
    // No EXIF data: every column empty.
    EXPECT_EQ(lines[3], plain + std::string(24, ','));
}

TEST(ToolJson, RecordSectionsThumbnailAndRows) {
    fixture::ExifBuilder exif;
    const int thumbnailDirectory = exif.AddDirectory();
    exif.Ascii(0, 0x010F, "Velmora").Rational(0, 0x829A, 1, 3).Next(0, thumbnailDirectory);
    exif.Long(thumbnailDirectory, 0x0201, 0).Long(thumbnailDirectory, 0x0202, 4);
    const uint32_t thumbAt = exif.Append({0xFF, 0xD8, 0xFF, 0xD9});
    exif.Set(thumbnailDirectory, 0x0201, exif.U32(thumbAt));
    fixture::JpegBuilder jpeg;
    jpeg.Soi().App0Jfif().App1(exif).FlatImage(64, 48, 1, 2, 3);
    TempDir dir;
    const std::string path = dir.Write("t.jpg", jpeg.Data());

    Output json = RunInProcess({"--json", path});
    ASSERT_EQ(json.status, 0) << json.err;
    ASSERT_EQ(Lines(json.out).size(), 1u);
    const testjson::Value line = ParseLine(Lines(json.out)[0]);
    EXPECT_EQ(line.Find("path")->text, path);
    EXPECT_TRUE(line.Find("readResult")->boolean);
    EXPECT_TRUE(line.Find("exifValid")->boolean);
    EXPECT_EQ(line.Find("printed")->items.size(), 0u);

    const auto& sections = line.Find("sections")->items;
    ASSERT_FALSE(sections.empty());
    EXPECT_EQ(sections.front().Find("marker")->number, 0xE1); // APP0 is not kept
    EXPECT_EQ(sections.back().Find("marker")->number, 0xDA);

    const testjson::Value& record = *line.Find("record");
    EXPECT_EQ(record.Find("cameraMake")->text, "Velmora");
    EXPECT_EQ(record.Find("width")->number, 64);
    EXPECT_EQ(std::strtof(record.Find("exposureTime")->text.c_str(), nullptr), 1.0f / 3);
    EXPECT_EQ(record.Find("thumbnailOffset")->number, thumbAt);
    EXPECT_EQ(record.Find("thumbnailLength")->number, 4);
    EXPECT_EQ(record.Find("thumbnailData"), nullptr);
    EXPECT_EQ(record.members.size(), 32u);

    const auto& rows = line.Find("rows")->items;
    FileReport report;
    std::string error;
    ASSERT_TRUE(InspectFile(path.c_str(), report, error));
    ASSERT_EQ(rows.size(), report.rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].items.at(0).text, report.rows[i].label);
        EXPECT_EQ(rows[i].items.at(1).text, report.rows[i].value);
    }
}

TEST(ToolJson, HostileValuesAndNamesStayValidJson) {
    fixture::ExifBuilder exif;
    exif.Ascii(0, 0x010F, std::string("\xFF\x01\"\\", 4))
        .Float(0, 0x829D, std::numeric_limits<float>::quiet_NaN())
        .Double(0, 0x9204, -std::numeric_limits<double>::infinity());
    fixture::JpegBuilder jpeg;
    jpeg.Soi().App1(exif).BareSos();
    TempDir dir;
    const std::string path = dir.Write("caf\xE9.jpg", jpeg.Data());

    Output json = RunInProcess({"--json", path, dir.Path() + "/missing.jpg"});
    EXPECT_EQ(json.status, 2);
    const auto lines = Lines(json.out);
    ASSERT_EQ(lines.size(), 2u);
    const testjson::Value first = ParseLine(lines[0]);
    // The name is not UTF-8: shown as Latin-1, given exactly in hex.
    EXPECT_EQ(first.Find("path")->text, dir.Path() + "/caf\xC3\xA9.jpg");
    EXPECT_EQ(first.Find("pathBytes")->text.substr(first.Find("pathBytes")->text.size() - 16),
              "636166e92e6a7067");
    const testjson::Value& record = *first.Find("record");
    EXPECT_EQ(record.Find("cameraMake")->text, "\xC3\xBF\x01\"\\");
    EXPECT_TRUE(record.Find("fNumber")->IsNull());
    EXPECT_TRUE(record.Find("exposureBias")->IsNull());

    const testjson::Value second = ParseLine(lines[1]);
    EXPECT_EQ(second.Find("error")->text, "No such file or directory");
    EXPECT_EQ(second.members.size(), 2u);
}

TEST(ToolJson, PrintedMessagesAreCollectedNotPrinted) {
    TempDir dir;
    const std::string path = dir.Write("eoi.jpg", ExifThenEndOfImage());

    testing::internal::CaptureStdout();
    Output json = RunInProcess({"--json", path});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(json.status, 0);
    const testjson::Value line = ParseLine(Lines(json.out).at(0));
    EXPECT_FALSE(line.Find("readResult")->boolean);
    EXPECT_TRUE(line.Find("exifValid")->boolean);
    ASSERT_EQ(line.Find("printed")->items.size(), 1u);
    EXPECT_EQ(line.Find("printed")->items[0].text, "No image in jpeg!\n");

    // The other formats leave their output clean and say it on standard error.
    Output csv = RunInProcess({"--csv", path});
    EXPECT_EQ(csv.out.find("No image"), std::string::npos);
    EXPECT_EQ(csv.err, "velmora-tags: " + path + ": No image in jpeg!\n");
}

TEST(ToolJsonText, EscapesAndRoundTrippingFloats) {
    std::string out;
    AppendJsonString(out, std::string("a\"\\\n\t\x1F\x7F\xC3\xA9", 9));
    EXPECT_EQ(out, "\"a\\\"\\\\\\n\\t\\u001f\x7F\xC3\xA9\"");
    out.clear();
    AppendJsonString(out, "\xE9t\xE9"); // not UTF-8: Latin-1
    EXPECT_EQ(out, "\"\xC3\xA9t\xC3\xA9\"");

    for (float value : {1.0f / 3, 0.008f, 1e-38f, 3.4028235e38f, -0.0f, 17.3397f}) {
        out.clear();
        AppendJsonFloat(out, value);
        EXPECT_EQ(std::strtof(out.c_str(), nullptr), value) << out;
    }
    out.clear();
    AppendJsonFloat(out, std::numeric_limits<float>::infinity());
    EXPECT_EQ(out, "null");
}

// Whole numbers take a short way; the text must stay the shortest one.
TEST(ToolJsonText, DoublesAsTheirShortestText) {
    std::vector<double> values = {0,       -0.0,  1,     -1,     72,     99999,   -99999,
                                  1e5,     -1e5,  10000, 20000,  123456, 1e6,     1e-7,
                                  1.0 / 3, 0.004, 4.15,  2.5e-5, 1e300,  4.9e-324};
    for (int v = -2000; v <= 2000; v += 37)
        values.push_back(v * 50);
    // Values of a few decimals take a short way too: the rationals cameras
    // write, decimals around each power of ten, and their neighbours.
    for (int num = 1; num <= 400; num += 3)
        for (int den : {1, 2, 3, 4, 5, 8, 10, 16, 25, 30, 100, 125, 1000, 1024})
            values.insert(values.end(), {double(num) / den, -double(num) / den});
    for (double unit : {1e-4, 1e-3, 1e-2, 0.1, 1.0, 1e3, 1e6, 1e9, 1e11, 1e12})
        for (int digits : {1, 5, 9, 10, 11, 99, 101, 999, 1001, 12345})
            for (double v : {unit * digits, unit * digits / 7})
                values.insert(values.end(), {v, std::nextafter(v, 0.0), std::nextafter(v, 1e300)});
    for (double v : values) {
        char expected[64];
        const auto result = std::to_chars(expected, expected + sizeof expected, v);
        std::string out;
        AppendJsonDouble(out, v);
        EXPECT_EQ(out, std::string(expected, result.ptr)) << v;
        char written[kJsonNumberRoom];
        const char* end = WriteJsonDouble(written, v);
        EXPECT_EQ(std::string(written, size_t(end - written)), out) << v;
    }
    std::string out;
    AppendJsonDouble(out, std::numeric_limits<double>::quiet_NaN());
    AppendJsonDouble(out, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(out, "nullnull");
    char written[kJsonNumberRoom];
    const char* end = WriteJsonDouble(written, std::numeric_limits<double>::infinity());
    EXPECT_EQ(std::string(written, size_t(end - written)), "null");
}

// The escapes are found eight bytes at a time: a byte that needs one is
// tried at every place of texts of every length around that width.
TEST(ToolJsonText, EscapesAtEveryPlaceOfEveryLength) {
    struct Case {
        char byte;
        const char* escaped;
    };
    const Case kCases[] = {{'"', "\\\""},        {'\\', "\\\\"},      {'\n', "\\n"},
                           {'\x01', "\\u0001"},  {'\x1F', "\\u001f"}, {'\x7F', "\x7F"},
                           {'\xE9', "\xC3\xA9"}, {' ', " "}};
    for (size_t length = 1; length <= 20; ++length) {
        for (size_t at = 0; at < length; ++at) {
            for (const Case& c : kCases) {
                std::string text(length, 'a');
                text[at] = c.byte;
                std::string expected = "\"" + std::string(at, 'a') + c.escaped +
                                       std::string(length - at - 1, 'a') + "\"";
                std::string out = "x";
                AppendJsonString(out, text);
                EXPECT_EQ(out, "x" + expected) << length << " " << at;
                char written[6 * 20 + 2];
                char* end = WriteJsonString(written, text);
                EXPECT_EQ(std::string(written, static_cast<size_t>(end - written)), expected)
                    << length << " " << at;
            }
        }
    }
    std::string out;
    AppendJsonString(out, "");
    EXPECT_EQ(out, "\"\"");
}

// A file a little over 64 KiB whose EXIF segment runs past its first 64 KiB:
// the segment is read again beyond the cached head, so the bytes counted
// against the read limit exceed the file's size. The limit is the reader's
// own, not the file's size.
TEST(ToolInspect, ExifSegmentPastTheHeadOfASmallFileIsRead) {
    fixture::ExifBuilder exif;
    const int exifDirectory = exif.AddDirectory();
    exif.Ascii(0, 0x010F, "Velmora").Link(0, 0x8769, exifDirectory);
    exif.Undefined(exifDirectory, 0x927C, fixture::Bytes(65000, 0x5A));
    fixture::JpegBuilder jpeg;
    jpeg.Soi().App0Jfif().Comment(std::string(1000, 'c')).App1(exif).FlatImage(64, 48, 1, 2, 3);
    ASSERT_GT(jpeg.Data().size(), 65536u);
    ASSERT_LT(jpeg.Data().size(), 2 * 65536u);
    TempDir dir;
    const std::string path = dir.Write("long-exif.jpg", jpeg.Data());

    FileReport report;
    std::string error;
    ASSERT_TRUE(InspectFile(path.c_str(), report, error)) << error;
    EXPECT_TRUE(report.record.exifValid) << report.lastError;
    EXPECT_STREQ(report.record.cameraMake, "Velmora");
    EXPECT_GT(report.bytesRead, jpeg.Data().size());
}

// A caller that keeps few of the files it reads (a search) decides once the
// record is read: a refused report gets no rows, lens or status; a kept
// one's status is the opened file's.
TEST(ToolInspect, RowsLensAndStatusOnlyForAKeptReport) {
    TempDir dir;
    const std::string path = dir.Write("a.jpg", ExifJpeg());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        InspectOptions options;
        options.lens = true;
        options.status = true;
        bool recordSeen = false;
        options.keep = [&](const FileReport& read) {
            recordSeen = read.record.exifValid && read.rows.empty();
            return keep;
        };
        FileReport report;
        std::string error;
        ASSERT_TRUE(InspectFile(path.c_str(), report, error, options)) << error;
        EXPECT_TRUE(recordSeen);
        EXPECT_EQ(report.rows.empty(), !keep);
        ASSERT_EQ(report.status.has_value(), keep);
        if (!keep)
            continue;
        EXPECT_EQ(report.status->size, uint64_t(info.st_size));
        EXPECT_EQ(report.status->modifiedMs,
                  int64_t(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000);
    }
}

// A folder walk opens each file by its name in the open folder, without
// asking its type again; a name that has since become a FIFO or a folder
// fails to read at once instead of blocking or passing for a photo.
TEST(ToolInspect, NamesInAnOpenFolderAndNamesThatChangedSinceTheListing) {
    TempDir dir;
    dir.Write("a.jpg", ExifJpeg());
    ASSERT_EQ(::mkfifo((dir.Path() + "/pipe.jpg").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((dir.Path() + "/folder.jpg").c_str(), 0700), 0);
    const int folder = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    InspectOptions options;
    options.folderFd = folder;
    options.knownRegular = true;

    FileReport report;
    std::string error;
    ASSERT_TRUE(InspectFile("a.jpg", report, error, options)) << error;
    EXPECT_TRUE(report.record.exifValid);
    for (const char* name : {"pipe.jpg", "folder.jpg", "missing.jpg"}) {
        SCOPED_TRACE(name);
        FileReport changed;
        EXPECT_FALSE(InspectFile(name, changed, error, options));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(changed.record.exifValid);
    }
    ::close(folder);
}
