// A collection built by hand, counted: the bins each photo falls in, the
// charts' order, and every bin's query finding exactly the photos counted
// in it.
#include "presentation/overview/PhotoStats.h"
#include "presentation/query/Query.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

namespace {

struct Shot {
    const char* make;
    const char* model;
    const char* date;
    float focal;
    float ccdWidth;
    float fNumber;
    int32_t iso;
    float exposure;
    int32_t flash;
    PhotoFormat format;
    const char* lens;
    bool exifValid = true;
};

// A trip across a time-zone change (the dates as recorded, local), a body
// whose equivalent focal length is known beside a phone whose is not, and
// photos missing a value.
const Shot kShots[] = {
    {"Canon", "Canon EOS 40D", "2023:05:14 23:30:00", 50, 22.2f, 2.8284f, 400, 1 / 250.f, 0,
     PhotoFormat::Jpeg, "EF50mm f/1.8 II"},
    {"Canon", "Canon EOS 40D", "2023:05:15 00:30:00", 17, 22.2f, 4, 320, 1 / 320.f, 1,
     PhotoFormat::Cr2, "EF-S17-85mm f/4-5.6 IS USM"},
    {"Canon", "Canon EOS 40D", "2023:05:14 06:10:00", 85, 22.2f, 5.6f, 1600, 1 / 200.f, 0,
     PhotoFormat::Jpeg, "EF-S17-85mm f/4-5.6 IS USM"},
    {"NIKON CORPORATION", "NIKON D70s", "2023:05:15 14:00:00", 35, 23.7f, 2, 200, 0.6f, 0,
     PhotoFormat::Nef, ""},
    {"Apple", "iPhone 5s", "2023:05:16 14:59:59", 4.15f, 0, 2.2f, 32, 1 / 30.f, 0,
     PhotoFormat::Heic, "iPhone 5s back camera 4.15mm f/2.2"},
    {"Apple", "iPhone 5s", "2023:05:16", 4.1f, 0, 2.2f, 40, 1 / 15.f, 0, PhotoFormat::Heic, ""},
    {"Panasonic", "DMC-GX7", "", 20, 0, 0, 0, 0, -1, PhotoFormat::PanasonicRaw, ""},
    {"", "", "2023:05:14 10:00:00", 0, 0, 0, 0, 30, 0, PhotoFormat::Png, ""},
    {"Ghost", "Ghost", "2023:05:14 10:00:00", 50, 36, 2, 100, 1, 0, PhotoFormat::Png, "", false},
};

struct Photo {
    ExifSummary record;
    PhotoFormat format;
    std::vector<MetadataEntry> entries;
};

std::vector<Photo> Photos() {
    std::vector<Photo> photos;
    for (const Shot& shot : kShots) {
        Photo photo{};
        ExifSummary& r = photo.record;
        std::memset(&r, 0, sizeof r);
        std::strncpy(r.cameraMake, shot.make, sizeof r.cameraMake - 1);
        std::strncpy(r.cameraModel, shot.model, sizeof r.cameraModel - 1);
        std::strncpy(r.dateTime, shot.date, sizeof r.dateTime - 1);
        r.focalLength = shot.focal;
        r.ccdWidth = shot.ccdWidth;
        r.fNumber = shot.fNumber;
        r.isoEquivalent = shot.iso;
        r.exposureTime = shot.exposure;
        r.flashUsed = shot.flash;
        r.exifValid = shot.exifValid;
        photo.format = shot.format;
        if (shot.lens[0] != '\0') {
            MetadataEntry lens;
            lens.group = "ExifIFD";
            lens.id = 0xA434;
            lens.name = "LensModel";
            lens.text = shot.lens;
            lens.value.kind = MetadataValue::Kind::Text;
            lens.value.text = shot.lens;
            photo.entries.push_back(lens);
        }
        photos.push_back(std::move(photo));
    }
    return photos;
}

PhotoStats Counted(const std::vector<Photo>& photos) {
    PhotoStats stats;
    for (size_t i = 0; i < photos.size(); ++i)
        stats.Add(photos[i].record, photos[i].format, kShots[i].lens, i == 0);
    return stats;
}

// "label:count" of every bin, chart by chart.
std::map<std::string, std::string> Bins(const std::vector<StatsChart>& charts) {
    std::map<std::string, std::string> bins;
    for (const StatsChart& chart : charts) {
        std::string& text = bins[chart.key];
        for (const StatsBin& bin : chart.bins)
            text += (text.empty() ? "" : ", ") + bin.label + ":" + std::to_string(bin.count);
    }
    return bins;
}

TEST(PhotoStats, BinsEachValueWhereAPhotographerLooksForIt) {
    const PhotoStats stats = Counted(Photos());
    EXPECT_EQ(stats.Photos(), 8u);
    const std::map<std::string, std::string> expected = {
        {"camera", "Canon EOS 40D:3, Apple iPhone 5s:2, NIKON D70s:1, Panasonic DMC-GX7:1"},
        {"lens", "EF-S17-85mm f/4-5.6 IS USM:2, EF50mm f/1.8 II:1, "
                 "iPhone 5s back camera 4.15mm f/2.2:1"},
        // 17 mm on the 40D is 28 mm; the phone's as recorded.
        {"focal", "4 mm:2, 20 mm:1, 28 mm:1, 50 mm:1, 85 mm:1, 135 mm:1"},
        {"aperture", "f/2:1, f/2.2:2, f/2.8:1, f/4:1, f/5.6:1"},
        {"iso", "ISO 25:1, ISO 50:1, ISO 200:1, ISO 400:2, ISO 1600:1"},
        {"exposure", "1/250 s:3, 1/30 s:1, 1/15 s:1, 1/2 s:1, 30 s:1"},
        // Local days as recorded: 23:30 and 00:30 are two days.
        {"day", "2023-05-14:3, 2023-05-15:2, 2023-05-16:2"},
        {"hour", "00:00:1, 06:00:1, 10:00:1, 14:00:2, 23:00:1"},
        {"flash", "Fired:1, Not fired:6"},
        // The file without metadata counts by its format alone.
        {"format", "HEIF (HEVC):2, JPEG:2, PNG:2, Canon CR2:1, Nikon NEF:1, Panasonic RAW:1"},
    };
    EXPECT_EQ(Bins(stats.Charts()), expected);
    EXPECT_EQ(stats.HeaderLine(), "8 photos \u00b7 4 cameras \u00b7 3 lenses \u00b7 14 May 2023 "
                                  "\u2013 16 May 2023 \u00b7 1 with a GPS position");
}

TEST(PhotoStats, EveryBinsQueryFindsExactlyItsPhotos) {
    const std::vector<Photo> photos = Photos();
    const PhotoStats all = Counted(photos);
    // Each photo's own bins, from a collection of that photo alone.
    std::vector<std::map<std::string, std::string>> own;
    for (size_t i = 0; i < photos.size(); ++i) {
        PhotoStats one;
        one.Add(photos[i].record, photos[i].format, kShots[i].lens, false);
        own.push_back(Bins(one.Charts()));
    }
    for (const StatsChart& chart : all.Charts()) {
        for (const StatsBin& bin : chart.bins) {
            Query query;
            QueryError error;
            ASSERT_TRUE(Query::Parse(bin.query, query, error))
                << bin.query << ": " << error.Message();
            for (size_t i = 0; i < photos.size(); ++i) {
                QueryInput input;
                input.record = &photos[i].record;
                input.format = photos[i].format;
                input.entries = &photos[i].entries;
                const bool inBin = own[i][chart.key] == bin.label + ":1";
                EXPECT_EQ(query.Matches(input), inBin) << bin.query << " on photo " << i;
            }
        }
    }
}

TEST(PhotoStats, TopCamerasAndTheRestAsOther) {
    PhotoStats first = Counted(Photos());
    PhotoStats second;
    second.Merge(first);
    second.Merge(first);
    const StatsChart cameras = second.Charts(2).front();
    ASSERT_EQ(cameras.bins.size(), 3u);
    EXPECT_EQ(cameras.bins[0].label, "Canon EOS 40D");
    EXPECT_EQ(cameras.bins[0].count, 6u);
    EXPECT_EQ(cameras.bins[0].query, "camera:=\"Canon EOS 40D\"");
    EXPECT_EQ(cameras.bins[2].label, "Other");
    EXPECT_EQ(cameras.bins[2].count, 4u);
    EXPECT_TRUE(cameras.bins[2].query.empty());
    first.Clear();
    EXPECT_EQ(first.HeaderLine(), "0 photos");
    EXPECT_EQ(second.Photos(), 16u);
}

} // namespace
