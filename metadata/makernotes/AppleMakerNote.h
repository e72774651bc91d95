#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>

// Apple's maker note: "Apple iOS\0", a version, "MM" (or "II"), then a
// directory at offset 14 whose offsets count from the note's start. A few
// values are binary property lists: RunTime (0x0003) is listed as its
// fields.
constexpr std::string_view kAppleSignature{"Apple iOS\0", 10};

// Lists the note into `list` (group "Apple"); false when it is not one.
bool ReadAppleNote(const unsigned char* note, size_t size, MakerNoteList& list);
