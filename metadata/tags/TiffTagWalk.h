#pragma once

#include "metadata/tags/MetadataEntry.h"
#include "metadata/tiff/TiffHeader.h"

#include <cstddef>
#include <cstdint>

// Lists every entry of every directory of one TIFF structure (an EXIF
// block from its byte-order mark on, a TIFF or raw file's header, or one of
// the separate structures a CR3 file keeps). Separate from the record
// reader: this walk interprets nothing beyond names and texts.

// Adds the entries to `out` in the order walked: a directory's own entries,
// then the directories it points to (ExifIFD, GPS, InteropIFD, SubIFDs in
// order as SubIFD, SubIFD1, ...), then the next directory of the IFD0
// chain. Offsets are from the block's start. A directory is walked once,
// within TiffLimits (the chain's next links do not count as depth);
// pointers, values and directories outside the block are noted in `out`
// and skipped. False when the block has no TIFF header.
bool WalkTiffBlock(const uint8_t* data, size_t size, TiffRole role, MetadataCollector& out);
