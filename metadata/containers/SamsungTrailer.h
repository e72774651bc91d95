#pragma once

#include "metadata/ByteSource.h"
#include "metadata/LocatedBlocks.h"

// Samsung's phones end their JPEG and HEIF files with a trailer of their
// own: blocks of data, then a directory ("SEFH", a version, a count and one
// 12-byte row per block: its type, how far before the directory it starts,
// its length), then the directory's length and "SEFT". Each block starts
// with two zero bytes, its type, the length of its name and the name.
// Reads the blocks into `found.samsungTrailer` (their data cut at
// SamsungTrailerBlock::kMaxKept bytes); nothing when the file does not end
// so or the directory does not hold together. Little-endian throughout.
void ReadSamsungTrailer(ByteSource& source, LocatedBlocks& found);
