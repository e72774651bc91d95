#include "tests/fixtures/ExifBuilder.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/tools/TestJson.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/ReportFormat.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// --all: every tag of each file, as lines, JSON objects or long CSV.

using namespace tooltest;

namespace {

// A photo with IFD0, an Exif directory, a GPS position and an XMP packet.
fixture::Bytes TaggedJpeg() {
    fixture::ExifBuilder exif;
    const int exifDir = exif.AddDirectory();
    const int gps = exif.AddDirectory();
    exif.Ascii(0, 0x010F, "Velmora").Rational(0, 0x011A, 72, 1);
    exif.Link(0, 0x8769, exifDir).Link(0, 0x8825, gps);
    exif.Rational(exifDir, 0x829A, 1, 250).Short(exifDir, 0x8827, 200);
    exif.Ascii(gps, 0x0001, "N");
    fixture::Entry latitude = fixture::MakeEntry(0x0002, fixture::kRational, 3, {});
    for (const uint32_t part : {48u, 1u, 51u, 1u, 2960u, 100u})
        for (const uint8_t byte : exif.U32(part))
            latitude.value.push_back(byte);
    exif.Add(gps, latitude);
    exif.Ascii(gps, 0x0003, "E").Rational(gps, 0x0004, 2, 1);

    const std::string header("http://ns.adobe.com/xap/1.0/", 29);
    const std::string packet = "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                               "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>"
                               "<rdf:Description xmlns:dc='http://purl.org/dc/elements/1.1/'>"
                               "<dc:subject><rdf:Bag><rdf:li>harbour</rdf:li></rdf:Bag>"
                               "</dc:subject></rdf:Description></rdf:RDF></x:xmpmeta>";
    fixture::Bytes xmp(header.begin(), header.end());
    xmp.insert(xmp.end(), packet.begin(), packet.end());
    return fixture::JpegBuilder().Soi().App1(exif).Segment(0xE1, xmp).Frame(8, 8).BareSos().Data();
}

const testjson::Value* TagNamed(const testjson::Value& tags, const std::string& name) {
    for (const testjson::Value& tag : tags.items)
        if (tag.Find("name")->text == name)
            return &tag;
    return nullptr;
}

} // namespace

TEST(ToolAllTags, TextListsEveryEntryAsGroupNameAndText) {
    TempDir dir;
    const std::string path = dir.Write("tagged.jpg", TaggedJpeg());
    const Output run = RunInProcess({"--all", path});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* line : {"IFD0:Make\tVelmora\n", "ExifIFD:ExposureTime\t1/250 s\n",
                             "ExifIFD:PhotographicSensitivity\t200\n",
                             "GPS:GPSLatitudeRef\tNorth\n", "XMP-dc:dc:subject[1]\tharbour\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " in\n" << run.out;
}

TEST(ToolAllTags, JsonGivesIdsAndValuesInTheirJsonShapes) {
    TempDir dir;
    const std::string path = dir.Write("tagged.jpg", TaggedJpeg());
    const Output run = RunInProcess({"--all", "--json", path});
    ASSERT_EQ(run.status, 0) << run.err;
    testjson::Value file;
    std::string error;
    ASSERT_TRUE(testjson::Parse(run.out, file, error)) << error << " in " << run.out;
    EXPECT_EQ(file.Find("path")->text, path);
    EXPECT_EQ(file.Find("format")->text, "jpeg");
    const testjson::Value& tags = *file.Find("tags");

    const testjson::Value* make = TagNamed(tags, "Make");
    ASSERT_NE(make, nullptr);
    EXPECT_EQ(make->Find("group")->text, "IFD0");
    EXPECT_EQ(make->Find("id")->number, 0x010F);
    EXPECT_EQ(make->Find("value")->text, "Velmora"); // ASCII without its zero

    // One rational: its quotient; several: a list of quotients.
    EXPECT_EQ(TagNamed(tags, "ExposureTime")->Find("value")->number, 0.004);
    const testjson::Value& latitude = *TagNamed(tags, "GPSLatitude")->Find("value");
    ASSERT_EQ(latitude.items.size(), 3u);
    EXPECT_EQ(latitude.items[2].number, 29.6);

    // XMP properties have names, not ids.
    const testjson::Value* subject = TagNamed(tags, "dc:subject[1]");
    ASSERT_NE(subject, nullptr);
    EXPECT_TRUE(subject->Find("id")->IsNull());
    EXPECT_EQ(subject->Find("group")->text, "XMP-dc");
}

TEST(ToolAllTags, CsvIsLongFormAndUnreadableFilesAreReported) {
    TempDir dir;
    const std::string path = dir.Write("tagged.jpg", TaggedJpeg());
    const Output csv = RunInProcess({"--all", "--csv", path});
    EXPECT_EQ(csv.out.rfind("path,group,name,value\n", 0), 0u) << csv.out;
    EXPECT_NE(csv.out.find(path + ",IFD0,XResolution,72\n"), std::string::npos) << csv.out;

    const Output missing = RunInProcess({"--all", "--json", dir.Path() + "/missing.jpg"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("\"error\":"), std::string::npos) << missing.out;
}

// The JSON of a group and of an id with a table's name is copied where it
// was written before: the copy must be what writing it afresh gives, for
// names of the tables met again under other ids (more than the copies are
// kept for) and groups, and for a name of the entry's own that reads alike.
TEST(ToolAllTags, JsonOfGroupsAndNamesMetAgainIsWhatWritingThemGives) {
    // Two names 4 KiB apart, whose copies are kept in the same places.
    static constexpr auto kTexts = [] {
        std::array<char, 4100> texts{};
        for (int i = 0; i < 4; ++i) {
            texts[i] = "Make"[i];
            texts[4096 + i] = "Mode"[i];
        }
        return texts;
    }();
    static constexpr std::string_view kNames[] = {{kTexts.data(), 4}, {kTexts.data() + 4096, 4}};
    struct Row {
        std::string group;
        int32_t id;
        std::string_view name;
        bool constant;
    };
    std::vector<Row> rows = {{"IFD1", 271, kNames[0], false}, {"IFD0", -1, kNames[0], true}};
    for (int32_t id = 0; id < 1500; ++id)
        for (std::string_view name : kNames)
            rows.push_back({id % 3 ? "IFD0" : "ExifIFD", id, name, true});
    FileReport report;
    std::string expected = "{\"path\":\"p\",\"format\":\"unknown\",\"tags\":[";
    for (const Row& row : rows) {
        MetadataEntry& e = report.tags.emplace_back();
        e.group = row.group;
        e.id = row.id;
        if (row.constant)
            e.name.SetConstant(row.name);
        else
            e.name = std::string(row.name);
        expected += std::string(report.tags.size() == 1 ? "" : ",") + "{\"group\":\"" + row.group +
                    "\",\"id\":" + (row.id < 0 ? "null" : std::to_string(row.id)) + ",\"name\":\"" +
                    std::string(row.name) + "\",\"value\":null,\"text\":\"\"}";
    }
    expected += "]}\n";
    const std::unique_ptr<ReportFormat> json = MakeAllTagsJsonFormat();
    for (int pass = 0; pass < 2; ++pass) {
        std::string out;
        json->File("p", report, out);
        EXPECT_EQ(out, expected) << pass;
    }
}
