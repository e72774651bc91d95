#pragma once

#include "metadata/tiff/TiffDirectory.h"

#include <cstddef>
#include <cstdint>

// The bytes of one maker note and where its offsets count from. Every read
// of a directory or value of a note goes through here: a value or
// directory outside the note's own bytes is not read, whatever the offset
// says (maker notes point into each other, into their own headers or far
// past their ends).
//
// Offsets count from a point `base` bytes before the note's first byte as
// the note itself counts: 0 when they count from the note's start (Apple,
// Fujifilm), the note's offset from the TIFF header when they count from
// there (Canon). An offset below `base` points before the note.
class MakerNoteFrame {
public:
    MakerNoteFrame() = default;
    MakerNoteFrame(const unsigned char* data, size_t size, TiffByteOrder order, uint64_t base)
        : m_note{data, size, 0, order}, m_base(base) {}

    // The directory at `offset` as the note counts offsets (not valid when
    // it lies outside the note).
    TiffDirectory DirectoryAt(uint64_t offset) const;
    // Where an entry's value lies: inline, or at its offset as the note
    // counts, all inside the note.
    TiffValueFault Locate(const TiffDirectory& directory, const TiffEntry& entry,
                          TiffValue& value) const;

    const TiffSpan& Note() const { return m_note; }
    uint64_t Base() const { return m_base; }

private:
    TiffSpan m_note;
    uint64_t m_base = 0;
};

// The lowest offset among a directory's values that are not inline;
// UINT64_MAX when there is none. Cameras write the values right after the
// directory (and its next link), so this tells where a copied note stood.
uint64_t LowestValueOffset(const TiffDirectory& directory);
