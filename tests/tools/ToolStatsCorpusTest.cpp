// velmora-tags --stats over the corpus's dev folder against the counts
// exiftool's readings give, and every bin's query listing exactly its files
// in every folder. Skipped without the corpus.
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

namespace {

using Counts = std::map<std::string, uint64_t>;

// The files of a folder of the corpus with a reading beside them.
struct CorpusFolder {
    std::string path;
    std::vector<std::string> files;
    std::vector<ReferenceReading> readings;
};

CorpusFolder LoadCorpusFolder(const std::string& set) {
    const char* place = std::getenv("VELMORA_CORPUS");
    const std::string corpus = place != nullptr && *place != '\0' ? place : VELMORA_CORPUS_DIR;
    CorpusFolder folder{corpus + "/" + set + "/", {}, {}};
    if (DIR* dir = ::opendir(folder.path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            ReferenceReading reading;
            std::string error;
            if (entry->d_name[0] != '.' &&
                reading.Load(corpus + "/" + set + "-oracle/" + entry->d_name + ".num.json",
                             error)) {
                folder.files.push_back(folder.path + entry->d_name);
                folder.readings.push_back(std::move(reading));
            }
        }
        ::closedir(dir);
    }
    return folder;
}

TEST(ToolStatsCorpus, CountsAgreeWithExiftoolsReadings) {
    const CorpusFolder dev = LoadCorpusFolder("dev");
    if (dev.files.empty())
        GTEST_SKIP() << "no corpus";
    std::map<std::string, Counts> expected;
    uint64_t photos = 0;
    for (const ReferenceReading& r : dev.readings) {
        if (!r.HasGroup("IFD0")) // no EXIF block
            continue;
        ++photos;
        ++expected["camera"]
                  [CameraName(r.Text("IFD0:Make").value_or(""), r.Text("IFD0:Model").value_or(""))];
        if (const double iso = r.Number("ExifIFD:ISO").value_or(0); iso > 0)
            ++expected["iso"][IsoStepLabel(IsoStep(iso))];
        // The record reads the APEX value where the f-number is missing.
        double f = r.Number("ExifIFD:FNumber").value_or(0);
        f = f > 0 ? f : r.Number("ExifIFD:ApertureValue").value_or(0);
        if (f > 0)
            ++expected["aperture"][ApertureStepLabel(ApertureStep(std::floor(f * 10 + 0.5) / 10))];
        // A photo without the tag reads as not fired.
        const bool fired = (static_cast<int>(r.Number("ExifIFD:Flash").value_or(0)) & 1) != 0;
        ++expected["flash"][fired ? "Fired" : "Not fired"];
        const std::string date = r.Text("ExifIFD:DateTimeOriginal").value_or("");
        if (date.size() >= 10 && date[0] >= '1' && date[0] <= '9') // not blank or zero
            ++expected["day"]
                      [date.substr(0, 4) + "-" + date.substr(5, 2) + "-" + date.substr(8, 2)];
    }
    expected["camera"].erase("");

    std::vector<std::string> args = {"--stats", "--json"};
    args.insert(args.end(), dev.files.begin(), dev.files.end());
    testjson::Value json;
    std::string error;
    ASSERT_TRUE(testjson::Parse(tooltest::RunInProcess(args).out, json, error)) << error;
    EXPECT_EQ(json.Find("photos")->number, double(photos));
    for (const auto& [key, counts] : expected) {
        Counts printed;
        for (const testjson::Value& bin : json.Find("charts")->Find(key)->items)
            printed[bin.Find("bin")->text] = static_cast<uint64_t>(bin.Find("count")->number);
        EXPECT_EQ(printed, counts) << key;
    }
}

// What a click on a bar of the Overview lists.
TEST(ToolStatsCorpus, EveryBinsQueryListsExactlyItsFiles) {
    size_t bins = 0;
    for (const char* set : {"dev", "formats", "more", "videos"}) {
        const CorpusFolder folder = LoadCorpusFolder(set);
        std::vector<FileReport> reports(folder.files.size());
        PhotoStats stats;
        for (size_t i = 0; i < reports.size(); ++i) {
            std::string error;
            InspectFile(folder.files[i].c_str(), reports[i], error,
                        {.allTags = true, .lens = true});
            stats.Add(reports[i].record, reports[i].format, reports[i].lens, false);
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
