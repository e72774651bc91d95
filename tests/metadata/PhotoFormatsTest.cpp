// Every format's file read through the photo reader gives the same record,
// the container's size and the format's name in the rows.

#include "presentation/FileInspection.h"
#include "presentation/TagRows.h"
#include "tests/fixtures/MetadataBlocks.h"
#include "tests/metadata/PhotoTestSupport.h"

#include <gtest/gtest.h>

using namespace readertest;
using namespace fixture;

namespace {

std::string EncodingRow(const PhotoRead& r) {
    for (const TagRow& row : BuildTagRows(r.record, r.reader.Format()))
        if (row.label == "Encoding")
            return row.value;
    return "";
}

ExifBuilder RawTiff(ByteOrder order, const std::string& make, bool cfa) {
    ExifBuilder raw(order);
    const int exif = raw.AddDirectory();
    const int sub = raw.AddDirectory();
    raw.Long(0, 0x00FE, 1).Short(0, 0x0100, 160).Short(0, 0x0101, 120);
    raw.Ascii(0, 0x010F, make).Ascii(0, 0x0110, "Canon EOS R5");
    raw.Link(0, 0x014A, sub).Link(0, 0x8769, exif);
    raw.Rational(exif, 0x829A, 1, 250).Rational(exif, 0x829D, 28, 10).Short(exif, 0x8827, 400);
    raw.Ascii(exif, 0x9003, "2024:05:06 07:08:09").Rational(exif, 0x920A, 50, 1);
    raw.Long(sub, 0x00FE, 0).Long(sub, 0x0100, 6000).Long(sub, 0x0101, 4000);
    raw.Short(sub, 0x0106, cfa ? 32803 : 2);
    return raw;
}

TEST(PhotoFormats, TiffAndRawVariantsByContent) {
    for (ByteOrder order : kBothOrders) {
        PhotoRead tiff(CameraTiff(order).Tiff());
        EXPECT_EQ(tiff.reader.Format(), PhotoFormat::Tiff);
        ExpectCameraRecord(tiff.record);
        EXPECT_EQ(EncodingRow(tiff), "TIFF");

        PhotoRead nef(RawTiff(order, "NIKON CORPORATION", true).Tiff(), "a.nrw");
        EXPECT_EQ(nef.reader.Format(), PhotoFormat::Nrw);
        EXPECT_EQ(nef.record.width, 6000); // the SubIFD of NewSubfileType 0
        EXPECT_EQ(nef.record.height, 4000);
        EXPECT_STREQ(nef.record.dateTime, "2024:05:06 07:08:09");

        // A scanner's TIFF naming a camera maker is still a TIFF.
        PhotoRead scan(RawTiff(order, "NIKON", false).Tiff(), "scan.nef");
        EXPECT_EQ(scan.reader.Format(), PhotoFormat::Tiff);

        PhotoRead orf(WithTiffMagic(CameraTiff(order).Tiff(), 0x4F52));
        EXPECT_EQ(orf.reader.Format(), PhotoFormat::Orf);
        ExpectCameraRecord(orf.record);
        EXPECT_EQ(EncodingRow(orf), "Olympus ORF");

        PhotoRead rw2(WithTiffMagic(CameraTiff(order).Tiff(), 0x55));
        EXPECT_EQ(rw2.reader.Format(), PhotoFormat::Rw2);
        ExpectCameraRecord(rw2.record);

        ExifBuilder cr2 = CameraTiff(order);
        cr2.FirstDirectoryAt(16);
        PhotoRead canon(WithCr2Marker(cr2.Tiff()));
        EXPECT_EQ(canon.reader.Format(), PhotoFormat::Cr2);
        ExpectCameraRecord(canon.record);
        EXPECT_EQ(EncodingRow(canon), "Canon CR2");

        ExifBuilder dng = CameraTiff(order);
        dng.Undefined(0, 0xC612, {1, 4, 0, 0});
        PhotoRead d(dng.Tiff());
        EXPECT_EQ(d.reader.Format(), PhotoFormat::Dng);
    }
}

TEST(PhotoFormats, TiffValuesAfterThePictureAreRepacked) {
    // A TIFF whose directory comes after a megabyte of picture data: the
    // reader fetches the directories, not the data.
    ExifBuilder b = CameraTiff(ByteOrder::Little);
    b.FirstDirectoryAt(8 + (1u << 20));
    const Bytes file = b.Tiff();
    PhotoRead r(file);
    ExpectCameraRecord(r.record);
    EXPECT_LT(r.source.BytesRead(), 4096u);
    ASSERT_EQ(r.reader.Blocks().tiff.size(), 1u);
    EXPECT_LT(r.reader.Blocks().tiff[0].size(), 1024u);
}

TEST(PhotoFormats, HeifAvifWithExifAnywhere) {
    for (ByteOrder order : kBothOrders) {
        const Bytes tiff = CameraTiff(order).Tiff();
        for (bool atEnd : {false, true}) {
            HeifOptions o;
            o.exifAtEnd = atEnd;
            o.xmp = "<x:xmpmeta/>";
            PhotoRead heic(HeifFile(tiff, o));
            EXPECT_EQ(heic.reader.Format(), PhotoFormat::Heic);
            ExpectCameraRecord(heic.record);
            EXPECT_EQ(heic.record.width, 4032);
            EXPECT_EQ(heic.record.height, 3024);
            EXPECT_EQ(EncodingRow(heic), "HEIF (HEVC)");
            const auto& xmp = heic.reader.Blocks().xmp;
            EXPECT_EQ(std::string(xmp.begin(), xmp.end()), "<x:xmpmeta/>");
        }
        HeifOptions avif;
        avif.brand = "avif";
        avif.primaryType = "av01";
        avif.exifPrefix = 0;
        PhotoRead a(HeifFile(tiff, avif));
        EXPECT_EQ(a.reader.Format(), PhotoFormat::Avif);
        ExpectCameraRecord(a.record);
        EXPECT_EQ(EncodingRow(a), "AVIF");
    }
}

TEST(PhotoFormats, Cr3KeepsThreeBlocks) {
    for (ByteOrder order : kBothOrders) {
        ExifBuilder ifd0(order);
        ifd0.Ascii(0, 0x010F, "Canon").Ascii(0, 0x0110, "Canon EOS R5");
        ifd0.Short(0, 0x0100, 8192).Short(0, 0x0101, 5464);
        ExifBuilder exif(order);
        exif.Rational(0, 0x829A, 1, 250).Rational(0, 0x829D, 28, 10).Short(0, 0x8827, 400);
        exif.Ascii(0, 0x9003, "2024:05:06 07:08:09").Rational(0, 0x920A, 50, 1);
        ExifBuilder gps(order);
        gps.Byte(0, 0x0000, 2);
        PhotoRead r(Cr3File(ifd0.Tiff(), exif.Tiff(), gps.Tiff()));
        EXPECT_EQ(r.reader.Format(), PhotoFormat::Cr3);
        ExpectCameraRecord(r.record);
        EXPECT_EQ(r.record.width, 8192);
        ASSERT_EQ(r.reader.Blocks().tiff.size(), 3u);
        EXPECT_EQ(r.reader.Blocks().tiff[1].role, TiffRole::Exif);
        EXPECT_EQ(r.reader.Blocks().tiff[2].role, TiffRole::Gps);
        EXPECT_EQ(EncodingRow(r), "Canon CR3");
    }
}

TEST(PhotoFormats, JxlPngWebpRaf) {
    for (ByteOrder order : kBothOrders) {
        const Bytes tiff = CameraTiff(order).Tiff();
        PhotoRead jxl(JxlContainer(tiff, 64, 48));
        EXPECT_EQ(jxl.reader.Format(), PhotoFormat::Jxl);
        ExpectCameraRecord(jxl.record);
        EXPECT_EQ(jxl.record.width, 64);
        EXPECT_EQ(jxl.record.height, 48);

        for (bool rawProfile : {false, true}) {
            PhotoRead png(PngFile(tiff, 300, 200, rawProfile));
            EXPECT_EQ(png.reader.Format(), PhotoFormat::Png);
            ExpectCameraRecord(png.record);
            EXPECT_EQ(png.record.width, 300);
            EXPECT_EQ(EncodingRow(png), "PNG");
        }
        for (bool lossless : {false, true}) {
            PhotoRead webp(WebpFile(tiff, 320, 240, lossless, lossless));
            EXPECT_EQ(webp.reader.Format(),
                      lossless ? PhotoFormat::WebpLossless : PhotoFormat::WebpLossy);
            ExpectCameraRecord(webp.record);
            EXPECT_EQ(webp.record.width, 320);
            EXPECT_EQ(webp.record.height, 240);
        }
        PhotoRead raf(RafFile(CameraFile(order), 6240, 4160));
        EXPECT_EQ(raf.reader.Format(), PhotoFormat::Raf);
        EXPECT_TRUE(raf.record.exifValid);
        EXPECT_EQ(raf.record.width, 6240);
        EXPECT_EQ(EncodingRow(raf), "Fujifilm RAF");
        EXPECT_EQ(raf.reader.Blocks().preview.extent.offset, 100u);
    }
}

TEST(PhotoFormats, KnownFormatWithoutExifHasNoRecord) {
    PhotoRead bare(Bytes{0xFF, 0x0A, 0x0F, 0x00, 0, 0, 0, 0});
    EXPECT_EQ(bare.reader.Format(), PhotoFormat::Jxl);
    EXPECT_FALSE(bare.ok);
    EXPECT_FALSE(bare.record.exifValid);
    PhotoRead unknown(Bytes{'G', 'I', 'F', '8', '9', 'a'});
    EXPECT_EQ(unknown.reader.Format(), PhotoFormat::Unknown);
    EXPECT_STREQ(unknown.reader.LastError(), "Unknown file format");
}

TEST(PhotoFormats, JpegRecordIsTheSectionReadersOwn) {
    for (ByteOrder order : kBothOrders) {
        const Bytes file = CameraFile(order);
        ReadFile direct(file);
        PhotoRead photo(file);
        EXPECT_EQ(photo.reader.Format(), PhotoFormat::Jpeg);
        photo.record.thumbnailData = direct.record.thumbnailData = nullptr;
        EXPECT_TRUE(SameRecord(photo.record, direct.record));
        EXPECT_EQ(BuildTagRows(photo.record, PhotoFormat::Jpeg).back().value,
                  BuildTagRows(direct.record).back().value);
        EXPECT_GT(photo.reader.Blocks().preview.extent.length, 0u);
    }
}

// A TIFF with what the record never reads: a long strip table, a large maker
// note and XMP; and a UserComment longer than the record keeps, which it does
// read.
Bytes TiffWithLargeValues(ByteOrder order) {
    ExifBuilder b = CameraTiff(order);
    b.Add(0, MakeEntry(0x0111, 4, 20000, Bytes(80000, 1)));
    b.Add(0, MakeEntry(0x02BC, 1, 9000, Bytes(9000, 'x')));
    b.Add(1, MakeEntry(0x927C, 7, 30000, Bytes(30000, 2)));
    Bytes comment = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};
    comment.resize(6000, 'c');
    b.Add(1, MakeEntry(0x9286, 7, static_cast<uint32_t>(comment.size()), comment));
    return b.Tiff();
}

TEST(PhotoFormats, ReadingForTheRecordAloneGivesTheSameRecord) {
    for (ByteOrder order : kBothOrders) {
        const Bytes tiff = CameraTiff(order).Tiff();
        HeifOptions atEnd;
        atEnd.exifAtEnd = true;
        const std::vector<std::pair<const char*, Bytes>> files = {
            {"jpeg", CameraFile(order)},
            {"tiff", tiff},
            {"tiff with large values", TiffWithLargeValues(order)},
            {"raw", RawTiff(order, "Canon", true).Tiff()},
            {"heif", HeifFile(tiff, atEnd)},
            {"cr3", Cr3File(tiff, tiff, tiff)},
            {"jxl", JxlContainer(tiff, 64, 48)},
            {"png", PngFile(tiff, 300, 200)},
            {"png raw profile", PngFile(tiff, 300, 200, true)},
            {"webp", WebpFile(tiff, 320, 240, false, true)},
            {"raf", RafFile(CameraFile(order), 6240, 4160)},
        };
        for (const auto& [name, file] : files) {
            SCOPED_TRACE(name);
            PhotoRead all(file);
            PhotoRead record(file, nullptr, ByteSource::kDefaultCap, PhotoReader::Use::RecordOnly);
            EXPECT_TRUE(record.record.exifValid);
            EXPECT_EQ(record.reader.Format(), all.reader.Format());
            EXPECT_TRUE(SameRecord(record.record, all.record));
            EXPECT_EQ(record.Error(), all.Error());
            EXPECT_EQ(record.sink.printed, all.sink.printed);
            EXPECT_LE(record.source.BytesRead(), all.source.BytesRead());
        }
        const Bytes large = TiffWithLargeValues(order);
        PhotoRead all(large);
        PhotoRead record(large, nullptr, ByteSource::kDefaultCap, PhotoReader::Use::RecordOnly);
        EXPECT_LT(record.source.BytesRead() + 100000, all.source.BytesRead());
        EXPECT_EQ(all.reader.Blocks().xmp.size(), 9000u);
        EXPECT_TRUE(record.reader.Blocks().xmp.empty());
    }
}

// A PNG whose raw profile is a tEXt chunk written as given.
Bytes PngWithRawProfileText(const std::string& text) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr = Be32Bytes(30);
    const Bytes height = Be32Bytes(20);
    ihdr.insert(ihdr.end(), height.begin(), height.end());
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    for (const Bytes& part : {PngChunk("IHDR", ihdr)})
        out.insert(out.end(), part.begin(), part.end());
    Bytes chunk;
    const std::string keyword = "Raw profile type exif";
    chunk.insert(chunk.end(), keyword.begin(), keyword.end());
    chunk.push_back(0);
    chunk.insert(chunk.end(), text.begin(), text.end());
    for (const Bytes& part : {PngChunk("tEXt", chunk), PngChunk("IEND", {})})
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(PhotoFormats, PngRawProfileDigitsInAnyCaseAndLayout) {
    const Bytes tiff = CameraTiff(ByteOrder::Big).Tiff();
    static const char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (size_t i = 0; i < tiff.size(); ++i) {
        digits += kHex[tiff[i] >> 4];
        if (i % 5 == 4)
            digits += "\n  "; // a line break inside a byte
        digits += kHex[tiff[i] & 15];
    }
    const std::string length = std::to_string(tiff.size());
    PhotoRead good(PngWithRawProfileText("\nexif\n   " + length + "\n" + digits + "\n"));
    ExpectCameraRecord(good.record);
    EXPECT_EQ(good.record.width, 30);

    // Long lines, as writers make them, are read sixteen bytes at a time:
    // lines of every length around that, and a stray byte at every place of
    // a block, give the same bytes.
    static const char kLowerHex[] = "0123456789abcdef";
    for (const size_t line : {size_t{31}, size_t{32}, size_t{33}, size_t{72}, size_t{100000}}) {
        for (size_t stray = 0; stray < 40; stray += line == 72 ? 1 : 13) {
            std::string text;
            for (size_t i = 0; i < tiff.size(); ++i) {
                for (const int nibble : {tiff[i] >> 4, tiff[i] & 15}) {
                    if (text.size() == stray)
                        text += ' ';
                    text += (i % 2 ? kHex : kLowerHex)[nibble];
                    if ((text.size() + 1) % (line + 1) == 0)
                        text += '\n';
                }
            }
            PhotoRead read(PngWithRawProfileText("\nexif\n   " + length + "\n" + text + "\n"));
            ASSERT_EQ(read.reader.Blocks().tiff.size(), 1u) << line << " " << stray;
            const TiffBlock& block = read.reader.Blocks().tiff.front();
            EXPECT_EQ(Bytes(block.data(), block.data() + block.size()), tiff)
                << line << " " << stray;
        }
    }

    // Fewer digits than the length says, or no length at all.
    for (const std::string& text :
         {"\nexif\n   " + std::to_string(tiff.size() + 1) + "\n" + digits + "\n",
          "\nexif\n   \n" + digits}) {
        PhotoRead damaged(PngWithRawProfileText(text));
        EXPECT_FALSE(damaged.record.exifValid);
        EXPECT_EQ(damaged.Error(), "Damaged raw profile");
    }
}

// Some writers store the HEIF Exif item's TIFF header at its very start,
// without the 4-byte offset before it.
TEST(PhotoFormats, HeifExifItemWithoutItsOffset) {
    for (ByteOrder order : kBothOrders) {
        HeifOptions o;
        o.exifWithoutOffset = true;
        PhotoRead r(HeifFile(CameraTiff(order).Tiff(), o));
        EXPECT_EQ(r.Error(), "");
        ExpectCameraRecord(r.record);
    }
    // Neither an offset inside the item nor a TIFF header at its start.
    Bytes notTiff = CameraTiff(ByteOrder::Big).Tiff();
    notTiff[1] = 'X';
    HeifOptions o;
    o.exifWithoutOffset = true;
    PhotoRead r(HeifFile(notTiff, o));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.Error(), "EXIF item's TIFF offset past its end");
}

// Of two Exif items, the one whose cdsc reference names the primary image
// is read, wherever the item list has it.
TEST(PhotoFormats, HeifExifItemOfThePrimaryImageWins) {
    for (ByteOrder order : kBothOrders) {
        ExifBuilder other(order);
        other.Ascii(0, 0x010F, "Other").Ascii(0, 0x0110, "Thumbnail camera");
        for (bool otherFirst : {false, true}) {
            SCOPED_TRACE(otherFirst);
            HeifOptions o;
            o.otherExif = other.Tiff();
            o.otherExifFirst = otherFirst;
            PhotoRead r(HeifFile(CameraTiff(order).Tiff(), o));
            ExpectCameraRecord(r.record);
            EXPECT_EQ(r.reader.Blocks().tiff.size(), 1u);
        }
    }
}

// The eXIf chunk is the EXIF block; a raw profile beside it, before or
// after, is left out.
TEST(PhotoFormats, PngExifChunkWinsOverARawProfileInEitherOrder) {
    const Bytes tiff = CameraTiff(ByteOrder::Little).Tiff();
    ExifBuilder other(ByteOrder::Big);
    other.Ascii(0, 0x010F, "Other");
    const Bytes profile =
        RawProfileChunk("zTXt", "exif", Cat({TextBytes(std::string("Exif\0\0", 6)), other.Tiff()}));
    for (bool profileFirst : {false, true}) {
        SCOPED_TRACE(profileFirst);
        const Bytes chunk = PngChunk("eXIf", tiff);
        PhotoRead r(PngFileOf(10, 10,
                              profileFirst ? std::vector<Bytes>{profile, chunk}
                                           : std::vector<Bytes>{chunk, profile}));
        ExpectCameraRecord(r.record);
        ASSERT_EQ(r.reader.Blocks().tiff.size(), 1u);
        EXPECT_EQ(BytesOf(r.reader.Blocks().tiff[0].bytes), tiff);
    }
}

// Raw profiles of every kind image tools write, in each text chunk type:
// the blocks the JPEG segments would hold, for the same readers.
TEST(PhotoFormats, PngRawProfilesOfEveryKind) {
    const Bytes tiff = CameraTiff(ByteOrder::Big).Tiff();
    const Bytes iim = Cat({IptcDataset(2, 5, "Harbour"), IptcDataset(2, 25, "sea")});
    const Bytes resources = PhotoshopResource(0x0404, "", iim);
    const std::string packet = XmpPacket("dc:format=\"image/png\"");
    struct Case {
        const char* kind;
        Bytes profile;
        Bytes iptc, xmp; // expected
        bool exif;
    };
    const Case cases[] = {
        {"iptc", iim, iim, {}, false},
        {"8bim", resources, resources, {}, false},
        {"xmp", TextBytes(packet), {}, TextBytes(packet), false},
        {"APP1", XmpPayload(packet), {}, TextBytes(packet), false},
        {"APP1", Cat({TextBytes(std::string("Exif\0\0", 6)), tiff}), {}, {}, true},
    };
    for (const char* type : {"tEXt", "zTXt", "iTXt"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(type) + " " + c.kind);
            const Bytes file = PngFileOf(10, 10, {RawProfileChunk(type, c.kind, c.profile)});
            PhotoRead r(file);
            EXPECT_EQ(BytesOf(r.reader.Blocks().iptc), c.iptc);
            EXPECT_EQ(BytesOf(r.reader.Blocks().xmp), c.xmp);
            EXPECT_EQ(r.record.exifValid, c.exif);
            // Read for the record alone, only the EXIF kinds are looked at.
            PhotoRead record(file, nullptr, ByteSource::kDefaultCap, PhotoReader::Use::RecordOnly);
            EXPECT_TRUE(record.reader.Blocks().iptc.empty());
            EXPECT_TRUE(record.reader.Blocks().xmp.empty());
            EXPECT_EQ(record.record.exifValid, c.exif);
        }
    }
    // Listed like a JPEG's: IIM and image resources alike.
    for (const Bytes& profile : {iim, resources}) {
        const Bytes file = PngFileOf(10, 10, {RawProfileChunk("zTXt", "iptc", profile)});
        std::vector<std::string> listed;
        for (const MetadataEntry& e : Inspect(file, "a.png").tags)
            listed.push_back(e.group + ":" + std::string(e.name) + "=" + e.text);
        EXPECT_EQ(listed,
                  (std::vector<std::string>{"IPTC:ObjectName=Harbour", "IPTC:Keywords=sea"}));
    }
}

} // namespace
