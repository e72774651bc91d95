#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>

// Pentax's and Ricoh Imaging's note, in one of three layouts:
//   - "AOC\0" + "MM", "II" or two spaces (the file's order), the directory
//     at note + 6, offsets from the TIFF header;
//   - "PENTAX \0" + "MM" or "II", the directory at note + 10, offsets from
//     the note's start;
//   - old bodies: a plain directory at the note's start, offsets from the
//     TIFF header.
// `storedOffset` is the note's offset from the TIFF header. The lens is
// named from LensRec's first two bytes (series, id). ShutterCount (0x005D)
// is enciphered with the note's date and time: listed as stored, and
// deciphered in the summary. False when no directory can be read.
bool ReadPentaxNote(const unsigned char* note, size_t size, TiffByteOrder order,
                    uint64_t storedOffset, MakerNoteList& list);
