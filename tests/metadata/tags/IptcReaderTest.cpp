// IPTC-IIM datasets from raw streams and Photoshop image resources, and the
// JPEG segments that hold them.
#include "metadata/tags/IptcReader.h"
#include "metadata/tags/JpegMetadataSegments.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/metadata/tags/AllTagsTestSupport.h"

#include <gtest/gtest.h>

using namespace alltagstest;

namespace {

Bytes Dataset(uint8_t record, uint8_t number, const std::string& value) {
    Bytes b = {0x1C, record, number, static_cast<uint8_t>(value.size() >> 8),
               static_cast<uint8_t>(value.size())};
    b.insert(b.end(), value.begin(), value.end());
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// One 8BIM image resource block, name and data padded to even.
Bytes Resource(uint16_t id, const std::string& name, const Bytes& data) {
    Bytes b = {'8', 'B', 'I', 'M', static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)};
    b.push_back(static_cast<uint8_t>(name.size()));
    b.insert(b.end(), name.begin(), name.end());
    if ((name.size() + 1) % 2)
        b.push_back(0);
    const uint32_t n = static_cast<uint32_t>(data.size());
    for (int shift : {24, 16, 8, 0})
        b.push_back(static_cast<uint8_t>(n >> shift));
    b.insert(b.end(), data.begin(), data.end());
    if (n % 2)
        b.push_back(0);
    return b;
}

Bytes PhotoshopPayload(std::initializer_list<Bytes> resources) {
    const std::string signature("Photoshop 3.0\0", 14);
    Bytes out(signature.begin(), signature.end());
    for (const Bytes& r : resources)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}

struct Read {
    explicit Read(const Bytes& bytes, bool photoshop = false) : buffer(bytes) {
        ok = photoshop ? ReadPhotoshopIptc(buffer.data.get(), buffer.size, out)
                       : ReadIptcIim(buffer.data.get(), buffer.size, out);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const MetadataEntry& e : out.Entries())
            names.push_back(e.name);
        return names;
    }
    std::vector<std::string> Values() const {
        std::vector<std::string> values;
        for (const MetadataEntry& e : out.Entries())
            values.push_back(e.text);
        return values;
    }
    ExactBuffer buffer;
    MetadataCollector out;
    bool ok = false;
};

} // namespace

TEST(IptcReader, NamedDatasetsRepeatedInOrder) {
    const Read r(Cat({Dataset(2, 0, std::string("\x00\x04", 2)), Dataset(2, 5, "Harbour"),
                      Dataset(2, 25, "sea"), Dataset(2, 25, "boat"), Dataset(2, 120, "A caption"),
                      Dataset(2, 80, "Ann"), Dataset(2, 55, "20240501"), Dataset(2, 200 - 1, "?"),
                      Dataset(2, 10, "5")}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.Names(),
              (std::vector<std::string>{"ApplicationRecordVersion", "ObjectName", "Keywords",
                                        "Keywords", "Caption-Abstract", "By-line", "DateCreated",
                                        "IPTC2:199", "Urgency"}));
    EXPECT_EQ(r.Values(), (std::vector<std::string>{"4", "Harbour", "sea", "boat", "A caption",
                                                    "Ann", "20240501", "?", "5"}));
    const MetadataEntry& version = r.out.Entries()[0];
    EXPECT_TRUE(version.value.IsSingleNumber());
    for (const MetadataEntry& e : r.out.Entries()) {
        EXPECT_EQ(e.group, "IPTC");
        EXPECT_EQ(e.id, -1);
    }
    EXPECT_EQ(r.out.Entries()[1].count, 7u);
}

TEST(IptcReader, TextIsUtf8OnlyWhenDeclared) {
    const std::string cafeUtf8 = "Caf\xC3\xA9";
    const std::string cafeLatin1 = "Caf\xE9";
    const Read declared(Cat({Dataset(1, 90, "\x1B%G"), Dataset(2, 90, cafeUtf8)}));
    EXPECT_EQ(declared.Values(), (std::vector<std::string>{"UTF-8", cafeUtf8}));
    const Read latin1(Cat({Dataset(2, 90, cafeLatin1)}));
    EXPECT_EQ(latin1.Values(), std::vector<std::string>{cafeUtf8});
    // Undeclared UTF-8 is read as Latin-1, as the standard says.
    const Read undeclared(Cat({Dataset(2, 90, cafeUtf8)}));
    EXPECT_EQ(undeclared.Values(), std::vector<std::string>{"Caf\xC3\x83\xC2\xA9"});
    // Declared UTF-8 that is not: still valid UTF-8 out.
    const Read broken(Cat({Dataset(1, 90, "\x1B%G"), Dataset(2, 90, "A\xFF")}));
    EXPECT_EQ(broken.Values()[1], "A\xEF\xBF\xBD");
}

TEST(IptcReader, LengthsThatLieEndTheStream) {
    Bytes lying = Cat({Dataset(2, 5, "Name"), Dataset(2, 25, "kw")});
    lying[lying.size() - 3] = 0x10; // the second dataset claims 4,098 bytes
    const Read r(lying);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.Names(), std::vector<std::string>{"ObjectName"});
    ASSERT_FALSE(r.out.Notes().empty());
    EXPECT_NE(r.out.Notes()[0].find("runs past the end"), std::string::npos);

    EXPECT_FALSE(Read(Bytes{0x1C, 2, 5}).ok);       // header cut off
    EXPECT_FALSE(Read(Bytes{0x1B, 2, 5, 0, 0}).ok); // not a dataset
    // Extended sizes: a four-byte length is read, a larger field refused.
    const Read extended(Bytes{0x1C, 2, 120, 0x80, 0x04, 0, 0, 0, 2, 'h', 'i'});
    EXPECT_EQ(extended.Values(), std::vector<std::string>{"hi"});
    EXPECT_FALSE(Read(Bytes{0x1C, 2, 120, 0x80, 0x09, 0, 0, 0, 0, 0, 0, 0, 0, 2, 'h', 'i'}).ok);
    EXPECT_FALSE(Read(Bytes{0x1C, 2, 120, 0x80, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 'h'}).ok);
    // Zero padding after the last dataset is the end, not a fault.
    const Read padded(Cat({Dataset(2, 5, "N"), Bytes(3, 0)}));
    EXPECT_TRUE(padded.out.Notes().empty());
}

TEST(IptcReader, PhotoshopResourcesAreWalkedToTheIptcBlock) {
    const Bytes iim = Cat({Dataset(2, 5, "Title"), Dataset(2, 25, "k")});
    const Read r(
        PhotoshopPayload({Resource(0x03ED, "", Bytes(16, 1)), Resource(0x040C, "odd", Bytes(7, 2)),
                          Resource(0x0404, "", iim)}),
        true);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.Values(), (std::vector<std::string>{"Title", "k"}));

    const Read none(PhotoshopPayload({Resource(0x03ED, "", Bytes(16, 1))}), true);
    EXPECT_FALSE(none.ok);

    // A resource whose size runs past the end stops the walk before the IPTC.
    Bytes lying = PhotoshopPayload({Resource(0x03ED, "", Bytes(4, 1)), Resource(0x0404, "", iim)});
    lying[14 + 8 + 2] = 0x7F;
    const Read cut(lying, true);
    EXPECT_FALSE(cut.ok);
    EXPECT_FALSE(cut.out.Notes().empty());

    // Without the signature (TIFF tag 34377 holds the blocks alone).
    Bytes bare = Resource(0x0404, "", iim);
    EXPECT_TRUE(Read(bare, true).ok);
}

TEST(JpegMetadataSegments, FindsExifXmpAndPhotoshopUpToTheScan) {
    ExifBuilder exif(ByteOrder::Big);
    exif.Short(0, 0x0112, 1);
    const std::string xmpHeader("http://ns.adobe.com/xap/1.0/\0", 29);
    const std::string packet = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>";
    Bytes xmp(xmpHeader.begin(), xmpHeader.end());
    xmp.insert(xmp.end(), packet.begin(), packet.end());
    const Bytes photoshop = PhotoshopPayload({Resource(0x0404, "", Dataset(2, 5, "T"))});
    fixture::JpegBuilder jpeg;
    jpeg.Soi().App0Jfif().App1(exif).Segment(0xE1, xmp).Segment(0xED, photoshop);
    jpeg.Frame(8, 8).BareSos().Segment(0xE1, xmp);
    const ExactBuffer file(jpeg.Data());

    JpegMetadataSegments s;
    ASSERT_TRUE(FindJpegMetadataSegments(file.data.get(), file.size, s));
    const Bytes tiff = exif.Tiff();
    ASSERT_EQ(s.exifSize, tiff.size());
    EXPECT_TRUE(std::equal(tiff.begin(), tiff.end(), s.exif));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.xmp), s.xmpSize), packet);
    ASSERT_EQ(s.photoshopSize, photoshop.size());
    EXPECT_TRUE(std::equal(photoshop.begin(), photoshop.end(), s.photoshop));

    // Every cut of the file is scanned within its bounds.
    for (size_t cut = 0; cut < file.size; ++cut) {
        const ExactBuffer part(Bytes(jpeg.Data().begin(), jpeg.Data().begin() + cut));
        JpegMetadataSegments p;
        FindJpegMetadataSegments(part.data.get(), part.size, p);
        if (p.xmp)
            EXPECT_LE(p.xmp + p.xmpSize, part.data.get() + part.size);
    }
    EXPECT_FALSE(FindJpegMetadataSegments(tiff.data(), tiff.size(), s));
}

TEST(JpegMetadataSegments, LyingLengthEndsTheScan) {
    fixture::JpegBuilder jpeg;
    const std::string packet("http://ns.adobe.com/xap/1.0/\0<x/>", 33);
    jpeg.Soi().SegmentWithLength(0xE1, 0xFFFF, Bytes(packet.begin(), packet.end()));
    const ExactBuffer file(jpeg.Data());
    JpegMetadataSegments s;
    EXPECT_TRUE(FindJpegMetadataSegments(file.data.get(), file.size, s));
    EXPECT_EQ(s.xmp, nullptr);
}
