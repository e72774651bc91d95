// Reading a file descriptor: the size learned only when needed, the window
// around small reads, sparse reads, and JPEG segments nothing reads passed
// over without reading them.
#include "tests/metadata/PhotoTestSupport.h"

#include "metadata/ByteSource.h"
#include "metadata/PhotoReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace {

using namespace readertest;

// A file in /tmp holding the bytes, open for reading; removed at the end.
struct TempFile {
    explicit TempFile(const Bytes& bytes) {
        char path[] = "/tmp/velmora-source-XXXXXX";
        fd = ::mkstemp(path);
        name = path;
        if (fd >= 0 &&
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            ADD_FAILURE() << "could not write " << name;
    }
    ~TempFile() {
        ::close(fd);
        ::unlink(name.c_str());
    }
    int fd = -1;
    std::string name;
};

Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + i / 251);
    return bytes;
}

TEST(FileSource, LearnsTheSizeFromAShortHeadOrWhenAReadGoesPastIt) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{5000}, FileSource::kHeadSize,
                        FileSource::kHeadSize + 1, size_t{300000}}) {
        SCOPED_TRACE(size);
        const Bytes bytes = Pattern(size);
        TempFile file(bytes);
        FileSource source(file.fd);
        unsigned char head[16] = {};
        const size_t n = source.ReadHead(head, sizeof head);
        EXPECT_EQ(n, std::min(size, sizeof head));
        EXPECT_EQ(Bytes(head, head + n), Bytes(bytes.begin(), bytes.begin() + n));
        EXPECT_EQ(source.PreadCount(), 1);
        EXPECT_EQ(source.Size(), size);
        EXPECT_TRUE(source.Holds(0, size));
        EXPECT_FALSE(source.Holds(size, 1));
        unsigned char byte;
        EXPECT_FALSE(source.ReadAt(size, &byte, 1));
        EXPECT_EQ(source.LastFailure(), ByteSource::Failure::PastEnd);
        if (size > 0) {
            ASSERT_TRUE(source.ReadAt(size - 1, &byte, 1));
            EXPECT_EQ(byte, bytes.back());
        }
        // Whatever the size: the head, read once, then at most a window.
        EXPECT_LE(source.PreadCount(), 2);
        EXPECT_LE(source.BytesRead(),
                  std::min<uint64_t>(size, FileSource::kHeadSize) + FileSource::kWindowSize);
    }
}

TEST(FileSource, ReadsPastTheHeadMeetTheEndWithoutKnowingTheSize) {
    const Bytes bytes = Pattern(100000);
    for (size_t large : {size_t{8}, size_t{6000}}) { // through a window, and straight
        SCOPED_TRACE(large);
        TempFile file(bytes);
        FileSource source(file.fd);
        Bytes out(large);
        // Ending exactly at the end, then one byte more, then wholly past it.
        ASSERT_TRUE(source.ReadAt(bytes.size() - large, out.data(), large));
        EXPECT_EQ(out, Bytes(bytes.end() - static_cast<ptrdiff_t>(large), bytes.end()));
        EXPECT_FALSE(source.ReadAt(bytes.size() - large + 1, out.data(), large));
        EXPECT_EQ(source.LastFailure(), ByteSource::Failure::PastEnd);
        EXPECT_FALSE(source.ReadAt(bytes.size() + 10, out.data(), 1));
        EXPECT_FALSE(source.ReadSparse(bytes.size() - 2, out.data(), 4));
        EXPECT_EQ(source.Size(), bytes.size());
        EXPECT_LE(source.BytesRead(), FileSource::kHeadSize + FileSource::kWindowSize + large);
    }
    // A file that grew no larger than the head: its short head tells the size.
    TempFile small(Pattern(3000));
    FileSource source(small.fd);
    unsigned char byte;
    EXPECT_FALSE(source.ReadAt(3000, &byte, 1));
    EXPECT_EQ(source.PreadCount(), 1);
    EXPECT_TRUE(source.ReadAt(2999, &byte, 1));
}

TEST(FileSource, WindowsStartOnFourKiBSoAStepBackStaysInside) {
    const Bytes bytes = Pattern(200 * 1024);
    TempFile file(bytes);
    FileSource source(file.fd);
    auto read = [&](uint64_t at, size_t count) {
        Bytes out(count);
        ASSERT_TRUE(source.ReadAt(at, out.data(), count)) << at;
        EXPECT_EQ(out, Bytes(bytes.begin() + at, bytes.begin() + at + count)) << at;
    };
    read(0, 8);
    read(100000, 200); // a directory
    read(99000, 12);   // its values just before it
    read(100300, 40);  // and just after
    EXPECT_EQ(source.PreadCount(), 2);
    // The window reaches on to 12 KiB after the read at least.
    read(100000 + 12 * 1024 - 4, 4);
    EXPECT_EQ(source.PreadCount(), 2);
}

TEST(FileSource, SparseReadsTakeJustTheirBytesAndStillUseWhatIsHeld) {
    const Bytes bytes = Pattern(1 << 20);
    TempFile file(bytes);
    FileSource source(file.fd);
    unsigned char out[8];
    ASSERT_TRUE(source.ReadSparse(16, out, 8)); // the head
    EXPECT_EQ(source.PreadCount(), 1);
    const uint64_t before = source.BytesRead();
    for (uint64_t at : {200000u, 500000u, 900000u}) {
        ASSERT_TRUE(source.ReadSparse(at, out, 8));
        EXPECT_EQ(Bytes(out, out + 8), Bytes(bytes.begin() + at, bytes.begin() + at + 8));
    }
    EXPECT_EQ(source.PreadCount(), 4);
    EXPECT_EQ(source.BytesRead(), before + 24);
    EXPECT_FALSE(source.ReadSparse(bytes.size() - 4, out, 8));
    EXPECT_EQ(source.LastFailure(), ByteSource::Failure::PastEnd);
}

// Bytes already in the head or the window are handed over where they lie,
// without a read; others are not (they are read the usual way).
TEST(FileSource, HeldBytesAreThoseOfTheHeadOrTheWindow) {
    const Bytes bytes = Pattern(1 << 20);
    TempFile file(bytes);
    FileSource source(file.fd);
    const unsigned char* head = source.Held(100, 1000);
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(Bytes(head, head + 1000), Bytes(bytes.begin() + 100, bytes.begin() + 1100));
    EXPECT_EQ(source.Held(500000, 8), nullptr);
    unsigned char out[8];
    ASSERT_TRUE(source.ReadAt(500000, out, 8)); // through a window
    const int preads = source.PreadCount();
    const unsigned char* window = source.Held(500004, 64);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Bytes(window, window + 64), Bytes(bytes.begin() + 500004, bytes.begin() + 500068));
    EXPECT_EQ(source.PreadCount(), preads);
    EXPECT_EQ(source.Held(bytes.size() - 4, 8), nullptr);
}

// A JPEG's record read from its file as the tool reads it.
struct FileRecord {
    explicit FileRecord(const TempFile& file) : source(file.fd) {
        std::memset(&record, 0, sizeof record);
        read = reader.Read(source);
    }
    ExifSummary record;
    FileSource source;
    CollectingSink sink;
    PhotoReader reader{&record, &sink, PhotoReader::Use::RecordOnly};
    bool read = false;
};

// The same bytes read from memory, segment by segment: copied, never
// borrowed.
ExifSummary MemoryRecord(const Bytes& bytes) {
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    MemoryStream stream(bytes.data(), bytes.size());
    CJpegExifReader sections(&record, &DiscardingSink());
    EXPECT_TRUE(sections.ReadSections(stream));
    EXPECT_GE(sections.SectionCount(), 1);
    EXPECT_FALSE(sections.Section(0).borrowed);
    return record;
}

// An EXIF block past the first read: the head grows to what the block
// needs, not to its full 64 KiB, and the record's sections point into it.
TEST(FileSource, AnExifBlockPastTheFirstReadGrowsTheHeadByWhatItNeeds) {
    struct {
        size_t padding; // bytes after the TIFF structure inside the APP1
        int preads;     // of the whole read
        uint64_t mostRead;
    } cases[] = {
        {1000, 1, FileSource::kFirstRead},
        {20000, 2, 32 * 1024},
        {40000, 2, 48 * 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.padding);
        Bytes payload = CameraExif(ByteOrder::Little).Payload();
        payload.resize(payload.size() + c.padding, 0);
        JpegBuilder jpeg;
        jpeg.Soi().App0Jfif().Segment(0xE1, payload).Frame(640, 480).BareSos();
        Bytes bytes = jpeg.Data();
        bytes.resize(200000, 0x55); // the scan's bytes
        TempFile file(bytes);
        const FileRecord read(file);
        EXPECT_TRUE(read.read);
        EXPECT_TRUE(read.record.exifValid);
        EXPECT_EQ(read.record.width, 640);
        EXPECT_EQ(read.source.PreadCount(), c.preads);
        EXPECT_LE(read.source.BytesRead(), c.mostRead);
        ASSERT_GE(read.reader.Jpeg().SectionCount(), 1);
        EXPECT_TRUE(read.reader.Jpeg().Section(0).borrowed);
        EXPECT_TRUE(SameRecord(read.record, MemoryRecord(bytes)));
    }
}

// EXIF, then megabytes of XMP extension segments, a second comment and the
// scan: only the EXIF segment and the tables are read.
Bytes JpegWithLargeUnusedSegments(ByteOrder order) {
    JpegBuilder jpeg;
    jpeg.Soi().App0Jfif().App1(CameraExif(order)).Comment("first");
    Bytes xmp(65000, 'x');
    const char signature[] = "http://ns.adobe.com/xmp/extension/";
    std::copy(signature, signature + sizeof signature, xmp.begin());
    for (int i = 0; i < 20; ++i)
        jpeg.Segment(0xE1, xmp);
    jpeg.Comment("second").Frame(640, 480).BareSos();
    return jpeg.Data();
}

TEST(FileSource, JpegSegmentsNothingReadsArePassedOverUnread) {
    for (ByteOrder order : kBothOrders) {
        const Bytes bytes = JpegWithLargeUnusedSegments(order);
        ASSERT_GT(bytes.size(), ByteSource::kDefaultCap / 4);
        TempFile file(bytes);
        const FileRecord read(file);
        EXPECT_TRUE(read.read);
        EXPECT_TRUE(read.reader.JpegScanReached());
        EXPECT_STREQ(read.record.comment, "first");
        EXPECT_EQ(read.record.width, 640);
        EXPECT_LT(read.source.BytesRead(), 64u * 1024 + 16 * 1024 * 3);
        EXPECT_TRUE(SameRecord(read.record, MemoryRecord(bytes)));
    }
}

// The segment scan that looks for XMP and IPTC beside the record passes
// over the same segments as sparingly: their headers are read, nothing more.
TEST(FileSource, SegmentScanReadsOnlyTheHeadersOfSegmentsItPassesOver) {
    TempFile file(JpegWithLargeUnusedSegments(ByteOrder::Big));
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    FileSource source(file.fd);
    PhotoReader reader(&record, &DiscardingSink(), PhotoReader::Use::RecordAndBlocks);
    EXPECT_TRUE(reader.Read(source));
    EXPECT_EQ(reader.Blocks().tiff.size(), 1u);
    EXPECT_TRUE(reader.Blocks().extendedXmp.empty());
    EXPECT_LT(source.BytesRead(), 64u * 1024 + 16 * 1024 * 3);
}

// More unused bytes than the read cap allows, before the EXIF block: passed
// over, they do not count, and the EXIF block is still read.
TEST(FileSource, UnusedSegmentsPastTheCapDoNotHideTheExifBlock) {
    JpegBuilder jpeg;
    jpeg.Soi();
    Bytes xmp(65000, 'x');
    const char signature[] = "http://ns.adobe.com/xmp/extension/";
    std::copy(signature, signature + sizeof signature, xmp.begin());
    while (jpeg.Data().size() < ByteSource::kDefaultCap + 100000)
        jpeg.Segment(0xE1, xmp);
    jpeg.App1(CameraExif(ByteOrder::Big)).Frame(640, 480).BareSos();
    TempFile file(jpeg.Data());
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    FileSource source(file.fd);
    PhotoReader reader(&record, &DiscardingSink(), PhotoReader::Use::RecordOnly);
    EXPECT_TRUE(reader.Read(source));
    EXPECT_TRUE(reader.JpegScanReached());
    EXPECT_TRUE(record.exifValid);
    EXPECT_LT(source.BytesRead(), 1u << 20);
}

TEST(FileSource, JpegCutInsideAPassedOverSegmentStillEndsTooEarly) {
    const Bytes whole = JpegWithLargeUnusedSegments(ByteOrder::Little);
    // Inside the third and inside the last of the XMP segments.
    for (size_t cut : {size_t{200000}, whole.size() - 4 - 19 - 10 - 100}) {
        SCOPED_TRACE(cut);
        TempFile file(Bytes(whole.begin(), whole.begin() + cut));
        ExifSummary record;
        std::memset(&record, 0, sizeof record);
        FileSource source(file.fd);
        PhotoReader reader(&record, &DiscardingSink(), PhotoReader::Use::RecordOnly);
        reader.Read(source);
        EXPECT_FALSE(reader.JpegScanReached());
        EXPECT_STREQ(reader.LastError(), "Premature end of file?");
        EXPECT_TRUE(record.exifValid); // what came before is kept
    }
}

} // namespace
