// Movies through the photo reader: the format by brand, the record and rows
// of either item layout with the movie box at either end, lying boxes
// bounded, and a movie box after a large media box reached in a few reads.
#include "metadata/FormatDetection.h"
#include "metadata/MovieRecord.h"
#include "presentation/TagRows.h"
#include "tests/fixtures/MovieBuilder.h"
#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace readertest;
using namespace fixture;

namespace {

std::string RowsOf(const PhotoRead& r) {
    std::string rows;
    for (const TagRow& row : BuildTagRows(r.record, r.reader.Format()))
        rows += row.label + "=" + row.value + "; ";
    return rows;
}

// SeedMovies(): Apple's keys (moov last, QuickTime), Android's user data
// (moov first, MP4, a cover), M4V of 64-bit boxes, 3GP with mdat to the end,
// QuickTime without ftyp.
TEST(MovieReader, RecordAndRowsOfEitherLayoutAndEitherEnd) {
    const std::vector<MovieOptions> movies = SeedMovies();
    // The keys' local date where they are read, else mvhd's (UTC).
    const char* local = "2023:06:14 18:22:05";
    const char* header = "2019:07:24 08:25:57";
    const std::pair<PhotoFormat, const char*> expected[] = {
        {PhotoFormat::Mov, local},      {PhotoFormat::Mp4, header}, {PhotoFormat::M4v, local},
        {PhotoFormat::ThreeGp, header}, {PhotoFormat::Mov, local},
    };
    for (size_t i = 0; i < movies.size(); ++i) {
        SCOPED_TRACE(i);
        PhotoRead r(MovieFile(movies[i]));
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.reader.Format(), expected[i].first);
        EXPECT_EQ(r.Error(), "");
        EXPECT_EQ(RowsOf(r),
                  std::string("Camera make=Apple; Camera model=iPhone 12 Pro; Date/Time=") +
                      expected[i].second + "; Width and Height=1920 ,1080; Encoding=HEVC; ");
    }
    MovieOptions bare;
    bare.codec = "XYZW";
    EXPECT_EQ(RowsOf(PhotoRead(MovieFile(bare))),
              "Date/Time=2019:07:24 08:25:57; Width and Height=1920 ,1080; "
              "Encoding=QuickTime movie; ");
}

TEST(MovieReader, BrandsNameMoviesAndLeavePhotosPhotos) {
    const std::pair<std::vector<const char*>, PhotoFormat> cases[] = {
        {{"qt  "}, PhotoFormat::Mov},
        {{"isom", "avc1"}, PhotoFormat::Mp4},
        {{"XXXX", "mp42"}, PhotoFormat::Mp4},
        {{"M4VP", "mp42"}, PhotoFormat::M4v},
        {{"3gp4", "isom"}, PhotoFormat::ThreeGp},
        {{"mif1", "heic", "iso8"}, PhotoFormat::Heic},
        {{"isom", "heic"}, PhotoFormat::Heic}, // a photo brand wins
        {{"msf1", "iso8", "mp41"}, PhotoFormat::Heif},
        {{"XXXX", "YYYY"}, PhotoFormat::Unknown},
    };
    for (const auto& [brands, format] : cases) {
        Bytes ftyp(brands[0], brands[0] + 4);
        ftyp.resize(8, 0);
        for (size_t i = 1; i < brands.size(); ++i)
            ftyp.insert(ftyp.end(), brands[i], brands[i] + 4);
        const Bytes head = Box("ftyp", ftyp);
        EXPECT_EQ(DetectFormat(head.data(), head.size()), format) << brands[0];
    }
}

TEST(MovieReader, EveryEntryInTheQuickTimeGroupWithThePosition) {
    for (const MovieOptions& o : SeedMovies()) {
        const FileReport report = Inspect(MovieFile(o), nullptr);
        std::string texts;
        for (const MetadataEntry& e : report.tags)
            if (e.group == "QuickTime" && e.name.View().find("Date") == std::string_view::npos)
                texts += std::string(e.name.View()) + "=" + e.text + "; ";
        EXPECT_NE(texts.find("Duration=4.00 s; TrackCount=2; ImageWidth=1920; ImageHeight=1080; "
                             "Rotation=90° clockwise; VideoFrameRate=18 frames/s; "
                             "VideoCodec=HEVC; AudioCodec=AAC; "),
                  std::string::npos)
            << texts;
        EXPECT_NE(texts.find("Make=Apple; Model=iPhone 12 Pro; "), std::string::npos) << texts;
        ASSERT_TRUE(report.position.has_value());
        EXPECT_STREQ(report.position->group, "QuickTime");
        EXPECT_NEAR(report.position->latitude, o.mdatToEnd ? 48 + 51.5 / 60 : 48.8583, 1e-9);
    }
}

TEST(MovieReader, CoverArtIsWhereThePictureSideFindsIt) {
    const MovieOptions o = SeedMovies()[1];
    PhotoRead r(MovieFile(o));
    const EmbeddedPicture& cover = r.reader.Blocks().preview;
    ASSERT_EQ(cover.extent.length, o.cover.size());
    EXPECT_STREQ(cover.coding, "jpeg");
    EXPECT_TRUE(std::equal(o.cover.begin(), o.cover.end(), r.bytes.begin() + cover.extent.offset));
}

// Where a box of that type starts.
size_t BoxAt(const Bytes& file, const char* type) {
    const Bytes name(type, type + 4);
    return size_t(std::search(file.begin(), file.end(), name.begin(), name.end()) - file.begin()) -
           4;
}

void SetBe32(Bytes& file, const char* type, size_t after, uint32_t v) {
    const auto at = file.begin() + static_cast<ptrdiff_t>(BoxAt(file, type) + after);
    ASSERT_LT(at + 4, file.end()) << type;
    const Bytes b = Be32Bytes(v);
    std::copy(b.begin(), b.end(), at);
}

TEST(MovieReader, LyingBoxesCostTheirLevelAndNoMore) {
    // Where the lie is, what it overstates, and whether the header is kept.
    const std::tuple<const char*, size_t, uint32_t, bool> lies[] = {
        {"moov", 0, 0x7FFFFFF0, false},   // larger than the file
        {"trak", 0, 0x7FFFFFF0, true},    // larger than moov
        {"tkhd", 0, 0, true},             // size 0 inside a box
        {"stsd", 0, 3, true},             // smaller than its header
        {"keys", 12, 1000000, true},      // a million keys
        {"keys", 16, 5000, true},         // a key longer than its box
        {"mdat", 0, 1, false},            // 64-bit size of the media bytes: past the end
        {"ftyp", 0, 0, false},            // size 0 first: to the end
        {"\xA9mak", 8, 0xFFFF15C7, true}, // a text longer than its box
    };
    for (const auto& [type, after, value, kept] : lies) {
        SCOPED_TRACE(type);
        MovieOptions o = SeedMovies()[0];
        o.userData = type[0] == '\xA9';
        Bytes file = MovieFile(o);
        SetBe32(file, type, after, value);
        PhotoRead r(file);
        EXPECT_EQ(r.record.exifValid, kept);
        EXPECT_LE(r.source.BytesRead(), file.size());
        Inspect(file, nullptr); // every entry listed, within the file
        if (o.userData) {
            EXPECT_STREQ(r.record.cameraMake, "Apple");
        }
    }
}

TEST(MovieReader, MovieBoxAfterALargeMediaBoxTakesAFewReads) {
    MovieOptions o = SeedMovies()[0];
    o.largeMdat = true;
    o.mdatSize = 0;
    Bytes head = MovieFile(o);
    const uint64_t media = 64u << 20; // written as a hole
    SetBe32(head, "mdat", 12, static_cast<uint32_t>(media + 16));
    const size_t moov = BoxAt(head, "moov");
    char path[] = "/tmp/velmora-movie-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::unlink(path);
    ASSERT_EQ(::pwrite(fd, head.data(), moov, 0), ssize_t(moov));
    ASSERT_EQ(::pwrite(fd, head.data() + moov, head.size() - moov, off_t(moov + media)),
              ssize_t(head.size() - moov));
    FileSource source(fd);
    ExifSummary record{};
    PhotoReader reader(&record, nullptr, PhotoReader::Use::RecordOnly);
    reader.Read(source);
    ::close(fd);
    EXPECT_STREQ(record.cameraModel, "iPhone 12 Pro");
    EXPECT_LE(source.PreadCount(), 4);
    EXPECT_LT(source.BytesRead(), 128u << 10);
}

TEST(MovieRecord, TimesAndDatesAsTheRecordWritesThem) {
    const std::pair<uint64_t, const char*> times[] = {
        {0, ""},
        {2082844800, "1970:01:01 00:00:00"},
        {3665865599, "2020:02:29 23:59:59"},
        {UINT64_MAX, ""},
    };
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(MovieTimeText(seconds), text) << seconds;
    const std::pair<const char*, const char*> dates[] = {
        {"2021-05-16T19:27:55Z", "2021:05:16 19:27:55"},
        {"2020-01-05T15:04Z", "2020:01:05 15:04:00"},
        {"2020/01/05T15:04:07", ""},
    };
    for (const auto& [iso, text] : dates)
        EXPECT_EQ(IsoDateTimeText(iso), text) << iso;
}

} // namespace
