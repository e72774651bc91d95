// Files of every format that lie or end early: the photo reader ends every
// walk, reads within its cap, says what went wrong and keeps what it had.

#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

using namespace readertest;
using namespace fixture;

namespace {

std::vector<Bytes> EveryFormat(ByteOrder order) {
    const Bytes tiff = CameraTiff(order).Tiff();
    HeifOptions atEnd;
    atEnd.exifAtEnd = true;
    return {tiff,
            HeifFile(tiff),
            HeifFile(tiff, atEnd),
            Cr3File(tiff, tiff, tiff),
            JxlContainer(tiff, 64, 64),
            PngFile(tiff, 10, 10, false),
            PngFile(tiff, 10, 10, true),
            WebpFile(tiff, 10, 10, false, true),
            RafFile(CameraFile(order), 100, 100)};
}

void PutBe32(Bytes& b, size_t at, uint32_t v) {
    const Bytes bytes = Be32Bytes(v);
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<ptrdiff_t>(at));
}

uint32_t Be32Of(const Bytes& b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

size_t Find(const Bytes& b, const std::string& text) {
    const auto it = std::search(b.begin(), b.end(), text.begin(), text.end());
    return static_cast<size_t>(it - b.begin());
}

TEST(PhotoHostile, EveryFormatCutAtEveryLength) {
    for (ByteOrder order : kBothOrders) {
        for (const Bytes& file : EveryFormat(order)) {
            for (size_t n = 0; n < file.size(); ++n) {
                PhotoRead r(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(n)));
                ASSERT_LT(strnlen(r.record.cameraMake, sizeof r.record.cameraMake),
                          sizeof r.record.cameraMake);
                ASSERT_LE(r.source.BytesRead(), ByteSource::kDefaultCap);
            }
            PhotoRead whole(file);
            EXPECT_TRUE(whole.ok);
        }
    }
}

TEST(PhotoHostile, EveryFormatWithAnyByteChanged) {
    for (const Bytes& file : EveryFormat(ByteOrder::Big)) {
        for (size_t i = 0; i < file.size() && i < 600; ++i) {
            for (unsigned char v : {0x00, 0x01, 0x7F, 0xFF}) {
                Bytes changed = file;
                changed[i] = v;
                PhotoRead r(changed);
                ASSERT_LT(strnlen(r.record.dateTime, sizeof r.record.dateTime),
                          sizeof r.record.dateTime);
            }
        }
    }
}

TEST(PhotoHostile, BoxesThatLie) {
    const Bytes tiff = CameraTiff(ByteOrder::Little).Tiff();
    const Bytes heif = HeifFile(tiff);
    const size_t meta = Find(heif, "meta") - 4;

    Bytes zero = heif; // a size-0 box inside meta
    PutBe32(zero, Find(zero, "iinf") - 4, 0);
    EXPECT_FALSE(PhotoRead(zero).ok);

    Bytes larger = heif; // iloc larger than meta
    PutBe32(larger, Find(larger, "iloc") - 4, 0x7FFFFFFF);
    PhotoRead l(larger);
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.Error(), "");

    Bytes huge = heif; // meta larger than the file
    PutBe32(huge, meta, 0xFFFFFFF0);
    PhotoRead h(huge);
    EXPECT_FALSE(h.ok);
    EXPECT_EQ(h.Error(), "Box larger than its parent or smaller than its header");

    // The Exif item's extent past the end of the file.
    Bytes past = heif;
    const size_t iloc = Find(past, "iloc") + 4 + 4 + 2 + 2;
    PutBe32(past, iloc + 14 + 6, 0x7FFFFFF0); // item 2's offset
    PhotoRead p(past);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.Error(), "Item extent past the end of the file");

    // The Exif item in two extents: read whole when they are apart, refused
    // when the second starts inside the first; at the file's end or not.
    for (bool atEnd : {false, true}) {
        HeifOptions o;
        o.exifAtEnd = atEnd;
        o.exifInTwoExtents = true;
        PhotoRead apart(HeifFile(tiff, o));
        EXPECT_TRUE(apart.ok) << apart.Error();
        ExpectCameraRecord(apart.record);
        for (uint32_t overlap : {1u, 8u}) {
            o.extentOverlap = overlap;
            PhotoRead overlapping(HeifFile(tiff, o));
            EXPECT_FALSE(overlapping.ok);
            EXPECT_EQ(overlapping.Error(), "Item extents overlap");
        }
    }
}

// A box that runs past its parent by a few bytes (into the box after the
// parent, so that the bytes are there) is refused at every level of every
// ISOBMFF walk, as one that runs past it by a lot.
TEST(PhotoHostile, BoxesAFewBytesPastTheirParent) {
    const Bytes tiff = CameraTiff(ByteOrder::Little).Tiff();
    const Bytes heif = HeifFile(tiff);
    const Bytes cr3 = Cr3File(tiff, tiff, tiff);
    const Bytes jxl = JxlContainer(tiff, 64, 48);
    struct Case {
        const char* what;
        const Bytes& file;
        const char* box; // grown; its last occurrence
        bool exifValid;  // what is left of the record
        size_t blocks;
        int32_t width; // 4032 from the HEIF properties, 640 from EXIF
    };
    const Case cases[] = {
        {"the last child of meta (iref)", heif, "iref", true, 1, 4032},
        {"the last infe of iinf (the Exif item's)", heif, "infe", false, 0, 4032},
        {"the last child of iprp (ipma)", heif, "ipma", true, 1, 640},
        {"the last property of ipco (ispe)", heif, "ispe", true, 1, 640},
        {"the last child of moov (Canon's uuid)", cr3, "uuid", false, 0, 0},
        {"the last box of Canon's uuid (CMT4)", cr3, "CMT4", true, 2, 640},
        {"the last box of a JPEG XL file (jxlc)", jxl, "jxlc", true, 1, 640},
    };
    for (const Case& c : cases) {
        for (uint32_t by : {1u, 4u, 7u}) {
            SCOPED_TRACE(std::string(c.what) + " by " + std::to_string(by));
            Bytes file = c.file;
            const std::string type(c.box);
            const auto at = std::find_end(file.begin(), file.end(), type.begin(), type.end());
            ASSERT_NE(at, file.end());
            const size_t size = static_cast<size_t>(at - file.begin()) - 4;
            PutBe32(file, size, Be32Of(file, size) + by);
            PhotoRead r(file);
            EXPECT_EQ(r.Error(), "Box larger than its parent or smaller than its header");
            EXPECT_EQ(r.record.exifValid, c.exifValid);
            EXPECT_EQ(r.reader.Blocks().tiff.size(), c.blocks);
            EXPECT_EQ(r.record.width, c.width);
        }
    }
}

// A HEIF cut short (a partial download, a copy of its metadata alone): the
// items that are whole are read, only those past the end are refused.
TEST(PhotoHostile, CutHeifKeepsTheItemsThatAreWhole) {
    const Bytes tiff = CameraTiff(ByteOrder::Big).Tiff();
    HeifOptions o;
    o.xmp = "<x:xmpmeta/>";
    const Bytes whole = HeifFile(tiff, o);
    // Cut after the Exif item, first in mdat: the XMP and the picture are gone.
    const size_t exifEnd = Find(whole, "mdat") + 4 + 4 + 6 + tiff.size();
    PhotoRead cut(Bytes(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(exifEnd)));
    ExpectCameraRecord(cut.record);
    EXPECT_TRUE(cut.reader.Blocks().xmp.empty());

    // The primary image's Exif item at the end, cut off; another one whole.
    ExifBuilder other(ByteOrder::Big);
    other.Ascii(0, 0x010F, "Other");
    HeifOptions two;
    two.exifAtEnd = true;
    two.otherExif = other.Tiff();
    const Bytes both = HeifFile(tiff, two);
    PhotoRead bothRead(both);
    ExpectCameraRecord(bothRead.record);
    PhotoRead fallback(Bytes(both.begin(), both.end() - 1));
    EXPECT_TRUE(fallback.record.exifValid);
    EXPECT_STREQ(fallback.record.cameraMake, "Other");
    EXPECT_EQ(fallback.Error(), "");
    // Neither whole: the refusal is said.
    PhotoRead none(
        Bytes(both.begin(), both.begin() + static_cast<ptrdiff_t>(Find(both, "mdat") + 8)));
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.Error(), "Item extent past the end of the file");
}

TEST(PhotoHostile, IfdCyclesEnd) {
    for (ByteOrder order : kBothOrders) {
        ExifBuilder b = CameraTiff(order);
        b.Next(0, 0);         // IFD0 links to itself
        b.Link(1, 0x8769, 0); // Exif links back to IFD0
        PhotoRead r(b.Tiff());
        ExpectCameraRecord(r.record);
        EXPECT_EQ(r.Error(), "Directory chain loops");

        PhotoRead cr3(Cr3File(b.Tiff(), b.Tiff(), b.Tiff()));
        ExpectCameraRecord(cr3.record);
    }
}

TEST(PhotoHostile, CapIsRespected) {
    const Bytes tiff = CameraTiff(ByteOrder::Little).Tiff();
    HeifOptions o;
    o.exifAtEnd = true;
    const Bytes file = HeifFile(tiff, o);
    PhotoRead capped(file, nullptr, 200);
    EXPECT_LE(capped.source.BytesRead(), 200u);
    EXPECT_FALSE(capped.ok);
    EXPECT_EQ(capped.Error(), "Metadata read limit reached");
}

TEST(PhotoHostile, TypicalJpegIsOneRead) {
    const Bytes file = CameraFile(ByteOrder::Big);
    char path[] = "/tmp/velmora-photo-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, file.data(), file.size()), static_cast<ssize_t>(file.size()));
    ExifSummary record;
    std::memset(&record, 0, sizeof record);
    FileSource source(fd);
    CollectingSink sink;
    PhotoReader reader(&record, &sink);
    EXPECT_TRUE(reader.Read(source));
    EXPECT_EQ(source.PreadCount(), 1);
    EXPECT_EQ(source.BytesRead(), file.size());
    ::close(fd);
    ::unlink(path);
}

TEST(PhotoHostile, CrasherFilesOfEveryFormat) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VELMORA_CRASHERS_DIR)) {
        if (entry.path().extension() == ".md")
            continue;
        ++files;
        std::FILE* f = std::fopen(entry.path().c_str(), "rb");
        ASSERT_NE(f, nullptr);
        Bytes bytes;
        int c;
        while ((c = std::fgetc(f)) != EOF)
            bytes.push_back(static_cast<unsigned char>(c));
        std::fclose(f);
        PhotoRead r(bytes);
        EXPECT_LT(strnlen(r.record.comment, sizeof r.record.comment), sizeof r.record.comment);
        const FileExtent& preview = r.reader.Blocks().preview.extent;
        EXPECT_LE(preview.length, bytes.size()) << entry.path();
        EXPECT_LE(preview.offset, bytes.size() - preview.length) << entry.path();
    }
    EXPECT_GT(files, 0);
}

} // namespace

// Small reads past the head share a 16 KiB window; every byte is the file's,
// across the window's edges, and near the cap the window shrinks rather than
// refuse a read the cap allows.
TEST(PhotoHostile, SmallReadsPastTheHeadShareAWindow) {
    Bytes file(200 * 1024);
    for (size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<unsigned char>(i * 7 + i / 251);
    char path[] = "/tmp/velmora-window-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, file.data(), file.size()), static_cast<ssize_t>(file.size()));

    auto expect = [&](FileSource& source, uint64_t at, size_t count) {
        unsigned char out[4096];
        ASSERT_TRUE(source.ReadAt(at, out, count)) << at;
        EXPECT_EQ(Bytes(out, out + count), Bytes(file.begin() + at, file.begin() + at + count))
            << at;
    };
    FileSource source(fd);
    expect(source, 0, 16); // the head
    EXPECT_EQ(source.PreadCount(), 1);
    expect(source, 70000, 12);
    expect(source, 70000 + 8000, 100);
    expect(source, 70000, 4000);
    EXPECT_EQ(source.PreadCount(), 2);
    expect(source, 70000 + 16 * 1024 - 10, 20); // across the window's end
    expect(source, 69990, 8);                   // before its start
    expect(source, file.size() - 5, 5);         // the file's last bytes
    EXPECT_EQ(source.PreadCount(), 5);
    unsigned char byte;
    EXPECT_FALSE(source.ReadAt(file.size() - 2, &byte, 3)); // past the end

    // The bytes read count: the head's first part, one window, then 100
    // bytes are left.
    FileSource capped(fd, file.size(), FileSource::kFirstRead + FileSource::kWindowSize + 100);
    expect(capped, 0, 4);
    expect(capped, 100000, 60);
    unsigned char out[200];
    EXPECT_FALSE(capped.ReadAt(150000, out, 200));
    EXPECT_EQ(capped.LastFailure(), ByteSource::Failure::CapReached);
    expect(capped, 150000, 100); // what the cap allows is still read
    ::close(fd);
    ::unlink(path);
}
