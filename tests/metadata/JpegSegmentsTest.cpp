// The JPEG segment scan: which blocks it keeps up to the start of scan, how
// extended XMP parts are joined, APP13 segments read one after another, and
// what the every-tag listing makes of them.
#include "metadata/containers/JpegSegments.h"
#include "presentation/FileInspection.h"
#include "tests/fixtures/MetadataBlocks.h"
#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace readertest;
using namespace fixture;

namespace {

constexpr char kGuid[] = "0123456789ABCDEF0123456789ABCDEF";
constexpr char kOtherGuid[] = "FEDCBA9876543210FEDCBA9876543210";

struct Scanned {
    explicit Scanned(const Bytes& file, uint64_t cap = ByteSource::kDefaultCap)
        : bytes(file), source(bytes.data(), bytes.size(), cap) {
        ok = ScanJpegSegments(source, 0, SourceStream::kToEnd, found, &exif);
    }
    std::string Extended(const std::string& guid) const {
        for (const ExtendedXmp& e : found.extendedXmp)
            if (e.guid == guid)
                return std::string(e.packet.begin(), e.packet.end());
        return "(none)";
    }
    Bytes bytes;
    MemorySource source;
    LocatedBlocks found;
    JpegExifSegment exif;
    bool ok = false;
};

TEST(JpegSegments, KeepsTheFirstBlocksUpToTheScan) {
    ExifBuilder exif(ByteOrder::Big);
    exif.Short(0, 0x0112, 1);
    const std::string packet = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>";
    const Bytes photoshop =
        PhotoshopPayload({PhotoshopResource(0x0404, "", IptcDataset(2, 5, "T"))});
    JpegBuilder jpeg;
    jpeg.Soi().App0Jfif().App1(exif).Segment(0xE1, XmpPayload(packet)).Segment(0xED, photoshop);
    jpeg.Segment(0xE1, XmpPayload("<second/>")).App1(ExifBuilder(ByteOrder::Little));
    jpeg.Frame(8, 8).BareSos().Segment(0xED, photoshop);
    const Scanned s(jpeg.Data());
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.found.tiff.size(), 1u);
    EXPECT_EQ(BytesOf(s.found.tiff[0].bytes), exif.Tiff());
    EXPECT_EQ(std::string(s.found.xmp.begin(), s.found.xmp.end()), packet);
    EXPECT_EQ(BytesOf(s.found.iptc), photoshop); // the one after the scan is not read
    EXPECT_EQ(s.exif.payload, 2u + 18 + 4);
    EXPECT_EQ(s.exif.length, exif.Payload().size() + 2);

    // Every cut of the file is scanned within its bounds (the sanitized
    // build checks), and keeps only whole blocks.
    for (size_t cut = 0; cut < jpeg.Data().size(); ++cut) {
        const Scanned part(Bytes(jpeg.Data().begin(), jpeg.Data().begin() + cut));
        EXPECT_EQ(part.ok, cut >= 2);
        EXPECT_TRUE(part.found.xmp.empty() || part.found.xmp.size() == packet.size());
    }
    EXPECT_FALSE(Scanned(exif.Tiff()).ok);
}

TEST(JpegSegments, LyingLengthEndsTheScan) {
    JpegBuilder jpeg;
    jpeg.Soi().SegmentWithLength(0xE1, 0xFFFF, XmpPayload("<x/>"));
    const Scanned s(jpeg.Data());
    EXPECT_TRUE(s.ok);
    EXPECT_TRUE(s.found.xmp.empty());
}

// How the parts of one extended packet are put together.
TEST(JpegSegments, ExtendedXmpPartsAreJoinedWhole) {
    const std::string packet = "<x:xmpmeta>" + std::string(100, 'a') + std::string(100, 'b') +
                               std::string(29, 'c') + "</x:xmpmeta>";
    const std::vector<Bytes> parts = ExtendedXmpPayloads(kGuid, packet, 64);
    ASSERT_EQ(parts.size(), 4u);
    Bytes changed = parts[1];
    changed.back() ^= 1;
    Bytes longer = parts[2]; // claims another full length
    longer[35 + 32 + 3] += 1;
    Bytes outside = parts[3]; // its bytes run past the full length
    outside[35 + 32 + 4 + 3] += 8;
    Bytes badGuid = parts[0];
    badGuid[35] = 'x';
    const std::vector<Bytes> other = ExtendedXmpPayloads(kOtherGuid, "<other/>", 3);

    struct Case {
        const char* what;
        std::vector<Bytes> segments;
        std::string joined; // of kGuid
    };
    const Case cases[] = {
        {"in order", parts, packet},
        {"in reverse order", {parts[3], parts[2], parts[1], parts[0]}, packet},
        {"one missing", {parts[0], parts[1], parts[3]}, "(none)"},
        {"a part twice", {parts[0], parts[1], parts[1], parts[2], parts[3]}, packet},
        {"a later copy that differs is left out",
         {parts[0], parts[1], changed, parts[2], parts[3]},
         packet},
        {"a part of another full length is left out",
         {parts[0], parts[1], longer, parts[3]},
         "(none)"},
        {"a part outside the full length is left out",
         {parts[0], parts[1], parts[2], outside},
         "(none)"},
        {"a GUID that is not hex is left out", {badGuid, parts[1], parts[2], parts[3]}, "(none)"},
        {"two packets interleaved",
         {parts[0], other[0], parts[1], other[1], parts[2], other[2], parts[3]},
         packet},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, XmpPayload(XmpPacket("")));
        for (const Bytes& segment : c.segments)
            jpeg.Segment(0xE1, segment);
        jpeg.Frame(8, 8).BareSos();
        const Scanned s(jpeg.Data());
        EXPECT_EQ(s.Extended(kGuid), c.joined);
    }
}

TEST(JpegSegments, ExtendedXmpLongerThanTheCapIsNotRead) {
    const std::string packet(4000, 'p');
    std::vector<Bytes> parts = ExtendedXmpPayloads(kGuid, packet, 2000);
    JpegBuilder jpeg;
    jpeg.Soi();
    for (const Bytes& part : parts)
        jpeg.Segment(0xE1, part);
    jpeg.Frame(8, 8).BareSos();
    const Scanned within(jpeg.Data(), 3 * packet.size());
    EXPECT_EQ(within.Extended(kGuid), packet);
    const Scanned capped(jpeg.Data(), packet.size() - 1);
    EXPECT_EQ(capped.Extended(kGuid), "(none)");
    EXPECT_LT(capped.source.BytesRead(), 1000u); // headers only
}

std::vector<std::string> Listed(const FileReport& report, const std::string& group) {
    std::vector<std::string> values;
    for (const MetadataEntry& e : report.tags)
        if (e.group == group)
            values.push_back(std::string(e.name) + "=" + e.text);
    return values;
}

TEST(JpegSegments, ExtendedXmpNamedByTheMainPacketIsListedAfterIt) {
    const std::string extended = XmpPacket("dc:format=\"image/jpeg\" photoshop:City=\"Bergen\"");
    const std::string stale = XmpPacket("photoshop:City=\"Oslo\"");
    for (const char* named : {kGuid, kOtherGuid, ""}) {
        SCOPED_TRACE(named);
        const std::string attributes =
            *named ? "xmpNote:HasExtendedXMP=\"" + std::string(named) + "\"" : "";
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, XmpPayload(XmpPacket(attributes + " dc:source=\"main\"")));
        for (const Bytes& part : ExtendedXmpPayloads(kOtherGuid, stale, 20))
            jpeg.Segment(0xE1, part);
        for (const Bytes& part : ExtendedXmpPayloads(kGuid, extended, 50))
            jpeg.Segment(0xE1, part);
        jpeg.Frame(8, 8).BareSos();
        const FileReport report = Inspect(jpeg.Data(), "a.jpg");
        std::vector<std::string> expected;
        if (*named)
            expected.push_back("xmpNote:HasExtendedXMP=" + std::string(named));
        expected.push_back("dc:source=main");
        if (named == kGuid)
            expected.insert(expected.end(), {"dc:format=image/jpeg", "photoshop:City=Bergen"});
        if (named == kOtherGuid)
            expected.push_back("photoshop:City=Oslo");
        std::vector<std::string> listed;
        for (const char* group : {"XMP-xmpNote", "XMP-dc", "XMP-photoshop"})
            for (const std::string& v : Listed(report, group))
                listed.push_back(v);
        std::sort(expected.begin(), expected.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, expected);
    }
}

TEST(JpegSegments, IptcOfEveryApp13SegmentIsListed) {
    const Bytes first = PhotoshopPayload({PhotoshopResource(
        0x0404, "", Cat({IptcDataset(2, 5, "Title"), IptcDataset(2, 25, "a")}))});
    // A resource that goes on in the next segment: cut after its first bytes.
    const Bytes split = PhotoshopPayload(
        {PhotoshopResource(0x0404, "", Cat({IptcDataset(2, 25, "b"), IptcDataset(2, 25, "c")}))});
    const size_t cut = 14 + 12 + 4;
    const Bytes head(split.begin(), split.begin() + cut);
    const Bytes tail = Cat(
        {TextBytes(std::string("Photoshop 3.0\0", 14)), Bytes(split.begin() + cut, split.end())});
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xED, first).App0Jfif().Segment(0xED, head).Segment(0xED, tail);
    jpeg.Frame(8, 8).BareSos();
    EXPECT_EQ(
        Listed(Inspect(jpeg.Data(), "a.jpg"), "IPTC"),
        (std::vector<std::string>{"ObjectName=Title", "Keywords=a", "Keywords=b", "Keywords=c"}));
}

} // namespace
