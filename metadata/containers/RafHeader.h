#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"

// Fujifilm RAF: the header's pointer to the embedded JPEG (which carries
// the EXIF block) and the raw picture's full size from the header's tag
// directory. False when the header is damaged or points outside the file.
bool ReadRafHeader(ByteSource& source, FileExtent& jpeg, uint32_t& width, uint32_t& height,
                   const char*& error);
