#pragma once

#include "metadata/makernotes/MakerNoteFrame.h"
#include "metadata/makernotes/MakerNoteList.h"

#include <cstdint>

// Canon's maker note: a plain directory without a header, its offsets
// counting from the EXIF block's TIFF header (the frame's base is the
// note's offset from there). Binary records (CameraSettings, ShotInfo,
// FileInfo, AFInfo2, LensInfo, ...) are listed field by field with their
// index as id; the custom functions under "CanonCustom".
//
// Lists the directory at `offset` (as the frame counts) into `list`, whose
// group is "Canon"; false when it is not a plausible directory (nothing is
// listed then).
bool ReadCanonDirectory(const MakerNoteFrame& frame, uint64_t offset, MakerNoteList& list);

// Canon's EV code: a number of 1/32 EV steps whose thirds are written as
// 0x0C and 0x14 (of 0x20). Its value in EV.
double CanonEv(int32_t code);
