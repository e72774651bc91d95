#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"

#include <cstdint>

// Where the EXIF block kept by the scan lies: its APP1 segment's payload
// (from "Exif\0\0" on) and the segment's length field; a length of 0 when
// none was kept.
struct JpegExifSegment {
    uint64_t payload = 0;
    uint32_t length = 0;
};

// Walks a JPEG's header segments, from its start of image at `start` over at
// most `length` bytes (SourceStream::kToEnd: to the end of the file), up to
// the start of scan, and keeps in `found`:
//   - the first EXIF block (a Main TIFF block),
//   - the first XMP packet, and the extended XMP packets joined from their
//     parts, by GUID (only those whose every byte arrived),
//   - the Photoshop image resources of every APP13 segment, joined.
// A segment's marker, length and signature are read with small reads; only
// the segments kept are read whole, and nothing past the last one needed.
// The walk ends at a broken marker or a length past the end. False when
// there is no start of image at `start`.
bool ScanJpegSegments(ByteSource& source, uint64_t start, uint64_t length, LocatedBlocks& found,
                      JpegExifSegment* exif = nullptr);
