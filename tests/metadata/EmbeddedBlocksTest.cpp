// Metadata found outside a file's own EXIF block: the EXIF of the JPEG a
// Panasonic RW2 embeds (where its maker note is), and the trailer Samsung's
// phones append to JPEG and HEIF files.

#include "metadata/containers/SamsungTrailer.h"
#include "presentation/FileInspection.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/fixtures/MakerNoteSamples.h"
#include "tests/fixtures/MetadataBlocks.h"
#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;
using namespace fixture;

namespace {

std::vector<std::string> Listed(const Bytes& file, const std::string& group) {
    MemorySource source(file.data(), file.size());
    FileReport report;
    InspectOptions options;
    options.allTags = true;
    std::string error;
    InspectSource(source, report, "photo", options);
    std::vector<std::string> lines;
    for (const MetadataEntry& e : report.tags)
        if (group.empty() || e.group == group)
            lines.push_back(e.group + ":" + std::string(e.name) + "=" + e.text);
    return lines;
}

size_t Count(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return l.compare(0, prefix.size(), prefix) == 0;
    });
}

// An RW2: IFD0 with the maker and the embedded JPEG, whose EXIF holds
// Panasonic's note.
Bytes Rw2With(const Bytes& jpgFromRaw) {
    ExifBuilder raw(ByteOrder::Little);
    raw.Ascii(0, 0x010F, "Panasonic").Ascii(0, 0x0110, "DMC-G1");
    raw.Undefined(0, 0x002E, jpgFromRaw);
    return WithTiffMagic(raw.Tiff(), 0x55);
}

Bytes JpegWithTiff(const Bytes& tiff) {
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, Cat({TextBytes(std::string("Exif\0\0", 6)), tiff}));
    jpeg.Frame(8, 8).BareSos().Eoi();
    return jpeg.Data();
}

TEST(EmbeddedBlocks, Rw2MakerNoteFromItsEmbeddedJpeg) {
    const std::vector<std::string> all =
        Listed(Rw2With(JpegWithTiff(PanasonicTiff(ByteOrder::Little))), "");
    EXPECT_EQ(Count(all, "Panasonic:InternalSerialNumber=F541103040028"), 1u);
    EXPECT_EQ(Count(all, "Panasonic:SerialNumber=F541103040028"), 1u);
    EXPECT_EQ(Count(all, "Panasonic:FirmwareVersion=0 1 0 0"), 1u);
    // What the raw's own directories hold is not listed twice.
    EXPECT_EQ(Count(all, "IFD0:Make="), 1u);
    EXPECT_EQ(Count(all, "IFD0:Model=DMC-G1"), 1u);

    // Read for the record alone, the embedded JPEG is not looked at.
    PhotoRead record(Rw2With(JpegWithTiff(PanasonicTiff(ByteOrder::Little))), nullptr,
                     ByteSource::kDefaultCap, PhotoReader::Use::RecordOnly);
    EXPECT_TRUE(record.reader.Blocks().previewExif.empty());
}

TEST(EmbeddedBlocks, Rw2WhoseJpegIsNoneStillReads) {
    for (const Bytes& bad : {TextBytes("not a JPEG at all"), Bytes{0xFF, 0xD8, 0xFF, 0xE1, 0xFF}}) {
        const std::vector<std::string> all = Listed(Rw2With(bad), "");
        EXPECT_EQ(Count(all, "Panasonic:"), 0u);
        EXPECT_EQ(Count(all, "IFD0:Model=DMC-G1"), 1u);
    }
}

// Samsung's trailer: blocks (two zeros, type, name length, name, data),
// then "SEFH", version, count, a row per block (type, distance back from
// the directory, length), the directory's length and "SEFT".
struct TrailerBlock {
    uint16_t type;
    std::string name;
    std::string data;
};

Bytes Le(uint32_t v, int bytes) {
    Bytes out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return out;
}

Bytes Trailer(const std::vector<TrailerBlock>& blocks, uint32_t countFix = 0,
              uint32_t backFix = 0) {
    Bytes data, rows;
    std::vector<uint32_t> starts;
    for (const TrailerBlock& b : blocks) {
        starts.push_back(static_cast<uint32_t>(data.size()));
        data = Cat({data, Le(0, 2), Le(b.type, 2), Le(static_cast<uint32_t>(b.name.size()), 4),
                    TextBytes(b.name), TextBytes(b.data)});
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        const uint32_t length =
            static_cast<uint32_t>(8 + blocks[i].name.size() + blocks[i].data.size());
        rows =
            Cat({rows, Le(0, 2), Le(blocks[i].type, 2),
                 Le(static_cast<uint32_t>(data.size()) - starts[i] + backFix, 4), Le(length, 4)});
    }
    const uint32_t count = static_cast<uint32_t>(blocks.size()) + countFix;
    const Bytes directory = Cat({TextBytes("SEFH"), Le(107, 4), Le(count, 4), rows});
    return Cat(
        {data, directory, Le(static_cast<uint32_t>(directory.size()), 4), TextBytes("SEFT")});
}

ExifBuilder SamsungExif(const std::string& make) {
    ExifBuilder b(ByteOrder::Little);
    b.Ascii(0, 0x010F, make).Ascii(0, 0x0110, "SM-S918B");
    return b;
}

TEST(EmbeddedBlocks, SamsungTrailerOfJpegAndHeif) {
    const std::vector<TrailerBlock> blocks = {
        {0x0A01, "Image_UTC_Data", "1702402756576"},
        {0x0AA1, "MCC_Data", "214"},
        {0x0A30, "MotionPhoto_Data", std::string("mpv2\0\0\0\0", 8)},
        {0x0C61, "Camera_Capture_Mode_Info", "1"},
    };
    const std::vector<std::string> expected = {
        "Samsung:TimeStamp=2023:12:12 17:39:16.576+00:00",
        "Samsung:MCCData=214",
        "Samsung:EmbeddedVideoType=MotionPhoto_Data",
        "Samsung:EmbeddedVideoFile=(8 bytes)",
        "Samsung:Tag0x0C61=1",
    };
    const Bytes tiff = SamsungExif("samsung").Tiff();
    const Bytes jpeg = Cat({JpegWithTiff(tiff), Trailer(blocks)});
    const Bytes heif = Cat({HeifFile(tiff), Trailer(blocks)});
    EXPECT_EQ(Listed(jpeg, "Samsung"), expected);
    EXPECT_EQ(Listed(heif, "Samsung"), expected);
}

TEST(EmbeddedBlocks, SamsungTrailersThatDoNotHoldTogether) {
    const std::vector<TrailerBlock> one = {{0x0AA1, "MCC_Data", "214"}};
    const Bytes samsung = SamsungExif("SAMSUNG").Tiff();
    struct Case {
        const char* label;
        Bytes file;
        size_t listed;
    };
    Bytes cut = Trailer(one);
    cut.resize(cut.size() - 1);
    const Case cases[] = {
        {"sound", Cat({JpegWithTiff(samsung), Trailer(one)}), 1},
        {"another maker's file", Cat({JpegWithTiff(SamsungExif("Canon").Tiff()), Trailer(one)}), 0},
        {"no SEFT at the end", Cat({JpegWithTiff(samsung), cut}), 0},
        {"a count past the rows", Cat({JpegWithTiff(samsung), Trailer(one, 1000)}), 0},
        {"a block before the file", Cat({JpegWithTiff(samsung), Trailer(one, 0, 1u << 30)}), 0},
        {"a block's type that differs", Cat({JpegWithTiff(samsung), Trailer(one, 0, 4)}), 0},
        {"the trailer alone", Trailer(one), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Listed(c.file, "Samsung").size(), c.listed);
    }
}

} // namespace
