#include "metadata/makernotes/MakerNoteList.h"

#include "metadata/tags/TagText.h"
#include "metadata/tags/TiffEntryValue.h"

#include <cstdio>

namespace {

constexpr std::string_view kSummaryNames[] = {"Lens", "LensSerialNumber", "SerialNumber",
                                              "ShutterCount", "FirmwareVersion"};

} // namespace

MetadataEntry* MakerNoteList::Add(int32_t id, std::string_view name, uint16_t type,
                                  uint32_t count) {
    return Add(m_group, id, name, type, count);
}

MetadataEntry* MakerNoteList::Add(const std::string& group, int32_t id, std::string_view name,
                                  uint16_t type, uint32_t count) {
    if (Full())
        return nullptr;
    ++m_added;
    MetadataEntry& e = m_keep == Keep::Everything ? m_entries.emplace_back() : m_scratch;
    if (m_keep == Keep::Summary)
        e = MetadataEntry();
    e.group = group;
    e.id = id;
    e.name = std::string(name);
    e.type = type;
    e.count = count;
    return &e;
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
    for (MetadataEntry& entry : m_entries) {
        if (!out.Add(std::move(entry)))
            break;
    }
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

std::string MakerTagId(uint16_t tag) {
    char id[12];
    std::snprintf(id, sizeof id, "Tag0x%04X", static_cast<unsigned>(tag));
    return id;
}

uint32_t ListPlainDirectory(const MakerNoteFrame& frame, const TiffDirectory& directory,
                            MakerTagName nameOf, MakerNoteList& list) {
    if (!directory.Valid())
        return 0;
    const uint32_t count = directory.FittingCount() < MakerNoteList::kMaxDirectoryEntries
                               ? directory.FittingCount()
                               : MakerNoteList::kMaxDirectoryEntries;
    uint32_t listed = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const TiffEntry entry = directory.Entry(i);
        const std::string_view known = nameOf != nullptr ? nameOf(entry.tag) : std::string_view();
        MetadataEntry* e = list.Add(entry.tag, known.empty() ? MakerTagId(entry.tag) : known,
                                    entry.type, entry.count);
        if (e == nullptr)
            break;
        ++listed;
        TiffValue value;
        FillOrNoteFault(frame.Locate(directory, entry, value), value, entry, *e);
    }
    return listed;
}
