#include "metadata/containers/JpegSegments.h"

#include "metadata/JpegMarkers.h"
#include "metadata/tiff/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {

// Enough for a header and a few megabytes of extended XMP in 64 KiB parts.
constexpr int kMaxSegments = 256;
constexpr char kExifHeader[] = "Exif\0";                                  // with its zero: 6 bytes
constexpr char kXmpHeader[] = "http://ns.adobe.com/xap/1.0/";             // with its zero: 29 bytes
constexpr char kExtensionHeader[] = "http://ns.adobe.com/xmp/extension/"; // 35 bytes
constexpr char kPhotoshopHeader[] = "Photoshop 3.0";                      // 14 bytes
constexpr size_t kGuidSize = 32;
// The extension's signature, its GUID, the full length and this part's offset.
constexpr size_t kPartHeader = sizeof kExtensionHeader + kGuidSize + 8;

// One part of an extended XMP packet as found: read only when its packet
// is joined, straight into its place.
struct XmpPart {
    std::string guid;
    uint32_t full = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
    uint64_t at = 0; // its bytes in the source
};

// The GUID is the packet's MD5 in hex digits.
bool IsHexGuid(const unsigned char* p) {
    for (size_t i = 0; i < kGuidSize; ++i) {
        const unsigned char c = p[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// The parts of one GUID placed at their offsets; the packet is kept only
// when they cover it whole and can be read. A part that repeats bytes
// already placed must repeat them exactly, else it is left out; so is one of
// another full length.
void JoinParts(ByteSource& source, const std::vector<XmpPart>& parts, const std::string& guid,
               std::vector<ExtendedXmp>& out) {
    std::vector<const XmpPart*> own;
    uint64_t total = 0;
    for (const XmpPart& p : parts)
        if (p.guid == guid && (own.empty() || p.full == own.front()->full)) {
            own.push_back(&p);
            total += p.size;
        }
    if (own.empty() || total < own.front()->full)
        return; // a part is missing: nothing is read
    std::stable_sort(own.begin(), own.end(),
                     [](const XmpPart* a, const XmpPart* b) { return a->offset < b->offset; });
    ExtendedXmp packet;
    packet.guid = guid;
    packet.packet = ReadBuffer(own.front()->full);
    ReadBuffer repeat;
    uint64_t covered = 0; // bytes [0, covered) are placed
    for (const XmpPart* p : own) {
        const uint64_t end = uint64_t{p->offset} + p->size;
        if (p->offset > covered)
            return; // a gap
        unsigned char* place = packet.packet.data() + p->offset;
        if (p->offset == covered) { // the usual case: the next bytes
            if (!source.ReadAt(p->at, place, p->size))
                return;
            covered = end;
            continue;
        }
        repeat.resize(p->size);
        if (!source.ReadAt(p->at, repeat.data(), p->size))
            return;
        const size_t repeated = static_cast<size_t>(std::min(end, covered) - p->offset);
        if (std::memcmp(place, repeat.data(), repeated) != 0)
            continue;
        if (end > covered) {
            std::memcpy(place + repeated, repeat.data() + repeated,
                        static_cast<size_t>(end - covered));
            covered = end;
        }
    }
    if (covered == packet.packet.size())
        out.push_back(std::move(packet));
}

class SegmentScan {
public:
    SegmentScan(ByteSource& source, LocatedBlocks& found) : m_source(source), m_found(found) {}
    void Run(uint64_t at, uint64_t end, JpegExifSegment& exif);
    void JoinExtendedXmp();

private:
    // Reads `count` bytes at `at` to the end of `into`; false (and nothing
    // added) when they cannot be read.
    bool Append(ReadBuffer& into, uint64_t at, size_t count) {
        // What the source holds is copied once, its room not zeroed first.
        if (const unsigned char* held = m_source.Held(at, count)) {
            into.insert(into.end(), held, held + count);
            return true;
        }
        const size_t before = into.size();
        into.resize(before + count);
        if (m_source.ReadAt(at, into.data() + before, count))
            return true;
        into.resize(before);
        return false;
    }
    void ExtensionPart(const unsigned char* header, uint64_t payload, uint32_t payloadSize);

    ByteSource& m_source;
    LocatedBlocks& m_found;
    std::vector<XmpPart> m_parts;
};

// A part is kept only when its header is sound: a hex GUID, a full length
// the read cap allows and a place inside it.
void SegmentScan::ExtensionPart(const unsigned char* header, uint64_t payload,
                                uint32_t payloadSize) {
    const unsigned char* guid = header + sizeof kExtensionHeader;
    const uint32_t full = Be32(guid + kGuidSize);
    const uint32_t offset = Be32(guid + kGuidSize + 4);
    const uint32_t size = payloadSize - static_cast<uint32_t>(kPartHeader);
    if (!IsHexGuid(guid) || full == 0 || full > m_source.Cap() || offset > full ||
        size > full - offset || size == 0)
        return; // passed over
    XmpPart part;
    part.guid.assign(reinterpret_cast<const char*>(guid), kGuidSize);
    part.full = full;
    part.offset = offset;
    part.size = size;
    part.at = payload + kPartHeader;
    m_parts.push_back(std::move(part));
}

void SegmentScan::Run(uint64_t at, uint64_t end, JpegExifSegment& exif) {
    for (int n = 0; n < kMaxSegments && at < end; ++n) {
        // Sparse reads: past the bytes already held, a segment passed over
        // costs its header and the few bytes that would tell its signature
        // (one read, not a window around them); just the header where the
        // file ends sooner.
        unsigned char head[4 + kPartHeader];
        size_t headSize = static_cast<size_t>(std::min<uint64_t>(end - at, sizeof head));
        if (headSize < 4)
            return;
        if (!m_source.ReadSparse(at, head, headSize)) {
            headSize = 4;
            if (!m_source.ReadSparse(at, head, headSize))
                return;
        }
        const unsigned char* const marker = head;
        if (marker[0] != JpegMarker::Fill)
            return;
        if (marker[1] == JpegMarker::Fill) { // a fill byte
            ++at;
            continue;
        }
        if (marker[1] == JpegMarker::StartOfScan || marker[1] == JpegMarker::EndOfImage)
            return;
        const uint32_t size = Be16(marker + 2);
        if (size < 2 || size - 2 > end - at - 4 || !m_source.Holds(at + 4, size - 2))
            return;
        const uint64_t payload = at + 4;
        const uint32_t payloadSize = size - 2;
        at = payload + payloadSize;
        const bool app1 = marker[1] == JpegMarker::App1;
        if (!app1 && marker[1] != JpegMarker::App13)
            continue;
        // The signature first (with an extended XMP part's header); a block's
        // bytes are then read straight into their place, and segments of no
        // interest are not read at all.
        const size_t prefixSize =
            std::min<size_t>(payloadSize, app1 ? kPartHeader : sizeof kPhotoshopHeader);
        const unsigned char* const prefix = head + 4;
        if (4 + prefixSize > headSize && !m_source.ReadSparse(payload, head + 4, prefixSize))
            return;
        auto starts = [&](const char* header, size_t length) {
            return prefixSize >= length && std::memcmp(prefix, header, length) == 0;
        };
        bool read = true;
        if (app1 && starts(kExifHeader, sizeof kExifHeader) && m_found.tiff.empty()) {
            TiffBlock block;
            const uint64_t tiff = payload + sizeof kExifHeader;
            const size_t tiffSize = payloadSize - sizeof kExifHeader;
            block.kept = m_source.Kept(tiff, tiffSize);
            block.keptSize = block.kept != nullptr ? tiffSize : 0;
            read = block.kept != nullptr || Append(block.bytes, tiff, tiffSize);
            if (read) {
                m_found.tiff.push_back(std::move(block));
                exif = {payload, size};
            }
        } else if (app1 && starts(kXmpHeader, sizeof kXmpHeader) && m_found.xmp.empty()) {
            read =
                Append(m_found.xmp, payload + sizeof kXmpHeader, payloadSize - sizeof kXmpHeader);
        } else if (app1 && starts(kExtensionHeader, sizeof kExtensionHeader) &&
                   prefixSize == kPartHeader) {
            ExtensionPart(prefix, payload, payloadSize);
        } else if (!app1 && starts(kPhotoshopHeader, sizeof kPhotoshopHeader)) {
            // The resources may go on in the next APP13 segment: the first
            // payload is kept whole, the others after their signature.
            const uint32_t skip = m_found.iptc.empty() ? 0 : sizeof kPhotoshopHeader;
            read = Append(m_found.iptc, payload + skip, payloadSize - skip);
        }
        if (!read)
            return;
    }
}

void SegmentScan::JoinExtendedXmp() {
    for (size_t i = 0; i < m_parts.size(); ++i) {
        bool seen = false;
        for (size_t k = 0; k < i && !seen; ++k)
            seen = m_parts[k].guid == m_parts[i].guid;
        if (!seen)
            JoinParts(m_source, m_parts, m_parts[i].guid, m_found.extendedXmp);
    }
}

} // namespace

bool ScanJpegSegments(ByteSource& source, uint64_t start, uint64_t length, LocatedBlocks& found,
                      JpegExifSegment* exif) {
    // To the end of the file: the source tells where that is only when a
    // segment goes past what it has read.
    const uint64_t end =
        length == SourceStream::kToEnd || length > UINT64_MAX - start ? UINT64_MAX : start + length;
    unsigned char soi[2];
    if (end - start < 2 || !source.ReadSparse(start, soi, 2) || soi[0] != JpegMarker::Fill ||
        soi[1] != JpegMarker::StartOfImage)
        return false;
    JpegExifSegment kept;
    SegmentScan scan(source, found);
    scan.Run(start + 2, end, kept);
    scan.JoinExtendedXmp();
    if (exif != nullptr)
        *exif = kept;
    return true;
}
