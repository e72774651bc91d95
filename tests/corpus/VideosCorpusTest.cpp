// Our reading of real movies (MOV, MP4, M4V, 3GP) beside exiftool's: date,
// make, model, size, duration, frame rate, rotation and position. The files
// stay outside the repository; without them the check is skipped.
#include "metadata/ByteSource.h"
#include "presentation/FileInspection.h"
#include "tests/corpus/ReferenceReading.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

const std::string kCorpus = VELMORA_CORPUS_DIR;

double Entry(const FileReport& report, const char* name) {
    for (const MetadataEntry& e : report.tags)
        if (e.group == "QuickTime" && e.name == name && !e.value.numbers.empty())
            return e.value.numbers[0];
    return -1;
}

} // namespace

TEST(VideosCorpus, MoviesAgreeWithExiftool) {
    std::error_code error;
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus + "/videos", error))
        names.insert(entry.path().filename().string());
    if (names.empty())
        GTEST_SKIP() << "no corpus at " << kCorpus << "/videos";
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ReferenceReading ref;
        std::string why;
        ASSERT_TRUE(ref.Load(kCorpus + "/videos-oracle/" + name + ".num.json", why)) << why;
        FileReport report;
        InspectOptions options;
        options.allTags = true;
        ASSERT_TRUE(InspectFile((kCorpus + "/videos/" + name).c_str(), report, why, options));
        const ExifSummary& r = report.record;
        EXPECT_EQ(report.lastError, "");
        EXPECT_LE(report.bytesRead, 256u << 10); // never the media data
        std::printf("  %s: %s, %llu bytes read\n", name.c_str(), FormatShortName(report.format),
                    static_cast<unsigned long long>(report.bytesRead));
        // Apple's local creation date where there is one, else mvhd's.
        const std::string date =
            ref.Text("Keys:CreationDate").value_or(ref.Text("QuickTime:CreateDate").value_or(""));
        EXPECT_EQ(r.dateTime, date.substr(0, 19));
        EXPECT_EQ(r.cameraMake, ref.Text("Keys:Make").value_or(""));
        EXPECT_EQ(r.cameraModel, ref.Text("Keys:Model").value_or(""));
        EXPECT_EQ(std::to_string(r.width) + " " + std::to_string(r.height),
                  ref.Text("Composite:ImageSize"));
        EXPECT_NEAR(Entry(report, "Duration"), *ref.Number("QuickTime:Duration"), 1e-9);
        EXPECT_EQ(Entry(report, "Rotation"), *ref.Number("Composite:Rotation"));
        for (const char* track : {"Track1:VideoFrameRate", "Track2:VideoFrameRate"})
            if (const auto rate = ref.Number(track)) {
                EXPECT_NEAR(Entry(report, "VideoFrameRate"), *rate, 1e-9);
            }
        const auto latitude = ref.Number("Composite:GPSLatitude");
        ASSERT_EQ(report.position.has_value(), latitude.has_value());
        if (latitude) { // exiftool writes 3GPP's fixed point with five decimals
            EXPECT_NEAR(report.position->latitude, *latitude, 1e-5);
            EXPECT_NEAR(report.position->longitude, *ref.Number("Composite:GPSLongitude"), 1e-5);
            EXPECT_NEAR(report.position->altitude.value_or(0), *ref.Number("Composite:GPSAltitude"),
                        1e-3);
        }
    }
}
