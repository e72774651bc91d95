#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>

// Sony's maker note: a standard directory, after a 12-byte header
// ("SONY DSC \0\0\0", "SONY CAM \0\0\0", "SONY MOBILE\0") or none, its
// offsets counting from the TIFF header. Every entry is listed with its id;
// the binary records (ShotInfo, the enciphered 0x2010, 0x9050 and 0x94xx)
// are listed field by field with their byte index as id, in the layout of
// the camera's generation (told by SonyModelID, 0xB001); the lens is named
// from the A-mount LensType (0xB027) or, for E-mount lenses, LensType2.
//
// `storedOffset`: the note's offset from the TIFF header. False when no
// plausible directory is there.
bool ReadSonyNote(const unsigned char* note, size_t size, TiffByteOrder order,
                  uint64_t storedOffset, MakerNoteList& list);

// Where the directory starts after the note's header (0 without one).
size_t SonyDirectoryAt(const unsigned char* note, size_t size);
