#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>

// Samsung's note (its second layout, NX bodies and phones): a plain
// directory at the note's start, offsets counting from the TIFF header
// (`storedOffset` is the note's offset from it), in the file's order. The
// lens is a number in Samsung's NX lens table. False when no directory can
// be read.
bool ReadSamsungNote(const unsigned char* note, size_t size, TiffByteOrder order,
                     uint64_t storedOffset, MakerNoteList& list);
