#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>

// Makers whose note is a standard directory without a layout of its own
// here (Casio, Minolta, Sigma, Leica, DJI, ...): every entry listed with
// its id as "Tag0x...." and its value. Whether the offsets count from the
// TIFF header or from the note is told by which of the two puts the
// directory's values inside the note.
//
// `storedOffset`: the note's offset from the TIFF header; `directoryAt`:
// where the directory starts in the note. False when it is not a plausible
// directory.
bool ReadPlainNote(const unsigned char* note, size_t size, TiffByteOrder order,
                   uint64_t storedOffset, size_t directoryAt, MakerNoteList& list);
