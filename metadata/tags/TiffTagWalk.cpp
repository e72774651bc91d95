#include "metadata/tags/TiffTagWalk.h"

#include "metadata/makernotes/MakerNotes.h"
#include "metadata/tags/ExifTagNames.h"
#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"
#include "metadata/tags/TiffEntryValue.h"
#include "metadata/tiff/TiffDirectory.h"
#include "metadata/tiff/VisitedDirectories.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

// "23,412"
std::string Grouped(uint64_t v) {
    std::string digits = std::to_string(v);
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i != 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// Tags whose values are embedded blocks or large binary data of their own:
// listed by their size, whatever type they are written in.
bool IsBlobTag(uint16_t tag) {
    switch (tag) {
    case 0x02BC: // XMP
    case 0x83BB: // IPTC
    case 0x8649: // Photoshop image resources
    case 0x8773: // ICC profile
    case 0x927C: // maker note
    case 0xC634: // DNG private data
    case 0xC68C: // original raw file
    case 0xC68F: // ICC profiles
    case 0xC691:
    case 0xC740: // opcode lists
    case 0xC741:
    case 0xC74E:
        return true;
    default:
        return false;
    }
}

bool IsXpTag(uint16_t tag) {
    return tag >= 0x9C9B && tag <= 0x9C9F;
}

// DNG's texts that may be written as BYTE (UTF-8) instead of ASCII.
bool IsDngByteText(uint16_t tag) {
    switch (tag) {
    case 0xC615: // LocalizedCameraModel
    case 0xC68B: // OriginalRawFileName
    case 0xC6F3: // CameraCalibrationSignature
    case 0xC6F4: // ProfileCalibrationSignature
    case 0xC6F8: // ProfileName
    case 0xC6FE: // ProfileCopyright
    case 0xC716: // PreviewApplicationName
    case 0xC717: // PreviewApplicationVersion
    case 0xC718: // PreviewSettingsName
        return true;
    default:
        return false;
    }
}

struct Link {
    uint16_t tag;
    std::vector<uint32_t> offsets;
};

// Lists the entries of the directories of one TIFF structure.
class TagLister {
public:
    TagLister(const TiffSpan& span, MetadataCollector& out) : m_span(span), m_out(out) {}

    // Walks the directory at `offset` and everything it points to; returns
    // its next-directory link (0 when none).
    uint32_t Walk(uint32_t offset, const std::string& group, int depth);

private:
    bool Visit(uint32_t offset, const std::string& group);
    void ReadEntry(const TiffDirectory& directory, const TiffEntry& entry, const std::string& group,
                   TagSpace space, std::vector<Link>& links);
    void FollowLinks(const std::vector<Link>& links, const std::string& from, int depth);
    std::string LinkGroup(uint16_t tag);

    TiffSpan m_span;
    MetadataCollector& m_out;
    VisitedDirectories m_visited;
    int m_subIfds = 0;
};

bool TagLister::Visit(uint32_t offset, const std::string& group) {
    switch (m_visited.Enter(offset)) {
    case VisitedDirectories::Entered::New:
        return true;
    case VisitedDirectories::Entered::Seen:
        m_out.Note(group + " at " + Hex(offset) + " was already walked; not walked again");
        return false;
    case VisitedDirectories::Entered::Full:
        break;
    }
    m_out.Note("more than " + std::to_string(TiffLimits::kMaxDirectories) + " directories; " +
               group + " not walked");
    return false;
}

uint32_t TagLister::Walk(uint32_t offset, const std::string& group, int depth) {
    if (TiffLimits::TooDeep(depth)) {
        m_out.Note(group + " nested too deeply; not walked");
        return 0;
    }
    const TiffDirectory directory(m_span, offset);
    if (offset < 8 || !directory.Valid()) {
        m_out.Note(group + " at " + Hex(offset) + " outside the block");
        return 0;
    }
    if (!Visit(offset, group))
        return 0;
    const uint32_t declared = directory.DeclaredCount();
    const uint32_t count = directory.FittingCount();
    if (count < declared)
        m_out.Note(group + " declares " + std::to_string(declared) + " entries; " +
                   std::to_string(count) + " fit in the block");

    const size_t firstEntry = m_out.Entries().size();
    const TagSpace space = TagSpaceOfGroup(group);
    std::vector<Link> links;
    for (uint32_t i = 0; i < count; ++i) {
        if (m_out.Full()) {
            m_out.MarkTruncated();
            return 0;
        }
        ReadEntry(directory, directory.Entry(i), group, space, links);
    }
    if (space == TagSpace::Gps)
        ApplyGpsTexts(m_out.Entries(), firstEntry);
    FollowLinks(links, group, depth);

    uint32_t next = 0;
    if (count < declared || !directory.NextLink(next))
        return 0;
    return next;
}

std::string TagLister::LinkGroup(uint16_t tag) {
    switch (tag) {
    case 0x8769:
        return "ExifIFD";
    case 0x8825:
        return "GPS";
    case 0xA005:
        return "InteropIFD";
    default: {
        const int n = m_subIfds++;
        return n == 0 ? "SubIFD" : "SubIFD" + std::to_string(n);
    }
    }
}

void TagLister::FollowLinks(const std::vector<Link>& links, const std::string& from, int depth) {
    for (const Link& link : links) {
        for (uint32_t target : link.offsets) {
            const std::string group = LinkGroup(link.tag);
            if (target < 8 || target >= m_span.size) {
                m_out.Note(from + " points to " + group + " at " + Hex(target) +
                           ", outside the block; skipped");
                continue;
            }
            Walk(target, group, depth + 1); // sub-directories' next links are not followed
        }
    }
}

void TagLister::ReadEntry(const TiffDirectory& directory, const TiffEntry& entry,
                          const std::string& group, TagSpace space, std::vector<Link>& links) {
    // Filled in place: the entry is never copied or moved on its way.
    MetadataEntry* added = m_out.Append();
    if (added == nullptr)
        return;
    MetadataEntry& e = *added;
    const uint16_t tag = entry.tag;
    e.group = group;
    e.id = tag;
    const std::string_view name = ExifTagNameText(tag, space);
    if (!name.empty())
        e.name.SetConstant(name);
    else
        e.name = ExifTagNameOrId(tag, space);
    e.type = entry.type;
    e.count = entry.count;

    TiffValue v;
    switch (directory.Locate(entry, v)) {
    case TiffValueFault::None:
        break;
    case TiffValueFault::UnknownType:
        e.text = "(unknown type " + std::to_string(e.type) + ")";
        return;
    case TiffValueFault::OutsideBlock:
        m_out.Note(group + " " + std::string(e.name) + ": " + std::to_string(entry.ByteCount()) +
                   " bytes at " + Hex(entry.valueField) + " outside the block");
        e.text = "(value outside the block)";
        return;
    }
    const uint64_t bytes = v.size;

    const bool tiffSpace = space == TagSpace::Tiff;
    if (tiffSpace && tag == 0x927C) {
        KeepTiffBytes(v, e);
        const std::string& make = m_out.CameraMake();
        e.text = "(" + Grouped(bytes) + " bytes" + (make.empty() ? "" : ", " + make) + ")";
        e.rawOverride = "(" + std::to_string(bytes) + " bytes)";
    } else if (tiffSpace && IsBlobTag(tag)) {
        KeepTiffBytes(v, e);
        e.text = "(" + Grouped(bytes) + " bytes)";
        e.rawOverride = "(" + std::to_string(bytes) + " bytes)";
    } else if (tiffSpace && IsXpTag(tag) && (e.type == 1 || e.type == 7)) {
        // Windows writes these as UTF-16LE in BYTE values.
        size_t n = v.size & ~size_t(1);
        while (n >= 2 && v.data[n - 1] == 0 && v.data[n - 2] == 0)
            n -= 2;
        e.value.kind = MetadataValue::Kind::Text;
        e.value.text = Utf16ToUtf8(v.data, n, false);
        e.text = e.value.text;
    } else if (e.type == 7 && ((tiffSpace && tag == 0x9286) ||
                               (space == TagSpace::Gps && (tag == 0x001B || tag == 0x001C)))) {
        e.value.kind = MetadataValue::Kind::Text;
        e.value.text = CodedText(v);
        e.text = e.value.text;
    } else if (tiffSpace && e.type == 1 && IsDngByteText(tag)) {
        TiffValue text = v;
        text.type = kTiffAscii; // up to the first zero
        DecodeTiffValue(text, e.count, e);
        e.text = e.value.text;
    } else {
        DecodeTiffValue(v, e.count, e);
        e.text = TagText(e, space);
    }

    if (tiffSpace && (tag == 0x8769 || tag == 0x8825 || tag == 0xA005 || tag == 0x014A) &&
        (e.type == 4 || e.type == 13) && e.count > 0) {
        Link link{tag, {}};
        const uint32_t n = e.count < 64 ? e.count : 64; // SubIFDs are few
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t target = 0;
            if (TiffUnsignedAt(v, i, target))
                link.offsets.push_back(target);
        }
        links.push_back(std::move(link));
    }
    if (tag == 0x010F && group == "IFD0" && e.value.kind == MetadataValue::Kind::Text)
        m_out.SetCameraMake(e.value.text);
    if (tiffSpace && tag == 0x927C) {
        // Last: the note's entries join the list, which may move `e`.
        const auto at = static_cast<size_t>(v.data - m_span.data);
        ReadMakerNote({m_span, at, v.size, at, m_out.CameraMake()}, m_out);
    } else if (tiffSpace && tag == 0xC634) {
        const auto at = static_cast<size_t>(v.data - m_span.data);
        ReadDngMakerNote(m_span, at, v.size, m_out.CameraMake(), m_out);
    }
}

} // namespace

bool WalkTiffBlock(const uint8_t* data, size_t size, TiffRole role, MetadataCollector& out) {
    TiffHeader header;
    if (data == nullptr || !ReadTiffHeader(data, size, header))
        return false;
    if (header.magic != TiffHeader::kMagic) {
        out.Note("not a TIFF header (magic " + std::to_string(header.magic) + ")");
        return false;
    }
    TagLister lister(TiffSpan{data, size, 0, header.order}, out);
    switch (role) {
    case TiffRole::Exif:
        lister.Walk(header.firstOffset, "ExifIFD", 0);
        return true;
    case TiffRole::Gps:
        lister.Walk(header.firstOffset, "GPS", 0);
        return true;
    case TiffRole::Main:
        break;
    }
    uint32_t next = header.firstOffset;
    for (int index = 0; next != 0 && index < TiffLimits::kMaxDirectories && !out.Full(); ++index)
        next = lister.Walk(next, "IFD" + std::to_string(index), 0);
    return true;
}
