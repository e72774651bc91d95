#include "metadata/makernotes/MakerNoteFrame.h"

TiffDirectory MakerNoteFrame::DirectoryAt(uint64_t offset) const {
    // Below the base the directory would lie before the note: an offset
    // past the note's end makes the directory invalid the same way.
    const uint64_t inNote = offset >= m_base ? offset - m_base : UINT64_MAX;
    return TiffDirectory(m_note, inNote);
}

TiffValueFault MakerNoteFrame::Locate(const TiffDirectory& directory, const TiffEntry& entry,
                                      TiffValue& value) const {
    if (entry.IsInline() || m_base == 0)
        return directory.Locate(entry, value);
    if (entry.valueField < m_base)
        return TiffTypeSize(entry.type) == 0 ? TiffValueFault::UnknownType
                                             : TiffValueFault::OutsideBlock;
    TiffEntry inNote = entry;
    inNote.valueField = static_cast<uint32_t>(entry.valueField - m_base);
    return directory.Locate(inNote, value);
}

uint64_t LowestValueOffset(const TiffDirectory& directory) {
    uint64_t lowest = UINT64_MAX;
    for (uint32_t i = 0; i < directory.FittingCount(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        if (TiffTypeSize(entry.type) != 0 && !entry.IsInline() && entry.valueField < lowest)
            lowest = entry.valueField;
    }
    return lowest;
}
