// A movie's QuickTime group: ISO 6709 positions in their three forms, each
// item type's value and text, the cap, and the position the pane's map row
// reads.
#include "metadata/tags/QuickTimeEntries.h"
#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/Iso6709.h"
#include "metadata/tags/TagText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(Iso6709, DegreesMinutesAndSecondsFormsAndWhatIsNotOne) {
    struct Case {
        const char* text;
        bool valid;
        double latitude, longitude;
        double altitude; // NAN: none
    };
    const Case cases[] = {
        {"+32.0929+034.8620+028.516/", true, 32.0929, 34.862, 28.516},
        {"+37.7749-122.4194/", true, 37.7749, -122.4194, NAN},
        {"-33.8688+151.2093-012.5CRSWGS_84/", true, -33.8688, 151.2093, -12.5},
        {"+4851.5+00217.7/", true, 48 + 51.5 / 60, 2 + 17.7 / 60, NAN},
        {"+485130.0-0021742/", true, 48 + 51 / 60.0 + 30 / 3600.0, -(2 + 17 / 60.0 + 42 / 3600.0),
         NAN},
        {"+90+180/", true, 90, 180, NAN},
        {"+90.1+000.0/", false, 0, 0, NAN},
        {"+00.0+180.5/", false, 0, 0, NAN},
        {"+4861.0+00217.7/", false, 0, 0, NAN}, // 61 minutes
        {"+3.2+034.0/", false, 0, 0, NAN},      // one degree digit
        {"+32.0+1800.0/", false, 0, 0, NAN},
        {"32.0929+034.8620/", false, 0, 0, NAN},
        {"+32.0929", false, 0, 0, NAN},
        {"+.5+034.0/", false, 0, 0, NAN},
        {"+12345678901234567890+034.0/", false, 0, 0, NAN},
        {"", false, 0, 0, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<GpsPosition> p = ParseIso6709(c.text);
        ASSERT_EQ(p.has_value(), c.valid);
        if (!p)
            continue;
        EXPECT_NEAR(p->latitude, c.latitude, 1e-12);
        EXPECT_NEAR(p->longitude, c.longitude, 1e-12);
        EXPECT_EQ(p->altitude.has_value(), !std::isnan(c.altitude));
        if (p->altitude)
            EXPECT_NEAR(*p->altitude, c.altitude, 1e-12);
    }
}

MovieTag Tag(const char* key, uint32_t type, std::string value) {
    MovieTag tag;
    tag.key = key;
    tag.type = type;
    tag.size = value.size();
    tag.value = std::move(value);
    return tag;
}

const MetadataEntry* Find(const std::vector<MetadataEntry>& entries, const char* name) {
    for (const MetadataEntry& e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

TEST(QuickTimeEntries, EachItemTypeWithItsTextAndRawValue) {
    struct Case {
        MovieTag tag;
        const char* name;
        const char* text;
        const char* raw;
    };
    MovieTag cover = Tag("covr", MovieTag::Jpeg, "");
    cover.size = 80667;
    MovieTag longText = Tag("\xA9"
                            "cmt",
                            MovieTag::Utf8, "abc");
    longText.size = 5000; // only the first bytes kept
    const Case cases[] = {
        {Tag("com.apple.quicktime.make", MovieTag::Utf8, std::string("Apple\0", 6)), "Make",
         "Apple", "Apple"},
        {Tag("\xA9"
             "mod",
             MovieTag::MacText, "Caf\xE9"),
         "Model", "Café", "Café"},
        {Tag("auth", MovieTag::Utf16, std::string("\xFE\xFF\0F\0L\0\0", 8)), "Author", "FL", "FL"},
        {Tag("com.android.capture.fps", MovieTag::Float32, std::string("\x42\xF0\0\0", 4)),
         "AndroidCaptureFPS", "120", "120"},
        {Tag("com.apple.quicktime.live-photo.auto", MovieTag::UnsignedInt, "\x01"), "LivePhotoAuto",
         "1", "1"},
        {Tag("temp", MovieTag::SignedInt, "\xFF\xFE"), "temp", "-2", "-2"},
        {Tag("odd", MovieTag::SignedInt, "\x01\x02\x03"), "odd", "(3 bytes)", "(3 bytes)"},
        {Tag("\xA9xyz", MovieTag::Utf8, "+32.0929+034.8620+028.516/"), "GPSCoordinates",
         "32° 5' 34.44\" N, 34° 51' 43.20\" E, 28.516 m", "+32.0929+034.8620+028.516/"},
        {Tag("loci", MovieTag::Position, "-12.50000+010.00000-3.000/"), "GPSCoordinates",
         "12° 30' 0.00\" S, 10° 0' 0.00\" E, 3 m below sea level", "-12.50000+010.00000-3.000/"},
        {Tag("com.apple.quicktime.location.ISO6709", MovieTag::Utf8, "somewhere"), "GPSCoordinates",
         "somewhere", "somewhere"},
        {cover, "CoverArt", "JPEG picture, 80667 bytes", "(80667 bytes)"},
        {longText, "Comment", "abc …", "abc"},
        {Tag("\xA9"
             "abc",
             MovieTag::Utf8, "x"),
         "©abc", "x", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MovieMetadata movie;
        movie.tags.push_back(c.tag);
        MetadataCollector out;
        ListMovieEntries(movie, out);
        ASSERT_EQ(out.Entries().size(), 1u);
        const MetadataEntry& e = out.Entries()[0];
        EXPECT_EQ(e.group, "QuickTime");
        EXPECT_EQ(e.name.View(), c.name);
        EXPECT_EQ(e.text, c.text);
        EXPECT_EQ(RawText(e), c.raw);
    }
}

TEST(QuickTimeEntries, HeaderAndTrackEntriesAndTheCap) {
    MovieMetadata movie;
    std::memcpy(movie.majorBrand, "qt  ", 5);
    movie.compatibleBrands = "qt  isom";
    movie.headerRead = true;
    movie.created = 3646801557;
    movie.timeScale = 1000;
    movie.duration = 85500;
    movie.trackCount = 2;
    movie.hasVideo = true;
    movie.width = 568;
    movie.height = 320;
    movie.rotation = 270;
    movie.frameRate = 29.9875052;
    std::memcpy(movie.codec, "hvc1", 5);
    std::memcpy(movie.audioCodec, "XYZW", 5);
    MetadataCollector out;
    ListMovieEntries(movie, out);
    const std::pair<const char*, const char*> texts[] = {
        {"MajorBrand", "qt  "},
        {"CompatibleBrands", "qt  , isom"},
        {"CreateDate", "2019:07:24 08:25:57"},
        {"Duration", "0:01:26"},
        {"TrackCount", "2"},
        {"ImageWidth", "568"},
        {"Rotation", "270° clockwise"},
        {"VideoFrameRate", "29.988 frames/s"},
        {"VideoCodec", "HEVC"},
        {"AudioCodec", "XYZW"},
    };
    for (const auto& [name, text] : texts) {
        const MetadataEntry* e = Find(out.Entries(), name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->text, text) << name;
    }
    EXPECT_EQ(Find(out.Entries(), "ModifyDate"), nullptr); // 0: unset

    MetadataCollector small(3);
    ListMovieEntries(movie, small);
    EXPECT_EQ(small.Entries().size(), 3u);
    EXPECT_TRUE(small.Truncated());
}

TEST(QuickTimeEntries, PositionForTheMapRowTheGpsDirectoryFirst) {
    MovieMetadata movie;
    movie.tags.push_back(Tag("\xA9xyz", MovieTag::Utf8, "+37.7749-122.4194/"));
    MetadataCollector out;
    ListMovieEntries(movie, out);
    std::optional<GpsPosition> p = FindGpsPosition(out.Entries());
    ASSERT_TRUE(p.has_value());
    EXPECT_STREQ(p->group, "QuickTime");
    EXPECT_DOUBLE_EQ(p->longitude, -122.4194);
    EXPECT_FALSE(p->altitude.has_value());
    EXPECT_EQ(GeoUri(*p), "geo:37.774900,-122.419400");

    // A GPS directory's position, where a file has both, is the one shown.
    MetadataEntry lat;
    lat.group = "GPS";
    lat.id = 0x0002;
    lat.value.kind = MetadataValue::Kind::Numbers;
    lat.value.numbers.push_back(10);
    MetadataEntry lon = lat;
    lon.id = 0x0004;
    out.Entries().push_back(lat);
    out.Entries().push_back(lon);
    p = FindGpsPosition(out.Entries());
    ASSERT_TRUE(p.has_value());
    EXPECT_STREQ(p->group, "GPS");
    EXPECT_DOUBLE_EQ(p->latitude, 10);
}

} // namespace
