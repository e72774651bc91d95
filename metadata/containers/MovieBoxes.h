#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"
#include "metadata/containers/IsoBoxes.h"

// The movie box of a QuickTime or MP4 file (moov): the movie header, each
// track's header, handler, media header and first sample entry, and the
// metadata items (Apple's keys, user data, iTunes-style lists) into
// found.movie; a cover picture or thumbnail into found.preview; an XMP
// packet in user data into found.xmp. Only the boxes on those paths are
// visited and only the bytes they need are read: never a sample table whole,
// never the media data.
void ReadMovieBox(ByteSource& source, const BoxHeader& moov, LocatedBlocks& found);

// The XMP packet of a top-level uuid box, when the box is XMP's.
bool IsXmpUuid(ByteSource& source, const BoxHeader& uuid);
