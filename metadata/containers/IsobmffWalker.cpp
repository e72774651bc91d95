#include "metadata/containers/IsobmffWalker.h"

#include "metadata/containers/HeifMeta.h"
#include "metadata/containers/IsoBoxes.h"
#include "metadata/containers/JxlSize.h"
#include "metadata/containers/MovieBoxes.h"
#include "metadata/tiff/ByteOrder.h"

#include <cstring>

namespace {

constexpr uint64_t kMaxBlockBox = 1u << 20; // a CMT or Exif box
constexpr unsigned char kCanonUuid[16] = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
                                          0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};
constexpr unsigned char kCanonPreviewUuid[16] = {0xea, 0xf4, 0x2b, 0x5e, 0x1c, 0x98, 0x4b, 0x88,
                                                 0xb9, 0xfb, 0xb7, 0xdc, 0x40, 0x6e, 0x4d, 0x16};

PhotoFormat BrandFormat(const unsigned char* b) {
    auto is = [b](const char* brand) { return std::memcmp(b, brand, 4) == 0; };
    if (is("crx "))
        return PhotoFormat::Cr3;
    if (is("jxl "))
        return PhotoFormat::Jxl;
    if (is("avif") || is("avis"))
        return PhotoFormat::Avif;
    if (is("heic") || is("heix") || is("heim") || is("heis") || is("hevc") || is("hevx"))
        return PhotoFormat::Heic;
    if (is("mif1") || is("msf1") || is("miaf"))
        return PhotoFormat::Heif;
    return PhotoFormat::Unknown;
}

PhotoFormat MovieBrandFormat(const unsigned char* b) {
    auto is = [b](const char* brand) { return std::memcmp(b, brand, 4) == 0; };
    if (is("qt  "))
        return PhotoFormat::Mov;
    if (is("M4V ") || is("M4VH") || is("M4VP"))
        return PhotoFormat::M4v;
    if (std::memcmp(b, "3gp", 3) == 0 || std::memcmp(b, "3g2", 3) == 0 ||
        std::memcmp(b, "3ge", 3) == 0 || std::memcmp(b, "3gg", 3) == 0)
        return PhotoFormat::ThreeGp;
    if (is("isom") || is("iso2") || is("iso4") || is("iso5") || is("iso6") || is("mp41") ||
        is("mp42") || is("avc1") || is("mmp4") || is("MSNV") || is("dash") || is("f4v "))
        return PhotoFormat::Mp4;
    return PhotoFormat::Unknown;
}

bool ReadBoxBytes(ByteSource& source, const BoxHeader& box, ReadBuffer& out, LocatedBlocks& found) {
    const uint64_t size = box.end - box.content;
    if (size > kMaxBlockBox) {
        found.error = "Metadata box too large";
        return false;
    }
    out.resize(static_cast<size_t>(size));
    if (!source.ReadAt(box.content, out.data(), out.size())) {
        found.error = source.FailureText();
        out.clear();
        return false;
    }
    return true;
}

// Canon's boxes: the TIFF blocks in CMT1/CMT2/CMT4, the maker note in CMT3,
// the thumbnail in THMB.
void ReadCanonUuid(ByteSource& source, const BoxHeader& uuid, LocatedBlocks& found) {
    uint64_t at = uuid.content + 16;
    for (int n = 0; n < kMaxBoxesPerLevel && at < uuid.end; ++n) {
        BoxHeader box;
        if (!ReadBoxHeader(source, at, uuid.end, false, box, found.error))
            return;
        at = box.end;
        TiffRole role;
        if (box.Is("CMT1"))
            role = TiffRole::Main;
        else if (box.Is("CMT2"))
            role = TiffRole::Exif;
        else if (box.Is("CMT4"))
            role = TiffRole::Gps;
        else if (box.Is("CMT3")) {
            // The maker note, a TIFF structure of its own: not the record's.
            if (!found.recordOnly)
                ReadBoxBytes(source, box, found.canonMakerNote, found);
            continue;
        } else {
            if (box.Is("THMB"))
                FindBoxJpeg(source, box, found);
            continue;
        }
        TiffBlock block;
        block.role = role;
        if (ReadBoxBytes(source, box, block.bytes, found))
            found.tiff.push_back(std::move(block));
    }
}

bool ReadUuidId(ByteSource& source, const BoxHeader& box, unsigned char (&id)[16]) {
    return box.end - box.content >= 16 && source.ReadAt(box.content, id, 16);
}

void ReadMoov(ByteSource& source, const BoxHeader& moov, LocatedBlocks& found) {
    uint64_t at = moov.content;
    for (int n = 0; n < kMaxBoxesPerLevel && at < moov.end; ++n) {
        BoxHeader box;
        if (!ReadBoxHeader(source, at, moov.end, false, box, found.error))
            return;
        at = box.end;
        unsigned char id[16];
        if (box.Is("uuid") && ReadUuidId(source, box, id) && std::memcmp(id, kCanonUuid, 16) == 0) {
            ReadCanonUuid(source, box, found);
            return;
        }
    }
}

// JPEG XL's Exif box: a 4-byte offset, then the TIFF structure.
void ReadJxlExif(ByteSource& source, const BoxHeader& box, LocatedBlocks& found) {
    ReadBuffer data;
    if (!ReadBoxBytes(source, box, data, found))
        return;
    size_t start = 0;
    if (!ExifTiffStart(data.data(), data.size(), start)) {
        found.error = "Exif box's TIFF offset past its end";
        return;
    }
    TiffBlock block;
    block.bytes.assign(data.begin() + static_cast<ptrdiff_t>(start), data.end());
    found.tiff.push_back(std::move(block));
}

void ReadJxlSize(ByteSource& source, const BoxHeader& box, bool partial, LocatedBlocks& found) {
    unsigned char head[24];
    const uint64_t skip = partial ? 4 : 0; // jxlp starts with its index
    const uint64_t size = box.end - box.content;
    if (size <= skip)
        return;
    const size_t n = size - skip < sizeof head ? static_cast<size_t>(size - skip) : sizeof head;
    if (source.ReadAt(box.content + skip, head, n))
        JxlCodestreamSize(head, n, found.width, found.height);
}

void ReadBrands(ByteSource& source, const BoxHeader& ftyp, MovieMetadata& movie) {
    unsigned char brands[64];
    const uint64_t size = ftyp.end - ftyp.content;
    const size_t n = size < sizeof brands ? static_cast<size_t>(size) : sizeof brands;
    if (n < 8 || !source.ReadAt(ftyp.content, brands, n))
        return;
    std::memcpy(movie.majorBrand, brands, 4);
    // QuickTime pads its list with zeros.
    for (size_t at = 8; at + 4 <= n; at += 4)
        if (Be32(brands + at) != 0)
            movie.compatibleBrands.append(reinterpret_cast<const char*>(brands + at), 4);
}

// The end to check a top-level box at `at` against: the file's, asked for
// only when the box does not lie inside what has been read already (a box of
// size 0 or 1 needs it too).
uint64_t TopLevelEnd(ByteSource& source, uint64_t at) {
    unsigned char size[4];
    if (source.Holds(at, 8) && source.ReadAt(at, size, 4)) {
        const uint64_t length = Be32(size);
        if (length >= 8 && source.Holds(at, length))
            return at + length;
    }
    return source.Size();
}

} // namespace

PhotoFormat FormatFromBrands(const unsigned char* content, size_t size) {
    if (size < 4)
        return PhotoFormat::Unknown;
    if (PhotoFormat major = BrandFormat(content);
        major != PhotoFormat::Unknown && major != PhotoFormat::Heif)
        return major;
    PhotoFormat best = BrandFormat(content);
    for (size_t at = 8; at + 4 <= size; at += 4) {
        const PhotoFormat f = BrandFormat(content + at);
        if (f != PhotoFormat::Unknown &&
            (best == PhotoFormat::Unknown || best == PhotoFormat::Heif))
            best = f;
    }
    if (best != PhotoFormat::Unknown)
        return best;
    // A movie: photo brands above win, so that a HEIF file naming an MP4
    // brand among its own stays a photo.
    if (PhotoFormat major = MovieBrandFormat(content); major != PhotoFormat::Unknown)
        return major;
    for (size_t at = 8; at + 4 <= size; at += 4)
        if (PhotoFormat f = MovieBrandFormat(content + at); f != PhotoFormat::Unknown)
            return f;
    return PhotoFormat::Unknown;
}

bool ReadIsobmff(ByteSource& source, PhotoFormat& format, LocatedBlocks& found) {
    uint64_t at = 0;
    bool codestreamSeen = false;
    for (int n = 0; n < kMaxBoxesPerLevel && source.Holds(at, 1); ++n) {
        BoxHeader box;
        if (!ReadBoxHeader(source, at, TopLevelEnd(source, at), true, box, found.error))
            return false;
        at = box.end;
        if (box.Is("meta") && (format == PhotoFormat::Heic || format == PhotoFormat::Heif ||
                               format == PhotoFormat::Avif)) {
            char primaryType[5] = {};
            const bool ok = ReadHeifMeta(source, box, found, primaryType);
            if (format == PhotoFormat::Heif && std::memcmp(primaryType, "hvc1", 4) == 0)
                format = PhotoFormat::Heic;
            else if (format == PhotoFormat::Heif && std::memcmp(primaryType, "av01", 4) == 0)
                format = PhotoFormat::Avif;
            return ok;
        }
        if (IsMovieFormat(format)) {
            if (box.Is("ftyp")) {
                ReadBrands(source, box, found.movie);
            } else if (box.Is("moov")) {
                ReadMovieBox(source, box, found);
                if (found.recordOnly)
                    return true; // the record is all in moov
            } else if (box.Is("moof")) {
                return true; // a fragmented movie's fragments: media, thousands of them
            } else if (box.Is("uuid") && !found.recordOnly && found.xmp.empty() &&
                       IsXmpUuid(source, box)) {
                BoxHeader packet = box;
                packet.content += 16;
                ReadBoxBytes(source, packet, found.xmp, found);
            }
        } else if (format == PhotoFormat::Cr3) {
            unsigned char id[16];
            if (box.Is("moov")) {
                ReadMoov(source, box, found);
                if (found.recordOnly)
                    return true; // what follows is the preview and the pictures
            } else if (!found.recordOnly && box.Is("uuid") && ReadUuidId(source, box, id) &&
                       std::memcmp(id, kCanonPreviewUuid, 16) == 0) {
                // The larger preview: a PRVW box after the uuid and 8 bytes.
                BoxHeader prvw;
                const char* ignored = nullptr;
                if (ReadBoxHeader(source, box.content + 24, box.end, false, prvw, ignored) &&
                    prvw.Is("PRVW"))
                    FindBoxJpeg(source, prvw, found);
            }
        } else if (format == PhotoFormat::Jxl) {
            if (box.Is("Exif") && found.tiff.empty())
                ReadJxlExif(source, box, found);
            else if (box.Is("xml ") && found.xmp.empty() && !found.recordOnly)
                ReadBoxBytes(source, box, found.xmp, found);
            else if ((box.Is("jxlc") || box.Is("jxlp")) && !codestreamSeen) {
                codestreamSeen = true;
                ReadJxlSize(source, box, box.Is("jxlp"), found);
            }
        }
    }
    return true;
}
