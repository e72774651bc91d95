// velmora-tags --stats: a folder's counts as JSON and as text, with
// --where, and the output forms it does not combine with.
#include "tests/fixtures/CameraPicture.h"
#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tooltest;

namespace {

TEST(ToolStats, CountsEveryFileOnceAtTheEnd) {
    // Two camera files, one of them at ISO 1600 in a subfolder, and one
    // without EXIF data.
    TempDir dir;
    fixture::CameraPicture fast = fixture::TypicalCamera();
    fast.exif[0x8827] = fixture::Short(1600);
    ::mkdir((dir.Path() + "/sub").c_str(), 0700);
    dir.Write("sub/b.jpg", fixture::CameraJpeg(fast));
    dir.Write("a.jpg", fixture::CameraLikeJpeg());
    dir.Write("c.jpg", NoExifJpeg());

    const Output json = RunInProcess({"-r", "--stats", "--json", dir.Path()});
    EXPECT_EQ(json.status, 1); // as a listing: a file without EXIF data
    EXPECT_EQ(json.out,
              "{\"photos\": 2, \"charts\": {\"camera\": [{\"bin\": \"Velmora Test Camera 100\", "
              "\"count\": 2}], \"lens\": [], \"focal\": [{\"bin\": \"12 mm\", \"count\": 2}], "
              "\"aperture\": [{\"bin\": \"f/2.8\", \"count\": 2}], \"iso\": [{\"bin\": \"ISO "
              "200\", \"count\": 1}, {\"bin\": \"ISO 1600\", \"count\": 1}], \"exposure\": "
              "[{\"bin\": \"1/125 s\", \"count\": 2}], \"day\": [{\"bin\": \"2026-12-07\", "
              "\"count\": 2}], \"hour\": [{\"bin\": \"10:00\", \"count\": 2}], \"flash\": "
              "[{\"bin\": \"Fired\", \"count\": 2}], \"format\": [{\"bin\": \"JPEG\", "
              "\"count\": 3}]}}\n");

    const Output text = RunInProcess({"-r", "--stats", "--where", "iso:>=1000", dir.Path()});
    EXPECT_EQ(text.status, 0);
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 10u); // no lens
    EXPECT_EQ(lines[0], "Photos\t\t1");
    EXPECT_EQ(lines[4], "ISO\tISO 1600\t1");
}

TEST(ToolStats, TakesNoOtherOutputForm) {
    for (const char* other : {"--csv", "--all", "-l", "-0"}) {
        const Output output = RunInProcess({"--stats", other, "x.jpg"});
        EXPECT_EQ(output.status, 2) << other;
        EXPECT_NE(output.err.find("--stats prints"), std::string::npos) << other;
    }
}

} // namespace
