#include "metadata/containers/TiffWalker.h"

#include "metadata/ExifTags.h"
#include "metadata/ReadBuffer.h"
#include "metadata/containers/JpegSegments.h"
#include "metadata/tiff/TiffDirectory.h"
#include "metadata/tiff/VisitedDirectories.h"

#include <cstring>

namespace {

constexpr uint32_t kMaxEntries = 4096;
constexpr int kMaxSubIfds = 8;
constexpr uint32_t kMaxValueSize = 256 * 1024;
// The record's values are numbers and short texts; only a UserComment may
// be longer.
constexpr uint32_t kMaxRecordValueSize = 4 * 1024;
// Panasonic's RW2 keeps a full JPEG in IFD0 whose own EXIF holds the maker
// note the raw directories lack.
constexpr uint16_t kPanasonicMagic = 0x55;
constexpr uint16_t kJpgFromRaw = 0x002E;

enum class Kind { Chain, Exif, Gps, Interop, SubIfd };

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    unsigned char inlineValue[4];
    // Out of line (more than four bytes): where in the walker's value store.
    size_t valueAt = 0;
    uint32_t valueSize = 0;
    int links[kMaxSubIfds]; // directories the value points to
    int linkCount = 0;
    bool keep = true;
};

struct Directory {
    uint64_t offset; // from base
    Kind kind;
    int depth; // links followed from the IFD0 chain, whose directories are at 0
    std::vector<Entry> entries;
    int next = -1;
    uint32_t outOffset = 0;
};

class Walker {
public:
    Walker(ByteSource& source, uint64_t base, LocatedBlocks& found, TiffTraits& traits)
        : m_source(source), m_base(base), m_found(found), m_traits(traits) {}

    bool Run();

private:
    const unsigned char* Value(const Entry& e) const {
        return e.valueSize != 0 ? m_values.data() + e.valueAt : e.inlineValue;
    }
    size_t ValueSize(const Entry& e) const { return e.valueSize != 0 ? e.valueSize : 4; }
    uint32_t U32(const unsigned char* p) const { return TiffRead32(p, m_order); }
    void Put16(unsigned char* p, uint32_t v) const { TiffWrite16(p, v, m_order); }
    void Put32(unsigned char* p, uint32_t v) const { TiffWrite32(p, v, m_order); }
    bool Read(uint64_t offset, unsigned char* out, size_t count) {
        if (offset > UINT64_MAX - m_base || !m_source.ReadAt(m_base + offset, out, count)) {
            m_found.error = m_source.FailureText();
            return false;
        }
        return true;
    }
    int Enqueue(uint64_t offset, Kind kind, int depth);
    bool ReadDirectory(int index);
    // The index-th number of an entry's SHORT or LONG value; `fallback` when
    // it has none.
    uint32_t Number(const Entry& e, uint32_t index, uint32_t fallback = 0) const;
    const Entry* Find(const Directory& d, uint16_t tag) const;
    void LearnFromDirectories();
    void Repack();
    void ReadEmbeddedExif();

    ByteSource& m_source;
    uint64_t m_base;
    LocatedBlocks& m_found;
    TiffTraits& m_traits;
    TiffByteOrder m_order = TiffByteOrder::Little;
    // The directories to walk, in the order of m_visited.
    std::vector<Directory> m_dirs;
    VisitedDirectories m_visited;
    // Every out-of-line value, one after another: one buffer rather than
    // one per entry.
    ReadBuffer m_values;
    ReadBuffer m_raw;          // the directory being read: count, entries, next link
    FileExtent m_embeddedJpeg; // from base
};

int Walker::Enqueue(uint64_t offset, Kind kind, int depth) {
    // A cycle or a shared directory: walked once.
    if (const int known = m_visited.IndexOf(offset); known >= 0)
        return known;
    if (offset < 8 || TiffLimits::TooDeep(depth) ||
        m_visited.Enter(offset) != VisitedDirectories::Entered::New)
        return -1;
    m_dirs.push_back(Directory{offset, kind, depth, {}, -1, 0});
    return static_cast<int>(m_dirs.size()) - 1;
}

bool Walker::Run() {
    unsigned char header[TiffHeader::kSize];
    if (!Read(0, header, sizeof header))
        return false;
    TiffHeader parsed;
    if (!ReadTiffHeader(header, sizeof header, parsed)) {
        m_found.error = "Not a TIFF structure";
        return false;
    }
    m_order = parsed.order;
    m_traits.magic = parsed.magic;
    if (m_traits.magic == 43) {
        m_found.error = "BigTIFF is not supported";
        return false;
    }
    if (m_traits.magic != TiffHeader::kMagic && m_traits.magic != 0x4F52 &&
        m_traits.magic != 0x5352 && m_traits.magic != 0x55) {
        m_found.error = "Not a TIFF structure";
        return false;
    }
    unsigned char cr[2];
    m_traits.canonCr2 =
        m_source.Holds(m_base + 8, 2) && Read(8, cr, 2) && cr[0] == 'C' && cr[1] == 'R';

    if (Enqueue(parsed.firstOffset, Kind::Chain, 0) < 0) {
        m_found.error = "Suspicious offset of first IFD value";
        return false;
    }
    // The list grows while it is walked, within TiffLimits.
    for (size_t i = 0; i < m_dirs.size(); ++i) {
        if (!ReadDirectory(static_cast<int>(i)) && i == 0)
            return false;
    }
    LearnFromDirectories();
    Repack();
    ReadEmbeddedExif();
    return true;
}

void Walker::ReadEmbeddedExif() {
    if (m_embeddedJpeg.length == 0 || m_embeddedJpeg.offset > UINT64_MAX - m_base)
        return;
    LocatedBlocks embedded;
    embedded.recordOnly = true;
    if (ScanJpegSegments(m_source, m_base + m_embeddedJpeg.offset, m_embeddedJpeg.length,
                         embedded) &&
        !embedded.tiff.empty()) {
        const TiffBlock& block = embedded.tiff.front();
        m_found.previewExif.assign(block.data(), block.data() + block.size());
    }
}

bool Walker::ReadDirectory(int index) {
    const uint64_t at = m_dirs[index].offset;
    const int depth = m_dirs[index].depth;
    ReadBuffer& raw = m_raw;
    raw.resize(2);
    if (!Read(at, raw.data(), 2))
        return false;
    const uint32_t count = TiffRead16(raw.data(), m_order);
    if (count > kMaxEntries) {
        m_found.error = "Illegally sized directory";
        return false;
    }
    if (count == 0)
        return true; // an empty directory says nothing
    raw.resize(2 + size_t{TiffEntry::kSize} * count + 4);
    // A last directory may end the file without its next-directory link.
    if (!Read(at + 2, raw.data() + 2, raw.size() - 6))
        return false;
    const bool hasNext = Read(at + raw.size() - 4, raw.data() + raw.size() - 4, 4);
    // The directory's own bytes; its values lie elsewhere in the file.
    const TiffDirectory directory(TiffSpan{raw.data(), raw.size() - (hasNext ? 0 : 4), 0, m_order},
                                  0);

    std::vector<Entry> entries;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const TiffEntry read = directory.Entry(i);
        Entry e;
        e.tag = read.tag;
        e.type = read.type;
        e.count = read.count;
        std::memcpy(e.inlineValue, raw.data() + read.position + 8, 4);
        if (TiffTypeSize(e.type) == 0)
            continue; // an unknown type: nothing to say about its value
        const uint64_t bytes = read.ByteCount();
        if (index == 0 && e.tag == kJpgFromRaw && m_traits.magic == kPanasonicMagic &&
            !m_found.recordOnly && !read.IsInline())
            m_embeddedJpeg = {read.valueField, bytes};
        if (!read.IsInline()) {
            const bool note = e.tag == ExifTag::MakerNote || e.tag == ExifTag::DngPrivateData;
            const bool wanted =
                m_found.recordOnly
                    ? bytes <= kMaxRecordValueSize || e.tag == ExifTag::UserComment ||
                          (m_found.makerNote && note && bytes <= kMaxValueSize)
                    : bytes <= kMaxValueSize || e.tag == ExifTag::Xmp || e.tag == ExifTag::Iptc;
            if (!wanted || bytes > m_source.Cap())
                continue;
            const size_t valueAt = m_values.size();
            m_values.resize(valueAt + static_cast<size_t>(bytes));
            if (!Read(read.valueField, m_values.data() + valueAt, static_cast<size_t>(bytes))) {
                m_values.resize(valueAt);
                continue; // the entry is dropped, the directory goes on
            }
            e.valueAt = valueAt;
            e.valueSize = static_cast<uint32_t>(bytes);
        }
        entries.push_back(std::move(e));
    }

    // Links are queued after the entries are read so that a directory
    // linking to itself is found in the list.
    for (Entry& e : entries) {
        const bool single = e.count == 1 && (e.type == kTiffLong || e.type == kTiffIfd);
        if (single && (e.tag == ExifTag::ExifIfd || e.tag == ExifTag::GpsIfd ||
                       e.tag == ExifTag::InteropIfd)) {
            const Kind kind = e.tag == ExifTag::ExifIfd  ? Kind::Exif
                              : e.tag == ExifTag::GpsIfd ? Kind::Gps
                                                         : Kind::Interop;
            const int target = Enqueue(U32(e.inlineValue), kind, depth + 1);
            if (target >= 0)
                e.links[e.linkCount++] = target;
            else
                e.keep = false;
        } else if (e.tag == ExifTag::SubIfds && (e.type == kTiffLong || e.type == kTiffIfd)) {
            for (uint32_t k = 0; k < e.count && k < kMaxSubIfds; ++k) {
                const int target = Enqueue(Number(e, k), Kind::SubIfd, depth + 1);
                if (target >= 0)
                    e.links[e.linkCount++] = target;
            }
            e.keep = e.linkCount > 0;
        }
    }
    m_dirs[index].entries = std::move(entries);

    uint32_t next = 0;
    if (m_dirs[index].kind == Kind::Chain && directory.NextLink(next) && next != 0) {
        const int target = Enqueue(next, Kind::Chain, depth);
        if (target > index)
            m_dirs[index].next = target;
        else
            m_found.error = "Directory chain loops";
    }
    return true;
}

uint32_t Walker::Number(const Entry& e, uint32_t index, uint32_t fallback) const {
    const TiffValue value{Value(e), ValueSize(e), e.type, m_order};
    uint32_t number = 0;
    return index < e.count && TiffUnsignedAt(value, index, number) ? number : fallback;
}

const Entry* Walker::Find(const Directory& d, uint16_t tag) const {
    for (const Entry& e : d.entries)
        if (e.tag == tag)
            return &e;
    return nullptr;
}

void Walker::LearnFromDirectories() {
    uint64_t bestArea = 0;
    for (size_t i = 0; i < m_dirs.size(); ++i) {
        const Directory& d = m_dirs[i];
        if (d.kind != Kind::Chain && d.kind != Kind::SubIfd)
            continue;
        if (i == 0) {
            if (const Entry* make = Find(d, ExifTag::Make); make && make->type == 2) {
                const unsigned char* text = Value(*make);
                const size_t n =
                    make->valueSize == 0 ? (make->count < 4 ? make->count : 4) : make->valueSize;
                size_t k = 0;
                for (; k < n && k < sizeof m_traits.make - 1 && text[k] != 0; ++k)
                    m_traits.make[k] = static_cast<char>(text[k]);
                m_traits.make[k] = '\0';
            }
            m_traits.dng = Find(d, ExifTag::DngVersion) != nullptr;
        }
        const Entry* typeEntry = Find(d, ExifTag::NewSubfileType);
        const uint32_t subfileType = typeEntry ? Number(*typeEntry, 0) : 0;
        const Entry* photometricEntry = Find(d, ExifTag::Photometric);
        const uint32_t photometric = photometricEntry ? Number(*photometricEntry, 0) : 0;
        const Entry* compressionEntry = Find(d, ExifTag::Compression);
        const uint32_t compression = compressionEntry ? Number(*compressionEntry, 0) : 0;
        if (photometric == 32803 || photometric == 34892 || compression == 32767 ||
            compression == 32769 || compression == 32770 || compression == 34713 ||
            compression == 65535 || compression == 65000)
            m_traits.raw = true;

        // The full picture: the largest directory that is not a reduced copy.
        const Entry* w = Find(d, ExifTag::ImageWidth);
        const Entry* h = Find(d, ExifTag::ImageLength);
        if (m_traits.magic == 0x55 && (!w || !h)) {
            w = Find(d, 0x0002); // Panasonic's sensor size
            h = Find(d, 0x0003);
        }
        if (w && h && subfileType == 0) {
            const uint64_t area = uint64_t{Number(*w, 0)} * Number(*h, 0);
            if (area > bestArea) {
                bestArea = area;
                m_found.width = Number(*w, 0);
                m_found.height = Number(*h, 0);
            }
        }

        // Previews: the EXIF thumbnail, or a directory of one JPEG strip.
        FileExtent candidate;
        const Entry* jpegOffset = Find(d, ExifTag::JpegInterchangeFormat);
        const Entry* jpegLength = Find(d, ExifTag::JpegInterchangeFormatLength);
        const Entry* strips = Find(d, ExifTag::StripOffsets);
        const Entry* stripBytes = Find(d, ExifTag::StripByteCounts);
        if (jpegOffset && jpegLength) {
            candidate = {Number(*jpegOffset, 0), Number(*jpegLength, 0)};
        } else if (strips && stripBytes && strips->count == 1 && stripBytes->count == 1 &&
                   (compression == 6 || (compression == 7 && subfileType == 1))) {
            candidate = {Number(*strips, 0), Number(*stripBytes, 0)};
        }
        // (The record alone has no use for it, nor for the file's size.)
        if (!m_found.recordOnly && candidate.length > m_found.preview.extent.length &&
            candidate.offset <= UINT64_MAX - m_base &&
            m_source.Holds(m_base + candidate.offset, candidate.length)) {
            m_found.preview.extent = {m_base + candidate.offset, candidate.length};
            std::memcpy(m_found.preview.coding, "jpeg", 5);
        }
        if (i == 0) {
            if (const Entry* xmp = Find(d, ExifTag::Xmp); xmp && xmp->valueSize != 0)
                m_found.xmp.assign(Value(*xmp), Value(*xmp) + xmp->valueSize);
            if (const Entry* iptc = Find(d, ExifTag::Iptc); iptc && iptc->valueSize != 0)
                m_found.iptc.assign(Value(*iptc), Value(*iptc) + iptc->valueSize);
        }
    }
}

void Walker::Repack() {
    // Layout: header, then each directory followed by its values.
    uint64_t at = 8;
    for (Directory& d : m_dirs) {
        d.outOffset = static_cast<uint32_t>(at);
        uint32_t kept = 0;
        for (const Entry& e : d.entries) {
            if (!e.keep)
                continue;
            ++kept;
            const uint64_t valueSize = e.linkCount > 1    ? 4 * uint64_t(e.linkCount)
                                       : e.linkCount == 0 ? e.valueSize
                                                          : 0;
            if (valueSize > 4)
                at += (valueSize + 1) & ~uint64_t{1};
        }
        at += 2 + 12 * uint64_t{kept} + 4;
    }
    if (at > UINT32_MAX) {
        m_found.error = "Metadata read limit reached";
        return;
    }
    ReadBuffer out(static_cast<size_t>(at), 0);
    out[0] = out[1] = m_order == TiffByteOrder::Big ? 'M' : 'I';
    Put16(&out[2], TiffHeader::kMagic);
    Put32(&out[4], m_dirs.empty() || m_dirs[0].entries.empty() ? 0 : 8);

    for (const Directory& d : m_dirs) {
        uint32_t kept = 0;
        for (const Entry& e : d.entries)
            kept += e.keep ? 1 : 0;
        uint32_t valueAt = d.outOffset + 2 + 12 * kept + 4;
        unsigned char* p = &out[d.outOffset];
        Put16(p, kept);
        p += 2;
        for (const Entry& e : d.entries) {
            if (!e.keep)
                continue;
            const bool linked = e.linkCount > 0;
            const uint16_t type = linked ? uint16_t{kTiffLong} : e.type;
            const uint32_t count = linked ? static_cast<uint32_t>(e.linkCount) : e.count;
            Put16(p, e.tag);
            Put16(p + 2, type);
            Put32(p + 4, count);
            if (linked && e.linkCount == 1) {
                Put32(p + 8, m_dirs[e.links[0]].outOffset);
            } else if (linked) {
                Put32(p + 8, valueAt);
                for (int k = 0; k < e.linkCount; ++k)
                    Put32(&out[valueAt + 4 * k], m_dirs[e.links[k]].outOffset);
                valueAt += static_cast<uint32_t>(4 * e.linkCount);
            } else if (e.valueSize != 0) {
                Put32(p + 8, valueAt);
                std::memcpy(&out[valueAt], Value(e), e.valueSize);
                valueAt += (e.valueSize + 1) & ~uint32_t{1};
            } else {
                std::memcpy(p + 8, e.inlineValue, 4);
            }
            p += 12;
        }
        Put32(p, d.next >= 0 ? m_dirs[d.next].outOffset : 0);
    }
    TiffBlock block;
    block.role = TiffRole::Main;
    block.bytes = std::move(out);
    m_found.tiff.push_back(std::move(block));
}

} // namespace

bool ReadTiffStructure(ByteSource& source, uint64_t base, LocatedBlocks& found,
                       TiffTraits& traits) {
    Walker walker(source, base, found, traits);
    return walker.Run();
}
