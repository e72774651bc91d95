#pragma once

#include "metadata/tags/ExifTagNames.h"

#include <cstdint>
#include <span>

// exiftool's names for the EXIF tags it lists in the corpus's IFD0,
// ExifIFD, GPS, InteropIFD and IFD1 groups, with their numbers
// (from `exiftool -j -D -G1 -a -n`), so that its readings can be matched to
// our walk by number.
struct ExiftoolTagId {
    TagSpace space;
    const char* name;
    uint16_t id;
};

std::span<const ExiftoolTagId> ExiftoolTagIds();
// The number of exiftool's tag `name` in a group of `space`, or -1.
int ExiftoolTagNumber(TagSpace space, const char* name);
