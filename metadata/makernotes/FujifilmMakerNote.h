#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>

// Fujifilm's note: "FUJIFILM", the directory's offset as a little-endian
// LONG, then the directory. Its offsets count from the note's start and it
// is little-endian whatever the file's order. False when no directory can
// be read.
bool ReadFujifilmNote(const unsigned char* note, size_t size, MakerNoteList& list);
