#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>

// The edits Capture NX keeps in a NEF's maker note (0x0E01): records with a
// 32-bit id and a length, listed under "NikonCapture" with the id as the
// entry's id (its bits as they are). Records whose own layout is not read
// here are listed with their size. Stops at the first record that does not
// fit in `size`.
void ListNikonCaptureData(const unsigned char* data, size_t size, MakerNoteList& list);
