#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"

// Walks a PNG file's chunk headers (never reading picture data) for the
// size (IHDR), the EXIF block (eXIf, else a "Raw profile type exif/APP1"
// hex dump in tEXt, zTXt or iTXt) and the XMP packet (iTXt
// "XML:com.adobe.xmp").
bool ReadPng(ByteSource& source, LocatedBlocks& found);
