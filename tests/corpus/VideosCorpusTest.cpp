// Our reading of real movies (MOV, MP4, M4V, 3GP) beside exiftool's: the
// record's date, make, model and size, and the QuickTime group's duration,
// frame rate, rotation and position. The files stay outside the repository;
// without them the check is skipped.
#include "metadata/ByteSource.h"
#include "presentation/FileInspection.h"
#include "tests/corpus/ReferenceReading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string kCorpus = VELMORA_CORPUS_DIR;

std::vector<std::string> Files(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<double> EntryNumber(const FileReport& report, const char* name) {
    for (const MetadataEntry& e : report.tags)
        if (e.group == "QuickTime" && e.name == name && !e.value.numbers.empty())
            return e.value.numbers[0];
    return std::nullopt;
}

// exiftool's reading of the video track's frame rate, in whichever track.
std::optional<double> FrameRate(const ReferenceReading& ref) {
    for (int track = 1; track <= 8; ++track)
        if (auto rate = ref.Number(("Track" + std::to_string(track) + ":VideoFrameRate").c_str()))
            return rate;
    return std::nullopt;
}

bool Near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

} // namespace

TEST(VideosCorpus, MoviesAgreeWithExiftool) {
    const std::string folder = kCorpus + "/videos";
    const std::vector<std::string> files = Files(folder);
    if (files.empty())
        GTEST_SKIP() << "no corpus at " << folder;
    int compared = 0;
    std::string summary;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        ReferenceReading ref;
        std::string error;
        ASSERT_TRUE(ref.Load(kCorpus + "/videos-oracle/" + name + ".num.json", error)) << error;
        const int fd = ::open((folder + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        FileSource source(fd);
        FileReport report;
        InspectOptions options;
        options.allTags = true;
        InspectSource(source, report, name.c_str(), options);
        ::close(fd);
        const ExifSummary& r = report.record;
        EXPECT_TRUE(r.exifValid);
        EXPECT_EQ(report.lastError, "");
        EXPECT_LE(source.BytesRead(), 256u << 10); // never the media data

        // The local creation date where Apple's key gives one, else the
        // movie header's.
        const std::string date = ref.Text("Keys:CreationDate")
                                     .value_or(ref.Text("QuickTime:CreateDate").value_or(""))
                                     .substr(0, 19);
        EXPECT_STREQ(r.dateTime, date.c_str());
        EXPECT_STREQ(r.cameraMake, ref.Text("Keys:Make").value_or("").c_str());
        EXPECT_STREQ(r.cameraModel, ref.Text("Keys:Model").value_or("").c_str());
        EXPECT_EQ(std::to_string(r.width) + " " + std::to_string(r.height),
                  ref.Text("Composite:ImageSize").value_or(""));
        EXPECT_TRUE(Near(EntryNumber(report, "Duration").value_or(-1),
                         ref.Number("QuickTime:Duration").value_or(0), 1e-9));
        EXPECT_EQ(EntryNumber(report, "Rotation").value_or(-1),
                  ref.Number("Composite:Rotation").value_or(0));
        if (const auto rate = FrameRate(ref))
            EXPECT_TRUE(Near(EntryNumber(report, "VideoFrameRate").value_or(0), *rate, 1e-9));
        const auto latitude = ref.Number("Composite:GPSLatitude");
        ASSERT_EQ(report.position.has_value(), latitude.has_value());
        if (latitude) {
            // exiftool writes 3GPP's fixed-point position with five decimals.
            EXPECT_TRUE(Near(report.position->latitude, *latitude, 1e-5));
            EXPECT_TRUE(Near(report.position->longitude,
                             ref.Number("Composite:GPSLongitude").value_or(0), 1e-5));
            EXPECT_TRUE(Near(report.position->altitude.value_or(0),
                             ref.Number("Composite:GPSAltitude").value_or(0), 1e-3));
        }
        ++compared;
        summary += "  " + name + ": " + FormatShortName(report.format) + ", " +
                   std::to_string(source.BytesRead()) + " bytes in " +
                   std::to_string(source.PreadCount()) + " reads\n";
    }
    std::printf("%d movies compared:\n%s", compared, summary.c_str());
}
