#pragma once

#include "metadata/makernotes/MakerNoteList.h"
#include "metadata/makernotes/MakerNotes.h"

#include <cstddef>
#include <cstdint>

// Olympus and OM System maker notes, in their three headers:
//   "OLYMP\0" + 2 bytes: the directory at 8, offsets from the TIFF header
//     (`storedOffset` is where the note stood), in the block's order;
//   "OLYMPUS\0" + "II"/"MM" + 2 bytes: the directory at 12, offsets from
//     the note's start, in the order the note gives;
//   "OM SYSTEM\0\0\0" + "II"/"MM" + 2 bytes: the same from 16.
// The main directory points to sub-directories (0x2010 Equipment,
// 0x2020 CameraSettings, 0x2030/0x2031 RawDevelopment, 0x2040
// ImageProcessing, 0x2050 FocusInfo), as directory offsets or as UNDEFINED
// values that are directories themselves; each entry is listed in the
// group "Olympus" with its id. The lens is named from Equipment's LensType.
// Cameras of the old layout may put values past the note's end, elsewhere
// in the EXIF block: those are read from the block, within its bounds,
// when the block is the one the offsets count in.
bool ReadOlympusNote(const MakerNoteSource& source, MakerNoteList& list);
