#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"
#include "metadata/containers/IsoBoxes.h"

// Reads a HEIF/AVIF 'meta' box (read whole: it holds only item tables) and
// locates through its item tables the EXIF item (a 4-byte offset, then the
// TIFF structure), the XMP item ('mime' of application/rdf+xml), the
// primary item's thumbnail and the primary item's size (its 'ispe'). The
// items' data are read through iloc, wherever in the file they lie.
// `primaryType` receives the primary item's type ("hvc1", "av01", ...).
bool ReadHeifMeta(ByteSource& source, const BoxHeader& meta, LocatedBlocks& found,
                  char (&primaryType)[5]);
