#include "metadata/makernotes/MakerNotes.h"

#include "metadata/makernotes/AppleMakerNote.h"
#include "metadata/makernotes/CanonMakerNote.h"
#include "metadata/makernotes/FujifilmMakerNote.h"
#include "metadata/makernotes/MakerNoteMaker.h"
#include "metadata/makernotes/NikonMakerNote.h"
#include "metadata/makernotes/OlympusMakerNote.h"
#include "metadata/makernotes/PanasonicMakerNote.h"
#include "metadata/makernotes/PentaxMakerNote.h"
#include "metadata/makernotes/PlainMakerNote.h"
#include "metadata/makernotes/SamsungMakerNote.h"
#include "metadata/makernotes/SonyMakerNote.h"
#include "metadata/tiff/TiffHeader.h"

#include <cstring>

namespace {

TiffByteOrder OtherOrder(TiffByteOrder order) {
    return order == TiffByteOrder::Big ? TiffByteOrder::Little : TiffByteOrder::Big;
}

// Where Canon's offsets count from, as the note's offset from the TIFF
// header. Cameras end the note with a TIFF header mark and that offset as
// written; software that moved the note (or a walk that repacked the
// directories) leaves the values where they were relative to the note.
// Without the mark: cameras write the values right after the directory and
// its next link, so the smallest value offset tells where the note stood.
uint64_t CanonNoteBase(const unsigned char* note, size_t size, TiffByteOrder order,
                       uint64_t storedOffset) {
    if (size >= 8 + 2) {
        TiffHeader mark;
        if (ReadTiffHeader(note + size - 8, 8, mark) && mark.magic == TiffHeader::kMagic)
            return mark.firstOffset;
    }
    const TiffDirectory directory(TiffSpan{note, size, 0, order}, 0);
    if (!directory.Valid() || !directory.AllEntriesFit())
        return storedOffset;
    const uint64_t lowest = LowestValueOffset(directory);
    const uint64_t valuesStart = directory.EntriesEnd() + 4;
    if (lowest == UINT64_MAX || lowest < valuesStart || lowest - valuesStart == storedOffset ||
        lowest - directory.EntriesEnd() == storedOffset)
        return storedOffset;
    return lowest - valuesStart;
}

} // namespace

bool ReadMakerNote(const MakerNoteSource& source, MetadataCollector& out) {
    const TiffSpan& block = source.block;
    if (block.data == nullptr || source.position > block.size ||
        source.length > block.size - source.position || source.length == 0)
        return false;
    const unsigned char* note = block.data + source.position;
    const MakerNoteKind kind = IdentifyMakerNote(note, source.length, source.make);
    MakerNoteList list{std::string(kind.group)};
    bool read = false;
    switch (kind.layout) {
    case MakerNoteLayout::Canon:
        // The note keeps the camera's order (little-endian) when software
        // rewrote the block in the other: the order that gives a plausible
        // directory is the note's.
        for (const TiffByteOrder order : {block.order, OtherOrder(block.order)}) {
            const uint64_t base = CanonNoteBase(note, source.length, order, source.storedOffset);
            read = ReadCanonDirectory(MakerNoteFrame(note, source.length, order, base), base, list);
            if (read)
                break;
        }
        break;
    case MakerNoteLayout::Apple:
        read = ReadAppleNote(note, source.length, list);
        break;
    case MakerNoteLayout::Nikon:
        read = ReadNikonNote(note, source.length, block.order, source.storedOffset, list);
        break;
    case MakerNoteLayout::Plain:
        read = ReadPlainNote(note, source.length, block.order, source.storedOffset,
                             kind.directoryAt, list);
        break;
    case MakerNoteLayout::Olympus:
        read = ReadOlympusNote(source, list);
        break;
    case MakerNoteLayout::Sony:
        read = ReadSonyNote(note, source.length, block.order, source.storedOffset, list);
        break;
    case MakerNoteLayout::Fujifilm:
        read = ReadFujifilmNote(note, source.length, list);
        break;
    case MakerNoteLayout::Panasonic:
        read = ReadPanasonicNote(note, source.length, block.order, source.storedOffset, list);
        break;
    case MakerNoteLayout::Pentax:
        read = ReadPentaxNote(note, source.length, block.order, source.storedOffset, list);
        break;
    case MakerNoteLayout::Samsung:
        read = ReadSamsungNote(note, source.length, block.order, source.storedOffset, list);
        break;
    default:
        // Layouts with their own headers and origins have readers of their
        // own to come; until then the note stays one line.
        break;
    }
    // A note we cannot read is no fault of the file: it stays one line.
    if (!read)
        return false;
    return list.MoveInto(out);
}

bool ReadCanonMakerNoteStructure(const unsigned char* data, size_t size, MetadataCollector& out) {
    TiffHeader header;
    if (data == nullptr || !ReadTiffHeader(data, size, header))
        return false;
    MakerNoteList list{"Canon"};
    if (!ReadCanonDirectory(MakerNoteFrame(data, size, header.order, 0), header.firstOffset,
                            list)) {
        out.Note("Canon maker note (CMT3) not read");
        return false;
    }
    return list.MoveInto(out);
}

bool ReadDngMakerNote(const TiffSpan& block, size_t position, size_t length, std::string_view make,
                      MetadataCollector& out) {
    constexpr size_t kHead = 6 + 4 + 4 + 2 + 4; // "Adobe\0", "MakN", length, order, offset
    if (block.data == nullptr || position > block.size || length > block.size - position ||
        length < kHead)
        return false;
    const unsigned char* p = block.data + position;
    if (std::memcmp(p, "Adobe\0MakN", 10) != 0)
        return false;
    const uint32_t recordLength = Be32(p + 10);
    TiffByteOrder order;
    if (recordLength < 6 || recordLength > length - 14 || !ReadTiffByteOrder(p + 14, 2, order))
        return false;
    MakerNoteSource note;
    note.block = TiffSpan{block.data, block.size, 0, order};
    note.position = position + kHead;
    note.length = recordLength - 6;
    note.storedOffset = Be32(p + 16);
    note.make = make;
    return ReadMakerNote(note, out);
}
