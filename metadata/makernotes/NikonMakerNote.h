#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Nikon's maker note in its three layouts:
//   - type 1 (early Coolpix): "Nikon\0\x01\0", the directory at 8;
//   - type 2 (D1, Coolpix 7xx/8xx/9xx): a plain directory at 0;
//   both with offsets counting from the EXIF block's TIFF header;
//   - type 3 (everything since): "Nikon\0" + version + 2 zero bytes, then
//     a TIFF header of its own at 10 whose order and offsets the note uses.
// Entries are listed under "Nikon" with their ids; binary records (LensData,
// ShotInfo, AFInfo, ISOInfo, VRInfo, PictureControl, ...) field by field
// with their index as id, deciphered where Nikon enciphers them; the
// preview directory (0x0011) under "PreviewIFD", Nikon Scan's (0x0E10)
// under "NikonScan". The summary gives the lens by name, the serial number,
// the shutter count and the firmware.
//
// `storedOffset`: the note's offset from the TIFF header; `blockOrder`: the
// EXIF block's order (types 1 and 2 use it). False when the note is not a
// plausible directory in any of the layouts (nothing is listed then).
bool ReadNikonNote(const unsigned char* note, size_t size, TiffByteOrder blockOrder,
                   uint64_t storedOffset, MakerNoteList& list);
