#pragma once

#include "metadata/tags/MetadataEntry.h"
#include "metadata/tiff/TiffValue.h"

#include <cstddef>
#include <cstdint>

// A directory entry's value as the tag list keeps it, from the bytes the
// TIFF layer located for it.

// Fills entry.value from the value's bytes by its type alone (`count`
// components): numbers for the numeric types, text for ASCII (up to its
// first zero) and for printable UNDEFINED, else the bytes.
void DecodeTiffValue(const TiffValue& v, uint32_t count, MetadataEntry& entry);

// Keeps at most MetadataValue::kMaxKeptBytes of a binary value (its raw
// text is a short hex of them).
void KeepTiffBytes(const TiffValue& v, MetadataEntry& entry);

// Text with an eight-byte character code in front, as UserComment and the
// GPS processing method and area information are written: ASCII, UNICODE
// (UTF-16 in the block's byte order), JIS or undefined.
std::string CodedText(const TiffValue& v);
