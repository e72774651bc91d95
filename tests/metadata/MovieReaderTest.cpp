// Movies read through the photo reader: the format by brand, the record and
// rows their header and items fill, in both item layouts and with the movie
// box at either end; lying boxes bounded; a movie box after a large media
// box reached with a few reads.
#include "metadata/FormatDetection.h"
#include "metadata/MovieRecord.h"
#include "presentation/FileInspection.h"
#include "presentation/TagRows.h"
#include "tests/fixtures/MovieBuilder.h"
#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace readertest;
using namespace fixture;

namespace {

MovieOptions Apple() {
    MovieOptions o;
    o.make = "Apple";
    o.model = "iPhone 12 Pro";
    o.creationDate = "2023-06-14T18:22:05+0200";
    o.location = "+48.8583+002.2945+035.000/";
    o.rotation = 90;
    return o;
}

MovieOptions Android() {
    MovieOptions o;
    o.brand = "mp42";
    o.compatible = {"isom", "mp42"};
    o.layout = MovieOptions::Layout::UserData;
    o.make = "samsung";
    o.model = "SM-G991B";
    o.location = "+37.7749-122.4194/";
    o.moovFirst = true;
    o.codec = "avc1";
    return o;
}

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows RowsOf(const PhotoRead& r) {
    Rows rows;
    for (const TagRow& row : BuildTagRows(r.record, r.reader.Format()))
        rows.emplace_back(row.label, row.value);
    return rows;
}

TEST(MovieReader, RecordAndRowsOfEitherLayoutAndEitherEnd) {
    struct Case {
        const char* what;
        MovieOptions options;
        PhotoFormat format;
        Rows rows;
    };
    MovieOptions m4v = Android();
    m4v.brand = "M4V ";
    m4v.compatible = {"M4V ", "mp42", "isom"};
    m4v.layout = MovieOptions::Layout::Keys;
    m4v.make = m4v.model = m4v.location = "";
    m4v.moovFirst = false;
    m4v.largeMdatHeader = true;
    m4v.version1Headers = true;
    MovieOptions phone3gp = Android();
    phone3gp.brand = "3gp5";
    phone3gp.compatible = {"3gp5", "3gp4"};
    phone3gp.mdatToEnd = true;
    phone3gp.codec = "s263";
    phone3gp.width = 176;
    phone3gp.height = 144;
    MovieOptions old = Apple();
    old.brand = nullptr;
    old.codec = "XYZW";
    const Case cases[] = {
        {"keys, moov last",
         Apple(),
         PhotoFormat::Mov,
         {{"Camera make", "Apple"},
          {"Camera model", "iPhone 12 Pro"},
          {"Date/Time", "2023:06:14 18:22:05"}, // the local time, not mvhd's
          {"Width and Height", "1920 ,1080"},
          {"Encoding", "HEVC"}}},
        {"user data, moov first",
         Android(),
         PhotoFormat::Mp4,
         {{"Camera make", "samsung"},
          {"Camera model", "SM-G991B"},
          {"Date/Time", "2019:07:24 08:25:57"}, // mvhd's, UTC
          {"Width and Height", "1920 ,1080"},
          {"Encoding", "H.264"}}},
        {"M4V, 64-bit boxes",
         m4v,
         PhotoFormat::M4v,
         {{"Date/Time", "2019:07:24 08:25:57"},
          {"Width and Height", "1920 ,1080"},
          {"Encoding", "H.264"}}},
        {"3GP, mdat to the end",
         phone3gp,
         PhotoFormat::ThreeGp,
         {{"Camera make", "samsung"},
          {"Camera model", "SM-G991B"},
          {"Date/Time", "2019:07:24 08:25:57"},
          {"Width and Height", "176 ,144"},
          {"Encoding", "H.263"}}},
        {"QuickTime without ftyp, codec unknown",
         old,
         PhotoFormat::Mov,
         {{"Camera make", "Apple"},
          {"Camera model", "iPhone 12 Pro"},
          {"Date/Time", "2023:06:14 18:22:05"},
          {"Width and Height", "1920 ,1080"},
          {"Encoding", "QuickTime movie"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PhotoRead r(MovieFile(c.options));
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.reader.Format(), c.format);
        EXPECT_EQ(r.Error(), "");
        EXPECT_EQ(RowsOf(r), c.rows);
        EXPECT_EQ(r.record.flashUsed, -1);
    }
}

TEST(MovieReader, BrandsNameMoviesAndLeavePhotosPhotos) {
    struct Case {
        const char* major;
        std::vector<const char*> compatible;
        PhotoFormat format;
    };
    const Case cases[] = {
        {"qt  ", {"qt  "}, PhotoFormat::Mov},
        {"isom", {"isom", "avc1"}, PhotoFormat::Mp4},
        {"mp41", {}, PhotoFormat::Mp4},
        {"XXXX", {"XXXX", "mp42"}, PhotoFormat::Mp4},
        {"M4VP", {"mp42"}, PhotoFormat::M4v},
        {"3g2a", {}, PhotoFormat::ThreeGp},
        {"3gp4", {"isom"}, PhotoFormat::ThreeGp},
        {"mif1", {"mif1", "heic", "iso8"}, PhotoFormat::Heic},
        {"isom", {"isom", "heic"}, PhotoFormat::Heic}, // a photo brand wins
        {"msf1", {"msf1", "iso8", "mp41"}, PhotoFormat::Heif},
        {"avif", {"mp42"}, PhotoFormat::Avif},
        {"XXXX", {"YYYY"}, PhotoFormat::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.major);
        Bytes ftyp(c.major, c.major + 4);
        ftyp.resize(8, 0);
        for (const char* brand : c.compatible)
            ftyp.insert(ftyp.end(), brand, brand + 4);
        const Bytes head = Box("ftyp", ftyp);
        EXPECT_EQ(DetectFormat(head.data(), head.size()), c.format);
    }
}

TEST(MovieReader, EveryEntryInTheQuickTimeGroupWithThePosition) {
    for (const MovieOptions& o : {Apple(), Android()}) {
        const Bytes file = MovieFile(o);
        MemorySource source(file.data(), file.size());
        FileReport report;
        InspectOptions options;
        options.allTags = true;
        InspectSource(source, report, nullptr, options);
        auto text = [&](const char* name) {
            for (const MetadataEntry& e : report.tags)
                if (e.group == "QuickTime" && e.name == name)
                    return e.text;
            return std::string("(none)");
        };
        EXPECT_EQ(text("Make"), o.make);
        EXPECT_EQ(text("Model"), o.model);
        EXPECT_EQ(text("Duration"), "4.00 s");
        EXPECT_EQ(text("VideoFrameRate"), "18 frames/s");
        EXPECT_EQ(text("Rotation"), o.rotation == 90 ? "90° clockwise" : "None");
        EXPECT_EQ(text("ImageWidth"), "1920");
        EXPECT_EQ(text("CreateDate"), "2019:07:24 08:25:57");
        EXPECT_EQ(text("AudioCodec"), "AAC");
        ASSERT_TRUE(report.position.has_value());
        EXPECT_STREQ(report.position->group, "QuickTime");
        const bool apple = o.layout == MovieOptions::Layout::Keys;
        EXPECT_DOUBLE_EQ(report.position->latitude, apple ? 48.8583 : 37.7749);
        EXPECT_DOUBLE_EQ(report.position->longitude, apple ? 2.2945 : -122.4194);
        EXPECT_EQ(report.position->altitude.has_value(), apple);
    }
}

TEST(MovieReader, CoverArtIsWhereThePictureSideFindsIt) {
    MovieOptions o = Android();
    o.cover = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 0xFF, 0xD9};
    PhotoRead r(MovieFile(o));
    const EmbeddedPicture& cover = r.reader.Blocks().preview;
    ASSERT_EQ(cover.extent.length, o.cover.size());
    EXPECT_STREQ(cover.coding, "jpeg");
    EXPECT_TRUE(std::equal(o.cover.begin(), o.cover.end(), r.bytes.begin() + cover.extent.offset));
}

// Where a box's size field lies in the file, found by its type.
size_t SizeOf(const Bytes& file, const char* type, size_t from = 0) {
    for (size_t i = from + 4; i + 4 <= file.size(); ++i)
        if (std::memcmp(file.data() + i, type, 4) == 0)
            return i - 4;
    ADD_FAILURE() << "no " << type;
    return 0;
}

void SetBe32(Bytes& file, size_t at, uint32_t v) {
    const Bytes b = Be32Bytes(v);
    std::copy(b.begin(), b.end(), file.begin() + at);
}

TEST(MovieReader, LyingBoxesCostTheirLevelAndNoMore) {
    struct Case {
        const char* what;
        void (*spoil)(Bytes&);
        bool headerKept; // the movie header before the lie still counts
    };
    const Case cases[] = {
        {"moov larger than the file", [](Bytes& f) { SetBe32(f, SizeOf(f, "moov"), 0x7FFFFFF0); },
         false},
        {"trak larger than moov", [](Bytes& f) { SetBe32(f, SizeOf(f, "trak"), 0x7FFFFFF0); },
         true},
        {"tkhd of size 0 inside trak", [](Bytes& f) { SetBe32(f, SizeOf(f, "tkhd"), 0); }, true},
        {"stsd smaller than its header", [](Bytes& f) { SetBe32(f, SizeOf(f, "stsd"), 3); }, true},
        {"keys counting a million", [](Bytes& f) { SetBe32(f, SizeOf(f, "keys") + 12, 1000000); },
         true},
        {"key longer than its box", [](Bytes& f) { SetBe32(f, SizeOf(f, "keys") + 16, 5000); },
         true},
        {"mdat of 64-bit size past the end",
         [](Bytes& f) {
             const size_t at = SizeOf(f, "mdat");
             SetBe32(f, at, 1);
             SetBe32(f, at + 8, 0xFFFFFFFF);
         },
         false},
        {"ftyp of size 0 first", [](Bytes& f) { SetBe32(f, 0, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = MovieFile(Apple());
        c.spoil(file);
        PhotoRead r(file);
        EXPECT_EQ(r.record.exifValid, c.headerKept);
        EXPECT_LE(r.source.BytesRead(), file.size());
        // The inspection's every-tag list copes with whatever was kept.
        MemorySource source(file.data(), file.size());
        FileReport report;
        InspectOptions options;
        options.allTags = true;
        InspectSource(source, report, nullptr, options);
    }
    // A user-data text claiming more than its box: only the box's bytes.
    MovieOptions o = Android();
    Bytes file = MovieFile(o);
    SetBe32(file, SizeOf(file, "\xA9mak") + 8, 0xFFFF15C7);
    PhotoRead r(file);
    EXPECT_STREQ(r.record.cameraMake, "samsung");
}

TEST(MovieReader, MovieBoxAfterALargeMediaBoxTakesAFewReads) {
    // 64 MiB of media data written as a hole, then the movie box.
    MovieOptions o = Apple();
    o.largeMdatHeader = true;
    o.mdatSize = 0;
    Bytes head = MovieFile(o);
    const size_t mdat = SizeOf(head, "mdat");
    const uint64_t media = 64u << 20;
    SetBe32(head, mdat + 8, 0);
    SetBe32(head, mdat + 12, static_cast<uint32_t>(media + 16));
    const Bytes moov(head.begin() + static_cast<ptrdiff_t>(mdat + 16), head.end());
    head.resize(mdat + 16);

    char path[] = "/tmp/velmora-movie-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, head.data(), head.size(), 0), ssize_t(head.size()));
    ASSERT_EQ(::pwrite(fd, moov.data(), moov.size(), off_t(head.size() + media)),
              ssize_t(moov.size()));
    FileSource source(fd);
    ExifSummary record{};
    PhotoReader reader(&record, nullptr, PhotoReader::Use::RecordOnly);
    reader.Read(source);
    ::close(fd);
    ::unlink(path);
    EXPECT_EQ(reader.Format(), PhotoFormat::Mov);
    EXPECT_STREQ(record.cameraModel, "iPhone 12 Pro");
    EXPECT_LE(source.PreadCount(), 4);
    EXPECT_LT(source.BytesRead(), 128u << 10);
}

TEST(MovieRecord, TimesAndDatesAsTheRecordWritesThem) {
    const std::pair<uint64_t, const char*> times[] = {
        {0, ""},
        {1, "1904:01:01 00:00:01"},
        {2082844800, "1970:01:01 00:00:00"},
        {3646801557, "2019:07:24 08:25:57"},
        {3665865599, "2020:02:29 23:59:59"}, // a leap day
        {UINT64_MAX, ""},
    };
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(MovieTimeText(seconds), text) << seconds;
    const std::pair<const char*, const char*> dates[] = {
        {"2019-07-24T11:25:40+0300", "2019:07:24 11:25:40"},
        {"2021-05-16T19:27:55Z", "2021:05:16 19:27:55"},
        {"2020-01-05T15:04Z", "2020:01:05 15:04:00"},
        {"2020-01-05 15:04:07", "2020:01:05 15:04:07"},
        {"2020-01-05", ""},
        {"2020/01/05T15:04:07", ""},
        {"", ""},
    };
    for (const auto& [iso, text] : dates)
        EXPECT_EQ(IsoDateTimeText(iso), text) << iso;
}

} // namespace
