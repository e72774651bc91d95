#pragma once

#include "metadata/PhotoFormat.h"
#include "metadata/containers/TiffWalker.h"

#include <cstddef>

// The format a file's first bytes name. TIFF-based files all answer Tiff
// here (ORF and RW2 by their own magic); NameTiffFormat tells them apart
// once their directories are read. ISOBMFF files are named by their ftyp
// brands, QuickTime movies without one by their first box. Unknown when
// nothing matches.
PhotoFormat DetectFormat(const unsigned char* head, size_t size);

// A TIFF-based file's format from its content; the name (may be null) only
// breaks ties within one maker's variants (NEF/NRW, ARW/SR2/SRF, RW2/RAW/RWL,
// DCR/KDC).
PhotoFormat NameTiffFormat(const TiffTraits& traits, const char* name);
