#pragma once

#include "metadata/tags/ExifTagNames.h"

#include <cstdint>
#include <span>
#include <vector>

// exiftool's names for the EXIF tags it lists in the corpus's IFD0,
// ExifIFD, GPS, InteropIFD, IFD1 (and raw files' SubIFD, IFD2...) groups,
// with their numbers (from `exiftool -j -D -G1 -a -n`), so that its
// readings can be matched to our walk by number. A name may have several
// numbers: exiftool names a raw file's preview by what it holds, and
// Panasonic's RW2 numbers its IFD0 tags afresh.
struct ExiftoolTagId {
    TagSpace space;
    const char* name;
    uint16_t id;
    // Whose private number this is ("Panasonic RW2"), which our standard
    // tables rightly do not name; null for the documents' own tags.
    const char* vendor = nullptr;
};

std::span<const ExiftoolTagId> ExiftoolTagIds();
// The numbers of exiftool's tag `name` in a group of `space`, in table
// order; empty when the name is unknown.
std::vector<uint16_t> ExiftoolTagNumbers(TagSpace space, const char* name);
