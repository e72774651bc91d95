// A collection built by hand, counted: the bins each photo falls in, and
// every bin's query finding exactly the photos counted in it.
#include "presentation/overview/PhotoStats.h"
#include "tests/presentation/query/QueryTestPhotos.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Shot {
    const char *make, *model, *date;
    float focal, ccdWidth, fNumber;
    int32_t iso;
    float exposure;
    int32_t flash;
    PhotoFormat format;
    const char* lens;
};

// A trip across a time-zone change (dates as recorded, local), a body whose
// 35 mm equivalent is known beside a phone whose is not, photos missing
// values, and a file without metadata (last).
const Shot kShots[] = {
    {"Canon", "Canon EOS 40D", "2023:05:14 23:30:00", 50, 22.2f, 2.8284f, 400, 1 / 250.f, 0,
     PhotoFormat::Jpeg, "EF50mm f/1.8 II"},
    {"Canon", "Canon EOS 40D", "2023:05:15 00:30:00", 17, 22.2f, 4, 320, 1 / 320.f, 1,
     PhotoFormat::Cr2, "EF-S17-85mm"},
    {"Canon", "Canon EOS 40D", "2023:05:14 06:10:00", 85, 22.2f, 5.6f, 1600, 1 / 200.f, 0,
     PhotoFormat::Jpeg, "EF-S17-85mm"},
    {"NIKON CORPORATION", "NIKON D70s", "2023:05:15 14:00:00", 35, 23.7f, 2, 200, 0.6f, 0,
     PhotoFormat::Nef, ""},
    {"Apple", "iPhone 5s", "2023:05:16 14:59:59", 4.15f, 0, 2.2f, 32, 1 / 30.f, 0,
     PhotoFormat::Heic, "iPhone 5s back camera"},
    {"Apple", "iPhone 5s", "2023:05:16", 4.1f, 0, 2.2f, 40, 1 / 15.f, 0, PhotoFormat::Heic, ""},
    {"Panasonic", "DMC-GX7", "", 20, 0, 0, 0, 0, -1, PhotoFormat::PanasonicRaw, ""},
    {"", "", "2023:05:14 10:00:00", 0, 0, 0, 0, 30, 0, PhotoFormat::Png, ""},
    {"Ghost", "Ghost", "2023:05:14 10:00:00", 50, 36, 2, 100, 1, 0, PhotoFormat::Png, ""},
};

std::vector<querytest::Photo> Photos() {
    std::vector<querytest::Photo> photos(std::size(kShots));
    for (size_t i = 0; i < photos.size(); ++i) {
        const Shot& s = kShots[i];
        ExifSummary& r = photos[i].record = querytest::Record(s.make, s.model, s.date);
        r.focalLength = s.focal;
        r.ccdWidth = s.ccdWidth;
        r.fNumber = s.fNumber;
        r.isoEquivalent = s.iso;
        r.exposureTime = s.exposure;
        r.flashUsed = s.flash;
        r.exifValid = i + 1 < photos.size();
        photos[i].format = s.format;
        if (*s.lens != '\0')
            photos[i].entries = {querytest::TextEntry("ExifIFD", 0xA434, "LensModel", s.lens)};
    }
    return photos;
}

// "label:count, ..." of each chart.
std::map<std::string, std::string> Bins(const PhotoStats& stats, size_t top = 0) {
    std::map<std::string, std::string> bins;
    for (const StatsChart& chart : stats.Charts(top)) {
        std::string& text = bins[chart.key];
        for (const StatsBin& bin : chart.bins)
            text += (text.empty() ? "" : ", ") + bin.label + ":" + std::to_string(bin.count);
    }
    return bins;
}

TEST(PhotoStats, BinsEachValueWhereAPhotographerLooksForIt) {
    PhotoStats stats;
    const std::vector<querytest::Photo> photos = Photos();
    for (size_t i = 0; i < photos.size(); ++i)
        stats.Add(photos[i].record, photos[i].format, kShots[i].lens, i == 0);
    EXPECT_EQ(stats.Photos(), 8u);
    const std::map<std::string, std::string> expected = {
        {"camera", "Canon EOS 40D:3, Apple iPhone 5s:2, NIKON D70s:1, Panasonic DMC-GX7:1"},
        {"lens", "EF-S17-85mm:2, EF50mm f/1.8 II:1, iPhone 5s back camera:1"},
        // 17 mm on the 40D is 28 mm; the phone's as recorded.
        {"focal", "4 mm:2, 20 mm:1, 28 mm:1, 50 mm:1, 85 mm:1, 135 mm:1"},
        {"aperture", "f/2:1, f/2.2:2, f/2.8:1, f/4:1, f/5.6:1"},
        {"iso", "ISO 25:1, ISO 50:1, ISO 200:1, ISO 400:2, ISO 1600:1"},
        {"exposure", "1/250 s:3, 1/30 s:1, 1/15 s:1, 1/2 s:1, 30 s:1"},
        // 23:30 and 00:30 stay on the two days recorded.
        {"day", "2023-05-14:3, 2023-05-15:2, 2023-05-16:2"},
        {"hour", "00:00:1, 06:00:1, 10:00:1, 14:00:2, 23:00:1"},
        {"flash", "Fired:1, Not fired:6"},
        // The file without metadata counts by its format alone.
        {"format", "HEIC:2, JPEG:2, PNG:2, CR2:1, NEF:1, RAW:1"},
    };
    EXPECT_EQ(Bins(stats), expected);
    EXPECT_EQ(Bins(stats, 1)["camera"], "Canon EOS 40D:3, Other:4");
    EXPECT_EQ(stats.HeaderLine(), "8 photos \u00b7 4 cameras \u00b7 3 lenses \u00b7 14 May 2023 "
                                  "\u2013 16 May 2023 \u00b7 1 with a GPS position");
    stats.Clear();
    EXPECT_EQ(stats.HeaderLine(), "0 photos");
}

TEST(PhotoStats, EveryBinsQueryFindsExactlyItsPhotos) {
    const std::vector<querytest::Photo> photos = Photos();
    PhotoStats all;
    std::vector<std::map<std::string, std::string>> own; // each photo's bins
    for (size_t i = 0; i < photos.size(); ++i) {
        all.Add(photos[i].record, photos[i].format, kShots[i].lens, false);
        PhotoStats one;
        one.Add(photos[i].record, photos[i].format, kShots[i].lens, false);
        own.push_back(Bins(one));
    }
    for (const StatsChart& chart : all.Charts(1)) {
        for (const StatsBin& bin : chart.bins) {
            Query query;
            QueryError error;
            ASSERT_TRUE(Query::Parse(bin.query, query, error)) << bin.query;
            for (size_t i = 0; i < photos.size() && !bin.query.empty(); ++i)
                EXPECT_EQ(query.Matches(photos[i].Input()), own[i][chart.key] == bin.label + ":1")
                    << bin.query << " on photo " << i;
        }
    }
}

} // namespace
