// IPTC-IIM datasets from raw streams and Photoshop image resources.
#include "metadata/tags/IptcReader.h"
#include "tests/fixtures/MetadataBlocks.h"
#include "tests/metadata/tags/AllTagsTestSupport.h"

#include <gtest/gtest.h>

using namespace alltagstest;
using fixture::Cat;
using fixture::IptcDataset;
using fixture::PhotoshopPayload;
using fixture::PhotoshopResource;

namespace {

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
    const Read r(Cat({IptcDataset(2, 0, std::string("\x00\x04", 2)), IptcDataset(2, 5, "Harbour"),
                      IptcDataset(2, 25, "sea"), IptcDataset(2, 25, "boat"),
                      IptcDataset(2, 120, "A caption"), IptcDataset(2, 80, "Ann"),
                      IptcDataset(2, 55, "20240501"), IptcDataset(2, 200 - 1, "?"),
                      IptcDataset(2, 10, "5")}));
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
    const Read declared(Cat({IptcDataset(1, 90, "\x1B%G"), IptcDataset(2, 90, cafeUtf8)}));
    EXPECT_EQ(declared.Values(), (std::vector<std::string>{"UTF-8", cafeUtf8}));
    const Read latin1(Cat({IptcDataset(2, 90, cafeLatin1)}));
    EXPECT_EQ(latin1.Values(), std::vector<std::string>{cafeUtf8});
    // Undeclared UTF-8 is read as Latin-1, as the standard says.
    const Read undeclared(Cat({IptcDataset(2, 90, cafeUtf8)}));
    EXPECT_EQ(undeclared.Values(), std::vector<std::string>{"Caf\xC3\x83\xC2\xA9"});
    // Declared UTF-8 that is not: still valid UTF-8 out.
    const Read broken(Cat({IptcDataset(1, 90, "\x1B%G"), IptcDataset(2, 90, "A\xFF")}));
    EXPECT_EQ(broken.Values()[1], "A\xEF\xBF\xBD");
}

TEST(IptcReader, LengthsThatLieEndTheStream) {
    Bytes lying = Cat({IptcDataset(2, 5, "Name"), IptcDataset(2, 25, "kw")});
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
    const Read padded(Cat({IptcDataset(2, 5, "N"), Bytes(3, 0)}));
    EXPECT_TRUE(padded.out.Notes().empty());
}

TEST(IptcReader, PhotoshopResourcesAreWalkedToTheIptcBlock) {
    const Bytes iim = Cat({IptcDataset(2, 5, "Title"), IptcDataset(2, 25, "k")});
    const Read r(PhotoshopPayload({PhotoshopResource(0x03ED, "", Bytes(16, 1)),
                                   PhotoshopResource(0x040C, "odd", Bytes(7, 2)),
                                   PhotoshopResource(0x0404, "", iim)}),
                 true);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.Values(), (std::vector<std::string>{"Title", "k"}));

    const Read none(PhotoshopPayload({PhotoshopResource(0x03ED, "", Bytes(16, 1))}), true);
    EXPECT_FALSE(none.ok);

    // A resource whose size runs past the end stops the walk before the IPTC.
    Bytes lying = PhotoshopPayload(
        {PhotoshopResource(0x03ED, "", Bytes(4, 1)), PhotoshopResource(0x0404, "", iim)});
    lying[14 + 8 + 2] = 0x7F;
    const Read cut(lying, true);
    EXPECT_FALSE(cut.ok);
    EXPECT_FALSE(cut.out.Notes().empty());

    // Without the signature (TIFF tag 34377 holds the blocks alone).
    Bytes bare = PhotoshopResource(0x0404, "", iim);
    EXPECT_TRUE(Read(bare, true).ok);

    // Every IIM resource, in order (the resources of several JPEG APP13
    // segments, joined, may hold one each).
    const Read two(PhotoshopPayload({PhotoshopResource(0x0404, "", IptcDataset(2, 5, "First")),
                                     PhotoshopResource(0x03ED, "", Bytes(16, 1)),
                                     PhotoshopResource(0x0404, "", IptcDataset(2, 5, "Second"))}),
                   true);
    EXPECT_EQ(two.Values(), (std::vector<std::string>{"First", "Second"}));
}
