// A movie's QuickTime group: ISO 6709 positions in their three forms, each
// item type's value and text, and the position the map row reads.
#include "metadata/tags/QuickTimeEntries.h"
#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/Iso6709.h"
#include "metadata/tags/TagText.h"

#include <gtest/gtest.h>

namespace {

TEST(Iso6709, DegreesMinutesAndSecondsFormsAndWhatIsNotOne) {
    // Latitude, longitude, altitude (-1: none); all zero: not a position.
    const std::tuple<const char*, double, double, double> cases[] = {
        {"+32.0929+034.8620+028.516/", 32.0929, 34.862, 28.516},
        {"-33.8688+151.2093-012.5CRSWGS_84/", -33.8688, 151.2093, -12.5},
        {"+4851.5+00217.7/", 48 + 51.5 / 60, 2 + 17.7 / 60, -1},
        {"+485130.0-0021742/", 48 + 51 / 60.0 + 30 / 3600.0, -(2 + 17 / 60.0 + 42 / 3600.0), -1},
        {"+90.1+000.0/", 0, 0, 0},
        {"+4861.0+00217.7/", 0, 0, 0}, // 61 minutes
        {"+3.2+034.0/", 0, 0, 0},      // one degree digit
        {"32.0929+034.8620/", 0, 0, 0},
        {"+32.0929", 0, 0, 0},
        {"+12345678901234567890+034.0/", 0, 0, 0},
    };
    for (const auto& [text, latitude, longitude, altitude] : cases) {
        SCOPED_TRACE(text);
        const std::optional<GpsPosition> p = ParseIso6709(text);
        ASSERT_EQ(p.has_value(), latitude != 0);
        if (!p)
            continue;
        EXPECT_NEAR(p->latitude, latitude, 1e-12);
        EXPECT_NEAR(p->longitude, longitude, 1e-12);
        EXPECT_NEAR(p->altitude.value_or(-1), altitude, 1e-12);
    }
}

MovieTag Tag(const char* key, uint32_t type, std::string value, uint64_t size = 0) {
    MovieTag tag;
    tag.key = key;
    tag.type = type;
    tag.size = size != 0 ? size : value.size();
    tag.value = std::move(value);
    return tag;
}

TEST(QuickTimeEntries, EachItemTypeWithItsTextAndRawValue) {
    const std::tuple<MovieTag, const char*, const char*, const char*> cases[] = {
        {Tag("com.apple.quicktime.make", MovieTag::Utf8, std::string("Apple\0", 6)), "Make",
         "Apple", "Apple"},
        {Tag("\251mod", MovieTag::MacText, "Caf\xE9"), "Model", "Café", "Café"},
        {Tag("auth", MovieTag::Utf16, std::string("\xFE\xFF\0F\0L\0\0", 8)), "Author", "FL", "FL"},
        {Tag("com.android.capture.fps", MovieTag::Float32, std::string("\x42\xF0\0\0", 4)),
         "AndroidCaptureFPS", "120", "120"},
        {Tag("temp", MovieTag::SignedInt, "\xFF\xFE"), "temp", "-2", "-2"},
        {Tag("odd", MovieTag::SignedInt, "\x01\x02\x03"), "odd", "(3 bytes)", "(3 bytes)"},
        {Tag("\251xyz", MovieTag::Utf8, "+32.0929+034.8620+028.516/"), "GPSCoordinates",
         "32° 5' 34.44\" N, 34° 51' 43.20\" E, 28.516 m", "+32.0929+034.8620+028.516/"},
        {Tag("loci", MovieTag::Position, "-12.50000+010.00000-3.000/"), "GPSCoordinates",
         "12° 30' 0.00\" S, 10° 0' 0.00\" E, 3 m below sea level", "-12.50000+010.00000-3.000/"},
        {Tag("com.apple.quicktime.location.ISO6709", MovieTag::Utf8, "somewhere"), "GPSCoordinates",
         "somewhere", "somewhere"},
        {Tag("covr", MovieTag::Jpeg, "", 80667), "CoverArt", "JPEG picture, 80667 bytes",
         "(80667 bytes)"},
        {Tag("\251cmt", MovieTag::Utf8, "abc", 5000), "Comment", "abc …", "abc"},
        {Tag("\251abc", MovieTag::Utf8, "x"), "©abc", "x", "x"},
    };
    for (const auto& [tag, name, text, raw] : cases) {
        SCOPED_TRACE(name);
        MovieMetadata movie;
        movie.tags.push_back(tag);
        MetadataCollector out;
        ListMovieEntries(movie, out);
        ASSERT_EQ(out.Entries().size(), 1u);
        const MetadataEntry& e = out.Entries()[0];
        EXPECT_EQ(e.group, "QuickTime");
        EXPECT_EQ(e.name.View(), name);
        EXPECT_EQ(e.text, text);
        EXPECT_EQ(RawText(e), raw);
    }
}

TEST(QuickTimeEntries, PositionForTheMapRowTheGpsDirectoryFirst) {
    MovieMetadata movie;
    movie.tags.push_back(Tag("\251xyz", MovieTag::Utf8, "+37.7749-122.4194/"));
    MetadataCollector out;
    ListMovieEntries(movie, out);
    std::optional<GpsPosition> p = FindGpsPosition(out.Entries());
    ASSERT_TRUE(p.has_value());
    EXPECT_STREQ(p->group, "QuickTime");
    EXPECT_EQ(GeoUri(*p), "geo:37.774900,-122.419400");

    // Where a file has both, the GPS directory's position is shown.
    MetadataEntry lat;
    lat.group = "GPS";
    lat.id = 0x0002;
    lat.value.kind = MetadataValue::Kind::Numbers;
    lat.value.numbers.push_back(10);
    out.Entries().push_back(lat);
    lat.id = 0x0004;
    out.Entries().push_back(lat);
    p = FindGpsPosition(out.Entries());
    ASSERT_TRUE(p.has_value());
    EXPECT_STREQ(p->group, "GPS");
}

} // namespace
