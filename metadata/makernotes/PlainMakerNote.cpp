#include "metadata/makernotes/PlainMakerNote.h"

namespace {

// How many of the directory's values lie in the note with offsets counting
// from `base`; -1 when the directory itself is not plausible.
int ValuesInside(const MakerNoteFrame& frame, const TiffDirectory& directory) {
    int inside = 0;
    for (uint32_t i = 0; i < directory.FittingCount(); ++i) {
        const TiffEntry entry = directory.Entry(i);
        if (TiffTypeSize(entry.type) == 0)
            return -1; // a standard directory knows its types
        TiffValue value;
        if (!entry.IsInline() && frame.Locate(directory, entry, value) == TiffValueFault::None)
            ++inside;
    }
    return inside;
}

} // namespace

bool ReadPlainNote(const unsigned char* note, size_t size, TiffByteOrder order,
                   uint64_t storedOffset, size_t directoryAt, MakerNoteList& list) {
    const MakerNoteFrame fromHeader(note, size, order, storedOffset);
    const MakerNoteFrame fromNote(note, size, order, 0);
    const TiffDirectory directory = fromNote.DirectoryAt(directoryAt);
    if (!directory.Valid() || directory.DeclaredCount() == 0 || directory.DeclaredCount() > 256 ||
        !directory.AllEntriesFit())
        return false;
    const int byHeader = ValuesInside(fromHeader, directory);
    const int byNote = ValuesInside(fromNote, directory);
    if (byHeader < 0 || byNote < 0)
        return false;
    const MakerNoteFrame& frame = byNote > byHeader ? fromNote : fromHeader;
    return ListPlainDirectory(frame, directory, nullptr, list) > 0;
}
