// The built velmora-tags started as a process: exit statuses, streams, and
// that a FIFO never makes it wait.
#include "tests/tools/TestJson.h"
#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tooltest;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Finished {
    bool timedOut = false;
    Output output;
};

// Runs the executable with its output in files of `dir`, killing it after
// `limit`.
Finished Spawn(const TempDir& dir, const std::vector<std::string>& args,
               std::chrono::seconds limit = std::chrono::seconds(10)) {
    const std::string outPath = dir.Path() + "/.stdout";
    const std::string errPath = dir.Path() + "/.stderr";
    std::vector<char*> argv{const_cast<char*>(VELMORA_TAGS_EXECUTABLE)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    Finished result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result.timedOut = true;
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.output.out = ReadAll(outPath);
    result.output.err = ReadAll(errPath);
    return result;
}

} // namespace

TEST(ToolProcess, ExitStatusesAndStreams) {
    TempDir dir;
    const std::string exif = dir.Write("exif.jpg", ExifJpeg());
    const std::string plain = dir.Write("plain.jpg", NoExifJpeg());

    const Finished all = Spawn(dir, {exif});
    ASSERT_FALSE(all.timedOut);
    EXPECT_EQ(all.output.status, 0);
    EXPECT_NE(all.output.out.find("Camera make\tVelmora\n"), std::string::npos);
    EXPECT_EQ(all.output.err, "");

    EXPECT_EQ(Spawn(dir, {exif, plain}).output.status, 1);

    const Finished missing = Spawn(dir, {exif, dir.Path() + "/gone.jpg"});
    EXPECT_EQ(missing.output.status, 2);
    EXPECT_EQ(missing.output.err,
              "velmora-tags: " + dir.Path() + "/gone.jpg: No such file or directory\n");

    EXPECT_EQ(Spawn(dir, {"--nonsense"}).output.status, 2);
    EXPECT_EQ(Spawn(dir, {"--version"}).output.out, "velmora-tags 1.0.0\n");
}

TEST(ToolProcess, FifoAndDeviceAreRefusedWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.Path() + "/pipe.jpg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string exif = dir.Write("exif.jpg", ExifJpeg());

    // Nobody ever writes to the FIFO: opening it for reading would wait
    // forever. Named, it is refused; in a walk only regular files count.
    for (const auto& args : {std::vector<std::string>{fifo, "/dev/zero", exif},
                             std::vector<std::string>{"-r", dir.Path()}}) {
        const Finished run = Spawn(dir, args, std::chrono::seconds(5));
        ASSERT_FALSE(run.timedOut) << "blocked on the FIFO";
        if (args.front() == "-r") {
            EXPECT_EQ(run.output.status, 0);
            EXPECT_EQ(run.output.err, "");
            EXPECT_EQ(run.output.out.find("pipe.jpg"), std::string::npos);
            EXPECT_NE(run.output.out.find("exif.jpg:"), std::string::npos);
        } else {
            EXPECT_EQ(run.output.status, 2);
            EXPECT_NE(run.output.err.find("pipe.jpg: not a regular file"), std::string::npos);
            EXPECT_NE(run.output.err.find("/dev/zero: not a regular file"), std::string::npos);
            EXPECT_NE(run.output.out.find("Camera make\tVelmora"), std::string::npos);
        }
    }
}

TEST(ToolProcess, JsonLinesStayValidAndCarryPrintedMessages) {
    TempDir dir;
    fixture::JpegBuilder padded;
    padded.Soi().Raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xE1});
    const std::vector<std::string> files = {
        dir.Write("a.jpg", ExifJpeg()), dir.Write("b.jpg", ExifThenEndOfImage()),
        dir.Write("c.jpg", padded.Data()), dir.Write("d.jpg", NoExifJpeg())};

    const Finished run = Spawn(dir, {"--json", "-r", dir.Path()});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.output.status, 1);
    EXPECT_EQ(run.output.err, "");
    const auto lines = Lines(run.output.out);
    ASSERT_EQ(lines.size(), files.size());
    std::vector<std::string> printed;
    for (const std::string& line : lines) {
        testjson::Value value;
        std::string error;
        ASSERT_TRUE(testjson::Parse(line, value, error)) << error << ": " << line;
        for (const auto& message : value.Find("printed")->items)
            printed.push_back(message.text);
    }
    EXPECT_EQ(printed, (std::vector<std::string>{"No image in jpeg!\n",
                                                 "too many padding unsigned chars\n"}));
}

TEST(ToolProcess, CsvQuotesFieldsAcrossLines) {
    TempDir dir;
    const std::string path = dir.Write("x.jpg", ExifWithComment("one, \"two\"\nthree"));
    const Finished run = Spawn(dir, {"--csv", path});
    EXPECT_EQ(run.output.status, 0);
    const std::string tail = ",\"one, \"\"two\"\"\n three\"\n";
    ASSERT_GE(run.output.out.size(), tail.size());
    EXPECT_EQ(run.output.out.substr(run.output.out.size() - tail.size()), tail);
}
