#pragma once

#include "metadata/makernotes/MakerNoteList.h"

#include <cstddef>

// The custom settings (the camera's menu "a1" to "f13") some bodies keep
// inside their ShotInfo record, listed under "NikonCustom": each field with
// the index of its byte as id. `shotInfo` is the deciphered record; its
// version and length tell the body and where the settings start. Bodies
// without a known layout list nothing.
void ListNikonCustomSettings(const unsigned char* shotInfo, size_t size, MakerNoteList& list);
