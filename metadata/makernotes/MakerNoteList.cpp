#include "metadata/makernotes/MakerNoteList.h"

#include "metadata/tags/TagText.h"
#include "metadata/tags/TiffEntryValue.h"

namespace {

constexpr std::string_view kSummaryNames[] = {"Lens", "LensSerialNumber", "SerialNumber",
                                              "ShutterCount", "FirmwareVersion"};

} // namespace

MetadataEntry* MakerNoteList::Add(int32_t id, std::string_view name, uint16_t type,
                                  uint32_t count) {
    return Add(m_group, id, name, type, count);
}

MetadataEntry* MakerNoteList::Add(const std::string& group, int32_t id,
                                  std::string_view constantName, uint16_t type, uint32_t count) {
    if (Full())
        return nullptr;
    ++m_added;
    // Room for a usual note at once: its entries are not moved while it grows.
    if (m_keep == Keep::Everything && m_entries.empty())
        m_entries.reserve(kUsualEntries);
    MetadataEntry& e = m_keep == Keep::Everything ? m_entries.emplace_back() : m_scratch;
    if (m_keep == Keep::Lens) {
        // Emptied in place: its texts keep their room for the next entry.
        e.value.Clear();
        e.text.clear();
        e.rawOverride.clear();
    }
    e.group = group;
    e.id = id;
    e.name.SetConstant(constantName);
    e.type = type;
    e.count = count;
    return &e;
}

MetadataEntry* MakerNoteList::AddTag(uint16_t tag, std::string_view known, uint16_t type,
                                     uint32_t count) {
    MetadataEntry* e = Add(tag, known, type, count);
    if (e != nullptr && known.empty())
        e->name = MakerTagId(tag);
    return e;
}

void MakerNoteList::SetSummary(Summary row, std::string text) {
    MetadataValue& v = m_summary[static_cast<int>(row)];
    v = {};
    if (text.empty())
        return;
    v.kind = MetadataValue::Kind::Text;
    v.text = std::move(text);
}

void MakerNoteList::SetSummaryNumber(Summary row, double number) {
    MetadataValue& v = m_summary[static_cast<int>(row)];
    v = {};
    v.kind = MetadataValue::Kind::Numbers;
    v.numbers.push_back(number);
}

std::string_view MakerNoteList::SummaryText(Summary row) const {
    const MetadataValue& v = m_summary[static_cast<int>(row)];
    return v.kind == MetadataValue::Kind::Text ? std::string_view(v.text) : std::string_view();
}

bool MakerNoteList::MoveInto(MetadataCollector& out) {
    if (m_added == 0)
        return false;
    // Room for the summary and the entries at once.
    out.Reserve(out.Entries().size() + 5 + m_entries.size());
    for (int i = 0; i < 5; ++i) {
        if (m_summary[i].kind == MetadataValue::Kind::None)
            continue;
        MetadataEntry* e = out.Append();
        if (e == nullptr)
            return true;
        e->group = m_group;
        e->id = -1; // not the maker's: no id of its can be -1
        e->name.SetConstant(kSummaryNames[i]);
        e->value = std::move(m_summary[i]);
        e->text = e->value.kind == MetadataValue::Kind::Text ? e->value.text : RawText(*e);
    }
    out.AddAll(std::move(m_entries));
    m_entries.clear();
    return true;
}

void FillFromValue(const TiffValue& value, uint32_t count, MetadataEntry& entry) {
    DecodeTiffValue(value, count, entry);
    entry.text = entry.value.kind == MetadataValue::Kind::Text ? entry.value.text : RawText(entry);
}

bool FillOrNoteFault(TiffValueFault fault, const TiffValue& value, const TiffEntry& tiffEntry,
                     MetadataEntry& entry) {
    switch (fault) {
    case TiffValueFault::None:
        FillFromValue(value, tiffEntry.count, entry);
        return true;
    case TiffValueFault::UnknownType:
        entry.text = "(unknown type " + std::to_string(tiffEntry.type) + ")";
        return false;
    case TiffValueFault::OutsideBlock:
        entry.text = "(value outside the maker note)";
        return false;
    }
    return false;
}

uint32_t ListedCount(const TiffDirectory& directory) {
    return directory.FittingCount() < MakerNoteList::kMaxDirectoryEntries
               ? directory.FittingCount()
               : MakerNoteList::kMaxDirectoryEntries;
}

void SetEntryNumber(MetadataEntry& e, double v) {
    e.value = {};
    e.value.kind = MetadataValue::Kind::Numbers;
    e.value.numbers.push_back(v);
}

void SetEntryText(MetadataEntry& e, std::string text) {
    e.value = {};
    e.value.kind = MetadataValue::Kind::Text;
    e.value.text = std::move(text);
    e.text = e.value.text;
}

std::string MakerTagId(uint16_t tag) {
    // By hand: formatting one costs a tenth of a formatted print.
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string id = "Tag0x0000";
    for (int i = 0; i < 4; ++i)
        id[8 - i] = kHex[(tag >> (4 * i)) & 0xF];
    return id;
}

uint32_t ListPlainDirectory(const MakerNoteFrame& frame, const TiffDirectory& directory,
                            MakerTagName nameOf, MakerNoteList& list) {
    if (!directory.Valid())
        return 0;
    const uint32_t count = ListedCount(directory);
    uint32_t listed = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const TiffEntry entry = directory.Entry(i);
        const std::string_view known = nameOf != nullptr ? nameOf(entry.tag) : std::string_view();
        MetadataEntry* e = list.AddTag(entry.tag, known, entry.type, entry.count);
        if (e == nullptr)
            break;
        ++listed;
        TiffValue value;
        FillOrNoteFault(frame.Locate(directory, entry, value), value, entry, *e);
    }
    return listed;
}
