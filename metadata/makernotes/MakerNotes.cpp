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

// The value of `tag` in `directory` as its position and length in the block;
// false when it is absent or lies outside.
bool ValueIn(const TiffDirectory& directory, uint16_t tag, size_t& position, size_t& length) {
    TiffEntry entry;
    TiffValue value;
    if (!directory.Find(tag, entry) || directory.Locate(entry, value) != TiffValueFault::None)
        return false;
    position = static_cast<size_t>(value.data - directory.Span().data);
    length = value.size;
    return true;
}

// True when the source's note lies inside its block.
bool NoteFits(const MakerNoteSource& source) {
    const TiffSpan& block = source.block;
    return block.data != nullptr && source.position <= block.size &&
           source.length <= block.size - source.position && source.length != 0;
}

// Reads the note, of the maker `kind` tells, into `list`. False when its
// layout is not known or nothing in it could be read.
bool ReadNote(const MakerNoteSource& source, const MakerNoteKind& kind, MakerNoteList& list) {
    const TiffSpan& block = source.block;
    const unsigned char* note = block.data + source.position;
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
    return read;
}

// DNG's private data: the note's source, after its own header.
bool DngNoteSource(const TiffSpan& block, size_t position, size_t length, std::string_view make,
                   MakerNoteSource& note) {
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
    note.block = TiffSpan{block.data, block.size, 0, order};
    note.position = position + kHead;
    note.length = recordLength - 6;
    note.storedOffset = Be32(p + 16);
    note.make = make;
    return true;
}

// The note's lens, read alone; empty from makers whose notes never name
// one (their lens is in EXIF's LensModel).
std::string NoteLens(const MakerNoteSource& source) {
    if (!NoteFits(source))
        return {};
    const MakerNoteKind kind =
        IdentifyMakerNote(source.block.data + source.position, source.length, source.make);
    switch (kind.layout) {
    case MakerNoteLayout::Unknown:
    case MakerNoteLayout::Apple:
    case MakerNoteLayout::Plain:
    case MakerNoteLayout::Fujifilm:
        return {};
    default:
        break;
    }
    MakerNoteList list{std::string(kind.group), MakerNoteList::Keep::Lens};
    if (!ReadNote(source, kind, list))
        return {};
    return std::string(list.SummaryText(MakerNoteList::Summary::Lens));
}

} // namespace

bool ReadMakerNote(const MakerNoteSource& source, MetadataCollector& out) {
    if (!NoteFits(source))
        return false;
    const MakerNoteKind kind =
        IdentifyMakerNote(source.block.data + source.position, source.length, source.make);
    MakerNoteList list{std::string(kind.group)};
    // A note we cannot read is no fault of the file: it stays one line.
    if (!ReadNote(source, kind, list))
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
    MakerNoteSource note;
    return DngNoteSource(block, position, length, make, note) && ReadMakerNote(note, out);
}

std::string MakerNoteLens(const unsigned char* data, size_t size, TiffRole role,
                          std::string_view make) {
    TiffHeader header;
    if (data == nullptr || role == TiffRole::Gps || !ReadTiffHeader(data, size, header) ||
        header.magic != TiffHeader::kMagic)
        return {};
    const TiffSpan span{data, size, 0, header.order};
    size_t position = 0, length = 0;
    uint64_t exif = header.firstOffset;
    if (role == TiffRole::Main) {
        MakerNoteSource dng;
        if (ValueIn(TiffDirectory(span, header.firstOffset), 0xC634, position, length) &&
            DngNoteSource(span, position, length, make, dng))
            return NoteLens(dng);
        exif = TiffUnsignedOf(data, size, header.firstOffset, 0x8769);
        if (exif == 0)
            return {};
    }
    if (!ValueIn(TiffDirectory(span, exif), 0x927C, position, length))
        return {};
    return NoteLens({span, position, length, position, make});
}
