#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"

// Walks a WebP file's RIFF chunks for the canvas size (VP8X, else the VP8 or
// VP8L frame header), the EXIF chunk and the "XMP " chunk. `lossless` tells
// whether the picture is VP8L.
bool ReadWebp(ByteSource& source, LocatedBlocks& found, bool& lossless);
