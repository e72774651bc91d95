// velmora-tags --stats: the counts over a folder as text and as JSON, with
// --where, and the options it does not combine with.
#include "tests/fixtures/CameraPicture.h"
#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

using namespace tooltest;

namespace {

// a.jpg with a lens and an earlier date, sub/b.jpg of another make at ISO
// 1600, c.jpg without EXIF data.
class StatsFolder {
public:
    StatsFolder() {
        fixture::CameraPicture lensed = fixture::TypicalCamera();
        lensed.exif[0x9003] = fixture::Ascii("2019:06:01 08:00:00");
        lensed.exif[0xA434] = fixture::Ascii("Velmora 35mm F1.4");
        dir.Write("a.jpg", fixture::CameraJpeg(lensed));
        fixture::CameraPicture fast = fixture::TypicalCamera();
        fast.first[0x010F] = fixture::Ascii("Other");
        fast.exif[0x8827] = fixture::Short(1600);
        ::mkdir((dir.Path() + "/sub").c_str(), 0700);
        dir.Write("sub/b.jpg", fixture::CameraJpeg(fast));
        dir.Write("c.jpg", NoExifJpeg());
    }
    TempDir dir;
};

TEST(ToolStats, CountsEveryFileOnceAtTheEnd) {
    StatsFolder f;
    const Output json = RunInProcess({"-r", "--stats", "--json", f.dir.Path()});
    // The file without EXIF data counts by its format only, and makes the
    // status 1 as in a listing.
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(
        json.out,
        "{\"photos\": 2, \"charts\": {"
        "\"camera\": [{\"bin\": \"Other Test Camera 100\", \"count\": 1}, "
        "{\"bin\": \"Velmora Test Camera 100\", \"count\": 1}], "
        "\"lens\": [{\"bin\": \"Velmora 35mm F1.4\", \"count\": 1}], "
        "\"focal\": [{\"bin\": \"12 mm\", \"count\": 2}], "
        "\"aperture\": [{\"bin\": \"f/2.8\", \"count\": 2}], "
        "\"iso\": [{\"bin\": \"ISO 200\", \"count\": 1}, {\"bin\": \"ISO 1600\", \"count\": 1}], "
        "\"exposure\": [{\"bin\": \"1/125 s\", \"count\": 2}], "
        "\"day\": [{\"bin\": \"2019-06-01\", \"count\": 1}, "
        "{\"bin\": \"2026-12-07\", \"count\": 1}], "
        "\"hour\": [{\"bin\": \"08:00\", \"count\": 1}, {\"bin\": \"10:00\", \"count\": 1}], "
        "\"flash\": [{\"bin\": \"Fired\", \"count\": 2}], "
        "\"format\": [{\"bin\": \"JPEG\", \"count\": 3}]}}\n");

    const Output text = RunInProcess({"-r", "--stats", "--where", "iso:>=1000", f.dir.Path()});
    EXPECT_EQ(text.status, 0);
    const std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), 10u); // no lens
    EXPECT_EQ(lines[0], "Photos\t\t1");
    EXPECT_EQ(lines[1], "Cameras\tOther Test Camera 100\t1");
    EXPECT_EQ(lines[4], "ISO\tISO 1600\t1");
    EXPECT_EQ(lines[9], "Format\tJPEG\t1");
}

TEST(ToolStats, TakesNoOtherOutputForm) {
    for (const char* other : {"--csv", "--all", "-l", "-0"}) {
        const Output output = RunInProcess({"--stats", other, "x.jpg"});
        EXPECT_EQ(output.status, 2) << other;
        EXPECT_NE(output.err.find("--stats prints"), std::string::npos) << other;
    }
}

} // namespace
