// Writes the fuzzer's seed corpus into the folder named on the command line:
// sound camera-like files in both byte orders, every value format on the
// interpreted tags, directory loops, broken links and offsets, segment-level
// oddities and truncations. Small files, so the fuzzer's mutations stay cheap.

#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/ContainerBuilders.h"
#include "tests/fixtures/ExifBuilder.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/fixtures/MetadataBlocks.h"
#include "tests/fixtures/MovieBuilder.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace fixture;

namespace {

class SeedWriter {
public:
    explicit SeedWriter(std::filesystem::path dir) : m_dir(std::move(dir)) {}

    void Write(const std::string& name, const Bytes& bytes) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%03d_", m_count++);
        const std::filesystem::path path = m_dir / (prefix + name);
        if (!WriteFile(path.string(), bytes)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            m_failed = true;
        }
    }
    bool Failed() const { return m_failed; }
    int Count() const { return m_count; }

private:
    std::filesystem::path m_dir;
    int m_count = 0;
    bool m_failed = false;
};

const char* OrderName(ByteOrder order) {
    return order == ByteOrder::Big ? "mm" : "ii";
}

// The EXIF block in a file that stops at a bare start of scan.
Bytes Wrap(const ExifBuilder& exif) {
    JpegBuilder jpeg;
    jpeg.Soi().App1(exif).Frame(640, 480).BareSos();
    return jpeg.Data();
}

Bytes WrapPayload(const Bytes& payload) {
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, payload).Frame(640, 480).BareSos();
    return jpeg.Data();
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One component of `format` holding roughly `v`, in the block's byte order.
Bytes Encode(const ExifBuilder& exif, uint16_t format, double v) {
    switch (format) {
    case kByte:
    case kSByte:
    case kUndefined:
        return {static_cast<unsigned char>(static_cast<int>(v))};
    case kAscii:
        return {'4', '2', 0};
    case kShort:
    case kSShort:
        return exif.U16(static_cast<uint16_t>(static_cast<int>(v)));
    case kLong:
    case kSLong:
        return exif.U32(static_cast<uint32_t>(static_cast<int64_t>(v)));
    case kRational:
    case kSRational:
        return Cat(exif.U32(static_cast<uint32_t>(static_cast<int64_t>(v * 1000))), exif.U32(1000));
    case kFloat:
        return exif.F32(static_cast<float>(v));
    case kDouble:
        return exif.F64(v);
    default:
        return exif.U32(static_cast<uint32_t>(v));
    }
}

// Every numeric tag the reader interprets, all written in one format.
Bytes AllTagsInFormat(ByteOrder order, uint16_t format) {
    ExifBuilder exif(order);
    const int sub = exif.AddDirectory();
    const int ifd1 = exif.AddDirectory();
    auto put = [&](int dir, uint16_t tag, double v) {
        Bytes value = Encode(exif, format, v);
        const uint32_t count = format == kAscii ? static_cast<uint32_t>(value.size()) : 1;
        exif.Add(dir, MakeEntry(tag, format, count, value));
    };
    put(0, 0x0112, 6);
    put(0, 0x011A, 300);
    put(0, 0x011B, 300);
    put(0, 0x0128, 3);
    exif.Link(0, 0x8769, sub).Next(0, ifd1);
    put(sub, 0x829A, 0.004);
    put(sub, 0x829D, 5.6);
    put(sub, 0x8822, 3);
    put(sub, 0x8827, 25);
    put(sub, 0x9102, 4);
    put(sub, 0x9201, 9);
    put(sub, 0x9202, 5);
    put(sub, 0x9203, -2.5);
    put(sub, 0x9204, -0.7);
    put(sub, 0x9205, 3);
    put(sub, 0x9206, 12.5);
    put(sub, 0x9207, 2);
    put(sub, 0x9208, 21);
    put(sub, 0x9209, 0x19);
    put(sub, 0x920A, 35);
    put(sub, 0xA002, 4000);
    put(sub, 0xA003, 3000);
    put(sub, 0xA20E, 2000);
    put(sub, 0xA20F, 2000);
    put(sub, 0xA210, 3);
    put(ifd1, 0x0201, 0);
    put(ifd1, 0x0202, 0);
    return Wrap(exif);
}

ExifBuilder Basic(ByteOrder order) {
    ExifBuilder exif(order);
    exif.Ascii(0, 0x010F, "Maker").Ascii(0, 0x0110, "Model").Short(0, 0x0112, 1);
    return exif;
}

void WriteSound(SeedWriter& out) {
    for (ByteOrder order : {ByteOrder::Big, ByteOrder::Little}) {
        out.Write(std::string("camera_") + OrderName(order) + ".jpg", CameraLikeJpeg(order));
        for (uint16_t format = 1; format <= 12; ++format)
            out.Write(std::string("format") + std::to_string(format) + "_" + OrderName(order) +
                          ".jpg",
                      AllTagsInFormat(order, format));
    }
    // The smallest complete files, one per byte order.
    out.Write("minimal_ii.jpg",
              WrapPayload({'E',  'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0, 1, 0,
                           0x12, 1,   3,   0,   1, 0, 0,   0,   6,    0, 0, 0, 0, 0, 0, 0}));
    out.Write("minimal_mm.jpg",
              WrapPayload({'E', 'x',  'i', 'f', 0, 0, 'M', 'M', 0, 0x2A, 0, 0, 0, 8, 0, 1,
                           1,   0x12, 0,   3,   0, 0, 0,   1,   0, 6,    0, 0, 0, 0, 0, 0}));
    out.Write("empty_directory.jpg", Wrap(ExifBuilder(ByteOrder::Little)));
}

void WriteTexts(SeedWriter& out) {
    ExifBuilder exif(ByteOrder::Big);
    const int sub = exif.AddDirectory();
    exif.Ascii(0, 0x010F, std::string(60, 'M'), false)
        .Ascii(0, 0x0110, "Mod\xC3\xA8le \xE9t\xE9")
        .Link(0, 0x8769, sub);
    exif.Ascii(sub, 0x9003, "2026:12:07 10:30:00 and more")
        .Undefined(sub, 0x9000, {'0', '2', '3', '0', '9'})
        .Undefined(sub, 0x9286, Bytes(300, 'c'));
    out.Write("long_texts.jpg", Wrap(exif));

    const Bytes comments[] = {
        {'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'H', 'e', 'l', 'l', 'o', ' ', ' ', ' '},
        {'A', 'S', 'C', 'I', 'I', ' ', ' ', ' ', ' ', ' ', 'x'},
        {'U', 'N', 'I', 'C', 'O', 'D', 'E', 0, 'H', 0, 'i', 0},
        {' ', ' ', ' ', ' '},
        {'A', 'S', 'C', 'I', 'I'},
        {0, 0, 0, 0, 0, 0, 0, 0, 'x', '\r', '\n', 'y'},
    };
    int i = 0;
    for (const Bytes& comment : comments) {
        ExifBuilder c(i % 2 ? ByteOrder::Little : ByteOrder::Big);
        const int s = c.AddDirectory();
        c.Link(0, 0x8769, s).Undefined(s, 0x9286, comment);
        JpegBuilder jpeg;
        jpeg.Soi().Comment("first\r\ncomment\r").App1(c).Frame(8, 8).BareSos();
        out.Write("user_comment" + std::to_string(i++) + ".jpg", jpeg.Data());
    }
}

void WriteLoops(SeedWriter& out) {
    for (ByteOrder order : {ByteOrder::Big, ByteOrder::Little}) {
        const std::string o = OrderName(order);
        {
            ExifBuilder exif = Basic(order);
            exif.Next(0, 0);
            out.Write("next_to_self_" + o + ".jpg", Wrap(exif));
        }
        {
            ExifBuilder exif = Basic(order);
            const int sub = exif.AddDirectory();
            exif.Link(0, 0x8769, sub).Short(sub, 0x8827, 100).Link(sub, 0x8769, sub);
            out.Write("sub_to_self_" + o + ".jpg", Wrap(exif));
        }
        {
            ExifBuilder exif = Basic(order);
            const int sub = exif.AddDirectory();
            const int interop = exif.AddDirectory();
            exif.Link(0, 0x8769, sub).Link(sub, 0xA005, interop).Link(interop, 0x8769, sub);
            exif.Next(interop, 0);
            out.Write("sub_interop_cycle_" + o + ".jpg", Wrap(exif));
        }
        {
            // A chain deeper than any camera writes.
            ExifBuilder exif = Basic(order);
            int previous = 0;
            for (int depth = 0; depth < 12; ++depth) {
                const int d = exif.AddDirectory();
                exif.Short(d, 0x9207, static_cast<uint16_t>(depth));
                exif.Link(previous, 0x8769, d);
                previous = d;
            }
            out.Write("deep_chain_" + o + ".jpg", Wrap(exif));
        }
    }
}

void WriteBadLinksAndOffsets(SeedWriter& out) {
    for (ByteOrder order : {ByteOrder::Big, ByteOrder::Little}) {
        const std::string o = OrderName(order);
        {
            ExifBuilder exif = Basic(order);
            exif.Add(0, MakeEntry(0x8769, kLong, 1, exif.U32(0x7FFFFF00)));
            out.Write("link_far_" + o + ".jpg", Wrap(exif));
        }
        {
            ExifBuilder exif = Basic(order);
            exif.Add(0, MakeEntry(0xA005, kLong, 1, exif.U32(0x80000000u)));
            out.Write("link_negative_" + o + ".jpg", Wrap(exif));
        }
        {
            ExifBuilder exif = Basic(order);
            exif.NextOffset(0, 0xFFFFFFF0u);
            out.Write("next_far_" + o + ".jpg", Wrap(exif));
        }
        for (uint16_t format : {uint16_t{0}, uint16_t{13}, uint16_t{0xFFFF}}) {
            ExifBuilder exif = Basic(order);
            exif.Add(0, MakeEntry(0x1234, format, 1, exif.U32(0)));
            out.Write("format_" + std::to_string(format) + "_" + o + ".jpg", Wrap(exif));
        }
        {
            // Counts whose byte count overflows 32 bits, or is negative.
            ExifBuilder exif = Basic(order);
            Entry big = MakeEntry(0x829A, kDouble, 0x7FFFFFFF, exif.U32(8));
            big.offsetOverride = 8;
            exif.Add(0, big);
            Entry negative = MakeEntry(0x010F, kAscii, 0xFFFFFFFF, exif.U32(8));
            negative.offsetOverride = 8;
            exif.Add(0, negative);
            out.Write("huge_counts_" + o + ".jpg", Wrap(exif));
        }
        {
            ExifBuilder exif = Basic(order);
            Entry past = MakeEntry(0x920A, kRational, 1, exif.U32(0));
            past.offsetOverride = 0xFFFFFFF8u;
            exif.Add(0, past);
            out.Write("value_negative_offset_" + o + ".jpg", Wrap(exif));
        }
        {
            // Value ending exactly at the block's end, and one byte past it. An
            // entry with an exact offset adds nothing to the layout, so the
            // text's offset can be learned from a first build.
            const Bytes text{'E', 'n', 'd', 'M', 'a', 'k', 'e', 0};
            Entry make = MakeEntry(0x010F, kAscii, 8, {});
            make.offsetOverride = 0;
            ExifBuilder probe(order);
            const uint32_t at = probe.Add(0, make).Append(text);
            for (uint32_t shift : {0u, 1u}) {
                make.offsetOverride = at + shift;
                ExifBuilder exif(order);
                exif.Add(0, make).Append(text);
                out.Write("value_at_end_" + std::to_string(shift) + "_" + o + ".jpg", Wrap(exif));
            }
        }
        for (uint32_t first : {7u, 12u, 16u, 17u}) {
            ExifBuilder exif = Basic(order);
            exif.FirstOffsetField(first);
            out.Write("first_offset_" + std::to_string(first) + "_" + o + ".jpg", Wrap(exif));
        }
        {
            // The thumbnail inside the block, then running past its end.
            for (uint32_t extra : {0u, 100u}) {
                ExifBuilder exif = Basic(order);
                const int ifd1 = exif.AddDirectory();
                exif.Next(0, ifd1).Long(ifd1, 0x0201, 0).Long(ifd1, 0x0202, 0);
                const Bytes thumb(64, 0xAB);
                const uint32_t at = exif.Append(thumb);
                exif.Set(ifd1, 0x0201, exif.U32(at)).Set(ifd1, 0x0202, exif.U32(64 + extra));
                out.Write("thumbnail_" + std::to_string(extra) + "_" + o + ".jpg", Wrap(exif));
            }
        }
    }
}

void WriteBlockHeaders(SeedWriter& out) {
    const Bytes payloads[] = {
        {'E', 'x', 'i', 'f', 0, 1, 'I', 'I', 0x2A, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {'E', 'x', 'i', 'f', 0, 0, 'X', 'X', 0x2A, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2B, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0},
        {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 0x2A, 0, 0, 0, 8},
        {'E', 'x', 'i', 'f'},
        // Directory count far beyond the block.
        {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0, 0xFF, 0xFF, 0, 0},
        // One entry whose next-directory offset does not fit.
        {'E', 'x', 'i',  'f', 0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0,
         1,   0,   0x12, 1,   3, 0, 1,   0,   0,    0, 3, 0, 0, 0},
        // A last entry of count 0 at the very end of the block.
        {'E', 'x', 'i',  'f',  0, 0, 'I', 'I', 0x2A, 0, 8, 0, 0, 0,
         1,   0,   0x9A, 0x82, 5, 0, 0,   0,   0,    0, 0, 0, 0, 0},
    };
    int i = 0;
    for (const Bytes& payload : payloads)
        out.Write("block_header" + std::to_string(i++) + ".jpg", WrapPayload(payload));
}

void WriteSegments(SeedWriter& out) {
    const Bytes exif = Basic(ByteOrder::Little).Payload();
    {
        JpegBuilder jpeg;
        jpeg.Soi().Raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).Segment(0xE1, exif).BareSos();
        out.Write("fill6.jpg", jpeg.Data());
    }
    {
        JpegBuilder jpeg;
        jpeg.Soi().Raw({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).Segment(0xE1, exif).BareSos();
        out.Write("fill7.jpg", jpeg.Data());
    }
    {
        JpegBuilder jpeg;
        jpeg.Soi().Raw({0xE1}).Raw({0x00, 0x04, 'E', 'x'}).Segment(0xE1, exif).BareSos();
        out.Write("no_fill.jpg", jpeg.Data());
    }
    {
        JpegBuilder jpeg;
        jpeg.Soi().Comment("a\r\nb\rc\x01\t\xE9").Comment("second").Segment(0xE1, exif);
        jpeg.Comment(std::string(1200, 'x')).Frame(100, 50, 1, 0xC2).BareSos();
        out.Write("comments.jpg", jpeg.Data());
    }
    {
        JpegBuilder jpeg;
        jpeg.Soi().Comment(std::string(1200, 'y') + "\r").Frame(10, 10).BareSos();
        out.Write("long_comment.jpg", jpeg.Data());
    }
    {
        const std::string xmp = "http://ns.adobe.com/xap/1.0/";
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, Bytes(xmp.begin(), xmp.end())).Segment(0xE1, {'E', 'x', 'i'});
        jpeg.Segment(0xE1, exif).BareSos();
        out.Write("xmp_and_short_app1.jpg", jpeg.Data());
    }
    {
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, exif).SegmentWithLength(0xD9, 2, {});
        out.Write("eoi_with_length.jpg", jpeg.Data());
    }
    {
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, exif).Eoi();
        out.Write("eoi_at_end.jpg", jpeg.Data());
    }
    for (int kept : {19, 20}) {
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, exif);
        for (int i = 1; i < kept; ++i)
            jpeg.Segment(static_cast<uint8_t>(0xE2 + i % 10), {static_cast<unsigned char>(i)});
        jpeg.BareSos();
        out.Write("sections" + std::to_string(kept) + ".jpg", jpeg.Data());
    }
    {
        JpegBuilder jpeg;
        jpeg.Soi().Segment(0xE1, exif).SegmentWithLength(0xE2, 60000, {1, 2, 3});
        out.Write("premature_end.jpg", jpeg.Data());
    }
    for (uint16_t length : {0, 1, 3, 7}) {
        JpegBuilder jpeg;
        jpeg.Soi()
            .SegmentWithLength(0xC0, length, {8, 0, 1, 0, 1, 3})
            .SegmentWithLength(0xC0, length, {8, 0, 1, 0, 1, 3});
        jpeg.BareSos();
        out.Write("short_frame" + std::to_string(length) + ".jpg", jpeg.Data());
    }
    out.Write("empty.jpg", {});
    out.Write("soi_only.jpg", {0xFF, 0xD8});
    out.Write("not_jpeg.jpg", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    {
        JpegBuilder jpeg;
        jpeg.Soi().Soi().Raw({0x00, 0x02}).Raw({0xFF, 0xD0, 0x00, 0x02}).BareSos();
        out.Write("standalone_markers.jpg", jpeg.Data());
    }
}

void WriteTruncations(SeedWriter& out) {
    for (ByteOrder order : {ByteOrder::Big, ByteOrder::Little}) {
        const std::string o = OrderName(order);
        const Bytes file = CameraLikeJpeg(order);
        for (size_t cut : {size_t{3}, size_t{5}, size_t{21}, size_t{60}, size_t{200}, size_t{500},
                           file.size() / 2}) {
            if (cut < file.size())
                out.Write("file_cut" + std::to_string(cut) + "_" + o + ".jpg",
                          Bytes(file.begin(), file.begin() + static_cast<long>(cut)));
        }

        // The block itself cut short, in a segment whose length agrees.
        ExifBuilder exif = Basic(order);
        const int sub = exif.AddDirectory();
        exif.Link(0, 0x8769, sub)
            .Rational(sub, 0x829A, 1, 60)
            .Undefined(sub, 0x9286, Bytes(40, 'u'))
            .Double(sub, 0x920A, 50.0);
        const Bytes payload = exif.Payload();
        for (size_t cut = 10; cut < payload.size(); cut += 9)
            out.Write(
                "block_cut" + std::to_string(cut) + "_" + o + ".jpg",
                WrapPayload(Bytes(payload.begin(), payload.begin() + static_cast<long>(cut))));
    }
}

void WriteMakerNote(SeedWriter& out) {
    ExifBuilder exif(ByteOrder::Little);
    const int sub = exif.AddDirectory();
    exif.Ascii(0, 0x010F, "Maker").Link(0, 0x8769, sub);
    Bytes note(2048);
    for (size_t i = 0; i < note.size(); ++i)
        note[i] = static_cast<unsigned char>(i * 31 + 7);
    exif.Undefined(sub, 0x927C, note).Short(sub, 0x8827, 400);
    out.Write("maker_note.jpg", Wrap(exif));
}

} // namespace

// Every other format around one camera TIFF structure, both byte orders.
void WriteContainers(SeedWriter& out) {
    for (ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
        const std::string o = order == ByteOrder::Little ? "ii" : "mm";
        ExifBuilder exif(order);
        const int sub = exif.AddDirectory();
        exif.Ascii(0, 0x010F, "NIKON").Short(0, 0x0100, 64).Link(0, 0x8769, sub);
        exif.Link(0, 0x014A, sub).Rational(sub, 0x829A, 1, 60).Short(sub, 0x0106, 32803);
        const Bytes tiff = exif.Tiff();
        out.Write("tiff-" + o + ".tif", tiff);
        out.Write("orf-" + o + ".orf", WithTiffMagic(tiff, 0x4F52));
        out.Write("rw2-" + o + ".rw2", WithTiffMagic(tiff, 0x55));
        // RW2's embedded JPEG, whose EXIF is read too.
        ExifBuilder rw2(order);
        rw2.Ascii(0, 0x010F, "Panasonic").Undefined(0, 0x002E, CameraLikeJpeg(order));
        out.Write("rw2-jpeg-" + o + ".rw2", WithTiffMagic(rw2.Tiff(), 0x55));
        // Samsung's trailer after a JPEG: one block (type 0x0AA1, name
        // "MCC_Data", data "214"), its directory, its length and "SEFT".
        ExifBuilder samsung(order);
        samsung.Ascii(0, 0x010F, "samsung");
        JpegBuilder phone;
        phone.Soi().App1(samsung).Frame(8, 8).BareSos().Eoi();
        const Bytes trailer = {0,   0,   0xA1, 0x0A, 8,   0,   0,   0,    'M',  'C', 'C', '_', 'D',
                               'a', 't', 'a',  '2',  '1', '4', 'S', 'E',  'F',  'H', 107, 0,   0,
                               0,   1,   0,    0,    0,   0,   0,   0xA1, 0x0A, 19,  0,   0,   0,
                               19,  0,   0,    0,    24,  0,   0,   0,    'S',  'E', 'F', 'T'};
        out.Write("jpeg-samsung-trailer-" + o + ".jpg", Cat({phone.Data(), trailer}));
        HeifOptions atEnd;
        atEnd.exifAtEnd = true;
        atEnd.xmp = "<x/>";
        out.Write("heic-" + o + ".heic", HeifFile(tiff));
        out.Write("heic-end-" + o + ".heic", HeifFile(tiff, atEnd));
        out.Write("cr3-" + o + ".cr3", Cr3File(tiff, tiff, tiff));
        out.Write("jxl-" + o + ".jxl", JxlContainer(tiff, 64, 64));
        out.Write("png-" + o + ".png", PngFile(tiff, 8, 8, false));
        out.Write("png-profile-" + o + ".png", PngFile(tiff, 8, 8, true));
        out.Write("webp-" + o + ".webp", WebpFile(tiff, 8, 8, false, true));
        out.Write("webpl-" + o + ".webp", WebpFile(tiff, 8, 8, true));
        out.Write("raf-" + o + ".raf", RafFile(CameraLikeJpeg(order), 8, 8));
        HeifOptions bare;
        bare.exifWithoutOffset = true;
        bare.otherExif = tiff;
        bare.otherExifFirst = true;
        out.Write("heic-two-exif-" + o + ".heic", HeifFile(tiff, bare));
    }
}

// PNG raw profiles of every kind, and a JPEG whose XMP goes on in extended
// parts and whose image resources go on over several APP13 segments.
void WriteMetadataBlocks(SeedWriter& out) {
    const Bytes iim = Cat({IptcDataset(1, 90, "\x1B%G"), IptcDataset(2, 5, "Harbour")});
    const Bytes resources = PhotoshopResource(0x0404, "", iim);
    const std::string guid = "0123456789ABCDEF0123456789ABCDEF";
    const std::string packet = XmpPacket("xmpNote:HasExtendedXMP=\"" + guid + "\"");
    const std::string extended = XmpPacket("dc:format=\"image/jpeg\" photoshop:City=\"Bergen\"");
    const Bytes tiff = ExifBuilder(ByteOrder::Big).Short(0, 0x0112, 1).Tiff();
    out.Write("png-raw-profiles.png",
              PngFileOf(8, 8,
                        {RawProfileChunk("tEXt", "iptc", iim),
                         RawProfileChunk("zTXt", "8bim", PhotoshopPayload({resources})),
                         RawProfileChunk("iTXt", "xmp", TextBytes(packet)),
                         RawProfileChunk("zTXt", "APP1", XmpPayload(packet)),
                         RawProfileChunk("tEXt", "APP1",
                                         Cat({TextBytes(std::string("Exif\0\0", 6)), tiff})),
                         PngChunk("eXIf", tiff)}));
    JpegBuilder jpeg;
    jpeg.Soi().Segment(0xE1, XmpPayload(packet));
    for (const Bytes& part : ExtendedXmpPayloads(guid, extended, 40))
        jpeg.Segment(0xE1, part);
    const Bytes photoshop = PhotoshopPayload({resources, resources});
    jpeg.Segment(0xED, Bytes(photoshop.begin(), photoshop.begin() + 30));
    jpeg.Segment(0xED, Cat({TextBytes(std::string("Photoshop 3.0\0", 14)),
                            Bytes(photoshop.begin() + 30, photoshop.end())}));
    out.Write("extended-xmp-app13s.jpg", jpeg.Frame(8, 8).BareSos().Data());
}

void WriteMovies(SeedWriter& out) {
    for (const MovieOptions& o : SeedMovies())
        out.Write(std::string("movie-") + (o.brand ? o.brand : "none") + ".mov", MovieFile(o));
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_DIR\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    SeedWriter out(argv[1]);
    WriteSound(out);
    WriteTexts(out);
    WriteLoops(out);
    WriteBadLinksAndOffsets(out);
    WriteBlockHeaders(out);
    WriteSegments(out);
    WriteTruncations(out);
    WriteMakerNote(out);
    WriteContainers(out);
    WriteMetadataBlocks(out);
    WriteMovies(out);
    std::printf("%d seeds in %s\n", out.Count(), argv[1]);
    return out.Failed() ? 1 : 0;
}
