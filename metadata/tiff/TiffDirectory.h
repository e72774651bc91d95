#pragma once

#include "metadata/tiff/TiffValue.h"

#include <cstddef>
#include <cstdint>

// One image file directory of a TIFF structure in memory, read with every
// bound checked: its entries, where each value lies and its next link.
//
// A TiffSpan is the bytes that may be read, the position in them from which
// offsets count (the origin) and the byte order. An EXIF block is a span
// with origin 0 in the order of its header. The maker notes are spans too:
//   - Fujifilm ("FUJIFILM" + offset), Olympus ("OLYMPUS\0II" + 3 + 0):
//     offsets count from the note's start: origin = the note's position in
//     the EXIF block, the directory at offset 12 from there. Olympus gives
//     its own byte order (read with ReadTiffByteOrder on the note + 8).
//   - Canon: no header, offsets count from the EXIF block's TIFF header:
//     origin 0, the directory at the note's own offset.
//   - Nikon type 3 ("Nikon\0\x02\x10\0\0" + a TIFF header): ReadTiffHeader
//     on the note + 10 gives the order and the first offset; origin = the
//     note's position + 10.
// A maker's header before the entries is skipped by opening the directory
// at its offset; a directory without a next link (most notes) is read
// without asking NextLink, so nothing past its entries is touched. The
// note's order may differ from the block's: the span carries its own.
//
//   TiffSpan note{block.data, block.size, notePosition, TiffByteOrder::Little};
//   TiffDirectory dir(note, 12);
//   for (uint32_t i = 0; dir.Valid() && i < dir.FittingCount(); ++i) {
//       const TiffEntry e = dir.Entry(i);
//       TiffValue v;
//       if (dir.Locate(e, v) == TiffValueFault::None) ... TiffNumberAt(v, 0) ...
//   }
struct TiffSpan {
    const unsigned char* data = nullptr;
    size_t size = 0;
    size_t origin = 0; // offsets count from data + origin; at most size
    TiffByteOrder order = TiffByteOrder::Little;

    // The position in the span of `length` bytes at `offset` from the
    // origin; false when any of them lies outside (no sum can overflow).
    bool Resolve(uint64_t offset, uint64_t length, size_t& position) const;
};

struct TiffEntry {
    static constexpr uint32_t kSize = 12;

    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t valueField = 0; // the last four bytes as a LONG: the offset of a value not inline
    size_t position = 0;     // where the entry's twelve bytes lie in the span

    // count * TiffTypeSize(type), in 64 bits: it may exceed any block; 0
    // for an unknown type.
    uint64_t ByteCount() const { return uint64_t{count} * TiffTypeSize(type); }
    // Up to four bytes are kept in the entry itself.
    bool IsInline() const { return ByteCount() <= 4; }
};

enum class TiffValueFault {
    None,
    UnknownType,  // no size known: where the value lies cannot be said
    OutsideBlock, // some of its bytes lie outside the span
};

class TiffDirectory {
public:
    // The directory at `offset` from the span's origin.
    TiffDirectory(const TiffSpan& span, uint64_t offset);

    // False when its entry count lies outside the span: nothing to read.
    bool Valid() const { return m_valid; }
    uint32_t DeclaredCount() const { return m_declared; }
    // The entries whose twelve bytes all lie in the span (the first ones).
    uint32_t FittingCount() const { return m_fitting; }
    bool AllEntriesFit() const { return m_fitting == m_declared; }
    // Offset from the origin just past the declared entries: where the next
    // link is, or where a directory without one ends.
    uint64_t EntriesEnd() const { return m_offset + 2 + uint64_t{TiffEntry::kSize} * m_declared; }

    // Entry `i`, for i below FittingCount().
    TiffEntry Entry(uint32_t i) const;
    // The first fitting entry with `tag`; false when there is none.
    bool Find(uint16_t tag, TiffEntry& entry) const;
    // Where the entry's value lies: inline in the entry or at its offset
    // from the origin, every byte inside the span.
    TiffValueFault Locate(const TiffEntry& entry, TiffValue& value) const;
    // The next-directory link, read only when asked: false when its four
    // bytes after the declared entries lie outside the span.
    bool NextLink(uint32_t& next) const;

    const TiffSpan& Span() const { return m_span; }

private:
    TiffSpan m_span;
    uint64_t m_offset;
    size_t m_position = 0; // of the entry count, in the span
    uint32_t m_declared = 0;
    uint32_t m_fitting = 0;
    bool m_valid = false;
};

// The first SHORT or LONG component of `tag` in the directory at `offset`
// of a whole TIFF block (header included); 0 when any of it is missing.
uint32_t TiffUnsignedOf(const unsigned char* block, size_t size, uint64_t offset, uint16_t tag);
