#include "metadata/tags/TiffTagWalk.h"

#include "metadata/tags/ExifTagNames.h"
#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/TagText.h"
#include "metadata/tags/TextEncoding.h"
#include "metadata/tags/TiffValue.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kEntrySize = 12;

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

class TiffWalker {
public:
    TiffWalker(const uint8_t* data, size_t size, bool bigEndian, MetadataCollector& out)
        : m_data(data), m_size(size), m_big(bigEndian), m_out(out) {}

    // Walks the directory at `offset` and everything it points to; returns
    // its next-directory link (0 when none).
    uint32_t Walk(uint32_t offset, const std::string& group, int depth);

private:
    bool Visit(uint32_t offset, const std::string& group);
    void ReadEntry(const uint8_t* p, const std::string& group, TagSpace space,
                   std::vector<Link>& links);
    void FollowLinks(const std::vector<Link>& links, const std::string& from, int depth);
    std::string LinkGroup(uint16_t tag);

    const uint8_t* m_data;
    size_t m_size;
    bool m_big;
    MetadataCollector& m_out;
    std::vector<uint32_t> m_visited;
    int m_subIfds = 0;
};

bool TiffWalker::Visit(uint32_t offset, const std::string& group) {
    for (uint32_t v : m_visited) {
        if (v == offset) {
            m_out.Note(group + " at " + Hex(offset) + " was already walked; not walked again");
            return false;
        }
    }
    if (m_visited.size() >= TiffWalkLimits::kMaxDirectories) {
        m_out.Note("more than " + std::to_string(TiffWalkLimits::kMaxDirectories) +
                   " directories; " + group + " not walked");
        return false;
    }
    m_visited.push_back(offset);
    return true;
}

uint32_t TiffWalker::Walk(uint32_t offset, const std::string& group, int depth) {
    if (depth > TiffWalkLimits::kMaxDepth) {
        m_out.Note(group + " nested too deeply; not walked");
        return 0;
    }
    if (offset < 8 || offset > m_size || m_size - offset < 2) {
        m_out.Note(group + " at " + Hex(offset) + " outside the block");
        return 0;
    }
    if (!Visit(offset, group))
        return 0;
    const uint32_t declared = TiffU16(m_data + offset, m_big);
    const size_t room = (m_size - offset - 2) / kEntrySize;
    const uint32_t count = declared <= room ? declared : static_cast<uint32_t>(room);
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
        ReadEntry(m_data + offset + 2 + size_t(i) * kEntrySize, group, space, links);
    }
    if (space == TagSpace::Gps)
        ApplyGpsTexts(m_out.Entries(), firstEntry);
    FollowLinks(links, group, depth);

    const size_t nextAt = offset + 2 + size_t(declared) * kEntrySize;
    if (count < declared || nextAt + 4 > m_size)
        return 0;
    return TiffU32(m_data + nextAt, m_big);
}

std::string TiffWalker::LinkGroup(uint16_t tag) {
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

void TiffWalker::FollowLinks(const std::vector<Link>& links, const std::string& from, int depth) {
    for (const Link& link : links) {
        for (uint32_t target : link.offsets) {
            const std::string group = LinkGroup(link.tag);
            if (target < 8 || target >= m_size) {
                m_out.Note(from + " points to " + group + " at " + Hex(target) +
                           ", outside the block; skipped");
                continue;
            }
            Walk(target, group, depth + 1); // sub-directories' next links are not followed
        }
    }
}

void TiffWalker::ReadEntry(const uint8_t* p, const std::string& group, TagSpace space,
                           std::vector<Link>& links) {
    // Filled in place: the entry is never copied or moved on its way.
    MetadataEntry* added = m_out.Append();
    if (added == nullptr)
        return;
    MetadataEntry& e = *added;
    const uint16_t tag = TiffU16(p, m_big);
    e.group = group;
    e.id = tag;
    const std::string_view name = ExifTagNameText(tag, space);
    if (!name.empty())
        e.name.SetConstant(name);
    else
        e.name = ExifTagNameOrId(tag, space);
    e.type = TiffU16(p + 2, m_big);
    e.count = TiffU32(p + 4, m_big);

    const uint32_t unit = TiffTypeSize(e.type);
    if (unit == 0) {
        e.text = "(unknown type " + std::to_string(e.type) + ")";
        return;
    }
    const uint64_t bytes = uint64_t(e.count) * unit;
    const uint8_t* value = p + 8;
    if (bytes > 4) {
        const uint32_t at = TiffU32(p + 8, m_big);
        if (at > m_size || bytes > m_size - at) {
            m_out.Note(group + " " + std::string(e.name) + ": " + std::to_string(bytes) +
                       " bytes at " + Hex(at) + " outside the block");
            e.text = "(value outside the block)";
            return;
        }
        value = m_data + at;
    }
    const TiffBytes v{value, static_cast<size_t>(bytes), m_big};

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
        DecodeTiffValue(v, 2, e.count, e); // as ASCII: up to the first zero
        e.text = e.value.text;
    } else {
        DecodeTiffValue(v, e.type, e.count, e);
        e.text = TagText(e, space);
    }

    if (tiffSpace && (tag == 0x8769 || tag == 0x8825 || tag == 0xA005 || tag == 0x014A) &&
        (e.type == 4 || e.type == 13) && e.count > 0) {
        Link link{tag, {}};
        const uint32_t n = e.count < 64 ? e.count : 64; // SubIFDs are few
        for (uint32_t i = 0; i < n; ++i)
            link.offsets.push_back(TiffU32(v.data + size_t(i) * 4, m_big));
        links.push_back(std::move(link));
    }
    if (tag == 0x010F && group == "IFD0" && e.value.kind == MetadataValue::Kind::Text)
        m_out.SetCameraMake(e.value.text);
}

} // namespace

bool WalkTiffBlock(const uint8_t* data, size_t size, TiffBlockRole role, MetadataCollector& out) {
    if (data == nullptr || size < 8)
        return false;
    bool big;
    if (data[0] == 'I' && data[1] == 'I')
        big = false;
    else if (data[0] == 'M' && data[1] == 'M')
        big = true;
    else
        return false;
    if (TiffU16(data + 2, big) != 42) {
        out.Note("not a TIFF header (magic " + std::to_string(TiffU16(data + 2, big)) + ")");
        return false;
    }
    TiffWalker walker(data, size, big, out);
    const uint32_t first = TiffU32(data + 4, big);
    switch (role) {
    case TiffBlockRole::Exif:
        walker.Walk(first, "ExifIFD", 0);
        return true;
    case TiffBlockRole::Gps:
        walker.Walk(first, "GPS", 0);
        return true;
    case TiffBlockRole::Main:
        break;
    }
    uint32_t next = first;
    for (int index = 0; next != 0 && index < TiffWalkLimits::kMaxDirectories && !out.Full();
         ++index)
        next = walker.Walk(next, "IFD" + std::to_string(index), 0);
    return true;
}
