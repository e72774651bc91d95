#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>

// Panasonic's note: "Panasonic\0\0\0", then a directory without a next
// link whose offsets count from the TIFF header (`storedOffset` is the
// note's offset from it), in the file's order. False when no directory
// can be read.
bool ReadPanasonicNote(const unsigned char* note, size_t size, TiffByteOrder order,
                       uint64_t storedOffset, MakerNoteList& list);
