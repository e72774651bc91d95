// Writes the tag list fuzzer's seed corpus into the folder named on the
// command line: camera files with EXIF, XMP (extended too) and IPTC segments, TIFF
// structures with every kind of directory, XMP packets sound and hostile,
// IIM streams and Photoshop resource blocks.

#include "metadata/makernotes/NikonCipher.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/ExifBuilder.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/fixtures/MakerNoteBuilder.h"
#include "tests/fixtures/MakerNoteSamples.h"
#include "tests/fixtures/MetadataBlocks.h"
#include "tests/fixtures/MovieBuilder.h"
#include "tests/fixtures/NikonNoteBuilder.h"
#include "tests/fixtures/SonyOlympusNotes.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace fixture;

namespace {

int g_count = 0;
bool g_failed = false;
std::filesystem::path g_dir;

void Write(const std::string& name, const Bytes& bytes) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%03d_", g_count++);
    const std::filesystem::path path = g_dir / (prefix + name);
    if (!WriteFile(path.string(), bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        g_failed = true;
    }
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Dataset(uint8_t record, uint8_t number, const std::string& value) {
    Bytes b = {0x1C, record, number, static_cast<uint8_t>(value.size() >> 8),
               static_cast<uint8_t>(value.size())};
    return Cat(b, Text(value));
}

Bytes Iim() {
    Bytes b = Dataset(1, 90, "\x1B%G");
    for (const Bytes& d :
         {Dataset(2, 0, std::string("\0\4", 2)), Dataset(2, 5, "Harbour"), Dataset(2, 25, "sea"),
          Dataset(2, 25, "boat"), Dataset(2, 120, "Caf\xC3\xA9"), Dataset(2, 55, "20240501")})
        b = Cat(b, d);
    return b;
}

Bytes Photoshop(const Bytes& iim) {
    Bytes b = Text(std::string("Photoshop 3.0\0", 14));
    b = Cat(b, Text(std::string("8BIM\x03\xED\0\0\0\0\0\x04\1\2\3\4", 16)));
    const uint32_t n = static_cast<uint32_t>(iim.size());
    b = Cat(b, Text(std::string("8BIM\x04\x04\0\0", 8)));
    for (int shift : {24, 16, 8, 0})
        b.push_back(static_cast<uint8_t>(n >> shift));
    b = Cat(b, iim);
    if (n % 2)
        b.push_back(0);
    return b;
}

const char kXmp[] =
    "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
    "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
    "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
    "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmlns:xmpMM=\"http://ns.adobe.com/xap/1.0/mm/\" "
    "xmlns:stEvt=\"http://ns.adobe.com/xap/1.0/sType/ResourceEvent#\" xmp:Rating=\"4\">"
    "<dc:subject><rdf:Bag><rdf:li>sea</rdf:li><rdf:li>boat</rdf:li></rdf:Bag></dc:subject>"
    "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Harbour</rdf:li></rdf:Alt></dc:title>"
    "<xmpMM:History><rdf:Seq><rdf:li rdf:parseType=\"Resource\"><stEvt:action>saved"
    "</stEvt:action></rdf:li></rdf:Seq></xmpMM:History>"
    "<xmpMM:DerivedFrom><rdf:Description stEvt:when=\"2024\"/></xmpMM:DerivedFrom>"
    "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";

ExifBuilder AllDirectories(ByteOrder order) {
    ExifBuilder exif(order);
    const int sub = exif.AddDirectory();
    const int gps = exif.AddDirectory();
    const int interop = exif.AddDirectory();
    const int ifd1 = exif.AddDirectory();
    const int raw = exif.AddDirectory();
    exif.Ascii(0, 0x010F, "Canon").Short(0, 0x0112, 6).Rational(0, 0x011A, 72, 1);
    exif.Link(0, 0x8769, sub).Link(0, 0x8825, gps).Link(0, 0x014A, raw);
    exif.Rational(sub, 0x829A, 1, 250).Rational(sub, 0x829D, 35, 10).Short(sub, 0x9209, 0x19);
    exif.SRational(sub, 0x9201, 8, 1).Undefined(sub, 0x9000, Text("0232"));
    exif.Undefined(sub, 0x9101, {1, 2, 3, 0}).Undefined(sub, 0x927C, Bytes(40, 7));
    exif.Undefined(sub, 0x9286, Text(std::string("UNICODE\0H\0i\0", 12)));
    exif.Link(sub, 0xA005, interop);
    exif.Byte(gps, 0x0000, 2).Ascii(gps, 0x0001, "N").Ascii(gps, 0x0003, "W");
    Bytes dms;
    for (uint32_t v : {48u, 1u, 51u, 1u, 296u, 10u})
        dms = Cat(dms, exif.U32(v));
    exif.Add(gps, MakeEntry(0x0002, kRational, 3, dms))
        .Add(gps, MakeEntry(0x0004, kRational, 3, dms));
    exif.Rational(gps, 0x0006, 352, 10);
    exif.Ascii(interop, 0x0001, "R98");
    exif.Short(ifd1, 0x0103, 6).Float(ifd1, 0x1000, 1.5f).Double(ifd1, 0x1001, 2.5);
    exif.Short(raw, 0x00FE, 0).Long(raw, 0x0100, 4000);
    exif.Next(0, ifd1);
    return exif;
}

// Maker notes: Canon's directory with its records, AF points, custom
// functions and closing mark; Apple's with property lists; a plain maker's;
// Fujifilm's, Panasonic's, Pentax's (two headers) and Samsung's.
std::vector<std::pair<std::string, Bytes>> MakerNoteSeeds(ByteOrder order) {
    MakerNoteBuilder canon(order);
    std::vector<int32_t> settings(47, 0);
    settings[0] = 94;
    settings[7] = 2;
    settings[22] = 52;
    settings[25] = 1;
    std::vector<int32_t> af = {96, 2, 9, 9, 5184, 3456, 5184, 3456};
    for (int i = 0; i < 4 * 9; ++i)
        af.push_back(i * 10);
    af.insert(af.end(), {0x75, 0x1FF, 0});
    Bytes custom = canon.U16(48);
    custom.resize(4, 0);
    for (uint32_t w : {1u, 1u, 36u, 2u, 0x0101u, 1u, 2u, 0x0512u, 2u, 7u, 8u}) {
        const Bytes b = canon.U32(w);
        custom.insert(custom.end(), b.begin(), b.end());
    }
    canon.Shorts(0x0001, settings)
        .Shorts(0x0002, {0, 33, 0, 0})
        .Shorts(0x0004, std::vector<int32_t>(34, 160))
        .Ascii(0x0006, "Canon EOS 600D")
        .Ascii(0x0007, "Firmware Version 1.0.2")
        .Longs(0x000C, {1234567})
        .Shorts(0x0026, af)
        .Undefined(0x0099, custom)
        .Ascii(0x0095, "EF-S18-55mm f/3.5-5.6 IS II")
        .Shorts(0x4001, std::vector<int32_t>(1273, 1024))
        .Undefined(0x4019, Bytes(30, 0x27));
    MakerNoteBuilder marked = canon;
    MakerNoteBuilder apple(ByteOrder::Big);
    apple.Header(AppleNoteHeader())
        .Longs(0x0001, {14}, kSLong)
        .Undefined(0x0003, PlistOfIntegers({{"flags", 1}, {"value", 5}, {"timescale", 9}}))
        .SRationals(0x0008, {{-1, 3}, {2, 3}, {1, 1}})
        .Undefined(0x0041, PlistOfObject({0x09}));
    MakerNoteBuilder casio(order);
    casio.Shorts(0x0001, {2}).Ascii(0x0002, "plain");
    // Nikon type 3 with lens data and shot info enciphered as cameras do.
    MakerNoteBuilder nikon(order);
    constexpr uint32_t kSerial = 4138072, kCount = 42430;
    Bytes lens = NikonLensData("0204", {0x7F, 0x40, 0x2D, 0x5C, 0x2C, 0x34, 0x84});
    Bytes shot = NikonShotInfo("0212", 5312, "1.03 ", 0x287, kCount);
    for (Bytes* record : {&lens, &shot})
        NikonCipher(kSerial, kCount).Apply(record->data() + 4, record->size() - 4);
    Bytes picture(58, 0x80);
    nikon.Undefined(0x0001, {'0', '2', '1', '0'})
        .Ascii(0x001D, std::to_string(kSerial))
        .Add(0x0083, kByte, 1, {0x06})
        .Longs(0x00A7, {kCount})
        .Undefined(0x0098, lens)
        .Undefined(0x0091, shot)
        .Undefined(0x0088, {0, 1, 0, 1})
        .Undefined(0x0023, picture)
        .Add(0x0011, kLong, 1, nikon.U32(8));
    MakerNoteBuilder nikonPlain(order);
    nikonPlain.Undefined(0x0001, {0, 1, 0, 0})
        .Ascii(0x0004, "FINE   ")
        .Undefined(0x0098, NikonLensData("0100", {0x63, 0x48, 0x2B, 0x44, 0x24, 0x24, 0x68}));
    return {
        {"nikon3", TiffWithMakerNote(order, "NIKON CORPORATION",
                                     [&](uint32_t) { return NikonType3Note(nikon); })},
        {"nikon2",
         TiffWithMakerNote(order, "NIKON", [&](uint32_t at) { return nikonPlain.Build(at); })},
        {"canon", TiffWithMakerNote(order, "Canon", [&](uint32_t at) { return canon.Build(at); })},
        {"canon_moved", TiffWithMakerNote(order, "Canon",
                                          [&](uint32_t at) {
                                              marked.ClosingMark(at + 64);
                                              return marked.Build(at + 64);
                                          })},
        {"apple", TiffWithMakerNote(order, "Apple", [&](uint32_t) { return apple.Build(0); })},
        {"casio", TiffWithMakerNote(order, "CASIO COMPUTER CO.,LTD.",
                                    [&](uint32_t at) { return casio.Build(at); })},
        {"sony",
         TiffWithMakerNote(order, "SONY", [&](uint32_t at) { return SonyNote(order).Build(at); })},
        {"olympus", TiffWithMakerNote(order, "OLYMPUS IMAGING CORP.",
                                      [&](uint32_t) { return OlympusNote(order, false); })},
        {"omsystem", TiffWithMakerNote(order, "OM Digital Solutions",
                                       [&](uint32_t) { return OlympusNote(order, true); })},
        {"olympus_old",
         TiffWithMakerNote(order, "OLYMPUS OPTICAL CO.,LTD",
                           [&](uint32_t at) { return OldOlympusNote(order).Build(at); })},
        {"fujifilm", FujifilmTiff(order)},
        {"panasonic", PanasonicTiff(order)},
        {"pentax_aoc", PentaxTiff(order, PentaxHeader::Aoc)},
        {"pentax", PentaxTiff(order, PentaxHeader::Pentax)},
        {"samsung", SamsungTiff(order)},
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_DIR\n", argv[0]);
        return 2;
    }
    g_dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(g_dir, error);

    const Bytes xmp = Text(kXmp);
    const Bytes iim = Iim();
    for (ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
        const char* o = order == ByteOrder::Big ? "mm" : "ii";
        const ExifBuilder exif = AllDirectories(order);
        Write(std::string("tiff_") + o, exif.Tiff());
        JpegBuilder jpeg;
        jpeg.Soi().App1(exif).Segment(
            0xE1, Cat(Text(std::string("http://ns.adobe.com/xap/1.0/\0", 29)), xmp));
        jpeg.Segment(0xED, Photoshop(iim)).Frame(8, 8).BareSos();
        Write(std::string("jpeg_all_") + o + ".jpg", jpeg.Data());
        ExifBuilder loop(order);
        const int other = loop.AddDirectory();
        loop.Short(0, 0x0112, 1).Link(0, 0x8769, other).Link(other, 0x8769, 0).Next(0, 0);
        Write(std::string("tiff_loop_") + o, loop.Tiff());
        for (const auto& [name, tiff] : MakerNoteSeeds(order)) {
            Write("makernote_" + name + "_" + o, tiff);
            JpegBuilder withNote;
            withNote.Soi().Segment(0xE1, Cat(Text(std::string("Exif\0\0", 6)), tiff));
            withNote.Frame(8, 8).BareSos();
            Write("makernote_" + name + "_" + o + ".jpg", withNote.Data());
        }
    }
    Write("camera.jpg", CameraLikeJpeg());
    Write("xmp.xml", xmp);
    Write("xmp_entities.xml", Text("<!DOCTYPE x [<!ENTITY a \"aa\">]><x>&a;</x>"));
    std::string deep;
    for (int i = 0; i < 80; ++i)
        deep += "<a>";
    Write("xmp_deep.xml", Text(deep));
    Write("iim", iim);
    Write("iim_latin1",
          Cat(Dataset(2, 5, "Caf\xE9"), Bytes{0x1C, 2, 120, 0x80, 0x02, 0, 2, 'h', 'i'}));
    Write("photoshop", Photoshop(iim));
    // Extended XMP in parts, out of order; image resources over three APP13
    // segments, each IIM resource whole or cut between two of them.
    const std::string guid = "0123456789ABCDEF0123456789ABCDEF";
    const std::vector<Bytes> parts = ExtendedXmpPayloads(guid, kXmp, 300);
    const Bytes resources = Photoshop(iim);
    JpegBuilder extended;
    extended.Soi().Segment(0xE1, XmpPayload(XmpPacket("xmpNote:HasExtendedXMP=\"" + guid + "\"")));
    for (size_t i = parts.size(); i-- > 0;)
        extended.Segment(0xE1, parts[i]);
    extended.Segment(0xED, resources);
    extended.Segment(0xED, Bytes(resources.begin(), resources.begin() + 40));
    extended.Segment(0xED, Cat(Text(std::string("Photoshop 3.0\0", 14)),
                               Bytes(resources.begin() + 40, resources.end())));
    Write("jpeg_extended_xmp_app13s.jpg", extended.Frame(8, 8).BareSos().Data());
    for (const MovieOptions& movie : SeedMovies())
        Write(std::string("movie_") + (movie.brand ? movie.brand : "none") + ".mov",
              MovieFile(movie));
    if (g_failed)
        return 1;
    std::printf("%d seeds written to %s\n", g_count, g_dir.c_str());
    return 0;
}
