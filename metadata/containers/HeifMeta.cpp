#include "metadata/containers/HeifMeta.h"

#include "metadata/tiff/ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr uint64_t kMaxMetaSize = 1u << 20;
constexpr size_t kMaxItems = 4096;
constexpr uint32_t kMaxExtents = 64;
constexpr size_t kMaxItemData = 2u << 20;

struct Extent {
    uint64_t offset;
    uint64_t length;
};

struct Item {
    uint32_t id = 0;
    char type[5] = {0, 0, 0, 0, 0};
    bool xmp = false;
    int method = 0; // 0: file offsets, 1: inside idat
    std::vector<Extent> extents;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t thumbnailOf = 0; // 'thmb' reference
    uint32_t describes = 0;   // 'cdsc' reference
};

// Bounds-checked reading over the meta box's bytes.
class Cursor {
public:
    Cursor(const unsigned char* data, uint64_t pos, uint64_t end)
        : m_data(data), m_pos(pos), m_end(end) {}
    bool Has(uint64_t n) const { return m_pos <= m_end && n <= m_end - m_pos; }
    uint64_t Number(int size) {
        if (size == 0)
            return 0;
        if (!Has(static_cast<uint64_t>(size))) {
            m_ok = false;
            m_pos = m_end;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v = (v << 8) | m_data[m_pos + i];
        m_pos += static_cast<uint64_t>(size);
        return v;
    }
    const unsigned char* Bytes(uint64_t n) {
        if (!Has(n)) {
            m_ok = false;
            m_pos = m_end;
            return nullptr;
        }
        const unsigned char* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    // A zero-terminated string; returns its start (null when unterminated).
    const char* String() {
        const uint64_t start = m_pos;
        while (m_pos < m_end && m_data[m_pos] != 0)
            ++m_pos;
        if (m_pos >= m_end) {
            m_ok = false;
            return nullptr;
        }
        ++m_pos;
        return reinterpret_cast<const char*>(m_data + start);
    }
    bool Ok() const { return m_ok; }
    uint64_t Pos() const { return m_pos; }

private:
    const unsigned char* m_data;
    uint64_t m_pos;
    uint64_t m_end;
    bool m_ok = true;
};

class MetaParser {
public:
    MetaParser(ByteSource& source, LocatedBlocks& found) : m_source(source), m_found(found) {}
    bool Run(const BoxHeader& meta, char (&primaryType)[5]);

private:
    Item* FindItem(uint32_t id) {
        // The boxes mostly list items in one order: the search starts after
        // the item found last, so a walk through them costs one step each.
        const size_t n = m_items.size();
        for (size_t k = 0, i = m_next < n ? m_next : 0; k < n; ++k, i = i + 1 < n ? i + 1 : 0) {
            if (m_items[i].id == id) {
                m_next = i + 1;
                return &m_items[i];
            }
        }
        return nullptr;
    }
    Item* ItemFor(uint32_t id) {
        // Ids mostly come in rising order: one above every id so far is new
        // without a search.
        if (!m_items.empty() && id <= m_largestId)
            if (Item* item = FindItem(id))
                return item;
        if (m_items.size() >= kMaxItems)
            return nullptr;
        m_items.emplace_back();
        m_items.back().id = id;
        m_largestId = id > m_largestId ? id : m_largestId;
        return &m_items.back();
    }
    void ParseIinf(const BoxHeader& box);
    void ParseIloc(const BoxHeader& box);
    void ParseIprp(const BoxHeader& box);
    void ParseIref(const BoxHeader& box);
    bool ReadItem(const Item& item, ReadBuffer& out);
    void Error(const char* message) { m_found.error = message; }

    ByteSource& m_source;
    LocatedBlocks& m_found;
    std::vector<unsigned char> m_meta;
    uint64_t m_metaStart = 0;
    uint32_t m_primary = 0;
    BoxHeader m_idat; // in m_meta's offsets; end 0 when absent
    std::vector<Item> m_items;
    size_t m_next = 0; // where FindItem starts
    uint32_t m_largestId = 0;
    std::vector<BoxHeader> m_properties;               // ipco's children, 1-based in ipma
    std::vector<std::pair<uint32_t, uint32_t>> m_ipma; // item, property index
};

bool MetaParser::Run(const BoxHeader& meta, char (&primaryType)[5]) {
    const uint64_t size = meta.end - meta.start;
    if (size > kMaxMetaSize) {
        Error("Meta box too large");
        return false;
    }
    m_meta.resize(static_cast<size_t>(size));
    if (!m_source.ReadAt(meta.start, m_meta.data(), m_meta.size())) {
        Error(m_source.FailureText());
        return false;
    }
    m_metaStart = meta.start;
    // Full box: version and flags before the children.
    uint64_t at = meta.content - meta.start + 4;
    const uint64_t end = m_meta.size();
    for (int n = 0; n < kMaxBoxesPerLevel && at < end; ++n) {
        BoxHeader box;
        const char* error = nullptr;
        if (!BoxHeaderInMemory(m_meta.data(), at, end, box, error)) {
            Error(error);
            break;
        }
        if (box.Is("pitm")) {
            Cursor c(m_meta.data(), box.content, box.end);
            const uint64_t version = c.Number(1);
            c.Number(3);
            m_primary = static_cast<uint32_t>(c.Number(version == 0 ? 2 : 4));
        } else if (box.Is("iinf")) {
            ParseIinf(box);
        } else if (box.Is("iloc")) {
            ParseIloc(box);
        } else if (box.Is("iprp")) {
            ParseIprp(box);
        } else if (box.Is("iref")) {
            ParseIref(box);
        } else if (box.Is("idat")) {
            m_idat = box;
        }
        at = box.end;
    }

    // The primary item's size from the properties it is associated with
    // (a grid's tiles have sizes of their own, of no interest).
    for (const auto& [id, index] : m_ipma) {
        if (id != m_primary || index == 0 || index > m_properties.size())
            continue;
        const BoxHeader& property = m_properties[index - 1];
        if (!property.Is("ispe"))
            continue;
        Cursor c(m_meta.data(), property.content, property.end);
        c.Number(4);
        const uint32_t w = static_cast<uint32_t>(c.Number(4));
        const uint32_t h = static_cast<uint32_t>(c.Number(4));
        if (c.Ok())
            if (Item* item = FindItem(id)) {
                item->width = w;
                item->height = h;
            }
    }

    const Item* primary = FindItem(m_primary);
    if (primary != nullptr) {
        std::memcpy(primaryType, primary->type, 5);
        m_found.width = primary->width;
        m_found.height = primary->height;
    }
    // The Exif items, the one that describes the primary image first
    // wherever it stands; one that cannot be read (its bytes past the end of
    // a cut file) gives way to the next.
    std::vector<const Item*> exif;
    for (const Item& item : m_items) {
        if (std::memcmp(item.type, "Exif", 4) == 0)
            exif.push_back(&item);
        if (item.xmp && m_found.xmp.empty() && !m_found.recordOnly) {
            ReadBuffer data;
            if (ReadItem(item, data))
                m_found.xmp = std::move(data);
        }
        if (!m_found.recordOnly && item.thumbnailOf != 0 && item.thumbnailOf == m_primary &&
            item.method == 0 && item.extents.size() == 1 && m_found.preview.extent.length == 0 &&
            item.extents[0].length != 0 &&
            m_source.Holds(item.extents[0].offset, item.extents[0].length)) {
            m_found.preview.extent = {item.extents[0].offset, item.extents[0].length};
            std::memcpy(m_found.preview.coding, item.type, 5);
        }
    }
    std::stable_partition(exif.begin(), exif.end(),
                          [&](const Item* item) { return item->describes == m_primary; });
    const char* const before = m_found.error;
    for (const Item* item : exif) {
        ReadBuffer data;
        if (!ReadItem(*item, data))
            continue;
        size_t start = 0;
        if (!ExifTiffStart(data.data(), data.size(), start)) {
            Error(data.size() < 4 ? "EXIF item too short" : "EXIF item's TIFF offset past its end");
            continue;
        }
        TiffBlock block;
        block.role = TiffRole::Main;
        block.bytes.assign(data.begin() + static_cast<ptrdiff_t>(start), data.end());
        m_found.tiff.push_back(std::move(block));
        m_found.error = before; // what the items passed over met does not matter
        return true;
    }
    return exif.empty();
}

void MetaParser::ParseIinf(const BoxHeader& box) {
    Cursor c(m_meta.data(), box.content, box.end);
    const uint64_t version = c.Number(1);
    c.Number(3);
    const uint64_t count = c.Number(version == 0 ? 2 : 4);
    uint64_t at = c.Pos();
    for (uint64_t i = 0; i < count && i < kMaxItems && at < box.end; ++i) {
        BoxHeader infe;
        const char* error = nullptr;
        if (!BoxHeaderInMemory(m_meta.data(), at, box.end, infe, error)) {
            Error(error);
            return;
        }
        at = infe.end;
        if (!infe.Is("infe"))
            continue;
        Cursor e(m_meta.data(), infe.content, infe.end);
        const uint64_t v = e.Number(1);
        e.Number(3);
        if (v < 2)
            continue; // no item type before version 2
        const uint32_t id = static_cast<uint32_t>(e.Number(v == 2 ? 2 : 4));
        e.Number(2); // protection index
        const unsigned char* type = e.Bytes(4);
        if (!e.Ok())
            continue;
        Item* item = ItemFor(id);
        if (item == nullptr)
            return;
        std::memcpy(item->type, type, 4);
        e.String(); // name
        if (std::memcmp(type, "mime", 4) == 0) {
            const char* contentType = e.String();
            item->xmp =
                contentType != nullptr && std::strcmp(contentType, "application/rdf+xml") == 0;
        }
    }
}

void MetaParser::ParseIloc(const BoxHeader& box) {
    Cursor c(m_meta.data(), box.content, box.end);
    const uint64_t version = c.Number(1);
    c.Number(3);
    const uint64_t sizes = c.Number(1);
    const uint64_t sizes2 = c.Number(1);
    const int offsetSize = static_cast<int>(sizes >> 4);
    const int lengthSize = static_cast<int>(sizes & 15);
    const int baseSize = static_cast<int>(sizes2 >> 4);
    const int indexSize = version >= 1 ? static_cast<int>(sizes2 & 15) : 0;
    for (int s : {offsetSize, lengthSize, baseSize, indexSize})
        if (s != 0 && s != 4 && s != 8) {
            Error("Unknown iloc field size");
            return;
        }
    const uint64_t count = c.Number(version < 2 ? 2 : 4);
    for (uint64_t i = 0; i < count && i < kMaxItems && c.Ok(); ++i) {
        const uint32_t id = static_cast<uint32_t>(c.Number(version < 2 ? 2 : 4));
        int method = 0;
        if (version >= 1)
            method = static_cast<int>(c.Number(2) & 15);
        c.Number(2); // data reference index
        const uint64_t base = c.Number(baseSize);
        const uint64_t extents = c.Number(2);
        Item* item = c.Ok() ? ItemFor(id) : nullptr;
        if (item == nullptr)
            return;
        item->method = method;
        item->extents.clear();
        for (uint64_t k = 0; k < extents && c.Ok(); ++k) {
            c.Number(indexSize);
            const uint64_t offset = c.Number(offsetSize);
            const uint64_t length = c.Number(lengthSize);
            if (k < kMaxExtents && c.Ok())
                item->extents.push_back({base + offset, length});
        }
    }
    if (!c.Ok())
        Error("Truncated iloc box");
}

void MetaParser::ParseIprp(const BoxHeader& box) {
    uint64_t at = box.content;
    for (int n = 0; n < kMaxBoxesPerLevel && at < box.end; ++n) {
        BoxHeader child;
        const char* error = nullptr;
        if (!BoxHeaderInMemory(m_meta.data(), at, box.end, child, error)) {
            Error(error);
            return;
        }
        at = child.end;
        if (child.Is("ipco")) {
            uint64_t p = child.content;
            for (int k = 0; k < kMaxBoxesPerLevel && p < child.end; ++k) {
                BoxHeader property;
                if (!BoxHeaderInMemory(m_meta.data(), p, child.end, property, error)) {
                    Error(error);
                    break;
                }
                m_properties.push_back(property);
                p = property.end;
            }
        } else if (child.Is("ipma")) {
            Cursor c(m_meta.data(), child.content, child.end);
            const uint64_t version = c.Number(1);
            const uint64_t flags = c.Number(3);
            const uint64_t entries = c.Number(4);
            for (uint64_t e = 0; e < entries && e < kMaxItems && c.Ok(); ++e) {
                const uint32_t id = static_cast<uint32_t>(c.Number(version < 1 ? 2 : 4));
                const uint64_t associations = c.Number(1);
                for (uint64_t a = 0; a < associations && c.Ok(); ++a) {
                    const uint64_t value = c.Number((flags & 1) ? 2 : 1);
                    const uint32_t index =
                        static_cast<uint32_t>((flags & 1) ? (value & 0x7FFF) : (value & 0x7F));
                    if (c.Ok() && m_ipma.size() < kMaxItems * 8)
                        m_ipma.push_back({id, index});
                }
            }
        }
    }
}

void MetaParser::ParseIref(const BoxHeader& box) {
    Cursor head(m_meta.data(), box.content, box.end);
    const uint64_t version = head.Number(1);
    head.Number(3);
    const int idSize = version == 0 ? 2 : 4;
    uint64_t at = head.Pos();
    for (int n = 0; n < kMaxBoxesPerLevel && at < box.end; ++n) {
        BoxHeader reference;
        const char* error = nullptr;
        if (!BoxHeaderInMemory(m_meta.data(), at, box.end, reference, error)) {
            Error(error);
            return;
        }
        at = reference.end;
        const bool thumbnail = reference.Is("thmb");
        if (!thumbnail && !reference.Is("cdsc"))
            continue;
        Cursor c(m_meta.data(), reference.content, reference.end);
        const uint32_t from = static_cast<uint32_t>(c.Number(idSize));
        const uint64_t count = c.Number(2);
        const uint32_t to = count > 0 ? static_cast<uint32_t>(c.Number(idSize)) : 0;
        if (!c.Ok())
            continue;
        if (Item* item = ItemFor(from))
            (thumbnail ? item->thumbnailOf : item->describes) = to;
    }
}

bool MetaParser::ReadItem(const Item& item, ReadBuffer& out) {
    if (item.extents.empty()) {
        Error("Item has no location");
        return false;
    }
    // Extents of one item that overlap are a lie; so is one outside its data.
    if (item.method != 0 && item.method != 1) {
        Error("Unsupported item construction");
        return false;
    }
    const uint64_t idatSize = m_idat.end - m_idat.content;
    // The file's size is asked for only when an extent is not inside what
    // has been read already, or runs to the end.
    auto inside = [&](uint64_t offset, uint64_t length) {
        return item.method == 1 ? offset <= idatSize && length <= idatSize - offset
                                : m_source.Holds(offset, length);
    };
    uint64_t total = 0;
    for (size_t i = 0; i < item.extents.size(); ++i) {
        const Extent& a = item.extents[i];
        uint64_t length = a.length;
        if (a.length == 0 && item.extents.size() == 1) {
            const uint64_t limit = item.method == 1 ? idatSize : m_source.Size();
            length = a.offset <= limit ? limit - a.offset : 0;
        }
        if (!inside(a.offset, length)) {
            Error("Item extent past the end of the file");
            return false;
        }
        for (size_t k = 0; k < i; ++k) {
            const Extent& b = item.extents[k];
            if (a.offset < b.offset + b.length && b.offset < a.offset + length) {
                Error("Item extents overlap");
                return false;
            }
        }
        total += length;
        if (total > kMaxItemData) {
            Error("Item too large");
            return false;
        }
    }
    out.resize(static_cast<size_t>(total));
    size_t filled = 0;
    for (const Extent& a : item.extents) {
        const size_t length =
            static_cast<size_t>(a.length == 0 && item.extents.size() == 1 ? total : a.length);
        if (length == 0) {
            continue; // an empty item has no buffer to copy into
        } else if (item.method == 1) {
            std::memcpy(out.data() + filled, m_meta.data() + m_idat.content + a.offset, length);
        } else if (!m_source.ReadAt(a.offset, out.data() + filled, length)) {
            Error(m_source.FailureText());
            out.clear();
            return false;
        }
        filled += length;
    }
    return true;
}

} // namespace

bool ReadHeifMeta(ByteSource& source, const BoxHeader& meta, LocatedBlocks& found,
                  char (&primaryType)[5]) {
    MetaParser parser(source, found);
    return parser.Run(meta, primaryType);
}
