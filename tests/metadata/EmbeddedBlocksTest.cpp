// Metadata outside a file's own EXIF block: the EXIF of the JPEG a
// Panasonic RW2 embeds (where its maker note is), and the trailer Samsung's
// phones append to JPEG and HEIF files.

#include "tests/fixtures/JpegBuilder.h"
#include "tests/fixtures/MakerNoteSamples.h"
#include "tests/fixtures/MetadataBlocks.h"
#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;
using namespace fixture;

namespace {

// "group:name=text" of every entry of `group` ("" for all).
std::vector<std::string> Listed(const Bytes& file, const std::string& group = "") {
    std::vector<std::string> lines;
    for (const MetadataEntry& e : Inspect(file, "photo").tags)
        if (group.empty() || e.group == group)
            lines.push_back(e.group + ":" + std::string(e.name) + "=" + e.text);
    return lines;
}

Bytes JpegWithTiff(const Bytes& tiff) {
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, Cat({TextBytes(std::string("Exif\0\0", 6)), tiff}));
    return jpeg.Frame(8, 8).BareSos().Eoi().Data();
}

Bytes Rw2With(const Bytes& jpgFromRaw) {
    ExifBuilder raw(ByteOrder::Little);
    raw.Ascii(0, 0x010F, "Panasonic").Undefined(0, 0x002E, jpgFromRaw);
    return WithTiffMagic(raw.Tiff(), 0x55);
}

TEST(EmbeddedBlocks, Rw2MakerNoteFromItsEmbeddedJpegOnce) {
    const Bytes rw2 = Rw2With(JpegWithTiff(PanasonicTiff(ByteOrder::Little)));
    const std::vector<std::string> all = Listed(rw2);
    EXPECT_EQ(std::count(all.begin(), all.end(), "Panasonic:InternalSerialNumber=F541103040028"),
              1);
    EXPECT_EQ(std::count(all.begin(), all.end(), "IFD0:Make=Panasonic"), 1); // not twice
    // A JPEG that is none: the raw's own entries still.
    const std::vector<std::string> none = Listed(Rw2With(TextBytes("no JPEG")));
    EXPECT_EQ(std::count(none.begin(), none.end(), "IFD0:Make=Panasonic"), 1);
    EXPECT_EQ(none.size(), 2u); // Make, JpgFromRaw
}

// Blocks ("name|data": two zeros, type, name length, name, data), then
// "SEFH", version, count, a row per block (two zeros, type, distance back
// from "SEFH", length), the directory's length and "SEFT". `back` moves
// every row's distance.
Bytes Trailer(const std::vector<std::pair<uint16_t, std::string>>& blocks, uint32_t extraCount = 0,
              uint32_t back = 0) {
    Bytes data, rows;
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) { // laid from the directory back
        const uint32_t split = static_cast<uint32_t>(it->second.find('|'));
        const Bytes block =
            Cat({Le32Bytes(it->first << 16), Le32Bytes(split), TextBytes(it->second)});
        data = Cat({Bytes(block.begin(), block.begin() + 8 + split),
                    Bytes(block.begin() + 9 + split, block.end()), data});
        rows =
            Cat({Le32Bytes(it->first << 16), Le32Bytes(static_cast<uint32_t>(data.size()) + back),
                 Le32Bytes(static_cast<uint32_t>(block.size() - 1)), rows});
    }
    const Bytes directory =
        Cat({TextBytes("SEFH"), Le32Bytes(107),
             Le32Bytes(static_cast<uint32_t>(blocks.size()) + extraCount), rows});
    return Cat(
        {data, directory, Le32Bytes(static_cast<uint32_t>(directory.size())), TextBytes("SEFT")});
}

TEST(EmbeddedBlocks, SamsungTrailer) {
    ExifBuilder samsung(ByteOrder::Little), canon(ByteOrder::Little);
    samsung.Ascii(0, 0x010F, "samsung");
    canon.Ascii(0, 0x010F, "Canon");
    const Bytes trailer = Trailer({{0x0A01, "Image_UTC_Data|1702402756576"},
                                   {0x0AA1, "MCC_Data|214"},
                                   {0x0A30, "MotionPhoto_Data|mpv2...."},
                                   {0x0C61, "Camera_Capture_Mode_Info|1"}});
    const std::vector<std::string> listed = {
        "Samsung:TimeStamp=2023:12:12 17:39:16.576+00:00", "Samsung:MCCData=214",
        "Samsung:EmbeddedVideoType=MotionPhoto_Data", "Samsung:EmbeddedVideoFile=(8 bytes)",
        "Samsung:Tag0x0C61=1"};
    const std::vector<std::pair<uint16_t, std::string>> one = {{0x0AA1, "MCC_Data|214"}};
    const Bytes jpeg = JpegWithTiff(samsung.Tiff());
    struct Case {
        const char* label;
        Bytes file;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"JPEG", Cat({jpeg, trailer}), listed},
        {"HEIF", Cat({HeifFile(samsung.Tiff()), trailer}), listed},
        {"another maker's", Cat({JpegWithTiff(canon.Tiff()), trailer}), {}},
        {"a count past its rows", Cat({jpeg, Trailer(one, 1000)}), {}},
        {"a block before the file", Cat({jpeg, Trailer(one, 0, 1 << 30)}), {}},
        {"a block not where its row says", Cat({jpeg, Trailer(one, 0, 4)}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Listed(c.file, "Samsung"), c.expected);
    }
}

} // namespace
