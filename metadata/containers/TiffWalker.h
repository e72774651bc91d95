#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"

#include <cstdint>

// What a TIFF structure tells about the file holding it, for naming the
// TIFF-based raw formats.
struct TiffTraits {
    uint16_t magic = 0;    // 42, or a raw maker's own (0x4F52 Olympus, 0x55 Panasonic)
    bool canonCr2 = false; // "CR" after the header
    bool dng = false;      // IFD0 has DNGVersion
    bool raw = false;      // some directory holds sensor data (CFA or a raw compression)
    char make[32] = {};
};

// Reads the TIFF structure that starts at `base` in the source (0 for a TIFF
// file): IFD0 and the directories it chains to, the Exif, GPS and Interop
// directories and the SubIFDs, each with its out-of-line values, through a
// few ReadAt calls. Their values may lie anywhere in a file of many
// megabytes (a raw file keeps IFD0 at the start and its last directories
// after the picture data), so rather than reading the span from the first to
// the last of them, they are repacked into one compact TIFF block (header
// rewritten to 42) with the links between directories rewritten. Offsets to
// picture data (strips, tiles, the thumbnail) still count from `base`: the
// thumbnail's two tags keep their values, as written, and the thumbnail is
// also given as the preview (a parser of the block must not take the block's
// bytes at that offset for it). Maker notes whose own offsets count from the file's TIFF header
// keep those offsets, which no longer point into the block. A value over
// 256 KiB (other than XMP and IPTC) is left out. Appends the block as Main.
bool ReadTiffStructure(ByteSource& source, uint64_t base, LocatedBlocks& found, TiffTraits& traits);
