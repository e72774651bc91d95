// velmora-tags --stats over the dev folder of the corpus, against the same
// counts worked out from exiftool's readings; and every bin's query, held
// against the files read, finding exactly the bin's photos in every folder.
// Skipped without the corpus.
#include "presentation/CameraName.h"
#include "presentation/FileInspection.h"
#include "presentation/overview/PhotoStats.h"
#include "presentation/overview/StatsStops.h"
#include "presentation/query/Query.h"
#include "tests/corpus/ReferenceReading.h"
#include "tests/tools/ToolTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <dirent.h>
#include <map>
#include <sys/stat.h>

namespace {

using Counts = std::map<std::string, uint64_t>;

// The files of one folder of the corpus that have a reading beside them.
struct CorpusFolder {
    std::string folder;
    std::vector<std::string> names;
    std::vector<ReferenceReading> readings;
};

bool LoadCorpusFolder(CorpusFolder& out, const char* set) {
    const char* place = std::getenv("VELMORA_CORPUS");
    const std::string corpus = place != nullptr && *place != '\0' ? place : VELMORA_CORPUS_DIR;
    out.folder = corpus + "/" + set + "/";
    DIR* dir = ::opendir(out.folder.c_str());
    if (dir == nullptr)
        return false;
    while (const dirent* entry = ::readdir(dir)) {
        ReferenceReading reading;
        std::string error;
        if (entry->d_name[0] != '.' &&
            reading.Load(corpus + "/" + set + "-oracle/" + entry->d_name + ".num.json", error)) {
            out.names.push_back(entry->d_name);
            out.readings.push_back(std::move(reading));
        }
    }
    ::closedir(dir);
    return !out.names.empty();
}

// The charts exiftool's readings give, for those the record reads alike.
std::map<std::string, Counts> ExpectedCharts(const CorpusFolder& dev, uint64_t& photos) {
    std::map<std::string, Counts> charts;
    photos = 0;
    for (const ReferenceReading& r : dev.readings) {
        ++charts["format"]["JPEG"];
        // Read with metadata: an EXIF block with its first directory.
        if (!r.HasGroup("IFD0"))
            continue;
        ++photos;
        const std::string camera =
            CameraName(r.Text("IFD0:Make").value_or(""), r.Text("IFD0:Model").value_or(""));
        if (!camera.empty())
            ++charts["camera"][camera];
        // The record reads the APEX values where the plain ones are missing.
        double f = r.Number("ExifIFD:FNumber").value_or(0);
        if (f <= 0)
            f = r.Number("ExifIFD:ApertureValue").value_or(0);
        if (f > 0)
            ++charts["aperture"][ApertureStepLabel(ApertureStep(std::floor(f * 10 + 0.5) / 10))];
        double t = r.Number("ExifIFD:ExposureTime").value_or(0);
        if (t <= 0)
            t = r.Number("ExifIFD:ShutterSpeedValue").value_or(0);
        if (t > 0)
            ++charts["exposure"]
                    [ExposureStepLabel(ExposureStep(t <= 0.5 ? 1 / std::floor(1 / t + 0.5) : t))];
        if (const double iso = r.Number("ExifIFD:ISO").value_or(0); iso > 0)
            ++charts["iso"][IsoStepLabel(IsoStep(iso))];
        // The fired bit; a photo without the tag reads as not fired.
        const auto flash = static_cast<int>(r.Number("ExifIFD:Flash").value_or(0));
        ++charts["flash"][(flash & 1) != 0 ? "Fired" : "Not fired"];
        const std::string date = r.Text("ExifIFD:DateTimeOriginal").value_or("");
        // A camera without a clock writes blanks.
        if (date.size() >= 10 && date[0] >= '0' && date[0] <= '9' && date.substr(0, 4) != "0000") {
            ++charts["day"][date.substr(0, 4) + "-" + date.substr(5, 2) + "-" + date.substr(8, 2)];
            if (date.size() >= 13)
                ++charts["hour"][date.substr(11, 2) + ":00"];
        }
    }
    return charts;
}

TEST(ToolStatsCorpus, CountsAgreeWithExiftoolsReadings) {
    CorpusFolder dev;
    if (!LoadCorpusFolder(dev, "dev"))
        GTEST_SKIP() << "no corpus";
    std::vector<std::string> args = {"--stats", "--json"};
    for (const std::string& name : dev.names)
        args.push_back(dev.folder + name);
    const tooltest::Output output = tooltest::RunInProcess(args);
    testjson::Value json;
    std::string error;
    ASSERT_TRUE(testjson::Parse(output.out, json, error)) << error;
    uint64_t photos = 0;
    const std::map<std::string, Counts> expected = ExpectedCharts(dev, photos);
    EXPECT_EQ(json.Find("photos")->number, double(photos));
    const testjson::Value* charts = json.Find("charts");
    ASSERT_NE(charts, nullptr);
    for (const auto& [key, counts] : expected) {
        Counts printed;
        for (const testjson::Value& bin : charts->Find(key)->items)
            printed[bin.Find("bin")->text] = static_cast<uint64_t>(bin.Find("count")->number);
        EXPECT_EQ(printed, counts) << key;
    }
}

// What a click on a bar of the Overview lists, on every folder of the
// corpus (movies too).
TEST(ToolStatsCorpus, EveryBinsQueryListsExactlyItsFiles) {
    size_t bins = 0;
    for (const char* set : {"dev", "formats", "more", "videos"}) {
        CorpusFolder folder;
        if (!LoadCorpusFolder(folder, set))
            continue;
        std::vector<FileReport> reports(folder.names.size());
        PhotoStats stats;
        InspectOptions options;
        options.allTags = true;
        options.lens = true;
        for (size_t i = 0; i < reports.size(); ++i) {
            std::string error;
            InspectFile((folder.folder + folder.names[i]).c_str(), reports[i], error, options);
            stats.Add(reports[i].record, reports[i].format, reports[i].lens,
                      reports[i].position.has_value());
        }
        for (const StatsChart& chart : stats.Charts()) {
            for (const StatsBin& bin : chart.bins) {
                Query query;
                QueryError error;
                ASSERT_TRUE(Query::Parse(bin.query, query, error)) << bin.query;
                uint64_t found = 0;
                for (const FileReport& report : reports)
                    found += query.Matches(QueryInputOf(report)) ? 1 : 0;
                EXPECT_EQ(found, bin.count) << set << " " << bin.label << ": " << bin.query;
                ++bins;
            }
        }
    }
    if (bins == 0)
        GTEST_SKIP() << "no corpus";
    EXPECT_GT(bins, 300u);
}

} // namespace
