#include "metadata/makernotes/OlympusMakerNote.h"

#include "metadata/makernotes/LensChoice.h"
#include "metadata/makernotes/ValueTextRow.h"
#include "metadata/makernotes/WholeNumber.h"
#include "metadata/tags/TagText.h"
#include "metadata/tiff/TiffHeader.h"
#include "metadata/tiff/VisitedDirectories.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct OlympusTagName {
    uint16_t tag;
    std::string_view name;
};

#include "metadata/makernotes/OlympusTagNames.inc"
#include "metadata/makernotes/OlympusValueTexts.inc"

struct NameTable {
    const OlympusTagName* rows;
    size_t size;
};

template <size_t N> constexpr NameTable Names(const OlympusTagName (&rows)[N]) {
    return {rows, N};
}

std::string_view NameIn(NameTable table, uint16_t tag) {
    const OlympusTagName* end = table.rows + table.size;
    const OlympusTagName* it = std::lower_bound(
        table.rows, end, tag, [](const OlympusTagName& row, uint16_t t) { return row.tag < t; });
    return it != end && it->tag == tag ? it->name : std::string_view();
}

// The sub-directories the main directory points to, and their names.
struct SubDirectory {
    uint16_t tag;
    NameTable names;
};

constexpr uint16_t kEquipment = 0x2010;
constexpr uint16_t kLensType = 0x0201; // in Equipment

constexpr SubDirectory kSubDirectories[] = {
    {kEquipment, Names(kOlympusEquipment)},   {0x2020, Names(kOlympusCameraSettings)},
    {0x2030, Names(kOlympusRawDevelopment)},  {0x2031, Names(kOlympusRawDevelopment2)},
    {0x2040, Names(kOlympusImageProcessing)}, {0x2050, Names(kOlympusFocusInfo)},
};

// Where the layout puts the directory, its order and where offsets count from.
struct Layout {
    size_t directoryAt = 0;
    TiffByteOrder order = TiffByteOrder::Little;
    bool offsetsFromNote = false;
};

bool LayoutOf(const unsigned char* note, size_t size, TiffByteOrder blockOrder, Layout& layout) {
    if (size >= 16 && std::memcmp(note, "OLYMPUS\0", 8) == 0)
        layout = {12, blockOrder, true};
    else if (size >= 20 && std::memcmp(note, "OM SYSTEM\0\0\0", 12) == 0)
        layout = {16, blockOrder, true};
    else if (size >= 10 && std::memcmp(note, "OLYMP\0", 6) == 0)
        layout = {8, blockOrder, false};
    else
        layout = {0, blockOrder, false};
    // The new layouts name their own order.
    if (layout.offsetsFromNote)
        return ReadTiffByteOrder(note + layout.directoryAt - 4, 2, layout.order);
    return true;
}

bool Plausible(const TiffDirectory& d) {
    if (!d.Valid() || d.DeclaredCount() == 0 || d.DeclaredCount() > 512 || !d.AllEntriesFit())
        return false;
    for (uint32_t i = 0; i < d.FittingCount(); ++i) {
        if (TiffTypeSize(d.Entry(i).type) == 0)
            return false;
    }
    return true;
}

struct NoteState {
    std::string lens, lensSerial, serial, firmware;
};

// Values Olympus stores in a form of its own.
void Refine(uint16_t parent, const TiffEntry& entry, const TiffValue& value, MetadataEntry& e,
            NoteState& state) {
    if (parent == 0 && entry.tag >= 0x1000 && entry.tag <= 0x1002 && value.Has(0)) {
        // The older bodies' exposure in APEX: shutter, sensitivity, aperture.
        const double v = TiffNumberAt(value, 0);
        const double plain = entry.tag == 0x1000   ? std::pow(2.0, -v)
                             : entry.tag == 0x1001 ? 100 * std::pow(2.0, v - 5)
                                                   : std::pow(2.0, v / 2);
        e.value = {};
        e.value.kind = MetadataValue::Kind::Numbers;
        e.value.numbers.push_back(plain);
        e.text = RawText(e);
        return;
    }
    if (parent != kEquipment)
        return;
    switch (entry.tag) {
    case kLensType: // make, unused, model, sub-model, ...
        if (value.size >= 4) {
            char text[16];
            std::snprintf(text, sizeof text, "%x %02x %02x", value.data[0], value.data[2],
                          value.data[3]);
            SetEntryText(e, text);
            state.lens = std::string(LensName(
                LensTable::Olympus, OlympusLensKey(value.data[0], value.data[2], value.data[3])));
        }
        break;
    case 0x0205:
    case 0x0206:
    case 0x020A: // apertures in half-stop units of 1/256
        if (value.Has(0)) {
            const double v = TiffNumberAt(value, 0);
            e.value.numbers.clear();
            e.value.numbers.push_back(std::pow(2.0, v / 512));
            e.text = RawText(e);
        }
        break;
    case 0x0101:
        if (e.value.kind == MetadataValue::Kind::Text)
            state.serial = e.value.text;
        break;
    case 0x0202:
        if (e.value.kind == MetadataValue::Kind::Text)
            state.lensSerial = e.value.text;
        break;
    case 0x0104: // BodyFirmwareVersion: 0x1102 is 1.102
        if (const std::optional<uint32_t> number =
                value.Has(0) ? WholeNumber<uint32_t>(TiffNumberAt(value, 0)) : std::nullopt) {
            const uint32_t v = *number;
            char text[16];
            std::snprintf(text, sizeof text, "%x.%03x", v >> 12, v & 0xFFF);
            state.firmware = text;
        }
        break;
    default:
        break;
    }
}

// The meaning of an enumerated entry's number as its text: the first
// number's, the others after it ("Vivid; 2").
void NameTheValue(uint16_t parent, uint16_t tag, MetadataEntry& e) {
    if (e.value.kind != MetadataValue::Kind::Numbers || e.value.numbers.size() == 0)
        return;
    const double first = e.value.numbers[0];
    if (first != std::floor(first) || std::fabs(first) > 4e9)
        return;
    const std::string_view text =
        FindValueText(kOlympusValueTexts, parent, tag, static_cast<int64_t>(first));
    if (text.empty())
        return;
    std::string printed(text);
    for (size_t i = 1; i < e.value.numbers.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%s%g", i == 1 ? "; " : " ", e.value.numbers[i]);
        printed += number;
    }
    e.text = std::move(printed);
}

void Signed16(MetadataEntry& e) {
    if (e.type != kTiffShort || e.value.kind != MetadataValue::Kind::Numbers)
        return;
    for (double& n : e.value.numbers) {
        if (n > 32767)
            n -= 65536;
    }
    e.text = RawText(e);
}

class Reader {
public:
    Reader(const MakerNoteFrame& frame, MakerNoteList& list) : m_frame(frame), m_list(list) {}

    // Lists a directory's entries with names from `names`; for the main
    // directory (parent 0) follows its sub-directories once each.
    void List(const TiffDirectory& directory, uint16_t parent, NameTable names) {
        const uint32_t count = ListedCount(directory);
        for (uint32_t i = 0; i < count; ++i) {
            const TiffEntry entry = directory.Entry(i);
            // The lens alone is the Equipment's LensType.
            if (m_list.LensOnly() && entry.tag != (parent == 0 ? kEquipment : kLensType))
                continue;
            TiffValue value;
            const TiffValueFault fault = m_frame.Locate(directory, entry, value);
            if (parent == 0 && fault == TiffValueFault::None && Follow(entry, value))
                continue;
            const std::string_view known = NameIn(names, entry.tag);
            MetadataEntry* e = m_list.AddTag(entry.tag, known, entry.type, entry.count);
            if (e == nullptr)
                return;
            if (fault == TiffValueFault::OutsideBlock) {
                e->text = "(value outside the maker note)";
                continue;
            }
            FillFromValue(value, entry.count, *e);
            if (known == "ColorMatrix")
                Signed16(*e); // written as SHORT, meant as SSHORT
            NameTheValue(parent, entry.tag, *e);
            Refine(parent, entry, value, *e, state);
        }
    }

    NoteState state;

private:
    // A sub-directory pointer: read the directory it names (listed in
    // place of the pointer). False when the entry is no such pointer.
    bool Follow(const TiffEntry& entry, const TiffValue& value) {
        const SubDirectory* sub = nullptr;
        for (const SubDirectory& s : kSubDirectories) {
            if (s.tag == entry.tag)
                sub = &s;
        }
        if (sub == nullptr)
            return false;
        uint64_t offset;
        if (entry.type == kTiffUndefined) {
            // The value is the directory itself; its own offsets count as
            // the note's do.
            if (value.size < 2 + TiffEntry::kSize)
                return false;
            offset = static_cast<uint64_t>(value.data - m_frame.Note().data) + m_frame.Base();
        } else {
            uint32_t pointer;
            if (!TiffUnsignedAt(value, 0, pointer))
                return false;
            offset = pointer;
        }
        const TiffDirectory directory = m_frame.DirectoryAt(offset);
        if (!Plausible(directory) || m_visited.Enter(offset) != VisitedDirectories::Entered::New)
            return false;
        List(directory, entry.tag, sub->names);
        return true;
    }

    const MakerNoteFrame& m_frame;
    MakerNoteList& m_list;
    VisitedDirectories m_visited;
};

} // namespace

bool ReadOlympusNote(const MakerNoteSource& source, MakerNoteList& list) {
    const unsigned char* note = source.block.data + source.position;
    const size_t size = source.length;
    const uint64_t storedOffset = source.storedOffset;
    Layout layout;
    if (!LayoutOf(note, size, source.block.order, layout))
        return false;
    const MakerNoteFrame fromNote(note, size, layout.order, 0);
    const TiffDirectory main = fromNote.DirectoryAt(layout.directoryAt);
    if (!Plausible(main))
        return false;
    // The old layout counts from the TIFF header; a note moved by software
    // keeps counting from its own start, which its values then show.
    const MakerNoteFrame fromHeader(note, size, layout.order, storedOffset);
    // The whole block, when the note stands where its offsets say.
    const MakerNoteFrame inBlock(source.block.data, source.block.size, layout.order, 0);
    const bool blockCounts = storedOffset == source.position;
    const MakerNoteFrame* frame = &fromNote;
    TiffDirectory directory = main;
    if (!layout.offsetsFromNote) {
        int byNote = 0, byHeader = 0, total = 0;
        for (uint32_t i = 0; i < main.FittingCount(); ++i) {
            const TiffEntry e = main.Entry(i);
            TiffValue v;
            if (e.IsInline())
                continue;
            ++total;
            byNote += fromNote.Locate(main, e, v) == TiffValueFault::None;
            byHeader += fromHeader.Locate(main, e, v) == TiffValueFault::None;
        }
        if (byHeader >= byNote)
            frame = &fromHeader;
        if (std::max(byHeader, byNote) < total && blockCounts) {
            frame = &inBlock;
            directory = inBlock.DirectoryAt(source.position + layout.directoryAt);
        }
    }
    Reader reader(*frame, list);
    reader.List(directory, 0, Names(kOlympusMain));
    list.SetSummary(MakerNoteList::Summary::Lens, reader.state.lens);
    list.SetSummary(MakerNoteList::Summary::LensSerialNumber, reader.state.lensSerial);
    list.SetSummary(MakerNoteList::Summary::SerialNumber, reader.state.serial);
    list.SetSummary(MakerNoteList::Summary::FirmwareVersion, reader.state.firmware);
    return list.Size() > 0;
}
