#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"
#include "metadata/PhotoFormat.h"

// Walks an ISOBMFF file (HEIF, HEIC, AVIF, Canon CR3, JPEG XL's container,
// QuickTime and MP4 movies): the top-level boxes' headers only, then the box
// that holds the metadata (a movie's moov wherever it lies, found past the
// media data by its header alone).
// `format` comes in as detected from the ftyp brands and may be refined (a
// generic HEIF brand whose primary item is HEVC or AV1).
bool ReadIsobmff(ByteSource& source, PhotoFormat& format, LocatedBlocks& found);

// The format an ftyp box's brands name; Unknown when none is ours. `brands`
// holds the major brand, the minor version and the compatible brands.
PhotoFormat FormatFromBrands(const unsigned char* ftypContent, size_t size);
